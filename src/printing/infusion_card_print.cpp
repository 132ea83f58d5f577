#include "printing/infusion_card_print.h"

#include "printing/printer.h"
#include "forms/twips.h"

namespace quillora {

namespace {

void printAt(Printer &printer, const FontSpec &font, double left, double top, const QString &text)
{
    PrintSteps::setFont(printer, font);
    printer.setCurrentX(left);
    printer.setCurrentY(top);
    printer.print(text);
}

void printFittedAt(Printer &printer, const FontSpec &font, const TwipRect &place, const QString &text)
{
    PrintSteps::setFont(printer, font);
    PrintSteps::printFitted(printer, place.left, place.top, place.width, text);
}

} // namespace

void printInfusionCard(Printer &printer, const InfusionCardContent &content, const CardMargins &margins)
{
    using namespace InfusionCardLayout;
    PrintSteps::placeMarginOrigin(printer, margins.left, margins.top, margins.portrait);

    for (int i = 0; i < 2; ++i) {
        const CaptionSpec &title = titles()[i];
        const QString text = i == Institution ? content.institution : title.text;
        // Centred for the text it holds now, as the window centres it at load.
        printAt(printer, title.font, centredLeft(Twips::textWidth(text, title.font.font())), title.top, text);
    }
    for (const HeaderField &field : headerFields())
        printAt(printer, captionFont(), field.captionLeft, field.box.top, field.caption);
    for (const GridColumn &column : columns())
        printAt(printer, captionFont(), column.captionLeft, kColumnCaptionTop, column.caption);
    for (int i = 0; i < kHeaderCount; ++i)
        printFittedAt(printer, fieldFont(), headerFields()[i].box, content.header[i]);

    const std::array<const std::array<QString, kRows> *, kColumnCount> cells{
        &content.names, &content.speeds, &content.times, &content.nurses};
    for (int column = 0; column < kColumnCount; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const TwipRect place = cell(row, column);
            printFittedAt(printer, fieldFont(), place, (*cells[column])[row]);
        }
    }

    // Grid lines take the printer's current pen width.
    for (const TwipLine &l : gridLines())
        printer.line(l.x1, l.y1, l.x2, l.y2);
    printer.endDoc();
}

} // namespace quillora
