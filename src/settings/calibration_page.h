#pragma once

#include <QString>

namespace quillora {

class Printer;
struct SettingsValues;

// A plain-paper page for lining overlay printing up with preprinted sheets: a 10 mm grid whose
// ruler numbers count millimetres from the overlay origin (the numbers the settings take), and
// the label of every ticked item where overlay printing puts that item's text, the body's
// where its first line goes. Like the overlay it leaves the orientation as the printer
// has it. One page; ends the document.
void printCalibrationPage(Printer &printer, const SettingsValues &settings);

namespace CalibrationPage {
constexpr double kGridMillimetres = 10;
// Every fifth grid line is drawn heavier, so 50 mm steps are found at a glance.
constexpr int kHeavyEvery = 5;
constexpr double kMarkMillimetres = 2;
// What marks an item on the page: its caption, but a short label for the items that print
// only a few characters close to each other (the date parts, the sex strike marks).
QString label(int item, const QString &caption);
// The two lines that explain the page.
QString legend(const SettingsValues &settings);
} // namespace CalibrationPage

} // namespace quillora
