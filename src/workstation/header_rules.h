#pragma once

#include "data/visit_record.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace quillora {

struct SettingsValues;

// The rules of the patient header: what typing and clicking do to a field's text.
namespace HeaderRules {
// Sex typed as "1" or "2" becomes 男 or 女.
std::optional<QString> sexShorthand(const QString &text);
// A click on the sex field: anything but 男 becomes 男, 男 becomes 女.
QString toggledSex(const QString &text);
// Fees take "。" typed by a Chinese input method as a decimal point.
QString feeText(const QString &text);
// The diagnosis being typed: the part after the last space, trimmed (several diagnoses are space-separated).
QString diagnosisSearchText(const QString &field);
// The diagnosis field after picking a name: only the part after the last space is replaced.
QString pickedDiagnosis(const QString &field, const QString &picked);
// The age shown for a register patient: the years since the birth year, then 岁.
QString ageFromBirthYear(const QString &birthYear, int currentYear);
// The patient list needs at least two typed characters.
bool searchesPatients(const QString &name);

// Header of a new visit: the settings' defaults, the creation time as card number, today's date.
std::array<QString, kHeaderFieldCount> newVisitHeader(const SettingsValues &settings, const QDateTime &now);
} // namespace HeaderRules

// Visit keys of this run: the creation time, never equal to (or before) the previous key.
class VisitKeys
{
public:
    QString next(const QDateTime &now);

private:
    QDateTime m_last;
};

} // namespace quillora
