#include "settings/calibration_page.h"

#include "data/settings_record.h"
#include "forms/twips.h"
#include "printing/overlay_print.h"
#include "printing/print_steps.h"
#include "printing/printer.h"
#include "text/numbers.h"

namespace quillora {

using namespace CalibrationPage;

namespace {

constexpr double kMm = Twips::kPerMillimetre;

// The grid from the overlay origin to the edges of the printable area, with its ruler numbers
// just inside the top and left grid lines.
void printGrid(Printer &printer, double width, double height)
{
    const double step = kGridMillimetres * kMm;
    for (int k = 0; k * step <= width; ++k) {
        printer.setLineWidth(k % kHeavyEvery == 0 ? 3 : 1);
        printer.line(k * step, 0, k * step, height);
    }
    for (int k = 0; k * step <= height; ++k) {
        printer.setLineWidth(k % kHeavyEvery == 0 ? 3 : 1);
        printer.line(0, k * step, width, k * step);
    }
    printer.setLineWidth(1);
    PrintSteps::setFont(printer, FontSpec{QStringLiteral("宋体"), 7, false});
    const double inset = 0.6 * kMm;
    for (int k = 0; k * step <= width; ++k) {
        printer.setCurrentX(k * step + inset);
        printer.setCurrentY(inset);
        printer.print(QString::number(k * kGridMillimetres));
    }
    for (int k = 1; k * step <= height; ++k) {
        printer.setCurrentX(inset);
        printer.setCurrentY(k * step + inset);
        printer.print(QString::number(k * kGridMillimetres));
    }
}

// A corner above and left of the point where an item's text starts, clear of the text itself.
void markCorner(Printer &printer, const QPointF &at)
{
    const double arm = kMarkMillimetres * kMm;
    printer.setLineWidth(3);
    printer.line(at.x() - arm, at.y(), at.x(), at.y());
    printer.line(at.x(), at.y() - arm, at.x(), at.y());
    printer.setLineWidth(1);
}

void printAt(Printer &printer, const QPointF &at, const QString &text)
{
    markCorner(printer, at);
    printer.setCurrentX(at.x());
    printer.setCurrentY(at.y());
    printer.print(text);
}

} // namespace

QString CalibrationPage::label(int item, const QString &caption)
{
    switch (item) {
    case OverlayItems::Year: return QStringLiteral("年");
    case OverlayItems::Month: return QStringLiteral("月");
    case OverlayItems::Day: return QStringLiteral("日");
    case OverlayItems::MaleMark: return QStringLiteral("\\男");
    case OverlayItems::FemaleMark: return QStringLiteral("\\女");
    default: return caption;
    }
}

QString CalibrationPage::legend(const SettingsValues &settings)
{
    return QStringLiteral("套打校准页：网格每格%1毫米，数字是距套打原点（套打左边距 %2、上边距 %3 毫米）的毫米数。\n"
                          "“年”“月”“日”是日期的三部分，“\\男”“\\女”是男、女患者划掉另一性别的记号。\n"
                          "把本页叠在印刷处方上对光查看，读出各项目应在的位置，填入“处方套打设置”的左边距和上边距。")
        .arg(kGridMillimetres)
        .arg(plainNumber(leadingNumber(settings.overlayLeft)), plainNumber(leadingNumber(settings.overlayTop)));
}

void printCalibrationPage(Printer &printer, const SettingsValues &settings)
{
    OverlayPrint::placeOrigin(printer, settings);
    // What is left of the printable area past the origin, in twips.
    const QSizeF area = printer.printableAreaTwips();
    const double width = area.width() + printer.scaleLeft();
    const double height = area.height() + printer.scaleTop();
    printGrid(printer, width, height);

    OverlayPrint::setItemFont(printer);
    for (int item : overlayPrintOrder()) {
        const OverlayItem &setting = settings.overlay[item];
        if (item == OverlayItems::Body || !setting.ticked)
            continue;
        printAt(printer, OverlayPrint::itemPoint(setting), label(item, setting.caption));
    }
    // The body is printed whether its item is ticked or not; its first line sits one gap lower.
    const OverlayItem &body = settings.overlay[OverlayItems::Body];
    OverlayPrint::setBodyFont(printer, settings);
    printAt(printer, OverlayPrint::itemPoint(body) + QPointF(0, OverlayPrint::kLineGap), label(OverlayItems::Body, body.caption));

    PrintSteps::setFont(printer, FontSpec{QStringLiteral("宋体"), 8, false});
    const QStringList lines = legend(settings).split(QLatin1Char('\n'));
    printer.setCurrentY(height - (lines.size() + 1) * printer.textHeight());
    for (const QString &line : lines) {
        printer.setCurrentX(5 * kMm);
        printer.print(line);
    }
    printer.endDoc();
}

} // namespace quillora
