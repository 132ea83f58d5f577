#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillora {

// A drug class of the allergy check: an allergy to the class, or to any name carrying one
// of its name parts, reaches every drug whose name carries one of them.
struct DrugClass
{
    QString name;          // 青霉素类
    QStringList patterns;  // 青霉素, 西林
};

// One herb of a pair table and the whole herb names written for it in a body.
struct HerbGroup
{
    QString name;        // 乌头
    QStringList names;   // 川乌, 草乌, 附子 …
};

// Two sides that must not stand in one prescription, from a rhyme (十八反 or 十九畏).
struct HerbPair
{
    QString rhyme;
    QList<HerbGroup> first;
    QList<HerbGroup> second;
};

// Where a whole herb name stands in the pair table.
struct HerbPlace
{
    int pair = 0;
    int side = 0;  // 0 first, 1 second
    QString herb;  // the group's name
};

// The rule tables of the prescription checks, read from text a doctor can read and extend:
// '#' starts a comment line, the first of which names the table's source ("# 来源：…").
struct RuleTables
{
    QString classSource;
    QString pairSource;
    QList<DrugClass> classes;
    QList<HerbPair> pairs;
    QHash<QString, QList<HerbPlace>> herbPlaces;  // every whole herb name of the pair table

    static RuleTables fromTexts(const QString &classTable, const QString &pairTable);
    // The tables the program carries.
    static const RuleTables &standard();
    // The tables the program carries with the rule lines a doctor added in the data folder's
    // "用药规则" folder (药物类别.txt, 十八反十九畏.txt, UTF-8, in the same format).
    static RuleTables withLocalRules(const QString &dataFolder);
};

inline const QString kLocalRulesFolder = QStringLiteral("用药规则");
inline const QString kLocalClassFile = QStringLiteral("药物类别.txt");
inline const QString kLocalPairFile = QStringLiteral("十八反十九畏.txt");

// The source named by the first comment line ("# 来源：十八反/十九畏 歌诀" gives the text
// after the colon); empty when the table names none.
QString tableSource(const QString &table);
// "类别名|特征词、特征词" lines.
QList<DrugClass> parseDrugClasses(const QString &table);
// "歌诀|一方|另一方" lines; a side is "、"-separated herbs, each "名" or "名(整味药名,…)".
QList<HerbPair> parseHerbPairs(const QString &table);

} // namespace quillora
