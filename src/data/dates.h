#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace quillora {

// Reads a typed visit date: yyyy-mm-dd, also 2016-1-3, 2016/01/03 and 2016.1.3; nothing else.
std::optional<QDate> parseVisitDate(const QString &text);

// The stored form of a date: yyyy-mm-dd.
QString dateText(const QDate &date);

// The typed date in its stored form, or nothing when it is not a real calendar day.
std::optional<QString> normaliseDate(const QString &text);

// The visit key of a moment: yyyy-mm-dd hh:mm:ss.
QString visitKeyOf(const QDateTime &moment);

} // namespace quillora
