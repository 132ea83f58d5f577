#pragma once

#include "data/visit_record.h"
#include "forms/sheet_layout.h"

#include <QString>
#include <array>

namespace quillora {

// The medical-history card window: the 148 × 210 mm card it previews and prints, and the
// controls around it. Twips; card elements relative to the card's top-left corner.
namespace HistoryCardLayout {
constexpr int kWidth = 8391, kHeight = 11906;
constexpr int kCaptionCount = 8, kFieldCount = 6, kRuleCount = 6;

enum Caption { Institution = 0, Title, NameCaption, SexCaption, AgeCaption, DateCaption, AddressCaption, DoctorCaption };
struct Item
{
    TwipRect rect;
    QString text;  // the institution's is only the design text
    bool centred = false;  // placed at load for the width of its text
};
const std::array<Item, kCaptionCount> &captions();
FontSpec captionFont(int caption);

// The editable one-line boxes and the header field each one is filled from.
struct Field
{
    TwipRect rect;
    int headerField;
};
const std::array<Field, kFieldCount> &fields();
FontSpec fieldFont();

const std::array<TwipLine, kRuleCount> &rules();

// The multi-line history box, which wraps at its width.
constexpr TwipRect kHistoryBox{1020, 2880, 6855, 3855};
FontSpec historyFont();
// Prescription lines follow the history this far right of the box's left.
constexpr int kPrescriptionIndent = 650;

double centredLeft(double width);

// The window around the card: a viewport that scrolls the taller card, the print settings, the button.
constexpr int kWindowWidth = 8886, kWindowHeight = 7440;
constexpr TwipRect kViewport{120, 120, kWidth + 255, 6600};  // with the vertical bar on the right
int cardTop(int value, int maximum);
constexpr TwipRect kLeftMarginCaption{120, 6960, 1335, 210};  // "打印左边距(mm)"
constexpr TwipRect kLeftMarginBox{1500, 6900, 495, 285};       // Text6
constexpr TwipRect kTopMarginCaption{2160, 6960, 1335, 210};  // "打印上边距(mm)"
constexpr TwipRect kTopMarginBox{3540, 6900, 495, 285};        // Text7
constexpr TwipRect kPortraitOption{4200, 6900, 735, 285};     // "纵打"
constexpr TwipRect kLandscapeOption{5040, 6900, 735, 285};    // "横打"
constexpr TwipRect kPrintButton{7170, 6855, 1215, 375};       // "打印病史"
} // namespace HistoryCardLayout

} // namespace quillora
