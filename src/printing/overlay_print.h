#pragma once

#include "data/settings_columns.h"
#include "data/visit_record.h"

#include <QPointF>
#include <QString>
#include <array>
#include <optional>

namespace quillora {

class Printer;
struct OverlayItem;
struct SettingsValues;

// Overlay items by their index in the settings.
namespace OverlayItems {
enum : int {
    Name = 0, Sex = 1, Age = 2, FeeClass = 3, CardNumber = 4, Address = 5, Diagnosis = 6, Year = 7,
    Doctor = 8, Dispenser = 9, Checker = 10, DrugFee = 11, OtherFee = 12, Body = 13, Department = 14,
    FemaleMark = 15, MaleMark = 16, Month = 17, Day = 18, Date = 19, Allergy = 20, PastHistory = 21, Phone = 22
};
} // namespace OverlayItems

// The order items go onto the preprinted sheet, the body last.
const std::array<int, kOverlayItemCount> &overlayPrintOrder();

// The text an item prints for these header fields; nothing for a sex mark that does not apply
// and for the body, which prints line by line.
std::optional<QString> overlayItemText(int item, const std::array<QString, kHeaderFieldCount> &fields);

// Only the visit's values onto a preprinted sheet: each ticked item at its millimetre position
// from the overlay origin, then at most 14 body lines at item 13's position, ticked or not.
// Leaves the orientation as the printer has it. One page; ends the document.
void printOverlay(Printer &printer, const std::array<QString, kHeaderFieldCount> &fields, const QString &body,
                  const SettingsValues &settings, const QString &scratchPath);

namespace OverlayPrint {
constexpr int kMaxBodyLines = 14;
constexpr double kLineGap = 90;

// Moves the origin to the overlay offsets (左边距5, 上边距5).
void placeOrigin(Printer &printer, const SettingsValues &settings);
// Where an item's text starts, in twips from the overlay origin: its millimetres times 56.7.
QPointF itemPoint(const OverlayItem &item);
// The items' font (宋体 12) and the body's (the settings font, not bold).
void setItemFont(Printer &printer);
void setBodyFont(Printer &printer, const SettingsValues &settings);
} // namespace OverlayPrint

} // namespace quillora
