#include "workstation/header_rules.h"

#include "data/dates.h"
#include "data/settings_record.h"
#include "text/numbers.h"

namespace quillora {

std::optional<QString> HeaderRules::sexShorthand(const QString &text)
{
    if (text == QLatin1String("1"))
        return QStringLiteral("男");
    if (text == QLatin1String("2"))
        return QStringLiteral("女");
    return std::nullopt;
}

QString HeaderRules::toggledSex(const QString &text)
{
    return text == QStringLiteral("男") ? QStringLiteral("女") : QStringLiteral("男");
}

QString HeaderRules::feeText(const QString &text)
{
    QString fee = text;
    return fee.replace(QChar(u'。'), QLatin1Char('.'));
}

QString HeaderRules::diagnosisSearchText(const QString &field)
{
    const qsizetype space = field.lastIndexOf(QLatin1Char(' '));
    return space < 0 ? field : field.mid(space + 1).trimmed();
}

QString HeaderRules::pickedDiagnosis(const QString &field, const QString &picked)
{
    const qsizetype space = field.lastIndexOf(QLatin1Char(' '));
    return space < 0 ? picked : field.left(space + 1) + picked;
}

QString HeaderRules::ageFromBirthYear(const QString &birthYear, int currentYear)
{
    return QString::number(currentYear - qint64(leadingNumber(birthYear))) + QStringLiteral("岁");
}

bool HeaderRules::searchesPatients(const QString &name) { return name.size() >= 2; }

std::array<QString, kHeaderFieldCount> HeaderRules::newVisitHeader(const SettingsValues &settings, const QDateTime &now)
{
    std::array<QString, kHeaderFieldCount> header;
    header[FieldCardNumber] = now.toString(QStringLiteral("yyyyMMddHHmmss"));
    header[FieldDate] = dateText(now.date());
    header[FieldFeeClass] = settings.feeClass;
    header[FieldDepartment] = settings.department;
    header[FieldDoctor] = settings.doctor;
    header[FieldDispenser] = settings.dispenser;
    header[FieldChecker] = settings.checker;
    header[FieldAllergy] = QStringLiteral("未发现");
    header[FieldPastHistory] = QStringLiteral("无");
    return header;
}

QString VisitKeys::next(const QDateTime &now)
{
    // Keys have a resolution of one second; two visits in the same second would share a row.
    QDateTime moment = now;
    moment.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    if (m_last.isValid() && moment <= m_last)
        moment = m_last.addSecs(1);
    m_last = moment;
    return visitKeyOf(moment);
}

} // namespace quillora
