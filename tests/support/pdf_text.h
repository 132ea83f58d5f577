#pragma once

#include <QString>

namespace quillora::test {

// Whether pdftotext is installed to read a PDF's text back.
bool canReadPdf();
// The text of a PDF with blanks removed and radical glyphs read as their characters
// (the CJK fonts share glyphs between a character and its radical).
QString pdfText(const QString &path);
// The same folding for an expected piece of text.
QString folded(QString text);

} // namespace quillora::test
