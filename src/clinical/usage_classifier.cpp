#include "clinical/usage_classifier.h"

#include "text/text_lines.h"

namespace quillora {

namespace {

// Only spaces count as blank: a line holding a tab still belongs to its group.
bool isBlankLine(const QString &line)
{
    for (const QChar c : line) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

const QStringList &lowerKeywords()
{
    static const QStringList lower = [] {
        QStringList words;
        for (const QString &word : injectionKeywords())
            words << word.toLower();
        return words;
    }();
    return lower;
}

bool isUsageLower(const QString &lower)
{
    return lower.contains(QLatin1String("sig")) || lower.contains(QStringLiteral("用法"));
}

bool namesInjectionLower(const QString &lower)
{
    for (const QString &word : lowerKeywords()) {
        if (lower.contains(word))
            return true;
    }
    return false;
}

} // namespace

const QStringList &injectionKeywords()
{
    static const QStringList words{
        QStringLiteral("iv/gtt"), QStringLiteral("iv"), QStringLiteral("ivgtt"), QStringLiteral("im"),
        QStringLiteral("H"), QStringLiteral("静注"), QStringLiteral("静脉滴注"), QStringLiteral("静滴"),
        QStringLiteral("静推"), QStringLiteral("静脉推注"), QStringLiteral("加滴管"), QStringLiteral("皮试"),
        QStringLiteral("微泵"), QStringLiteral("iv-vp"), QStringLiteral("皮下"), QStringLiteral("皮内"),
        QStringLiteral("肌注"), QStringLiteral("肌肉注射"), QStringLiteral("入小壶"),
    };
    return words;
}

bool isUsageLine(const QString &line) { return isUsageLower(line.toLower()); }

bool namesInjection(const QString &line) { return namesInjectionLower(line.toLower()); }

QString ssy(const QString &body)
{
    QString result;
    QStringList pending;
    for (const QString &line : splitScratchLines(body)) {
        if (!isBlankLine(line))
            pending << line;
        const QString lower = line.toLower();
        if (!isUsageLower(lower))
            continue;
        if (namesInjectionLower(lower)) {
            for (const QString &kept : pending) {
                result += kept;
                result += QLatin1String("\r\n");
            }
        }
        pending.clear();
    }
    return result;
}

} // namespace quillora
