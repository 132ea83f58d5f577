#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

namespace quillora {

// The one place where twips (1/1440 inch) become screen pixels and back, at the screen's
// logical resolution. Layout tables stay in twips.
namespace Twips {
constexpr int kPerInch = 1440;
// Logical dots per inch of the screen (96 when no screen is known).
double screenDpi();
// Overrides the resolution (tests and odd screens); 0 returns to the screen's own.
void setScreenDpi(double dpi);
int toPixels(double twips);
QPoint toPixels(double x, double y);
QRect toPixels(double left, double top, double width, double height);
double fromPixels(double pixels);
// Width of a text in twips, as the screen renders it in that font.
double textWidth(const QString &text, const QFont &font);
// Millimetres of the settings become twips at 56.7 per millimetre.
constexpr double kPerMillimetre = 56.7;
} // namespace Twips

} // namespace quillora
