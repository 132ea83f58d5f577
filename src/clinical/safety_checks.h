#pragma once

#include "clinical/rule_tables.h"
#include "data/settings_columns.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace quillora {

// Which checks run; every one is on unless the settings switch it off.
using SafetySwitches = std::array<bool, kSafetyCheckCount>;
constexpr SafetySwitches kAllChecksOn{true, true, true, true};

// At most this many drugs on one western or patent-medicine sheet.
constexpr int kMaxDrugsPerSheet = 5;

// A body line that names drugs (not blank, not a usage line, not indented) and the names in
// it: each blank-separated word with its dose ("6g", "10克") and any note in brackets taken
// off. A drug line gives its name first; a row of herb cells gives every herb.
struct DrugLine
{
    QString line;
    QStringList names;
};
QList<DrugLine> drugLines(const QString &body);

// The allergies written in the allergy field: split at ，、,;；/ and blanks, "过敏" taken off
// the end; "未发现", "无", "否认" (and phrases such as "无药物过敏史", "否认过敏史") name none.
QStringList allergyWords(const QString &field);

// One allergy and the drugs of the body it may reach.
struct AllergyConflict
{
    QString allergy;
    QStringList drugs;
    friend bool operator==(const AllergyConflict &, const AllergyConflict &) = default;
};
// A drug conflicts with an allergy when its name contains the allergy, or when the allergy
// names a class (its name, or one of its name parts) and the drug's name carries a part of it.
QList<AllergyConflict> allergyConflicts(const QString &allergyField, const QList<DrugLine> &lines,
                                        const QList<DrugClass> &classes);
QList<AllergyConflict> allergyConflicts(const QString &allergyField, const QString &body, const QList<DrugClass> &classes);
// "患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突", one line per allergy.
QStringList allergyTexts(const QList<AllergyConflict> &conflicts);

// Two herbs of one body that a rhyme forbids together, as written in the body.
struct HerbConflict
{
    QString rhyme;
    QString first;
    QString second;
    friend bool operator==(const HerbConflict &, const HerbConflict &) = default;
};
// Herbs match as whole names only (人参 is not 党参, 附子 is not 白附子).
QList<HerbConflict> herbConflicts(const QList<DrugLine> &lines, const RuleTables &tables);
QList<HerbConflict> herbConflicts(const QString &body, const RuleTables &tables);
// "十八反：甘草 与 海藻".
QString herbConflictText(const HerbConflict &conflict);

// The drug lines of a body; usage lines are not drugs.
int drugCount(const QString &body);
// Kinds written with western and patent drugs, counted against kMaxDrugsPerSheet.
bool countsDrugs(const QString &kind);

// What the checks read of the sheet on screen.
struct SheetFacts
{
    QString kind;
    QString age;
    QString allergies;
    QString body;
};

struct SafetyWarning
{
    SafetyCheck check;
    QString text;
    friend bool operator==(const SafetyWarning &, const SafetyWarning &) = default;
};

// Every warning of the switched-on checks, allergy first, then herb pairs, count and age.
QList<SafetyWarning> sheetWarnings(const SheetFacts &sheet, const SafetySwitches &switches,
                                   const RuleTables &tables = RuleTables::standard());

// The warnings' texts, one a line.
QStringList warningLines(const QList<SafetyWarning> &warnings);
// The one-line strip above the action bar, headed by the count when there are several;
// empty when there is nothing to say.
QString warningStripText(const QList<SafetyWarning> &warnings);
// The question before a sheet with warnings is printed.
QString printQuestion(const QList<SafetyWarning> &warnings);
// The question before a repeat of a visit whose drugs conflict with the allergy history.
QString repeatQuestion(const QList<AllergyConflict> &conflicts);

} // namespace quillora
