#include "printing/history_card_print.h"
#include "printing/infusion_card_print.h"
#include "printing/injection_card_print.h"
#include "printing/overlay_print.h"
#include "printing/painter_printer.h"
#include "printing/sheet_print.h"

#include "print_fixture.h"
#include "support/pdf_text.h"

#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>

using namespace quillora;
using namespace quillora::test;

namespace {

// Each document once through QPdfWriter on A4 with a printer's 5 mm edge, read back with pdftotext.
// QUILLORA_PDF_DIR keeps the files for a look at them.
TEST_F(PrintTest, EveryDocumentToPdf)
{
    VisitRecord visit;
    visit.title = QStringLiteral("普通处方笺");
    visit.kind = QStringLiteral("普通");
    visit.header[FieldName] = QStringLiteral("张三丰");
    visit.header[FieldSex] = QStringLiteral("男");
    visit.header[FieldDate] = QStringLiteral("2016-01-03");
    visit.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n");
    const SheetContent sheet = sheetContentFor(visit, QStringLiteral("青山镇中心卫生院"));
    const InjectionCardContent injection{{QStringLiteral("张三丰"), QStringLiteral("男"), QStringLiteral("35岁"),
                                          QStringLiteral("2016-01-03"), QStringLiteral("王建国")},
                                         QStringLiteral("0.9%氯化钠注射液 250ml\r\n    用法：静脉滴注 每日1次")};
    InfusionCardContent infusion;
    infusion.institution = QStringLiteral("青山镇中心卫生院");
    infusion.header[0] = QStringLiteral("张三丰");
    infusion.names[0] = QStringLiteral("0.9%氯化钠注射液 250ml");
    infusion.speeds[0] = QStringLiteral("60滴/分");
    HistoryCardContent history;
    history.institution = infusion.institution;
    history.fields[0] = QStringLiteral("张三丰");
    history.historyLines = {QStringLiteral("咳嗽三天，伴低热。")};
    history.body = visit.body;
    const SettingsValues settings = initialSettings();

    const struct {
        const char *file;
        std::function<void(Printer &)> document;
        QStringList texts;
    } documents[] = {
        {"sheet.pdf", [&](Printer &p) { printSheet(p, sheet, settings, scratchPath()); },
         {QStringLiteral("Rp"), QStringLiteral("张三丰"), QStringLiteral("青山镇中心卫生院"), QStringLiteral("普通处方笺"),
          QStringLiteral("阿莫西林胶囊")}},
        {"overlay.pdf", [&](Printer &p) { printOverlay(p, sheet.fields, visit.body, settings, scratchPath()); },
         {QStringLiteral("张三丰"), QStringLiteral("阿莫西林胶囊"), QStringLiteral("2016-01-03")}},
        {"injection.pdf", [&](Printer &p) { printInjectionCard(p, injection, settings, scratchPath()); },
         {QStringLiteral("门诊注射卡"), QStringLiteral("张三丰"), QStringLiteral("氯化钠注射液"), QStringLiteral("护士：")}},
        {"infusion.pdf", [&](Printer &p) { printInfusionCard(p, infusion, CardMargins{QStringLiteral("10"), QStringLiteral("10"), false}); },
         {QStringLiteral("输液执行卡"), QStringLiteral("张三丰"), QStringLiteral("60滴/分"), QStringLiteral("护士签名")}},
        {"history.pdf", [&](Printer &p) { printHistoryCard(p, history, CardMargins{}, scratchPath()); },
         {QStringLiteral("门诊病历卡"), QStringLiteral("张三丰"), QStringLiteral("咳嗽三天"), QStringLiteral("阿莫西林胶囊")}},
    };
    const QString keep = qEnvironmentVariable("QUILLORA_PDF_DIR");
    const bool canRead = canReadPdf();
    for (const auto &d : documents) {
        const QString file = keep.isEmpty() ? filePath(QString::fromUtf8(d.file)) : QDir(keep).filePath(QString::fromUtf8(d.file));
        {
            QPdfWriter pdf(file);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            pdf.setResolution(600);
            PainterPrinter printer(&pdf);
            d.document(printer);
        }
        EXPECT_GT(QFileInfo(file).size(), 1000) << d.file;
        EXPECT_FALSE(QFile::exists(scratchPath()));
        if (!canRead)
            continue;
        const QString text = pdfText(file);
        for (const QString &piece : d.texts)
            EXPECT_TRUE(text.contains(folded(piece))) << d.file << ": " << piece.toStdString() << " in " << text.toStdString();
    }
    if (!canRead)
        GTEST_SKIP() << "pdftotext is not installed; the files were only checked for size";
}

} // namespace
