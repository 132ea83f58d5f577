#include "workstation/prescription_text.h"

#include "text/display_width.h"

#include <algorithm>

namespace quillora {

int caretColumn(const QString &text, int caretIndex)
{
    const qsizetype caret = std::clamp<qsizetype>(caretIndex, 0, text.size());
    qsizetype lineStart = caret;
    while (lineStart > 0) {
        const QChar c = text.at(lineStart - 1);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            break;
        --lineStart;
    }
    return displayColumns(text.mid(lineStart, caret - lineStart)) + 1;
}

QString herbCell(const QString &name)
{
    const int width = displayColumns(name);
    if (width >= kHerbCellColumns)
        return name;
    return name + QString(kHerbCellColumns - width, QLatin1Char(' '));
}

QString drugPickText(const QString &item)
{
    if (item.contains(QLatin1Char('\\'))) {
        QString lines = item;
        lines.replace(QLatin1Char('\\'), kCrLf + kUsagePrefix);
        return lines + kCrLf + kCrLf;
    }
    if (item.contains(QStringLiteral("用法")))
        return QStringLiteral("    ") + item + kCrLf + kCrLf;
    return item + kCrLf;
}

QString orderSetInsertion(const QString &content, int caretColumn)
{
    if (caretColumn > 1)
        return kCrLf + content + kCrLf + kCrLf;
    return content + kCrLf + kCrLf;
}

QString herbInsertion(const QString &name, int caretColumn)
{
    if (caretColumn > kHerbRowLastColumn)
        return kCrLf + kCrLf + herbCell(name);
    return herbCell(name);
}

QString formulaInsertion(const QString &content) { return content; }

BodyEdit insertAt(const QString &text, int selectionStart, int selectionEnd, const QString &inserted)
{
    const qsizetype size = text.size();
    qsizetype from = std::clamp<qsizetype>(selectionStart, 0, size);
    qsizetype to = std::clamp<qsizetype>(selectionEnd, 0, size);
    if (from > to)
        std::swap(from, to);
    BodyEdit edit;
    edit.text = text.left(from) + inserted + text.mid(to);
    edit.caret = int(from + inserted.size());
    return edit;
}

BodyEdit pickIntoBody(CurrentCategory category, const QString &body, int selectionStart, int selectionEnd,
                      const QString &picked)
{
    const int end = int(body.size());
    switch (categorySource(category)) {
    case CategorySource::Drugs:
        return insertAt(body, end, end, drugPickText(picked));
    case CategorySource::Herbs: {
        // The row is decided where the caret stands, before the selection is replaced.
        const int caret = std::max(selectionStart, selectionEnd);
        return insertAt(body, selectionStart, selectionEnd, herbInsertion(picked, caretColumn(body, caret)));
    }
    case CategorySource::OrderSets:
        return insertAt(body, end, end, orderSetInsertion(picked, caretColumn(body, end)));
    case CategorySource::Formulas:
        return insertAt(body, end, end, formulaInsertion(picked));
    }
    return {body, end};
}

std::optional<KindLook> kindLook(const QString &kind)
{
    if (kind == kKindGeneral)
        return KindLook{kKindGeneral, QStringLiteral("普通处方笺"), false};
    if (kind == kKindTcm)
        return KindLook{kKindTcm, QStringLiteral("中医处方笺"), true};
    if (kind == kKindChildren)
        return KindLook{kKindChildren, QStringLiteral("儿科处方笺"), false};
    return std::nullopt;
}

KindLook kindAfterPick(CurrentCategory category)
{
    const bool tcm = isHerbCategory(category) || isFormulaCategory(category);
    return *kindLook(tcm ? kKindTcm : kKindGeneral);
}

std::optional<KindLook> kindAfterClick(const QString &current)
{
    if (current == kKindGeneral)
        return kindLook(kKindTcm);
    if (current == kKindTcm)
        return kindLook(kKindChildren);
    if (current == kKindChildren)
        return kindLook(kKindGeneral);
    return std::nullopt;
}

const QList<UsagePreset> &usagePresets()
{
    static const QList<UsagePreset> presets{
        {0, QStringLiteral("皮试")},
        {1, QStringLiteral("ml")},
        {2, QStringLiteral("袋")},
        {3, QStringLiteral("*")},
        {4, QStringLiteral("×")},
        {5, QStringLiteral("包")},
        {6, QStringLiteral("粒")},
        {7, QStringLiteral("    用法：静脉滴注 每日1次")},
        {8, QStringLiteral("g")},
        {9, QStringLiteral("mg")},
        {10, QStringLiteral("支")},
        {11, QStringLiteral("瓶")},
        {12, QStringLiteral("    用法：静脉推注 每日1次")},
        {14, QStringLiteral("    用法：肌肉注射 每日1次")},
        {15, QStringLiteral("片")},
        {17, QStringLiteral("拼音码查询：")},
        {21, QStringLiteral("病史模板查询：")},
    };
    return presets;
}

std::optional<QString> usagePresetCaption(int index)
{
    for (const UsagePreset &preset : usagePresets()) {
        if (preset.index == index)
            return preset.caption;
    }
    return std::nullopt;
}

QString usagePresetInsertion(const QString &caption)
{
    if (!caption.contains(QStringLiteral("用法：")) || caption.size() == 3)
        return caption;
    return caption + kCrLf + kCrLf;
}

const std::array<UsageMenuItem, 4> &usageMenuItems()
{
    static const std::array<UsageMenuItem, 4> items{{
        {QStringLiteral("静脉滴注"), QStringLiteral("    用法：静脉滴注 每日1次")},
        {QStringLiteral("肌肉注射"), QStringLiteral("    用法：肌肉注射 每日1次")},
        {QStringLiteral("静脉推注"), QStringLiteral("    用法：静脉推注 每日1次")},
        {QStringLiteral("加滴管"), QStringLiteral("    用法：加滴管 每日1次")},
    }};
    return items;
}

QString usageMenuInsertion(const UsageMenuItem &item) { return item.line + kCrLf + kCrLf; }

QString pickedLines(CurrentCategory category, const QString &picked)
{
    return isDrugCategory(category) ? drugPickText(picked) : picked;
}

} // namespace quillora
