#include "printing/infusion_card_layout.h"

#include <cmath>

namespace quillora {

namespace {
const QString kSong = QStringLiteral("宋体");
}

const std::array<CaptionSpec, 2> &InfusionCardLayout::titles()
{
    static const std::array<CaptionSpec, 2> table{{
        {QStringLiteral("示范医院"), 3563, 480, {kSong, 15.75, true}, true},
        {QStringLiteral("输液执行卡"), 3371, 960, {kSong, 15.75, true}, true},
    }};
    return table;
}

const std::array<InfusionCardLayout::HeaderField, InfusionCardLayout::kHeaderCount> &InfusionCardLayout::headerFields()
{
    // Two rows inside the frame, aligned with the name column; each box starts 690 twips after its
    // caption, room for three bold characters, so a printed value never runs into its caption.
    static const std::array<HeaderField, kHeaderCount> table{{
        {QStringLiteral("姓名："), 960, {1650, 1740, 915, 270}},
        {QStringLiteral("性别："), 2700, {3390, 1740, 435, 270}},
        {QStringLiteral("年龄："), 3960, {4650, 1740, 615, 270}},
        {QStringLiteral("日期："), 5400, {6090, 1740, 1245, 270}},
        {QStringLiteral("诊断："), 960, {1650, 2220, 2625, 270}},
        {QStringLiteral("医生："), 4380, {5070, 2220, 795, 270}},
        {QStringLiteral("护士："), 6000, {6690, 2220, 645, 270}},
    }};
    return table;
}

FontSpec InfusionCardLayout::captionFont() { return {kSong, 10.5, true}; }

FontSpec InfusionCardLayout::fieldFont() { return {kSong, 10.5, false}; }

const std::array<InfusionCardLayout::GridColumn, InfusionCardLayout::kColumnCount> &InfusionCardLayout::columns()
{
    // Captions roughly centred over their bands (840–4290, 4290–5310, 5310–6360, 6360–7455).
    static const std::array<GridColumn, kColumnCount> table{{
        {QStringLiteral("名     称"), 2100, 960, 3255},
        {QStringLiteral("速度"), 4590, 4380, 855},
        {QStringLiteral("执行时间"), 5415, 5400, 855},
        {QStringLiteral("护士签名"), 6495, 6480, 855},
    }};
    return table;
}

TwipRect InfusionCardLayout::cell(int row, int column)
{
    const GridColumn &c = columns()[column];
    return {c.left, rowTop(row), c.width, kCellHeight};
}

const std::array<TwipLine, InfusionCardLayout::kGridLineCount> &InfusionCardLayout::gridLines()
{
    static const std::array<TwipLine, kGridLineCount> table = [] {
        std::array<TwipLine, kGridLineCount> lines{};
        constexpr double left = 840, right = 7455, top = 1440, headingTop = 2760, bottom = 9960;
        int n = 0;
        lines[n++] = {left, top, right, top, 1};
        lines[n++] = {left, headingTop, right, headingTop, 1};
        for (int k = 0; k <= kRows; ++k) {  // under the heading band and under each row; the last closes the grid
            const double y = 3240 + 480 * k;
            lines[n++] = {left, y, right, y, 1};
        }
        lines[n++] = {left, top, left, bottom, 1};
        lines[n++] = {right, top, right, bottom, 1};
        for (double x : {4290.0, 5310.0, 6360.0})
            lines[n++] = {x, headingTop, x, bottom, 1};
        return lines;
    }();
    return table;
}

double InfusionCardLayout::centredLeft(double width) { return (kWidth - width) / 2; }

int InfusionCardLayout::panelTop(int value, int maximum)
{
    if (maximum <= 0)
        return 0;
    return -int(std::lround(double(kHeight - kViewport.height) * value / maximum));
}

} // namespace quillora
