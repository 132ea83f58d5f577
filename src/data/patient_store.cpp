#include "data/patient_store.h"

#include "data/database.h"
#include "data/drug_store.h"
#include "data/key_indexes.h"
#include "data/visit_record.h"
#include "text/numbers.h"
#include "text/pinyin.h"

#include <QRegularExpression>

namespace quillora {

namespace {

const QString kColumns = QStringLiteral(
    "rowid, [序号], [出生年月], [姓名], [性别], [费别], [医疗证号], [诊断], [住址], [过敏史], [既往史], [电话]");

PatientRow readRow(const Statement &q)
{
    PatientRow row;
    row.rowId = q.int64(0);
    row.key = q.text(1);
    row.birthYear = q.text(2);
    row.name = q.text(3);
    row.sex = q.text(4);
    row.feeClass = q.text(5);
    row.cardNumber = q.text(6);
    row.diagnosis = q.text(7);
    row.address = q.text(8);
    row.allergy = q.text(9);
    row.pastHistory = q.text(10);
    row.phone = q.text(11);
    return row;
}

// A plain number as an age: optional blanks and sign, digits with at most one point.
std::optional<double> ageNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toDouble();
}

} // namespace

QString patientBirthYear(const QString &ageText, int currentYear)
{
    QString age = ageText;
    age.remove(QChar(u'岁')).remove(QLatin1Char('Y')).remove(QLatin1Char('y'));
    return plainNumber(currentYear - ageNumber(age).value_or(0));
}

QString patientKey(const QString &name, const QString &ageText, int currentYear)
{
    return name + pinyinCode(name.trimmed()) + patientBirthYear(ageText, currentYear);
}

std::optional<PatientRow> patientRowOf(const VisitRecord &visit, int currentYear)
{
    const QString &name = visit.header[FieldName];
    const QString &age = visit.header[FieldAge];
    if (name.isEmpty() || age.isEmpty())
        return std::nullopt;
    PatientRow row;
    row.key = patientKey(name, age, currentYear);
    row.birthYear = patientBirthYear(age, currentYear);
    row.name = name;
    row.sex = visit.header[FieldSex];
    row.feeClass = visit.header[FieldFeeClass];
    row.cardNumber = visit.header[FieldCardNumber];
    row.address = visit.header[FieldAddress];
    row.diagnosis = visit.header[FieldDiagnosis];
    row.allergy = visit.header[FieldAllergy];
    row.pastHistory = visit.header[FieldPastHistory];
    row.phone = visit.header[FieldPhone];
    return row;
}

QString patientListText(const PatientRow &row, int currentYear)
{
    const qint64 age = currentYear - qint64(leadingNumber(row.birthYear));
    return row.name + QLatin1Char('[') + QString::number(age) + QStringLiteral("岁]");
}

bool PatientStore::upsert(const PatientRow &row)
{
    Statement update(m_db, QStringLiteral(
        "UPDATE [患者信息] SET [序号]=?1, [出生年月]=?2, [姓名]=?3, [性别]=CASE WHEN ?4 = '' THEN [性别] ELSE ?4 END, [费别]=?5, [医疗证号]=?6, [诊断]=?7, "
        "[住址]=?8, [过敏史]=?9, [既往史]=?10, [电话]=?11 WHERE [序号]=?1"));
    const QStringList values{row.key, row.birthYear, row.name, row.sex, row.feeClass, row.cardNumber,
                             row.diagnosis, row.address, row.allergy, row.pastHistory, row.phone};
    for (int i = 0; i < values.size(); ++i)
        update.bind(i + 1, values[i]);
    update.run();
    if (m_db.changes() > 0) {
        Statement changed(m_db, QStringLiteral("SELECT rowid FROM [患者信息] WHERE [序号] = ?"));
        changed.bind(1, row.key);
        while (changed.next())
            m_db.rowChanged(QStringLiteral("患者信息"), changed.int64(0));
        return true;
    }
    if (row.sex.isEmpty())
        return false;
    Statement insert(m_db, QStringLiteral(
        "INSERT INTO [患者信息] ([序号], [出生年月], [姓名], [性别], [费别], [医疗证号], [诊断], [住址], [过敏史], "
        "[既往史], [电话]) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"));
    for (int i = 0; i < values.size(); ++i)
        insert.bind(i + 1, values[i]);
    insert.run();
    m_db.rowChanged(QStringLiteral("患者信息"), m_db.lastInsertRowId());
    return true;
}

QList<ListedRow> PatientStore::pickList(const QString &text, int currentYear, int limit)
{
    QList<ListedRow> rows;
    if (const KeyIndex *index = m_db.keyIndexes().find(QStringLiteral("患者信息"), QStringLiteral("序号"))) {
        for (const KeyHit &hit : index->search(text, nullptr, limit)) {
            PatientRow row;
            row.name = hit.shown.value(0);
            row.birthYear = hit.shown.value(1);
            rows << ListedRow{hit.rowId, patientListText(row, currentYear)};
        }
        return rows;
    }
    for (const PatientRow &row : search(text, limit))
        rows << ListedRow{row.rowId, patientListText(row, currentYear)};
    return rows;
}

QList<PatientRow> PatientStore::search(const QString &text, int limit)
{
    // Only the key index is scanned and only matching rows are read; they come in key order
    // (name, then birth year), which is also how the doctor looks a patient up. The cap takes
    // the first rows in that order: the index gives them so, the ORDER BY says it.
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [患者信息] WHERE rowid IN (SELECT rowid FROM [患者信息] INDEXED BY [患者信息_序号] "
                                     "WHERE [序号] LIKE ?1 ESCAPE '\\' ORDER BY [序号], rowid LIMIT ?2) ORDER BY [序号], rowid")
                          .arg(kColumns));
    q.bind(1, QLatin1Char('%') + escapeLike(text) + QLatin1Char('%'));
    q.bind(2, limit);
    QList<PatientRow> rows;
    while (q.next())
        rows << readRow(q);
    return rows;
}

std::optional<PatientRow> PatientStore::byRowId(qint64 rowId)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [患者信息] WHERE rowid = ?").arg(kColumns));
    q.bind(1, rowId);
    if (!q.next())
        return std::nullopt;
    return readRow(q);
}

std::optional<PatientRow> PatientStore::byKey(const QString &key)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [患者信息] WHERE [序号] = ? ORDER BY rowid LIMIT 1").arg(kColumns));
    q.bind(1, key);
    if (!q.next())
        return std::nullopt;
    return readRow(q);
}

} // namespace quillora
