#pragma once

#include "forms/sheet_layout.h"

#include <QString>
#include <array>

namespace quillora {

// The infusion execution card window: its card panel, printed as laid out, and the controls
// around it. Twips; panel elements relative to the panel's top-left corner.
namespace InfusionCardLayout {
constexpr int kWidth = 8391, kHeight = 10440;  // 148 mm wide, the width of an A5 card
constexpr int kHeaderCount = 7, kRows = 14, kColumnCount = 4;

// Institution name (replaced at load) and title, both centred on the panel.
enum Title { Institution = 0, CardTitle = 1 };
const std::array<CaptionSpec, 2> &titles();
constexpr int kTitleHeight = 315;

// A header field: its caption and, after it, its one-line box.
struct HeaderField
{
    QString caption;
    int captionLeft;
    TwipRect box;  // the caption shares the box's top
};
const std::array<HeaderField, kHeaderCount> &headerFields();
FontSpec captionFont();
FontSpec fieldFont();  // header boxes and grid cells

enum Column { Name = 0, Speed = 1, Time = 2, Nurse = 3 };
struct GridColumn
{
    QString caption;
    int captionLeft;
    int left, width;  // the column's cells
};
const std::array<GridColumn, kColumnCount> &columns();
constexpr int kColumnCaptionTop = 2895;
constexpr int kCellHeight = 285;
constexpr int rowTop(int row) { return 3360 + 480 * row; }
TwipRect cell(int row, int column);

// Frame, heading band and one band per row.
constexpr int kGridLineCount = 22;
const std::array<TwipLine, kGridLineCount> &gridLines();

// The drug pick list under the name cell being typed.
constexpr int kPickListLeft = 960, kPickListWidth = 3255, kPickListHeight = 1290;
constexpr int pickListTop(int row) { return rowTop(row) + 360; }

// Left of a centred title of the given width.
double centredLeft(double width);

// The window around the panel: a viewport that scrolls the taller panel, the print settings, buttons.
constexpr int kWindowWidth = 8886, kWindowHeight = 7440;
constexpr TwipRect kViewport{120, 120, kWidth + 255, 6600};  // with the vertical bar on the right
int panelTop(int value, int maximum);
constexpr TwipRect kLeftMarginCaption{120, 6960, 1335, 210};   // "打印左边距(mm)"
constexpr TwipRect kLeftMarginBox{1500, 6900, 495, 285};
constexpr TwipRect kTopMarginCaption{2160, 6960, 1335, 210};   // "打印上边距(mm)"
constexpr TwipRect kTopMarginBox{3540, 6900, 495, 285};
constexpr TwipRect kPortraitOption{4200, 6900, 735, 285};      // "纵打"
constexpr TwipRect kLandscapeOption{5040, 6900, 735, 285};     // "横打"
constexpr TwipRect kPrintButton{5940, 6855, 855, 375};         // "打  印"
constexpr TwipRect kSaveButton{6915, 6855, 855, 375};          // "保  存"
constexpr TwipRect kDeleteRowButton{7890, 6855, 855, 375};     // "删除行"
} // namespace InfusionCardLayout

} // namespace quillora
