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

bool printToPdf(QWidget *parent, const QString &documentName, const QString &path, const PrintJob::Compose &compose)
{
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(path);
    device.setDocName(documentName);
    device.setPageSize(QPageSize(QPageSize::A4));
    render(device, compose);
    if (device.printerState() == QPrinter::Error) {
        MessageDialog::inform(parent, QStringLiteral("无法写入文件 %1。").arg(path), MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace

void PrintJob::setOutputFile(const QString &pdfPath) { s_outputFile = pdfPath; }

bool PrintJob::print(QWidget *parent, const QString &documentName, const Compose &compose)
{
    if (!s_outputFile.isEmpty())
        return printToPdf(parent, documentName, s_outputFile, compose);
    if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinters().isEmpty()) {
        if (!MessageDialog::confirm(parent, QStringLiteral("没有找到打印机。\n是否把“%1”保存为PDF文件？").arg(documentName)))
            return false;
        const QString path = MessageDialog::saveFileName(parent, QStringLiteral("保存为PDF"), documentName + QStringLiteral(".pdf"),
                                                         QStringLiteral("PDF文件 (*.pdf)"));
        if (path.isEmpty())
            return false;
        return printToPdf(parent, documentName, path, compose);
    }
    QPrinter device(QPrinter::HighResolution);
    device.setDocName(documentName);
    render(device, compose);
    if (device.printerState() == QPrinter::Error) {
        MessageDialog::inform(parent, QStringLiteral("“%1”未能打印，请检查打印机。").arg(documentName), MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

void PrintJob::preview(QWidget *parent, const QString &documentName, const Compose &compose)
{
    QPrinter device(QPrinter::HighResolution);
    device.setDocName(documentName);
    device.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dialog(&device, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览 - %1").arg(documentName));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&compose](QPrinter *target) { render(*target, compose); });
    dialog.resize(900, 700);
    dialog.exec();
}

} // namespace quillora
