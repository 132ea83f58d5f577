#include "printing/print_steps.h"

#include "printing/printer.h"
#include "text/numbers.h"
#include "forms/twips.h"

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

bool PrintSteps::isBlankLine(const QString &line)
{
    for (QChar c : line) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

} // namespace quillora
