#include "reports/log_book_print.h"

#include "printing/printer.h"
#include "text/numbers.h"

namespace quillora {

namespace {

const QString kFont = QStringLiteral("宋体");

// Millimetres on the page, measured from the origin the margins place.
constexpr double kGridLeft = 0, kGridRight = 240, kGridTop = 30, kBand = 7;
constexpr int kBands = 21;  // the heading band and 20 rows
constexpr double kColumnRules[] = {0, 25, 35, 47, 100, 170, 207, 240};
constexpr double kFirstRowY = 39;
constexpr double kFooterY = 178;

void printAt(Printer &printer, double x, double y, const QString &text)
{
    printer.setCurrentX(x);
    printer.setCurrentY(y);
    printer.print(text);
}

void setFont(Printer &printer, double points, bool bold)
{
    printer.setFontName(kFont);
    printer.setFontSize(points);
    printer.setFontBold(bold);
}

void drawFurniture(Printer &printer, int page, int pages, const QString &doctor)
{
    printer.setLineWidth(1);
    const double bottom = kGridTop + kBand * (kBands);
    for (int k = 0; k <= kBands; ++k)
        printer.line(kGridLeft, kGridTop + kBand * k, kGridRight, kGridTop + kBand * k);
    for (double x : kColumnRules)
        printer.line(x, kGridTop, x, bottom);

    setFont(printer, 22, true);
    printAt(printer, 80, 20, QStringLiteral("门 诊 日 志 登 记 本"));

    setFont(printer, 12, true);
    const struct { double x; const char *text; } headings[] = {
        {2, "姓    名"}, {26, "性别"}, {36, "年龄"}, {55, "诊            断"},
        {117, "地            址"}, {179, "就诊时间"}, {214, "备    注"},
    };
    for (const auto &h : headings)
        printAt(printer, h.x, 32, QString::fromUtf8(h.text));

    printAt(printer, 0, kFooterY, QStringLiteral("医生：") + doctor);
    printAt(printer, 215, kFooterY, LogBook::pageFooter(page, pages));
}

void printRow(Printer &printer, const LogEntry &visit)
{
    setFont(printer, 12, false);
    const double y = printer.currentY();
    const struct { double x; const QString *text; } cells[] = {
        {2, &visit.name}, {28, &visit.sex}, {36, &visit.age}, {48, &visit.diagnosis}, {101, &visit.address}, {171, &visit.date},
    };
    for (const auto &cell : cells)
        printAt(printer, cell.x, y, *cell.text);
    printer.setCurrentY(y + kBand);
}

} // namespace

int LogBook::pageCount(qsizetype visits) { return int((visits + kRowsPerPage - 1) / kRowsPerPage); }

QString LogBook::pageFooter(int page, int pages) { return QStringLiteral("第%1页共%2页").arg(page).arg(pages); }

int printLogBook(Printer &printer, const QList<LogEntry> &visits, const LogBookSettings &settings)
{
    if (visits.isEmpty())
        return 0;
    printer.setScaleMode(Printer::ScaleMode::Millimetres);
    // Margins of 10 put the grid 10 mm in from the left and the title at the very top.
    printer.setScaleLeft(-leadingNumber(settings.left));
    printer.setScaleTop(10 - leadingNumber(settings.top));
    printer.setOrientation(Printer::Landscape);

    const int pages = LogBook::pageCount(visits.size());
    int page = 1;
    drawFurniture(printer, page, pages, settings.doctor);
    printer.setCurrentY(kFirstRowY);
    int onPage = 0;
    for (const LogEntry &visit : visits) {
        if (onPage == LogBook::kRowsPerPage) {
            printer.newPage();
            ++page;
            onPage = 0;
            drawFurniture(printer, page, pages, settings.doctor);
            printer.setCurrentY(kFirstRowY);
        }
        ++onPage;
        printRow(printer, visit);
    }
    printer.endDoc();
    return pages;
}

} // namespace quillora
