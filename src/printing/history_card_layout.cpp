#include "printing/history_card_layout.h"

#include <cmath>

namespace quillora {

namespace {
const QString kSong = QStringLiteral("宋体");
}

const std::array<HistoryCardLayout::Item, HistoryCardLayout::kCaptionCount> &HistoryCardLayout::captions()
{
    static const std::array<Item, kCaptionCount> table{{
        {{2710, 780, 2970, 315}, QStringLiteral("示范医院"), true},
        {{3370, 1260, 1650, 315}, QStringLiteral("门诊病历卡"), true},
        {{1020, 1980, 675, 210}, QStringLiteral("姓名："), false},
        {{2880, 1980, 675, 210}, QStringLiteral("性别："), false},
        {{4140, 1980, 675, 210}, QStringLiteral("年龄："), false},
        {{5520, 1980, 675, 210}, QStringLiteral("日期："), false},
        {{1020, 2460, 1365, 210}, QStringLiteral("住址(电话)："), false},
        {{5520, 10020, 675, 210}, QStringLiteral("医生："), false},
    }};
    return table;
}

FontSpec HistoryCardLayout::captionFont(int caption)
{
    return caption <= Title ? FontSpec{kSong, 15.75, true} : FontSpec{kSong, 10.5, true};
}

const std::array<HistoryCardLayout::Field, HistoryCardLayout::kFieldCount> &HistoryCardLayout::fields()
{
    static const std::array<Field, kFieldCount> table{{
        {{1620, 1980, 1155, 270}, FieldName},
        {{3480, 1980, 555, 270}, FieldSex},
        {{4740, 1980, 675, 270}, FieldAge},
        {{6120, 1980, 1215, 270}, FieldDate},
        {{2340, 2460, 4995, 270}, FieldAddress},
        {{6180, 10020, 1155, 270}, FieldDoctor},
    }};
    return table;
}

FontSpec HistoryCardLayout::fieldFont() { return {kSong, 10.5, false}; }

const std::array<TwipLine, HistoryCardLayout::kRuleCount> &HistoryCardLayout::rules()
{
    static const std::array<TwipLine, kRuleCount> table{{
        {900, 1860, 7380, 1860, 1},
        {900, 2340, 7380, 2340, 1},
        {900, 2760, 7380, 2760, 1},
        {900, 10380, 7380, 10380, 1},
        {900, 1860, 900, 10380, 1},
        {7380, 1860, 7380, 10380, 1},
    }};
    return table;
}

FontSpec HistoryCardLayout::historyFont() { return {kSong, 11.25, false}; }

double HistoryCardLayout::centredLeft(double width) { return (kWidth - width) / 2; }

int HistoryCardLayout::cardTop(int value, int maximum)
{
    if (maximum <= 0)
        return 0;
    return -int(std::lround(double(kHeight - kViewport.height) * value / maximum));
}

} // namespace quillora
