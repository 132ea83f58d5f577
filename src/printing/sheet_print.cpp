#include "printing/sheet_print.h"

#include "data/settings_record.h"
#include "printing/print_steps.h"
#include "printing/printer.h"
#include "text/numbers.h"
#include "text/scratch_file.h"
#include "forms/twips.h"

namespace quillora {

using namespace SheetPrint;

SheetContent sheetContentFor(const VisitRecord &visit, const QString &institution)
{
    SheetContent content;
    for (int i = 0; i < SheetLayout::kCaptionCount; ++i)
        content.captions[i] = SheetLayout::captions()[i].text;
    if (!visit.title.isEmpty())
        content.captions[SheetLayout::Title] = visit.title;
    if (!visit.kind.isEmpty())
        content.captions[SheetLayout::Kind] = visit.kind;
    content.captions[SheetLayout::Institution] = institution;
    content.fields = visit.header;
    content.body = visit.body;
    return content;
}

void printSheet(Printer &printer, const SheetContent &content, const SettingsValues &settings,
                const QString &scratchPath)
{
    PrintSteps::placeMarginOrigin(printer, settings.sheetLeft, settings.sheetTop, settings.portrait);

    for (int i = 0; i < SheetLayout::kCaptionCount; ++i) {
        const CaptionSpec &spec = SheetLayout::captions()[i];
        const QString &text = content.captions[i];
        // Self-sizing captions sit where the screen centres them for their current text.
        const double left = spec.centred ? SheetLayout::centredLeft(Twips::textWidth(text, spec.font.font())) : spec.left;
        PrintSteps::setFont(printer, spec.font, kExtraPoints);
        printer.setCurrentX(kScale * left);
        printer.setCurrentY(kScale * spec.top);
        printer.print(text);
    }

    const auto &boxes = SheetLayout::fieldBoxes();
    const auto &captions = headerFieldCaptions();
    const FontSpec captionFont = SheetLayout::fieldCaptionFont();
    std::array<SheetLayout::FieldInner, SheetLayout::kFieldCount> inner;
    for (int i = 0; i < SheetLayout::kFieldCount; ++i)
        inner[i] = SheetLayout::fieldInner(boxes[i].width, Twips::textWidth(captions[i], captionFont.font()));

    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        PrintSteps::setFont(printer, captionFont, kExtraPoints);
        printer.setCurrentX(kScale * (boxes[i].left + inner[i].captionLeft));
        printer.setCurrentY(kScale * (boxes[i].top + inner[i].captionTop));
        if (boxes[i].visible)
            printer.print(captions[i]);
    }
    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        PrintSteps::setFont(printer, SheetLayout::fieldTextFont(i), kExtraPoints);
        if (boxes[i].visible)
            PrintSteps::printFitted(printer, kScale * (boxes[i].left + inner[i].textLeft), kScale * (boxes[i].top + inner[i].textTop),
                                    kScale * inner[i].textWidth, content.fields[i]);
    }

    for (const TwipLine &rule : SheetLayout::rules()) {
        printer.setLineWidth(rule.width);
        printer.line(kScale * rule.x1, kScale * rule.y1, kScale * rule.x2, kScale * rule.y2);
    }
    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        const TwipLine &u = inner[i].underline;
        printer.setLineWidth(u.width);
        if (boxes[i].visible)
            printer.line(kScale * (boxes[i].left + u.x1), kScale * (boxes[i].top + u.y1),
                         kScale * (boxes[i].left + u.x2), kScale * (boxes[i].top + u.y2));
    }

    printer.setFontName(settings.font);
    printer.setFontBold(false);
    printer.setFontSize(leadingNumber(settings.size));
    printer.setCurrentY(kScale * SheetLayout::kBody.top);
    int counted = 0;
    for (const QString &line : ScratchFile(scratchPath).roundTrip(content.body)) {
        if (PrintSteps::isBlankLine(line))
            continue;  // blank lines take no space on paper
        if (++counted > kMaxBodyLines)
            break;
        // The body keeps its on-screen left; only its top is scaled.
        printer.setCurrentX(SheetLayout::kBody.left);
        printer.setCurrentY(printer.currentY() + kLineGap);
        printer.print(line);
    }
    printer.endDoc();
}

} // namespace quillora
