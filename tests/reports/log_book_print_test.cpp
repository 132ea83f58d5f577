#include "base/fonts.h"
#include "printing/painter_printer.h"
#include "printing/recording_printer.h"
#include "reports/log_book_print.h"
#include "support/pdf_text.h"
#include "text/display_width.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QList<LogEntry> visits(int n)
{
    QList<LogEntry> out;
    for (int i = 1; i <= n; ++i)
        out << LogEntry{QStringLiteral("患者%1").arg(i), QStringLiteral("女"), QStringLiteral("%1岁").arg(i),
                        QStringLiteral("诊断%1").arg(i), QStringLiteral("地址%1").arg(i), QStringLiteral("2016-01-03")};
    return out;
}

QList<PrintEvent> textsOn(const RecordingPrinter &printer, int page)
{
    QList<PrintEvent> out;
    for (const PrintEvent &e : printer.texts())
        if (e.page == page)
            out << e;
    return out;
}

TEST(LogBook, TwentyRowsAPageWithFurnitureAndFootersOnEveryPage)
{
    const struct { int visits, pages, lastPageRows; } cases[] = {{1, 1, 1}, {20, 1, 20}, {21, 2, 1}, {40, 2, 20}, {41, 3, 1}};
    for (const auto &c : cases) {
        RecordingPrinter printer;
        EXPECT_EQ(printLogBook(printer, visits(c.visits), {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("王建国")}), c.pages);
        EXPECT_EQ(printer.count(PrintEvent::NewPage), c.pages - 1) << c.visits;
        EXPECT_EQ(printer.count(PrintEvent::EndDoc), 1);
        EXPECT_EQ(printer.lines().size(), c.pages * (22 + 8));
        for (int page = 1; page <= c.pages; ++page) {
            QStringList texts;
            for (const PrintEvent &e : textsOn(printer, page))
                texts << e.text;
            EXPECT_TRUE(texts.contains(QStringLiteral("门 诊 日 志 登 记 本")));
            EXPECT_TRUE(texts.contains(QStringLiteral("诊            断")));
            EXPECT_TRUE(texts.contains(QStringLiteral("医生：王建国")));
            EXPECT_TRUE(texts.contains(QStringLiteral("第%1页共%2页").arg(page).arg(c.pages))) << c.visits << " page " << page;
            const int rows = page < c.pages ? 20 : c.lastPageRows;
            EXPECT_EQ(texts.filter(QStringLiteral("患者")).size(), rows) << c.visits << " page " << page;
        }
        // Each page starts its rows at the top band again, in order.
        const int firstOnLast = (c.pages - 1) * 20 + 1;
        const PrintEvent *first = printer.findText(QStringLiteral("患者%1").arg(firstOnLast));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->page, c.pages);
        EXPECT_DOUBLE_EQ(first->y, 39);
    }
}

TEST(LogBook, NoVisitsSendNothingToThePrinter)
{
    RecordingPrinter printer;
    EXPECT_EQ(printLogBook(printer, {}, LogBookSettings{}), 0);
    EXPECT_TRUE(printer.events().isEmpty());
}

TEST(LogBook, PositionsFontsAndMarginsInMillimetres)
{
    RecordingPrinter printer;
    QList<LogEntry> two = visits(2);
    two[1] = LogEntry{QStringLiteral("张三丰"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("上呼吸道感染"),
                      QStringLiteral("东风村一组"), QStringLiteral("2016-01-04")};
    printLogBook(printer, two, {QStringLiteral("25"), QStringLiteral("15"), QString()});
    EXPECT_EQ(printer.events().first().kind, PrintEvent::Orientation);
    EXPECT_EQ(printer.events().first().orientation, Printer::Landscape);

    const PrintEvent *title = printer.findText(QStringLiteral("门 诊 日 志 登 记 本"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->fontName, QStringLiteral("宋体"));
    EXPECT_EQ(title->fontSize, 22);
    EXPECT_TRUE(title->bold);
    EXPECT_DOUBLE_EQ(title->x, 80);
    EXPECT_DOUBLE_EQ(title->y, 20);
    // Margins 25 / 15: the origin moves 25 mm right and 5 mm down.
    constexpr double mm = 1440 / 25.4;
    EXPECT_NEAR(title->absX, (80 + 25) * mm, 1e-6);
    EXPECT_NEAR(title->absY, (20 + 5) * mm, 1e-6);

    const struct { const char *text; double x, y; bool bold; } expected[] = {
        {"姓    名", 2, 32, true}, {"性别", 26, 32, true}, {"年龄", 36, 32, true}, {"地            址", 117, 32, true},
        {"就诊时间", 179, 32, true}, {"备    注", 214, 32, true}, {"医生：", 0, 178, true}, {"第1页共1页", 215, 178, true},
        {"张三丰", 2, 46, false}, {"男", 28, 46, false}, {"35岁", 36, 46, false}, {"上呼吸道感染", 48, 46, false},
        {"东风村一组", 101, 46, false}, {"2016-01-04", 171, 46, false},
    };
    for (const auto &e : expected) {
        const PrintEvent *text = printer.findText(QString::fromUtf8(e.text));
        ASSERT_NE(text, nullptr) << e.text;
        EXPECT_DOUBLE_EQ(text->x, e.x) << e.text;
        EXPECT_DOUBLE_EQ(text->y, e.y) << e.text;
        EXPECT_EQ(text->bold, e.bold) << e.text;
        EXPECT_EQ(text->fontSize, 12) << e.text;
    }

    // The grid: 22 rules across from y 30 to 177 and the eight column rules, all thin.
    QList<double> across, down;
    for (const PrintEvent &line : printer.lines()) {
        EXPECT_EQ(line.lineWidth, 1);
        if (line.y == line.y2) {
            EXPECT_DOUBLE_EQ(line.x, 0);
            EXPECT_DOUBLE_EQ(line.x2, 240);
            across << line.y;
        } else {
            EXPECT_DOUBLE_EQ(line.y, 30);
            EXPECT_DOUBLE_EQ(line.y2, 177);
            down << line.x;
        }
    }
    ASSERT_EQ(across.size(), 22);
    EXPECT_DOUBLE_EQ(across.first(), 30);
    EXPECT_DOUBLE_EQ(across.last(), 177);
    const QList<double> columns{0, 25, 35, 47, 100, 170, 207, 240};
    ASSERT_EQ(down.size(), columns.size());
    for (int i = 0; i < columns.size(); ++i)
        EXPECT_NEAR(down[i], columns[i], 1e-9);
}

TEST(LogBook, MarginsThatAreNoNumbersCountZero)
{
    const struct { const char *left, *top; double x0, y30; } cases[] = {
        {"abc", "", 0, 20}, {"12.5mm", "10", 12.5, 30}, {" 8", "x5", 8, 20},
    };
    for (const auto &c : cases) {
        RecordingPrinter printer;
        printLogBook(printer, visits(1), {QString::fromUtf8(c.left), QString::fromUtf8(c.top), QString()});
        const PrintEvent firstRule = printer.lines().first();
        EXPECT_NEAR(firstRule.absX / (1440 / 25.4), c.x0, 1e-6) << c.left;
        EXPECT_NEAR(firstRule.absY / (1440 / 25.4), c.y30, 1e-6) << c.top;
    }
}

TEST(LogBook, TextsTooWideForTheirCellAreSetSmallerNotOverTheNextColumn)
{
    const QString diagnosis = QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病");
    const QString address = QStringLiteral("东风村一组 13800000000");  // fits: stays 12 pt
    const struct { QString name, diagnosis; int nameLines, diagnosisLines; } cases[] = {
        {QStringLiteral("欧阳司马建国"), diagnosis, 1, 2},
        {QStringLiteral("欧阳司马建国1"), QStringLiteral("慢性支气管炎急性发作期伴感染"), 1, 1},
        {QString(40, QChar(0x540D)), QString(50, QChar(0x75C5)), 2, 2},
    };
    constexpr double mm = 1440 / 25.4;
    for (const auto &c : cases) {
        RecordingPrinter printer;
        printLogBook(printer, {LogEntry{c.name, QStringLiteral("男"), QStringLiteral("35岁"), c.diagnosis, address, QStringLiteral("2016-01-03")}},
                     LogBookSettings{});
        const auto cell = [&](double from, double to) {
            QList<PrintEvent> texts;
            for (const PrintEvent &e : printer.texts())
                if (e.y >= 37 && e.y < 44 && e.x >= from && e.x < to)
                    texts << e;
            return texts;
        };
        const struct { double from, rule; const QString &text; int lines; } columns[] = {
            {0, 25, c.name, c.nameLines}, {47, 100, c.diagnosis, c.diagnosisLines}, {100, 170, address, 1},
        };
        for (const auto &column : columns) {
            const QList<PrintEvent> texts = cell(column.from, column.rule);
            ASSERT_EQ(texts.size(), column.lines) << column.text.toStdString();
            QString joined;
            for (const PrintEvent &e : texts) {
                const double right = e.x + displayColumns(e.text) * e.fontSize * 10 / mm;
                EXPECT_LT(right, column.rule) << e.text.toStdString() << " runs over the rule";
                EXPECT_GE(e.y, 37);
                EXPECT_LE(e.y + e.fontSize * 25.4 / 72, 44) << "stays in its band";
                if (texts.size() == 2)
                    EXPECT_LE(e.y + RecordingPrinter::lineHeightFor(e.fontSize) / mm, 44) << "both lines fit the band";
                joined += e.text + (texts.size() > 1 && joined.isEmpty() && column.text.contains(QLatin1Char(' ')) ? QStringLiteral(" ") : QString());
            }
            EXPECT_EQ(joined, column.text) << "nothing of the text is lost";
            if (column.text == address)
                EXPECT_EQ(texts[0].fontSize, 12);
            else
                EXPECT_LT(texts[0].fontSize, 12);
        }
    }
}

TEST(LogBook, LongTextsBreakAtTheBlankNearestTheMiddle)
{
    const struct { const char *text, *first, *second; } cases[] = {
        {"高血压病 脑供血不足 冠状动脉粥样硬化性心脏病", "高血压病 脑供血不足", "冠状动脉粥样硬化性心脏病"},
        {"病病病病病", "病病病", "病病"},
        {"ABCDEFGH", "ABCD", "EFGH"},
        {"一 二三四五六七八九十甲乙丙丁", "一 二三四五六七", "八九十甲乙丙丁"},  // the blank is too far off the middle
        {"甲", "甲", ""},
    };
    for (const auto &c : cases) {
        const auto [first, second] = LogBook::splitInTwo(QString::fromUtf8(c.text));
        EXPECT_EQ(first, QString::fromUtf8(c.first)) << c.text;
        EXPECT_EQ(second, QString::fromUtf8(c.second)) << c.text;
    }
}

TEST(LogBook, PdfShowsTitleHeadingsAndRowsWhereTheyBelong)
{
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString keep = qEnvironmentVariable("QUILLORA_PDF_DIR");
    const QString file = keep.isEmpty() ? dir.filePath(QStringLiteral("log.pdf")) : QDir(keep).filePath(QStringLiteral("log.pdf"));
    QList<LogEntry> rows = visits(21);
    rows[0] = LogEntry{QStringLiteral("张三丰"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("上呼吸道感染"),
                       QStringLiteral("东风村一组"), QStringLiteral("2016-01-03")};
    {
        QPdfWriter pdf(file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(600);
        PainterPrinter printer(&pdf);
        printLogBook(printer, rows, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("王建国")});
    }
    const QList<PdfWord> words = pdfWords(file);
    if (words.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const auto find = [&](const QString &text, int page) -> const PdfWord * {
        for (const PdfWord &w : words)
            if (w.page == page && w.text == folded(text))
                return &w;
        return nullptr;
    };
    // Margins of 10: x lands 10 mm in from the left, y exactly at the page's top.
    constexpr double pt = 72 / 25.4;
    const struct { const char *text; int page; double x, y; } expected[] = {
        {"门", 1, 90, 20}, {"姓", 1, 12, 32}, {"就诊时间", 1, 189, 32}, {"张三丰", 1, 12, 39}, {"上呼吸道感染", 1, 58, 39},
        {"2016-01-03", 1, 181, 39}, {"医生：王建国", 1, 10, 178}, {"第1页共2页", 1, 225, 178},
        {"患者21", 2, 12, 39}, {"第2页共2页", 2, 225, 178},
    };
    for (const auto &e : expected) {
        const PdfWord *w = find(QString::fromUtf8(e.text), e.page);
        ASSERT_NE(w, nullptr) << e.text;
        EXPECT_NEAR(w->left, e.x * pt, 1.5 * pt) << e.text;
        EXPECT_NEAR(w->top, e.y * pt, 1.5 * pt) << e.text;
    }
}

} // namespace
