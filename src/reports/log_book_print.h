#pragma once

#include "data/visit_store.h"

#include <QList>
#include <QString>

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
} // namespace LogBook

// Prints the visits in the order given; returns the number of pages. No visits: nothing is
// sent to the printer at all and 0 is returned.
int printLogBook(Printer &printer, const QList<LogEntry> &visits, const LogBookSettings &settings);

} // namespace quillora
