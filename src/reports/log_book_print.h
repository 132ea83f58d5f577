#pragma once

#include "data/visit_store.h"

#include <QList>
#include <QString>
#include <utility>

namespace quillora {

class Printer;

// What the log book takes besides the visits: its two margins in millimetres as typed and the
// doctor named in every page's footer.
struct LogBookSettings
{
    QString left = QStringLiteral("10");
    QString top = QStringLiteral("10");
    QString doctor;
};

// The paper outpatient log book: landscape pages in millimetres, 20 visits a page under a
// ruled grid, title and headings, the doctor and the page count at the foot.
namespace LogBook {
constexpr int kRowsPerPage = 20;
int pageCount(qsizetype visits);
// 第2页共3页
QString pageFooter(int page, int pages);
// A text too long for its cell, for two lines: broken at the blank nearest its middle, or at
// its middle.
std::pair<QString, QString> splitInTwo(const QString &text);
} // namespace LogBook

// Prints the visits in the order given; a text too wide for its cell is set smaller, in two
// lines if need be, rather than over the next column. Returns the number of pages. No visits: nothing is
// sent to the printer at all and 0 is returned.
int printLogBook(Printer &printer, const QList<LogEntry> &visits, const LogBookSettings &settings);

} // namespace quillora
