#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

namespace quillora::test {

// Whether pdftotext is installed to read a PDF's text back.
bool canReadPdf();
// The text of a PDF with blanks removed and radical glyphs read as their characters
// (the CJK fonts share glyphs between a character and its radical).
QString pdfText(const QString &path);
// The same folding for an expected piece of text.
QString folded(QString text);
// Width and height of the first page of a PDF in millimetres (empty when there is none).
QSizeF pdfPageSize(const QString &path);

// A word of a PDF page where pdftotext finds it, in points from the page's top-left corner.
struct PdfWord
{
    int page = 1;
    QString text;  // folded
    double left = 0, top = 0, right = 0, bottom = 0;
};
// Every word of every page, in reading order (empty when pdftotext is not installed).
QList<PdfWord> pdfWords(const QString &path);

} // namespace quillora::test
