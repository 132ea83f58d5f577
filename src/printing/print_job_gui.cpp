#include "printing/print_job_gui.h"

#include "base/message_dialog.h"
#include "printing/painter_printer.h"

#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace quillora {

namespace {

QString s_outputFile;

void render(QPrinter &device, const PrintJob::Compose &compose)
{
    PainterPrinter printer(&device);
    compose(printer);
}

// The chosen paper; without a choice a file or a preview is A4 and a printer keeps its own.
void choosePaper(QPrinter &device, const PaperSize &paper, bool orA4)
{
    if (!paper.isPrinterDefault())
        device.setPageSize(QPageSize(QSizeF(paper.width, paper.height), QPageSize::Millimeter, paper.caption, QPageSize::ExactMatch));
    else if (orA4)
        device.setPageSize(QPageSize(QPageSize::A4));
}

bool printToPdf(QWidget *parent, const QString &documentName, const QString &path, const PrintJob::Compose &compose,
                const PaperSize &paper)
{
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(path);
    device.setDocName(documentName);
    choosePaper(device, paper, true);
    render(device, compose);
    if (device.printerState() == QPrinter::Error) {
        MessageDialog::inform(parent, QStringLiteral("无法写入文件 %1。").arg(path), MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace

void PrintJob::setOutputFile(const QString &pdfPath) { s_outputFile = pdfPath; }

bool PrintJob::print(QWidget *parent, const QString &documentName, const Compose &compose, const PaperSize &paper)
{
    if (!s_outputFile.isEmpty())
        return printToPdf(parent, documentName, s_outputFile, compose, paper);
    if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinters().isEmpty()) {
        if (!MessageDialog::confirm(parent, QStringLiteral("没有找到打印机。\n是否把“%1”保存为PDF文件？").arg(documentName)))
            return false;
        const QString path = MessageDialog::saveFileName(parent, QStringLiteral("保存为PDF"), documentName + QStringLiteral(".pdf"),
                                                         QStringLiteral("PDF文件 (*.pdf)"));
        if (path.isEmpty())
            return false;
        return printToPdf(parent, documentName, path, compose, paper);
    }
    QPrinter device(QPrinter::HighResolution);
    device.setDocName(documentName);
    choosePaper(device, paper, false);
    render(device, compose);
    if (device.printerState() == QPrinter::Error) {
        MessageDialog::inform(parent, QStringLiteral("“%1”未能打印，请检查打印机。").arg(documentName), MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

void PrintJob::preview(QWidget *parent, const QString &documentName, const Compose &compose, const PaperSize &paper)
{
    QPrinter device(QPrinter::HighResolution);
    device.setDocName(documentName);
    choosePaper(device, paper, true);
    QPrintPreviewDialog dialog(&device, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览 - %1").arg(documentName));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&compose](QPrinter *target) { render(*target, compose); });
    dialog.resize(900, 700);
    dialog.exec();
}

} // namespace quillora
