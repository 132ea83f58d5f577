#include "printing/overlay_print.h"

#include "print_fixture.h"

#include <QFile>

using namespace quillora;
using namespace quillora::test;

namespace {

class OverlayPrintTest : public PrintTest
{
protected:
    OverlayPrintTest()
    {
        const char *texts[] = {"张三", "男", "35岁", "自费", "A123", "内科", "青山镇", "13800000000", "感冒",
                               "2016-01-03", "王医生", "李药师", "张复核", "12.50", "3.00", "青霉素", "既往体健"};
        for (int i = 0; i < kHeaderFieldCount; ++i)
            m_fields[i] = QString::fromUtf8(texts[i]);
        tickAll(true);
    }
    void tickAll(bool ticked)
    {
        for (OverlayItem &item : m_settings.overlay)
            item.ticked = ticked;
    }
    void print(const QString &body = QStringLiteral("阿莫西林胶囊 0.25g×24粒"))
    {
        m_printer.clear();
        printOverlay(m_printer, m_fields, body, m_settings, scratchPath());
    }
    std::array<QString, kHeaderFieldCount> m_fields;
    SettingsValues m_settings = initialSettings();
};

TEST_F(OverlayPrintTest, TickedItemsInTheirOrderAtTheirPositions)
{
    m_settings.overlayLeft = QStringLiteral("5");
    m_settings.overlayTop = QStringLiteral("7.5");
    print();
    // (item, text) in print order; a male patient gets no female mark.
    const std::pair<int, const char *> expected[] = {
        {0, "张三"}, {1, "男"}, {2, "35岁"}, {3, "自费"}, {4, "A123"}, {5, "青山镇"}, {6, "感冒"}, {7, "2016"},
        {17, "01"}, {18, "03"}, {8, "王医生"}, {9, "李药师"}, {10, "张复核"}, {11, "12.50"}, {12, "3.00"}, {14, "内科"},
        {16, "\\"}, {19, "2016-01-03"}, {22, "13800000000"}, {21, "既往体健"}, {20, "青霉素"},
    };
    const QList<PrintEvent> texts = m_printer.texts();
    ASSERT_EQ(texts.size(), std::size(expected) + 1);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const OverlayItemDefault &d = overlayItemDefaults()[expected[i].first];
        const PrintEvent &e = texts[int(i)];
        EXPECT_EQ(e.text, QString::fromUtf8(expected[i].second)) << i;
        EXPECT_DOUBLE_EQ(e.absX, (d.left + 5) * 56.7) << d.caption.toStdString();
        EXPECT_DOUBLE_EQ(e.absY, (d.top + 7.5) * 56.7);
        EXPECT_TRUE(e.fontName == QStringLiteral("宋体") && e.fontSize == 12 && !e.bold);
    }
    EXPECT_EQ(texts.last().text, QStringLiteral("阿莫西林胶囊 0.25g×24粒"));
    // A shorter date yields only the characters it has.
    m_fields[FieldDate] = QStringLiteral("2016-1");
    EXPECT_EQ(overlayItemText(OverlayItems::Month, m_fields), QStringLiteral("1"));
    EXPECT_EQ(overlayItemText(OverlayItems::Day, m_fields), QString());
}

TEST_F(OverlayPrintTest, OnlyTheBodyWhenNothingIsTicked)
{
    tickAll(false);
    m_settings.size = QStringLiteral("10.5");
    print(crlf(numberedLinesWithBlanks(20)));
    const QList<PrintEvent> texts = m_printer.texts();
    ASSERT_EQ(texts.size(), 14);  // at most 14 body lines
    EXPECT_EQ(texts.last().text, QStringLiteral("第14行"));
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_DOUBLE_EQ(texts[i].x, 40 * 56.7);
        EXPECT_DOUBLE_EQ(texts[i].y, 105 * 56.7 + 90 + i * (RecordingPrinter::lineHeightFor(10.5) + 90));
    }
    EXPECT_FALSE(QFile::exists(scratchPath()));
}

TEST_F(OverlayPrintTest, SexMarks)
{
    const struct {
        const char *sex;
        bool maleTicked, femaleTicked;
        double markLeft;  // millimetres; 0: no mark
    } cases[] = {
        {"男", true, true, 73}, {"女", true, true, 68}, {"男 ", true, true, 0}, {"男", false, true, 0},
        {"女", true, false, 0}, {"", true, true, 0},    {"男女", true, true, 0},
    };
    for (const auto &c : cases) {
        m_fields[FieldSex] = QString::fromUtf8(c.sex);
        m_settings.overlay[OverlayItems::MaleMark].ticked = c.maleTicked;
        m_settings.overlay[OverlayItems::FemaleMark].ticked = c.femaleTicked;
        print();
        QList<PrintEvent> marks;
        for (const PrintEvent &e : m_printer.texts()) {
            if (e.text == QStringLiteral("\\"))
                marks << e;
        }
        ASSERT_EQ(marks.size(), c.markLeft > 0 ? 1 : 0) << c.sex;
        if (c.markLeft > 0)
            EXPECT_TRUE(marks[0].x == c.markLeft * 56.7 && marks[0].y == 47 * 56.7) << c.sex;
    }
}

TEST_F(OverlayPrintTest, PositionsMoveOneItemAndOrientationStays)
{
    print();
    const QList<PrintEvent> before = m_printer.texts();
    m_settings.overlay[OverlayItems::Age].left = QStringLiteral("86");   // 1 mm right
    m_settings.overlay[OverlayItems::Name].top = QStringLiteral("abc");  // no number: the origin's edge
    RecordingPrinter landscape(Printer::Landscape);
    printOverlay(landscape, m_fields, QStringLiteral("阿莫西林胶囊 0.25g×24粒"), m_settings, scratchPath());
    const QList<PrintEvent> after = landscape.texts();
    ASSERT_EQ(before.size(), after.size());
    for (int i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].absX - before[i].absX, after[i].text == QStringLiteral("35岁") ? 56.7 : 0, 1e-9);
        EXPECT_DOUBLE_EQ(after[i].absY, after[i].text == QStringLiteral("张三") ? 0 : before[i].absY);
        EXPECT_EQ(after[i].orientation, Printer::Landscape);
    }
    EXPECT_EQ(landscape.count(PrintEvent::Orientation), 0);
}

} // namespace
