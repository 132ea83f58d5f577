#pragma once

#include "data/visit_store.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace quillora {

// Widths of texts in twips in one screen font, as the sum of their characters' advances; each
// character is measured once. (The faces the list uses set Chinese text without kerning, and a
// year of lines is measured in milliseconds instead of shaping every line.)
class TextMeasure
{
public:
    explicit TextMeasure(const QFont &font);
    double width(const QString &text);
    double spaceWidth() const { return m_space; }

private:
    QFontMetricsF m_metrics;
    double m_twipsPerPixel;
    std::vector<double> m_basic;          // pixels, by character of the basic plane; < 0: not measured yet
    QHash<char32_t, double> m_supplementary;
    double m_space;
};

// The visit list of the outpatient log window.
namespace OutpatientLog {
// Name, sex, age, diagnosis and address are filled to these widths; the date is not.
constexpr std::array<int, 5> kColumnTwips{1285, 515, 635, 3875, 3875};

// The text with spaces appended one at a time while it is not wider than the column, so a
// filled text is just wider than its column; a text already wider stays as it is.
// (A space's advance adds to a text's width, so each space is counted, not re-measured.)
QString filled(const QString &text, double columnTwips, TextMeasure &measure);
qsizetype fillCount(const QString &text, double columnTwips, TextMeasure &measure);

// One list line: a space, the five filled columns, the date.
QString listLine(const LogEntry &entry, TextMeasure &measure);
QStringList listLines(const QList<LogEntry> &entries, const QFont &font);

// The count label after a query: 计录数：n
QString countText(qsizetype count);
} // namespace OutpatientLog

} // namespace quillora
