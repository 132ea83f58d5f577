#pragma once

#include "forms/sheet_layout.h"

#include <QString>

namespace quillora {

class Printer;

// Steps the printed documents share: fonts from the layout tables, the margin origin, blank lines.
namespace PrintSteps {

// The layout font, a number of points larger on paper.
void setFont(Printer &printer, const FontSpec &font, double extraPoints = 0);

// Margins in millimetres as typed; a text without a number is 0.
double marginTwips(const QString &millimetres);

// The origin of the whole sheet and of the card windows: margins of 10 mm put the form at the
// printable area's corner in portrait; landscape puts it 135 mm further right, on the right half.
// Sets the orientation too.
void placeMarginOrigin(Printer &printer, const QString &left, const QString &top, bool portrait);
constexpr double kTenMillimetres = 567;
constexpr double kLandscapeShift = 7654.5;

// The largest size, in half points up to `points`, at which every text fits the width (in the
// printer's current unit); leaves that size set.
double fittingSize(Printer &printer, const QStringList &texts, double room, double points);

// Prints a one-line value at (left, top) in the current font, or smaller when it is wider than
// its room, so a long name or diagnosis never runs over the next field; never below this size.
constexpr double kSmallestFittedPoints = 5;
void printFitted(Printer &printer, double left, double top, double room, const QString &text);

// A line that shows nothing: empty or blanks only.
bool isBlankLine(const QString &line);

} // namespace PrintSteps

// Margin boxes of a card window as typed, with its portrait/landscape choice.
struct CardMargins
{
    QString left = QStringLiteral("10");
    QString top = QStringLiteral("10");
    bool portrait = true;
};

} // namespace quillora
