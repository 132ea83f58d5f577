#include "printing/history_card_print.h"

#include "printing/printer.h"
#include "text/scratch_file.h"
#include "forms/twips.h"

namespace quillora {

using namespace HistoryCardPrint;

void drawHistoryCard(Printer &printer, const HistoryCardContent &content, const QString &scratchPath)
{
    using namespace HistoryCardLayout;
    for (int i = 0; i < kCaptionCount; ++i) {
        const Item &item = captions()[i];
        const FontSpec font = captionFont(i);
        const QString text = i == Institution ? content.institution : item.text;
        PrintSteps::setFont(printer, font);
        printer.setCurrentX(item.centred ? centredLeft(Twips::textWidth(text, font.font())) : item.rect.left);
        printer.setCurrentY(item.rect.top);
        printer.print(text);
    }
    for (int i = 0; i < kFieldCount; ++i) {
        PrintSteps::setFont(printer, fieldFont());
        const TwipRect &place = fields()[i].rect;
        PrintSteps::printFitted(printer, place.left, place.top, place.width, content.fields[i]);
    }
    for (const TwipLine &rule : rules())
        printer.line(rule.x1, rule.y1, rule.x2, rule.y2);

    // History and prescription lines keep the fields' font, the last one set.
    printer.setCurrentX(kHistoryBox.left);
    printer.setCurrentY(kHistoryBox.top);
    // An empty box still shows one (empty) line.
    const QStringList history = content.historyLines.isEmpty() ? QStringList{QString()} : content.historyLines;
    for (const QString &line : history) {
        printer.print(line);
        printer.setCurrentX(kHistoryBox.left);
        printer.setCurrentY(printer.currentY() + kLineGap);
    }

    int counted = 0;
    for (const QString &line : ScratchFile(scratchPath).roundTrip(content.body)) {
        if (PrintSteps::isBlankLine(line))
            continue;
        if (++counted > kMaxBodyLines)
            break;
        printer.setCurrentX(kHistoryBox.left + kPrescriptionIndent);
        printer.setCurrentY(printer.currentY() + kLineGap);
        printer.print(line);
    }
}

void printHistoryCard(Printer &printer, const HistoryCardContent &content, const CardMargins &margins,
                      const QString &scratchPath)
{
    PrintSteps::placeMarginOrigin(printer, margins.left, margins.top, margins.portrait);
    drawHistoryCard(printer, content, scratchPath);
    printer.endDoc();
}

} // namespace quillora
