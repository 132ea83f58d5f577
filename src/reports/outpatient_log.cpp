#include "reports/outpatient_log.h"

#include "forms/twips.h"

namespace quillora {

TextMeasure::TextMeasure(const QFont &font)
    : m_metrics(font), m_space(Twips::fromPixels(m_metrics.horizontalAdvance(QLatin1Char(' '))))
{
}

double TextMeasure::width(const QString &text)
{
    auto it = m_widths.constFind(text);
    if (it == m_widths.constEnd())
        it = m_widths.insert(text, Twips::fromPixels(m_metrics.horizontalAdvance(text)));
    return it.value();
}

QString OutpatientLog::filled(const QString &text, double columnTwips, TextMeasure &measure)
{
    double width = measure.width(text);
    const double space = measure.spaceWidth();
    if (space <= 0)
        return text;
    qsizetype spaces = 0;
    while (width <= columnTwips) {
        width += space;
        ++spaces;
    }
    return spaces == 0 ? text : text + QString(spaces, QLatin1Char(' '));
}

QString OutpatientLog::listLine(const LogEntry &entry, TextMeasure &measure)
{
    QString line(1, QLatin1Char(' '));
    const QString *columns[] = {&entry.name, &entry.sex, &entry.age, &entry.diagnosis, &entry.address};
    for (std::size_t i = 0; i < kColumnTwips.size(); ++i)
        line += filled(*columns[i], kColumnTwips[i], measure);
    return line + entry.date;
}

QStringList OutpatientLog::listLines(const QList<LogEntry> &entries, const QFont &font)
{
    TextMeasure measure(font);
    QStringList lines;
    lines.reserve(entries.size());
    for (const LogEntry &entry : entries)
        lines << listLine(entry, measure);
    return lines;
}

QString OutpatientLog::countText(qsizetype count) { return QStringLiteral("计录数：%1").arg(count); }

} // namespace quillora
