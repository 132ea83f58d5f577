#pragma once

#include "printing/paper_size.h"

#include <QString>
#include <functional>

class QWidget;

namespace quillora {

class Printer;

// Sends a composed document to the default printer, to a print preview, or — when no printer
// is installed — to a PDF file the doctor chooses, instead of silently printing nothing.
namespace PrintJob {
using Compose = std::function<void(Printer &)>;

// True when something was printed or saved. A paper of no size leaves the printer's own
// (A4 for a PDF file and the preview).
bool print(QWidget *parent, const QString &documentName, const Compose &compose, const PaperSize &paper = {});
void preview(QWidget *parent, const QString &documentName, const Compose &compose, const PaperSize &paper = {});

// Test seam: every print goes into this PDF file (empty = the real printer again).
void setOutputFile(const QString &pdfPath);
} // namespace PrintJob

} // namespace quillora
