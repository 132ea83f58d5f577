#include "clinical/safety_checks.h"

#include "clinical/usage_classifier.h"

#include <QSet>

namespace quillora {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x3000); }

bool isBlankLine(const QString &line)
{
    for (const QChar c : line) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

// Names are parted by blanks, and by the list marks of a hand-written line ("甘草、海藻").
bool partsNames(QChar c)
{
    static const QString marks = QStringLiteral("、，,;；+＋");
    return isBlank(c) || marks.contains(c);
}

QStringList wordsOf(const QString &line)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool blank = i == line.size() || partsNames(line.at(i));
        if (blank && start >= 0) {
            words << line.mid(start, i - start);
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return words;
}

// A note in brackets ("附子(先煎)") is not part of the name.
QString withoutNote(const QString &word)
{
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (c == QLatin1Char('(') || c == QChar(0xFF08) || c == QLatin1Char('['))
            return word.left(i);
    }
    return word;
}

// "甘草6g", "甘草10克" and "甘草" all name 甘草.
QString herbName(const QString &word)
{
    qsizetype end = word.size();
    while (end > 0 && (word.at(end - 1) == QLatin1Char('g') || word.at(end - 1) == QLatin1Char('G')
                       || word.at(end - 1) == QChar(0x514B)))  // 克
        --end;
    while (end > 0 && (word.at(end - 1).isDigit() || word.at(end - 1) == QLatin1Char('.')))
        --end;
    return end == word.size() ? word : word.left(end);
}

bool isAllergySeparator(QChar c)
{
    static const QString separators = QStringLiteral("，、,;；/／。\n\r") + QChar(0x3000) + QLatin1String(" \t");
    return separators.contains(c);
}

// An allergy word as written, or an empty text for a phrase that names no allergy.
QString allergyOf(const QString &written)
{
    static const QStringList none{QStringLiteral("未发现"), QStringLiteral("无"), QStringLiteral("否认"),
                                  QStringLiteral("不详"), QStringLiteral("未知")};
    QString word = written;
    for (const QString &suffix : {QStringLiteral("过敏史"), QStringLiteral("过敏")}) {
        if (word.endsWith(suffix)) {
            word.chop(suffix.size());
            if (word.startsWith(QChar(0x5BF9)))  // 对青霉素过敏
                word.remove(0, 1);
            break;
        }
    }
    if (word.isEmpty() || none.contains(word) || written.startsWith(QStringLiteral("否认"))
        || written.startsWith(QStringLiteral("未发现")))
        return QString();
    // "无药物过敏史", "无过敏" say there is none; 无味红霉素 is a drug.
    if (written.startsWith(QChar(0x65E0)) && (written.contains(QStringLiteral("过敏")) || written.endsWith(QChar(0x53F2))))
        return QString();
    return word;
}

// The name parts that reach a drug for one allergy: the allergy itself and the parts of
// every class it names.
QStringList reachOf(const QString &allergy, const QList<DrugClass> &classes)
{
    QStringList parts{allergy};
    for (const DrugClass &drugClass : classes) {
        QString base = drugClass.name;
        if (base.endsWith(QChar(0x7C7B)))  // 类
            base.chop(1);
        bool named = !base.isEmpty() && allergy.contains(base);
        for (const QString &pattern : drugClass.patterns)
            named = named || allergy.contains(pattern);
        if (named) {
            for (const QString &pattern : drugClass.patterns) {
                if (!parts.contains(pattern))
                    parts << pattern;
            }
        }
    }
    return parts;
}

} // namespace

QList<DrugLine> drugLines(const QString &body)
{
    QList<DrugLine> lines;
    for (QString line : body.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // An indented line continues the group above it (a usage, a note), as the body is written.
        if (isBlankLine(line) || isBlank(line.at(0)) || isUsageLine(line))
            continue;
        DrugLine drug{line, {}};
        for (const QString &word : wordsOf(line)) {
            const QString name = withoutNote(word);
            if (!name.isEmpty())
                drug.names << name;
        }
        lines << drug;
    }
    return lines;
}

QStringList allergyWords(const QString &field)
{
    QStringList words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= field.size(); ++i) {
        if (i < field.size() && !isAllergySeparator(field.at(i)))
            continue;
        const QString allergy = allergyOf(field.mid(start, i - start));
        if (!allergy.isEmpty() && !words.contains(allergy))
            words << allergy;
        start = i + 1;
    }
    return words;
}

QList<AllergyConflict> allergyConflicts(const QString &allergyField, const QList<DrugLine> &lines,
                                        const QList<DrugClass> &classes)
{
    QList<AllergyConflict> conflicts;
    for (const QString &allergy : allergyWords(allergyField)) {
        const QStringList reach = reachOf(allergy, classes);
        AllergyConflict conflict{allergy, {}};
        for (const DrugLine &line : lines) {
            for (const QString &name : line.names) {
                if (conflict.drugs.contains(name))
                    continue;
                for (const QString &part : reach) {
                    if (name.contains(part)) {
                        conflict.drugs << name;
                        break;
                    }
                }
            }
        }
        if (!conflict.drugs.isEmpty())
            conflicts << conflict;
    }
    return conflicts;
}

QList<AllergyConflict> allergyConflicts(const QString &allergyField, const QString &body, const QList<DrugClass> &classes)
{
    return allergyConflicts(allergyField, drugLines(body), classes);
}

QStringList allergyTexts(const QList<AllergyConflict> &conflicts)
{
    QStringList texts;
    for (const AllergyConflict &conflict : conflicts)
        texts << QStringLiteral("患者过敏史：%1 与 %2 可能冲突").arg(conflict.allergy, conflict.drugs.join(QChar(0x3001)));
    return texts;
}

QList<HerbConflict> herbConflicts(const QList<DrugLine> &lines, const RuleTables &tables)
{
    // The herbs of each side of each pair, as the body writes them, in body order.
    QHash<int, std::array<QStringList, 2>> found;
    for (const DrugLine &line : lines) {
        for (const QString &word : line.names) {
            const QString herb = herbName(word);
            const auto places = tables.herbPlaces.constFind(herb);
            if (places == tables.herbPlaces.constEnd())
                continue;
            for (const HerbPlace &place : *places) {
                QStringList &side = found[place.pair][place.side];
                if (!side.contains(herb))
                    side << herb;
            }
        }
    }
    QList<HerbConflict> conflicts;
    for (int p = 0; p < tables.pairs.size(); ++p) {
        const auto sides = found.constFind(p);
        if (sides == found.constEnd())
            continue;
        for (const QString &first : (*sides)[0]) {
            for (const QString &second : (*sides)[1])
                conflicts << HerbConflict{tables.pairs[p].rhyme, first, second};
        }
    }
    return conflicts;
}

QList<HerbConflict> herbConflicts(const QString &body, const RuleTables &tables)
{
    return herbConflicts(drugLines(body), tables);
}

QString herbConflictText(const HerbConflict &conflict)
{
    return QStringLiteral("%1：%2 与 %3").arg(conflict.rhyme, conflict.first, conflict.second);
}

int drugCount(const QString &body) { return int(drugLines(body).size()); }

bool countsDrugs(const QString &kind) { return kind == QStringLiteral("普通") || kind == QStringLiteral("儿科"); }

QList<SafetyWarning> sheetWarnings(const SheetFacts &sheet, const SafetySwitches &switches, const RuleTables &tables)
{
    const auto on = [&](SafetyCheck check) { return switches[static_cast<int>(check)]; };
    const QList<DrugLine> lines = drugLines(sheet.body);
    QList<SafetyWarning> warnings;
    if (on(SafetyCheck::Allergy)) {
        for (const QString &text : allergyTexts(allergyConflicts(sheet.allergies, lines, tables.classes)))
            warnings << SafetyWarning{SafetyCheck::Allergy, text};
    }
    if (on(SafetyCheck::HerbPairs)) {
        for (const HerbConflict &conflict : herbConflicts(lines, tables))
            warnings << SafetyWarning{SafetyCheck::HerbPairs, herbConflictText(conflict)};
    }
    if (on(SafetyCheck::DrugCount) && countsDrugs(sheet.kind) && lines.size() > kMaxDrugsPerSheet)
        warnings << SafetyWarning{SafetyCheck::DrugCount,
                                  QStringLiteral("每张处方不得超过%1种药品（本处方%2种）").arg(kMaxDrugsPerSheet).arg(lines.size())};
    if (on(SafetyCheck::ChildAge) && sheet.kind == QStringLiteral("儿科") && sheet.age.trimmed().isEmpty())
        warnings << SafetyWarning{SafetyCheck::ChildAge, QStringLiteral("儿科处方未填写年龄")};
    return warnings;
}

QString warningStripText(const QList<SafetyWarning> &warnings)
{
    if (warnings.isEmpty())
        return QString();
    // The count comes first: a long line is cut at the strip's end.
    const QString head = warnings.size() == 1 ? QStringLiteral("用药安全提示：")
                                              : QStringLiteral("用药安全提示（%1项）：").arg(warnings.size());
    return head + warningLines(warnings).join(QChar(0xFF1B));  // ；
}

QStringList warningLines(const QList<SafetyWarning> &warnings)
{
    QStringList lines;
    for (const SafetyWarning &warning : warnings)
        lines << warning.text;
    return lines;
}

QString printQuestion(const QList<SafetyWarning> &warnings)
{
    QStringList lines{QStringLiteral("这张处方有以下用药安全提示：")};
    lines << warningLines(warnings) << QString() << QStringLiteral("是否仍然打印？");
    return lines.join(QLatin1Char('\n'));
}

QString repeatQuestion(const QList<AllergyConflict> &conflicts)
{
    QStringList lines = allergyTexts(conflicts);
    lines << QString() << QStringLiteral("以上是当前处方中的药品，续开的处方请注意避开。");
    return lines.join(QLatin1Char('\n'));
}

} // namespace quillora
