#pragma once

#include "data/settings_columns.h"
#include "forms/sheet_layout.h"

#include <QString>
#include <QStringList>
#include <array>

namespace quillora {

// The settings window in twips: its frames, the boxes with their captions and columns,
// the overlay rows, and the lists of its drop-downs. Positions inside a frame are relative to it.
namespace SettingsLayout {

// The print frame has one row more than the classic form (the paper); what lies below it
// and the overlay frame (for the calibration buttons) move down by that row.
constexpr int kExtraRow = 420;
// The frame of the safety checks sits under the overlay frame and pushes the buttons down.
constexpr int kSafetyRows = 960;
constexpr int kWidth = 9135, kHeight = 8715 + kSafetyRows;

constexpr TwipRect kGeneralFrame{120, 120, 4515, 1935};
constexpr TwipRect kPasswordFrame{120, 2220, 4515, 1515};
constexpr TwipRect kPrintFrame{120, 3900, 4515, 2415 + kExtraRow};
// The hint frame also takes the room beside the buttons, so its text is never cut.
constexpr TwipRect kSafetyFrame{4740, 8040, 4275, 900};
constexpr TwipRect kHintFrame{120, 6360 + kExtraRow, 4515, kSafetyFrame.top + kSafetyFrame.height - 6360 - kExtraRow};
constexpr TwipRect kOverlayFrame{4740, 120, 4275, 7395 + kExtraRow};
constexpr TwipRect kSaveButton{6180, 7680 + kExtraRow + kSafetyRows, 1395, 375};
constexpr TwipRect kCancelButton{7620, 7680 + kExtraRow + kSafetyRows, 1395, 375};
// Frame "用药安全提示": one check box per check, in two columns; the longer captions on the right.
constexpr TwipRect safetyBox(int index)
{
    return {index < 2 ? 180 : 1860, 270 + 300 * (index % 2), index < 2 ? 1620 : 2340, 285};
}

// A caption and the control beside it, with the settings column the control edits.
struct LabelledBox
{
    QString caption;
    int captionLeft, captionTop;
    TwipRect box;
    QString column;
};

// Frame "基本设置": name, doctor, dispenser, checker, fee class, department.
const std::array<LabelledBox, 6> &generalBoxes();
// Frame "打印设置(单位：毫米)": sheet left/top, overlay left/top, injection card left/top.
const std::array<LabelledBox, 6> &marginBoxes();
// The editable drop-downs of font and size, and the paper choice.
const LabelledBox &fontBox();
const LabelledBox &sizeBox();
const LabelledBox &paperBox();
QStringList fontChoices();
QStringList sizeChoices();

// "处方打印方式：" with its two options.
constexpr int kOrientationCaptionLeft = 120, kOrientationTop = 1200;
constexpr TwipRect kPortraitOption{1500, 1200, 855, 255};
constexpr TwipRect kLandscapeOption{2400, 1200, 855, 255};

// Frame "修改登录密码".
const LabelledBox &oldPasswordBox();
const LabelledBox &newPasswordBox();
constexpr TwipRect kChangePasswordButton{3120, 600, 1215, 375};

// The hint frame's text, inside the frame.
QString hintText();
constexpr TwipRect kHintText{120, 240, 4275, 855 + kExtraRow};

// Frame "处方套打设置": one row per item, in this order of item indexes.
constexpr std::array<int, kOverlayItemCount> kOverlayRowOrder{0, 1, 16, 15, 2, 3, 4, 14, 5, 6, 19, 7,
                                                              17, 18, 20, 21, 22, 8, 9, 10, 11, 12, 13};
constexpr int overlayRowTop(int row) { return 360 + 300 * row; }
constexpr int kRowHeight = 315;
constexpr int kTickLeft = 180, kTickWidth = 1260;
constexpr int kLeftCaptionLeft = 1320, kLeftBoxLeft = 2040;
constexpr int kTopCaptionLeft = 2700, kTopBoxLeft = 3420;
constexpr int kPositionBoxWidth = 495;
// Below the last row: print and preview the calibration page.
constexpr TwipRect kCalibrationButton{180, overlayRowTop(kOverlayItemCount) + 75, 1755, 375};
constexpr TwipRect kCalibrationPreviewButton{2070, overlayRowTop(kOverlayItemCount) + 75, 1755, 375};

// The name a message uses for the control behind a column ("处方左边距", "姓名 左边距").
QString fieldName(const QString &column);

} // namespace SettingsLayout

} // namespace quillora
