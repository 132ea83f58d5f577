#include "forms/sheet_layout.h"

#include <cmath>

namespace quillora {

namespace {
const QString kSong = QStringLiteral("宋体");
const QString kHei = QStringLiteral("黑体");
}

QFont FontSpec::font() const
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

const std::array<CaptionSpec, SheetLayout::kCaptionCount> &SheetLayout::captions()
{
    static const std::array<CaptionSpec, kCaptionCount> table{{
        {QStringLiteral("普通处方笺"), 2460, 960, {kHei, 12, false}, true},
        {QStringLiteral("Rp"), 600, 2760, {kSong, 18, true}, false},
        {QStringLiteral("示范医院"), 2100, 600, {kHei, 12, false}, true},
        {QStringLiteral("普通"), 5220, 660, {kSong, 10.5, true}, false},
        {QStringLiteral("处方"), 5220, 900, {kSong, 10.5, true}, false},
        {QStringLiteral("收费"), 3000, 7980, {kSong, 10.5, false}, false},
        {QStringLiteral("盖章"), 3000, 8280, {kSong, 10.5, false}, false},
        {QStringLiteral("处方正文请勿写过此线"), 2460, 7605, {kSong, 7.5, false}, false},
    }};
    return table;
}

const std::array<TwipLine, SheetLayout::kRuleCount> &SheetLayout::rules()
{
    static const std::array<TwipLine, kRuleCount> table{{
        {540, 7680, 2400, 7680, 1},
        {4020, 7680, 5760, 7680, 1},
        {5100, 600, 5760, 600, 2},
        {540, 7860, 2280, 7860, 1},
        {540, 7860, 540, 8580, 1},
        {5100, 600, 5100, 1140, 2},
        {2280, 7860, 2280, 8580, 1},
        {540, 8580, 2280, 8580, 1},
        {5760, 615, 5760, 1140, 2},
        {5115, 1140, 5730, 1140, 2},
    }};
    return table;
}

const std::array<SheetLayout::FieldBox, SheetLayout::kFieldCount> &SheetLayout::fieldBoxes()
{
    static const std::array<FieldBox, kFieldCount> table{{
        {480, 1500, 1515, true},  {1980, 1500, 915, true},  {2940, 1500, 1455, true}, {4440, 1500, 1335, true},
        {480, 1800, 3915, true},  {4440, 1800, 1335, true}, {480, 2100, 3435, true},  {60, 360, 1755, false},
        {480, 2400, 3435, true},  {3960, 2100, 1815, true}, {4140, 7800, 1635, true}, {4140, 8100, 1635, true},
        {4140, 8400, 1635, true}, {600, 7920, 1635, true},  {600, 8220, 1635, true},  {3960, 2400, 1815, true},
        {60, 0, 3495, false},
    }};
    return table;
}

SheetLayout::FieldInner SheetLayout::fieldInner(int boxWidth, double captionWidth)
{
    FieldInner inner;
    inner.textLeft = captionWidth + 75;
    inner.textWidth = boxWidth - captionWidth - 135;
    inner.underline = TwipLine{captionWidth + 15, 240, double(boxWidth), 240, 1};
    return inner;
}

FontSpec SheetLayout::fieldCaptionFont() { return {kSong, 9, true}; }

FontSpec SheetLayout::fieldTextFont(int field) { return {kSong, field == 4 ? 10.5 : 9.75, false}; }

int SheetLayout::fieldTypingLimit(int field)
{
    static const std::array<int, kFieldCount> limits{5, 1, 6, 5, 20, 4, 20, 20, 20, 20, 5, 5, 5, 10, 10, 20, 20};
    return limits[field];
}

FontSpec SheetLayout::bodyFont() { return {kSong, 10.5, false}; }

double SheetLayout::centredLeft(double width) { return (kWidth - width) / 2; }

const std::array<InjectionCardLayout::Item, InjectionCardLayout::kCaptionCount> &InjectionCardLayout::captions()
{
    const FontSpec plain{kSong, 9, false};
    static const std::array<Item, kCaptionCount> table{{
        {{1860, 120, 1200, 240}, QStringLiteral("门诊注射卡"), {kHei, 12, false}, 0},
        {{180, 540, 540, 180}, QStringLiteral("姓名："), plain, 0},
        {{2280, 540, 540, 180}, QStringLiteral("年龄："), plain, 0},
        {{1500, 540, 540, 180}, QStringLiteral("性别："), plain, 0},
        {{3180, 540, 540, 180}, QStringLiteral("日期："), plain, 0},
        {{1500, 3060, 540, 180}, QStringLiteral("护士："), plain, 0},
        {{180, 3060, 540, 180}, QStringLiteral("医生："), plain, 0},
    }};
    return table;
}

const std::array<InjectionCardLayout::Item, InjectionCardLayout::kBoxCount> &InjectionCardLayout::boxes()
{
    const FontSpec plain{kSong, 9, false};
    static const std::array<Item, kBoxCount> table{{
        {{720, 540, 735, 270}, {}, plain, 4},
        {{1980, 540, 255, 285}, {}, plain, 1},
        {{2760, 540, 375, 270}, {}, plain, 4},
        {{3720, 540, 975, 270}, {}, plain, 10},
        {{720, 3060, 735, 270}, {}, plain, 4},
    }};
    return table;
}

const std::array<TwipLine, InjectionCardLayout::kRuleCount> &InjectionCardLayout::rules()
{
    static const std::array<TwipLine, kRuleCount> table{{
        {180, 420, 4680, 420, 1},
        {180, 840, 4680, 840, 1},
        {180, 2940, 4680, 2940, 1},
    }};
    return table;
}

const std::array<PriceGridLayout::Column, PriceGridLayout::kColumns> &PriceGridLayout::columns()
{
    static const std::array<Column, kColumns> table{{
        {QStringLiteral("药品名称"), 60, 1995},
        {QStringLiteral("数量"), 2280, 315},
        {QStringLiteral("单位"), 2760, 255},
        {QStringLiteral("单价"), 3180, 615},
        {QStringLiteral("金额"), 3900, 735},
    }};
    return table;
}

int PriceGridLayout::panelTop(int value, int maximum)
{
    if (maximum <= 0)
        return 0;
    return -int(std::lround(double(kPanelHeight - kViewportHeight) * value / maximum));
}

} // namespace quillora
