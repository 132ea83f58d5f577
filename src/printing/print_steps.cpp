#include "printing/print_steps.h"

#include "printing/printer.h"
#include "text/numbers.h"
#include "forms/twips.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace quillora {

void PrintSteps::setFont(Printer &printer, const FontSpec &font, double extraPoints)
{
    printer.setFontName(font.family);
    printer.setFontBold(font.bold);
    printer.setFontSize(font.points + extraPoints);
}

double PrintSteps::marginTwips(const QString &millimetres) { return leadingNumber(millimetres) * Twips::kPerMillimetre; }

void PrintSteps::placeMarginOrigin(Printer &printer, const QString &left, const QString &top, bool portrait)
{
    const double l = marginTwips(left);
    const double t = marginTwips(top);
    if (portrait) {
        printer.setOrientation(Printer::Portrait);
        printer.setScaleLeft(kTenMillimetres - l);
    } else {
        printer.setOrientation(Printer::Landscape);
        printer.setScaleLeft(-(l + kLandscapeShift));
    }
    printer.setScaleTop(kTenMillimetres - t);
}

double PrintSteps::fittingSize(Printer &printer, const QStringList &texts, double room, double points)
{
    printer.setFontSize(points);
    double widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, printer.textWidth(text));
    if (widest <= room)
        return points;
    double size = std::floor(points * room / widest * 2) / 2;
    for (; size > 0.5; size -= 0.5) {
        printer.setFontSize(size);
        bool fits = true;
        for (const QString &text : texts)
            fits = fits && printer.textWidth(text) <= room;
        if (fits)
            break;
    }
    return std::max(size, 0.5);
}

void PrintSteps::printFitted(Printer &printer, double left, double top, double room, const QString &text)
{
    const double points = printer.fontSize();
    const double line = printer.textHeight();
    const double size = std::max(kSmallestFittedPoints, fittingSize(printer, {text}, room, points));
    printer.setFontSize(size);
    // A smaller text stands on the same line as a text that fits: bottoms meet.
    printer.setCurrentX(left);
    printer.setCurrentY(top + line - printer.textHeight());
    printer.print(text);
    printer.setFontSize(points);
}

bool PrintSteps::isBlankLine(const QString &line)
{
    for (QChar c : line) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

} // namespace quillora
