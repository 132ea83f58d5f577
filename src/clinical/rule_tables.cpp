#include "clinical/rule_tables.h"

#include "data/data_files.h"

#include <QDir>
#include <QFile>

namespace quillora {

namespace {

const QChar kField = QLatin1Char('|');
const QChar kListSeparator = QChar(0x3001);  // 、

// The table's rule lines: comments and blank lines left out.
QStringList ruleLines(const QString &table)
{
    QStringList lines;
    for (const QString &raw : table.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line;
    }
    return lines;
}

QStringList listOf(const QString &text)
{
    QStringList items;
    for (const QString &item : text.split(kListSeparator)) {
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    }
    return items;
}

// "乌头(川乌,附子)" or "白及"; full-width brackets and commas are read as well.
HerbGroup herbGroup(QString text)
{
    text.replace(QChar(0xFF08), QLatin1Char('(')).replace(QChar(0xFF09), QLatin1Char(')')).replace(QChar(0xFF0C), QLatin1Char(','));
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0)
        return {text, {text}};
    HerbGroup group{text.left(open).trimmed(), {}};
    for (const QString &name : text.mid(open + 1).remove(QLatin1Char(')')).split(QLatin1Char(','))) {
        if (!name.trimmed().isEmpty())
            group.names << name.trimmed();
    }
    if (group.names.isEmpty())
        group.names << group.name;
    return group;
}

QList<HerbGroup> herbSide(const QString &text)
{
    QList<HerbGroup> side;
    for (const QString &item : listOf(text))
        side << herbGroup(item);
    return side;
}

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString tableSource(const QString &table)
{
    for (const QString &raw : table.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (!line.startsWith(QLatin1Char('#')))
            return QString();
        const qsizetype colon = line.indexOf(QChar(0xFF1A));  // ：
        return colon < 0 ? QString() : line.mid(colon + 1).trimmed();
    }
    return QString();
}

QList<DrugClass> parseDrugClasses(const QString &table)
{
    QList<DrugClass> classes;
    for (const QString &line : ruleLines(table)) {
        const QStringList fields = line.split(kField);
        if (fields.size() < 2 || fields[0].trimmed().isEmpty())
            continue;
        classes << DrugClass{fields[0].trimmed(), listOf(fields[1])};
    }
    return classes;
}

QList<HerbPair> parseHerbPairs(const QString &table)
{
    QList<HerbPair> pairs;
    for (const QString &line : ruleLines(table)) {
        const QStringList fields = line.split(kField);
        if (fields.size() < 3)
            continue;
        HerbPair pair{fields[0].trimmed(), herbSide(fields[1]), herbSide(fields[2])};
        if (!pair.first.isEmpty() && !pair.second.isEmpty())
            pairs << pair;
    }
    return pairs;
}

RuleTables RuleTables::fromTexts(const QString &classTable, const QString &pairTable)
{
    RuleTables tables;
    tables.classSource = tableSource(classTable);
    tables.pairSource = tableSource(pairTable);
    tables.classes = parseDrugClasses(classTable);
    tables.pairs = parseHerbPairs(pairTable);
    for (int p = 0; p < tables.pairs.size(); ++p) {
        for (int side = 0; side < 2; ++side) {
            for (const HerbGroup &group : side == 0 ? tables.pairs[p].first : tables.pairs[p].second) {
                for (const QString &name : group.names)
                    tables.herbPlaces[name] << HerbPlace{p, side, group.name};
            }
        }
    }
    return tables;
}

namespace {

QString standardClassTable()
{
    ensureResources();
    return resourceText(QStringLiteral(":/rules/drug_classes.txt"));
}

QString standardPairTable()
{
    ensureResources();
    return resourceText(QStringLiteral(":/rules/herb_incompatibilities.txt"));
}

} // namespace

const RuleTables &RuleTables::standard()
{
    static const RuleTables tables = fromTexts(standardClassTable(), standardPairTable());
    return tables;
}

RuleTables RuleTables::withLocalRules(const QString &dataFolder)
{
    const QDir local(QDir(dataFolder).filePath(kLocalRulesFolder));
    const QString classes = resourceText(local.filePath(kLocalClassFile));
    const QString pairs = resourceText(local.filePath(kLocalPairFile));
    if (classes.isEmpty() && pairs.isEmpty())
        return standard();
    // Appended after the program's own lines, so the source line stays the first comment.
    return fromTexts(standardClassTable() + QLatin1Char('\n') + classes, standardPairTable() + QLatin1Char('\n') + pairs);
}

} // namespace quillora
