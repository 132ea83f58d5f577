#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace quillora {

class Printer;

// Sends a composed document to the default printer, to a print preview, or — when no printer
// is installed — to a PDF file the doctor chooses, instead of silently printing nothing.
namespace PrintJob {
using Compose = std::function<void(Printer &)>;

// True when something was printed or saved.
bool print(QWidget *parent, const QString &documentName, const Compose &compose);
void preview(QWidget *parent, const QString &documentName, const Compose &compose);

// Test seam: every print goes into this PDF file (empty = the real printer again).
void setOutputFile(const QString &pdfPath);
} // namespace PrintJob

} // namespace quillora
