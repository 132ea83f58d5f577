#include "reports/outpatient_log.h"

#include "forms/twips.h"

namespace quillora {

TextMeasure::TextMeasure(const QFont &font) : m_metrics(font), m_twipsPerPixel(Twips::fromPixels(1)), m_basic(0x10000, -1)
{
    m_space = width(QStringLiteral(" "));
}

double TextMeasure::width(const QString &text)
{
    double pixels = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text.at(i + 1));
            auto it = m_supplementary.constFind(code);
            if (it == m_supplementary.constEnd())
                it = m_supplementary.insert(code, m_metrics.horizontalAdvance(text.mid(i, 2)));
            pixels += it.value();
            ++i;
            continue;
        }
        double &advance = m_basic[c.unicode()];
        if (advance < 0)
            advance = m_metrics.horizontalAdvance(c);
        pixels += advance;
    }
    return pixels * m_twipsPerPixel;
}

qsizetype OutpatientLog::fillCount(const QString &text, double columnTwips, TextMeasure &measure)
{
    double width = measure.width(text);
    const double space = measure.spaceWidth();
    if (space <= 0)
        return 0;
    qsizetype spaces = 0;
    while (width <= columnTwips) {
        width += space;
        ++spaces;
    }
    return spaces;
}

QString OutpatientLog::filled(const QString &text, double columnTwips, TextMeasure &measure)
{
    return text + QString(fillCount(text, columnTwips, measure), QLatin1Char(' '));
}

QString OutpatientLog::listLine(const LogEntry &entry, TextMeasure &measure)
{
    QString line;
    line.reserve(96);
    line += QLatin1Char(' ');
    const QString *columns[] = {&entry.name, &entry.sex, &entry.age, &entry.diagnosis, &entry.address};
    for (std::size_t i = 0; i < kColumnTwips.size(); ++i) {
        line += *columns[i];
        line.resize(line.size() + fillCount(*columns[i], kColumnTwips[i], measure), QLatin1Char(' '));
    }
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
