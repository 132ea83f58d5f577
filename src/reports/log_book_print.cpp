#include "reports/log_book_print.h"

#include "printing/print_steps.h"

#include "printing/printer.h"
#include "text/display_width.h"
#include "text/numbers.h"

#include <algorithm>
#include <cmath>

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

// One font line (an em) in millimetres.
double em(double points) { return points * 25.4 / 72; }

constexpr double kRowPoints = 12;
// Two lines stand one em apart; both, with the second's full line height, keep this much of
// the band's height clear.
constexpr double kBandClearance = 0.4;
constexpr double kRuleClearance = 0.5;

// A cell of a row: its text from x, up to the next column's rule.
void printCell(Printer &printer, double x, double rule, double y, const QString &text)
{
    setFont(printer, kRowPoints, false);
    const double room = rule - x - kRuleClearance;
    if (printer.textWidth(text) <= room) {
        printAt(printer, x, y, text);
        return;
    }
    const double rowLine = printer.textHeight();
    const double oneLine = PrintSteps::fittingSize(printer, {text}, room, kRowPoints);
    // The tallest size whose two lines fit the band, by the font's own line height.
    printer.setFontSize(kRowPoints);
    const double blockPerPoint = (em(kRowPoints) + printer.textHeight()) / kRowPoints;
    const double tallest = std::floor((kBand - kBandClearance) / blockPerPoint * 2) / 2;
    const auto [first, second] = LogBook::splitInTwo(text);
    const double twoLines = PrintSteps::fittingSize(printer, {first, second}, room, tallest);
    if (oneLine >= twoLines || second.isEmpty()) {
        printer.setFontSize(oneLine);
        printAt(printer, x, y + (rowLine - printer.textHeight()) / 2, text);
        return;
    }
    printer.setFontSize(twoLines);
    const double bandTop = y - (kFirstRowY - kGridTop - kBand);
    const double top = bandTop + (kBand - em(twoLines) - printer.textHeight()) / 2;
    printAt(printer, x, top, first);
    printAt(printer, x, top + em(twoLines), second);
}

void printRow(Printer &printer, const LogEntry &visit)
{
    const double y = printer.currentY();
    const struct { double x, rule; const QString *text; } cells[] = {
        {2, 25, &visit.name}, {28, 35, &visit.sex}, {36, 47, &visit.age}, {48, 100, &visit.diagnosis},
        {101, 170, &visit.address}, {171, 207, &visit.date},
    };
    for (const auto &cell : cells)
        printCell(printer, cell.x, cell.rule, y, *cell.text);
    printer.setCurrentY(y + kBand);
}

} // namespace

int LogBook::pageCount(qsizetype visits) { return int((visits + kRowsPerPage - 1) / kRowsPerPage); }

QString LogBook::pageFooter(int page, int pages) { return QStringLiteral("第%1页共%2页").arg(page).arg(pages); }

std::pair<QString, QString> LogBook::splitInTwo(const QString &text)
{
    const int total = displayColumns(text);
    if (text.size() < 2)
        return {text, QString()};
    // Columns before each position; the break goes where they reach half.
    int columns = 0, middle = -1, blank = -1;
    double blankDistance = total / 6.0 + 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (middle < 0 && columns * 2 >= total && !text.at(i).isLowSurrogate())
            middle = int(i);
        if (text.at(i).isSpace() && std::abs(columns - total / 2.0) < blankDistance) {
            blank = int(i);
            blankDistance = std::abs(columns - total / 2.0);
        }
        columns += displayColumns(text.mid(i, 1));
    }
    if (blank > 0)
        return {text.left(blank).trimmed(), text.mid(blank + 1).trimmed()};
    if (middle <= 0)
        middle = int(text.size() / 2);
    return {text.left(middle), text.mid(middle)};
}

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
