#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '[' << list.join(QStringLiteral("\", \"")).prepend(QLatin1Char('"')).append(QLatin1Char('"')).toStdString() << ']';
}

namespace quillora::test {
inline QString u(const char *utf8) { return QString::fromUtf8(utf8); }
} // namespace quillora::test
