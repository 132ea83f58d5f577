#include "printing/injection_card_print.h"

#include "data/settings_record.h"
#include "printing/print_steps.h"
#include "printing/printer.h"
#include "text/scratch_file.h"

namespace quillora {

using namespace InjectionCardPrint;

void printInjectionCard(Printer &printer, const InjectionCardContent &content, const SettingsValues &settings,
                        const QString &scratchPath)
{
    printer.setScaleLeft(PrintSteps::kTenMillimetres - PrintSteps::marginTwips(settings.cardLeft));
    printer.setScaleTop(PrintSteps::kTenMillimetres - PrintSteps::marginTwips(settings.cardTop));

    for (const InjectionCardLayout::Item &caption : InjectionCardLayout::captions()) {
        PrintSteps::setFont(printer, caption.font, kExtraPoints);
        printer.setCurrentX(kScale * caption.rect.left);
        printer.setCurrentY(kScale * caption.rect.top);
        printer.print(caption.text);
    }
    for (int i = 0; i < InjectionCardLayout::kBoxCount; ++i) {
        const InjectionCardLayout::Item &box = InjectionCardLayout::boxes()[i];
        PrintSteps::setFont(printer, box.font, kExtraPoints);
        PrintSteps::printFitted(printer, kScale * box.rect.left, kScale * box.rect.top, kScale * box.rect.width, content.boxes[i]);
    }

    const TwipRect &usage = InjectionCardLayout::kUsageBox;
    PrintSteps::setFont(printer, FontSpec{QStringLiteral("宋体"), 12, false});
    printer.setCurrentX(kScale * usage.left);
    printer.setCurrentY(kScale * usage.top);
    int printed = 0;
    for (const QString &line : ScratchFile(scratchPath).roundTrip(content.usage)) {
        if (++printed > kMaxUsageLines)
            break;
        // Unlike the prescription body, a blank line here keeps its space.
        printer.setCurrentX(kScale * usage.left);
        printer.setCurrentY(printer.currentY() + kLineGap);
        printer.print(line);
    }

    for (const TwipLine &rule : InjectionCardLayout::rules())
        printer.line(kScale * rule.x1, kScale * rule.y1, kScale * rule.x2, kScale * rule.y2);
    printer.endDoc();
}

} // namespace quillora
