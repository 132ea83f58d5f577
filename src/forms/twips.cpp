#include "forms/twips.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quillora {

namespace {
double s_overrideDpi = 0;
}

double Twips::screenDpi()
{
    if (s_overrideDpi > 0)
        return s_overrideDpi;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInch();
    return 96.0;
}

void Twips::setScreenDpi(double dpi) { s_overrideDpi = dpi; }

int Twips::toPixels(double twips) { return int(std::lround(twips * screenDpi() / kPerInch)); }

QPoint Twips::toPixels(double x, double y) { return {toPixels(x), toPixels(y)}; }

QRect Twips::toPixels(double left, double top, double width, double height)
{
    const int x = toPixels(left);
    const int y = toPixels(top);
    // Right and bottom edges are rounded themselves, so neighbouring boxes meet without gaps.
    return QRect(x, y, toPixels(left + width) - x, toPixels(top + height) - y);
}

double Twips::fromPixels(double pixels) { return pixels * kPerInch / screenDpi(); }

double Twips::textWidth(const QString &text, const QFont &font)
{
    return fromPixels(QFontMetricsF(font).horizontalAdvance(text));
}

} // namespace quillora
