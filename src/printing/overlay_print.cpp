#include "printing/overlay_print.h"

#include "data/settings_record.h"
#include "printing/print_steps.h"
#include "printing/printer.h"
#include "text/numbers.h"
#include "text/scratch_file.h"

namespace quillora {

using namespace OverlayItems;

const std::array<int, kOverlayItemCount> &overlayPrintOrder()
{
    static const std::array<int, kOverlayItemCount> order{
        Name, Sex, Age, FeeClass, CardNumber, Address, Diagnosis, Year, Month, Day, Doctor, Dispenser,
        Checker, DrugFee, OtherFee, Department, MaleMark, FemaleMark, Date, Phone, PastHistory, Allergy, Body,
    };
    return order;
}

std::optional<QString> overlayItemText(int item, const std::array<QString, kHeaderFieldCount> &fields)
{
    const QString &date = fields[FieldDate];
    // A backslash over the printed word of the other sex strikes it out.
    const QString mark = QStringLiteral("\\");
    switch (item) {
    case Name: return fields[FieldName];
    case Sex: return fields[FieldSex];
    case Age: return fields[FieldAge];
    case FeeClass: return fields[FieldFeeClass];
    case CardNumber: return fields[FieldCardNumber];
    case Address: return fields[FieldAddress];
    case Diagnosis: return fields[FieldDiagnosis];
    case Year: return date.mid(0, 4);
    case Month: return date.mid(5, 2);
    case Day: return date.mid(8, 2);
    case Doctor: return fields[FieldDoctor];
    case Dispenser: return fields[FieldDispenser];
    case Checker: return fields[FieldChecker];
    case DrugFee: return fields[FieldDrugFee];
    case OtherFee: return fields[FieldOtherFee];
    case Department: return fields[FieldDepartment];
    case MaleMark: return fields[FieldSex] == QStringLiteral("男") ? std::optional(mark) : std::nullopt;
    case FemaleMark: return fields[FieldSex] == QStringLiteral("女") ? std::optional(mark) : std::nullopt;
    case Date: return date;
    case Phone: return fields[FieldPhone];
    case PastHistory: return fields[FieldPastHistory];
    case Allergy: return fields[FieldAllergy];
    default: return std::nullopt;
    }
}

void OverlayPrint::placeOrigin(Printer &printer, const SettingsValues &settings)
{
    // Offsets are millimetres like the margins.
    printer.setScaleLeft(-PrintSteps::marginTwips(settings.overlayLeft));
    printer.setScaleTop(-PrintSteps::marginTwips(settings.overlayTop));
}

QPointF OverlayPrint::itemPoint(const OverlayItem &item)
{
    return QPointF(PrintSteps::marginTwips(item.left), PrintSteps::marginTwips(item.top));
}

void OverlayPrint::setItemFont(Printer &printer) { PrintSteps::setFont(printer, FontSpec{QStringLiteral("宋体"), 12, false}); }

void OverlayPrint::setBodyFont(Printer &printer, const SettingsValues &settings)
{
    printer.setFontName(settings.font);
    printer.setFontBold(false);
    printer.setFontSize(leadingNumber(settings.size));
}

void printOverlay(Printer &printer, const std::array<QString, kHeaderFieldCount> &fields, const QString &body,
                  const SettingsValues &settings, const QString &scratchPath)
{
    OverlayPrint::placeOrigin(printer, settings);
    OverlayPrint::setItemFont(printer);

    for (int item : overlayPrintOrder()) {
        if (item == Body)
            continue;
        const OverlayItem &setting = settings.overlay[item];
        const std::optional<QString> text = overlayItemText(item, fields);
        if (!setting.ticked || !text)
            continue;
        const QPointF at = OverlayPrint::itemPoint(setting);
        printer.setCurrentX(at.x());
        printer.setCurrentY(at.y());
        printer.print(*text);
    }

    const QPointF place = OverlayPrint::itemPoint(settings.overlay[Body]);
    OverlayPrint::setBodyFont(printer, settings);
    printer.setCurrentX(place.x());
    printer.setCurrentY(place.y());
    int counted = 0;
    for (const QString &line : ScratchFile(scratchPath).roundTrip(body)) {
        if (PrintSteps::isBlankLine(line))
            continue;
        if (++counted > OverlayPrint::kMaxBodyLines)
            break;
        printer.setCurrentX(place.x());
        printer.setCurrentY(printer.currentY() + OverlayPrint::kLineGap);
        printer.print(line);
    }
    printer.endDoc();
}

} // namespace quillora
