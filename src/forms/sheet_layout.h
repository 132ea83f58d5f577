#pragma once

#include <QFont>
#include <QString>
#include <array>

namespace quillora {

// Positions and sizes in twips, relative to the panel that holds them.
struct TwipRect
{
    int left = 0, top = 0, width = 0, height = 0;
};

struct TwipLine
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;
};

// A font as the form names it: 宋体 10.5 pt bold.
struct FontSpec
{
    QString family;
    double points = 9;
    bool bold = false;
    QFont font() const;
};

// A fixed caption of a panel.
struct CaptionSpec
{
    QString text;
    int left = 0, top = 0;
    FontSpec font;
    bool centred = false;  // sized to its text and centred on the panel
};

// The prescription sheet panel of the main window: the paper form in twips.
namespace SheetLayout {
constexpr int kLeft = 3660, kTop = 810, kWidth = 6293, kHeight = 8970;
constexpr int kCaptionCount = 8, kRuleCount = 10, kFieldCount = 17;
constexpr int kFieldBoxHeight = 315;

enum Caption { Title = 0, Rp = 1, Institution = 2, Kind = 3, Chufang = 4, Charge = 5, Stamp = 6, Warning = 7 };

const std::array<CaptionSpec, kCaptionCount> &captions();
const std::array<TwipLine, kRuleCount> &rules();

struct FieldBox
{
    int left, top, width;
    bool visible;
};
const std::array<FieldBox, kFieldCount> &fieldBoxes();

// Inside a field box: caption at (60, 60); text after the caption; underline at y 240.
struct FieldInner
{
    int captionLeft = 60, captionTop = 60;
    double textLeft = 0, textTop = 30, textWidth = 0;
    TwipLine underline;
};
FieldInner fieldInner(int boxWidth, double captionWidth);

FontSpec fieldCaptionFont();
FontSpec fieldTextFont(int field);
// Characters the doctor may type into each field (text put there by the program is not cut).
int fieldTypingLimit(int field);

constexpr TwipRect kBody{1440, 3120, 4275, 4335};
FontSpec bodyFont();
// The click target over the kind box.
constexpr TwipRect kKindTarget{5100, 600, 675, 555};
// Pick lists floating under their fields.
constexpr TwipRect kPatientList{1080, 1740, 1395, 1290};
constexpr TwipRect kDiagnosisList{1080, 2640, 2835, 1290};
constexpr TwipRect kAddressList{1680, 2340, 2835, 1290};

// Left of a centred caption of the given width.
double centredLeft(double width);
} // namespace SheetLayout

// The injection-card panel beside the sheet.
namespace InjectionCardLayout {
constexpr int kWidth = 4965, kHeight = 3345;
constexpr int kCaptionCount = 7, kBoxCount = 5, kRuleCount = 3;
struct Item
{
    TwipRect rect;
    QString text;     // captions only
    FontSpec font;
    int maxLength = 0;  // boxes only
};
const std::array<Item, kCaptionCount> &captions();
const std::array<Item, kBoxCount> &boxes();
constexpr TwipRect kUsageBox{1020, 1020, 3675, 1755};
const std::array<TwipLine, kRuleCount> &rules();
// Header fields mirrored by boxes 0–4.
constexpr std::array<int, kBoxCount> kMirroredFields{0, 1, 2, 9, 10};
} // namespace InjectionCardLayout

// The price grid: 24 rows of five cells on a tall panel inside a shorter viewport.
namespace PriceGridLayout {
constexpr int kRows = 24, kColumns = 5;
constexpr int kPanelHeight = 7215, kViewportHeight = 3615;
constexpr int kRowHeight = 300, kCellHeight = 285;
struct Column
{
    QString header;
    int left, width;
};
const std::array<Column, kColumns> &columns();
constexpr int rowTop(int row) { return 60 + 300 * row; }
// Top of the panel inside the viewport for a scroll-bar position.
int panelTop(int value, int maximum);
} // namespace PriceGridLayout

// The visit browser frame: name filter, dates, buttons and the result list.
namespace BrowserLayout {
constexpr TwipRect kFrame{60, 6900, 3555, 3315};
constexpr TwipRect kNameCaption{120, 300, 720, 180};
constexpr TwipRect kNameFilter{960, 240, 1455, 315};
constexpr TwipRect kQueryButton{2490, 240, 930, 345};
constexpr TwipRect kDateCaption{120, 720, 720, 180};
constexpr TwipRect kFromDate{960, 660, 1455, 315};
constexpr TwipRect kTodayButton{2490, 660, 930, 345};
constexpr TwipRect kToCaption{660, 1140, 180, 180};
constexpr TwipRect kToDate{960, 1080, 1455, 315};
constexpr TwipRect kPreviousButton{2490, 1080, 450, 310};
constexpr TwipRect kNextButton{2970, 1080, 450, 310};
constexpr TwipRect kResultList{90, 1500, 3345, 1680};
} // namespace BrowserLayout

} // namespace quillora
