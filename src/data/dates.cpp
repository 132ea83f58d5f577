#include "data/dates.h"

#include <QRegularExpression>

namespace quillora {

std::optional<QDate> parseVisitDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{4})([-/.])(\\d{1,2})\\2(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

std::optional<QString> normaliseDate(const QString &text)
{
    const auto date = parseVisitDate(text);
    if (!date)
        return std::nullopt;
    return dateText(*date);
}

std::optional<DateRange> parseDateRange(const QString &from, const QString &to)
{
    const auto first = parseVisitDate(from);
    const auto last = parseVisitDate(to);
    if (!first || !last)
        return std::nullopt;
    return DateRange{*first, *last};
}

DateRange lastMonthTo(const QDate &today) { return DateRange{today.addMonths(-1), today}; }

QString visitKeyOf(const QDateTime &moment) { return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

} // namespace quillora
