#include "data/settings_record.h"

#include "data/settings_row.h"
#include "text/numbers.h"

#include <QList>
#include <QPair>

namespace quillora {

namespace {

// The text field of a value together with its column, for reading and writing alike.
template <typename Values>  // SettingsValues, const or not
auto textFields(Values &v) -> QList<QPair<QString, decltype(&v.institution)>>
{
    return {{QStringLiteral("名称"), &v.institution}, {QStringLiteral("医生"), &v.doctor},
            {QStringLiteral("配药"), &v.dispenser},   {QStringLiteral("复核"), &v.checker},
            {QStringLiteral("科别"), &v.department},  {QStringLiteral("费别"), &v.feeClass},
            {QStringLiteral("左边距"), &v.sheetLeft}, {QStringLiteral("上边距"), &v.sheetTop},
            {QStringLiteral("左边距1"), &v.cardLeft}, {QStringLiteral("上边距1"), &v.cardTop},
            {QStringLiteral("左边距5"), &v.overlayLeft}, {QStringLiteral("上边距5"), &v.overlayTop},
            {QStringLiteral("大小"), &v.size},        {QStringLiteral("字体"), &v.font},
            {kPaperColumn, &v.paper}};
}

// A position shows as the text of its number; an empty or non-numeric column shows 0.
QString positionText(const QString &stored) { return plainNumber(leadingNumber(stored)); }

} // namespace

SettingsValues SettingsValues::builtIn()
{
    SettingsValues v;
    v.institution = QStringLiteral("示范卫生室");
    v.sheetLeft = v.cardLeft = v.overlayLeft = QStringLiteral("120");
    v.sheetTop = v.cardTop = v.overlayTop = QStringLiteral("200");
    v.font = QStringLiteral("宋体");
    v.size = QStringLiteral("11");
    v.paper = kPrinterDefaultPaper;
    for (int i = 0; i < kOverlayItemCount; ++i)
        v.overlay[i].caption = overlayItemDefaults()[i].caption;
    return v;
}

SettingsValues SettingsValues::read(SettingsRow &row)
{
    SettingsValues v = builtIn();
    for (const auto &[column, field] : textFields(v)) {
        if (const auto stored = row.value(column))
            *field = *stored;
    }
    v.portrait = row.value(QStringLiteral("竖打")).value_or(QString()) != QLatin1String("0");
    for (OverlayItem &item : v.overlay) {
        const auto tick = row.value(overlayTickColumn(item.caption));
        if (!tick)
            continue;  // an item without columns loads unticked and empty
        item.ticked = leadingNumber(*tick) != 0;
        item.left = positionText(row.value(overlayLeftColumn(item.caption)).value_or(QString()));
        item.top = positionText(row.value(overlayTopColumn(item.caption)).value_or(QString()));
    }
    v.safetyChecks = readSafetyChecks(row);
    return v;
}

QString SettingsValues::text(const QString &column) const
{
    for (const auto &[name, field] : textFields(*this)) {
        if (name == column)
            return *field;
    }
    return QString();
}

void SettingsValues::setText(const QString &column, const QString &text)
{
    for (const auto &[name, field] : textFields(*this)) {
        if (name == column)
            *field = text;
    }
}

QList<QPair<QString, QString>> SettingsValues::columnTexts() const
{
    QList<QPair<QString, QString>> values;
    for (const auto &[column, field] : textFields(*this))
        values << qMakePair(column, *field);
    values << qMakePair(QStringLiteral("竖打"), portrait ? QStringLiteral("1") : QStringLiteral("0"));
    for (const OverlayItem &item : overlay) {
        values << qMakePair(overlayTickColumn(item.caption), item.ticked ? QStringLiteral("1") : QStringLiteral("0"));
        values << qMakePair(overlayLeftColumn(item.caption), plainNumber(leadingNumber(item.left)));
        values << qMakePair(overlayTopColumn(item.caption), plainNumber(leadingNumber(item.top)));
    }
    for (const SafetyCheckSwitch &s : safetyCheckSwitches())
        values << qMakePair(s.column, checkOn(s.check) ? QStringLiteral("1") : QStringLiteral("0"));
    return values;
}

void SettingsValues::write(SettingsRow &row) const
{
    QList<QPair<QString, QString>> values;
    for (const auto &value : columnTexts()) {
        // An overlay item whose tick column is missing is skipped as a whole.
        const OverlayItemDefault *item = overlayItemOfColumn(value.first);
        if (item && !row.hasColumn(overlayTickColumn(item->caption)))
            continue;
        values << value;
    }
    row.write(values);
}

std::array<bool, kSafetyCheckCount> readSafetyChecks(SettingsRow &row)
{
    // Only "0" switches a check off: a missing column or an odd value keeps it on.
    std::array<bool, kSafetyCheckCount> on{};
    for (const SafetyCheckSwitch &s : safetyCheckSwitches())
        on[static_cast<int>(s.check)] = row.value(s.column).value_or(QString()) != QLatin1String("0");
    return on;
}

SettingsRecord::SettingsRecord(Database &settings) : m_db(settings) {}

SettingsRecord::~SettingsRecord() = default;

SettingsValues &SettingsRecord::values()
{
    if (!m_values) {
        SettingsRow row(m_db);
        SettingsValues loaded = SettingsValues::builtIn();
        try {
            loaded = SettingsValues::read(row);
        } catch (const std::exception &) {
            // An unreadable row leaves the built-in values, as a fresh window would show.
        }
        m_values = std::make_unique<SettingsValues>(loaded);
    }
    return *m_values;
}

void SettingsRecord::save()
{
    SettingsRow row(m_db);
    values().write(row);
    m_values.reset();
}

} // namespace quillora
