#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// Multi-line texts as the scratch files see them: CR LF on disk, LF in text widgets.
// A line ends at CR LF, a lone LF or a lone CR.

// The lines of file content read line by line; a last line without an ending still counts.
QStringList readLines(const QString &content);
// The lines a text yields when written with one CR LF after it and read back.
QStringList splitScratchLines(const QString &text);

QString toCrLf(const QString &text);
QString fromCrLf(const QString &text);

} // namespace quillora
