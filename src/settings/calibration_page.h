#pragma once

#include <QString>

namespace quillora {

class Printer;
struct SettingsValues;

// A plain-paper page for lining overlay printing up with preprinted sheets: a 10 mm grid whose
// ruler numbers count millimetres from the overlay origin (the numbers the settings take), and
// the caption of every ticked item where overlay printing puts that item's text, the body's
// caption where its first line goes. Like the overlay it leaves the orientation as the printer
// has it. One page; ends the document.
void printCalibrationPage(Printer &printer, const SettingsValues &settings);

namespace CalibrationPage {
constexpr double kGridMillimetres = 10;
// Every fifth grid line is drawn heavier, so 50 mm steps are found at a glance.
constexpr int kHeavyEvery = 5;
constexpr double kMarkMillimetres = 2;
// The two lines that explain the page.
QString legend(const SettingsValues &settings);
} // namespace CalibrationPage

} // namespace quillora
