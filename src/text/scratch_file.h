#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// A scratch file (print.txt, zsk.txt) that splits a multi-line text into lines by writing it
// as GB18030 with CR LF and reading it back; it is gone again when roundTrip returns.
class ScratchFile
{
public:
    explicit ScratchFile(QString path);

    const QString &path() const { return m_path; }

    // Falls back to splitting in memory when the disk fails, so no line is ever lost.
    QStringList roundTrip(const QString &text);

    // What went wrong in the last roundTrip; empty when the file was used.
    const QString &lastError() const { return m_lastError; }

private:
    bool write(const QString &text);
    bool read(QStringList &lines);

    QString m_path;
    QString m_lastError;
};

} // namespace quillora
