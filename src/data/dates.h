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

// Two typed dates that bound a listing, both days included.
struct DateRange
{
    QDate from, to;
};

// Both boxes read as visit dates; nothing when either is not one. A from-date after the
// to-date is a range, an empty one.
std::optional<DateRange> parseDateRange(const QString &from, const QString &to);

// The range a report window opens with: one calendar month back from today, to today.
DateRange lastMonthTo(const QDate &today);

// The message of a query whose dates are not dates.
inline const QString kDateFormatMessage = QStringLiteral("请填写正确格式的起止日期！日期格式为“2016-01-03”。");

} // namespace quillora
