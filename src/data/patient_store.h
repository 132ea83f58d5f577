#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace quillora {

class Database;
struct VisitRecord;

// The longest patient key the register stores.
constexpr int kPatientKeyMaxLength = 50;

// One row of the patient register.
struct PatientRow
{
    qint64 rowId = 0;
    QString key;        // 序号: name + pinyin code of the trimmed name + birth year
    QString birthYear;  // 出生年月: the year only
    QString name, sex, feeClass, cardNumber, diagnosis, address, allergy, pastHistory, phone;
};

// Birth year from an age text such as "35岁": 岁, Y and y removed; not a number counts as 0.
QString patientBirthYear(const QString &ageText, int currentYear);
QString patientKey(const QString &name, const QString &ageText, int currentYear);

// The register row a saved visit files, or nothing when its name or age is empty.
std::optional<PatientRow> patientRowOf(const VisitRecord &visit, int currentYear);

// The list text of a register row: 姓名[年龄岁], the age counted from the current year.
QString patientListText(const PatientRow &row, int currentYear);

// The patient register of the archive file.
class PatientStore
{
public:
    explicit PatientStore(Database &archive) : m_db(archive) {}

    // Overwrites the row with the same key or inserts a new one; call inside a transaction.
    // An empty sex keeps the stored one; a new row without a sex is not made (false).
    bool upsert(const PatientRow &row);
    // Rows whose key contains the text (literally, ASCII case ignored), in stored order.
    QList<PatientRow> search(const QString &text, int limit = 200);
    // The same rows as the pick list shows them (patientListText), from the key index when it
    // is loaded.
    QList<struct ListedRow> pickList(const QString &text, int currentYear, int limit = 200);
    std::optional<PatientRow> byRowId(qint64 rowId);
    std::optional<PatientRow> byKey(const QString &key);

private:
    Database &m_db;
};

} // namespace quillora
