#include "printing/history_card_print.h"

#include "print_fixture.h"
#include "forms/twips.h"

#include <QFile>

using namespace quillora;
using namespace quillora::test;

namespace {

using namespace HistoryCardLayout;

class HistoryCardTest : public PrintTest
{
protected:
    HistoryCardTest()
    {
        m_card.institution = QStringLiteral("青山镇中心卫生院");
        m_card.fields = {QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("2016-01-03"),
                         QStringLiteral("青山镇 13800000000"), QStringLiteral("王医生")};
        m_card.historyLines = {QStringLiteral("咳嗽三天，"), QStringLiteral("伴低热。")};
        m_card.body = crlf(numberedLinesWithBlanks(20));
    }
    static constexpr double kAdvance = 10.5 * 20;  // one em of the fields' font
    HistoryCardContent m_card;
};

TEST_F(HistoryCardTest, MarginsOrientationAndPlaces)
{
    const struct {
        bool portrait;
        const char *left, *top;
        double originX, originY;  // the card's corner from the printable area's corner
    } cases[] = {
        {true, "10", "10", 0, 0}, {false, "10", "10", 567 + 7654.5, 0}, {false, "0", "10", 7654.5, 0}, {true, "20", "0", 567, -567},
    };
    for (const auto &c : cases) {
        m_printer.clear();
        printHistoryCard(m_printer, m_card, CardMargins{QString::fromUtf8(c.left), QString::fromUtf8(c.top), c.portrait}, scratchPath());
        const PrintEvent *name = m_printer.findText(QStringLiteral("姓名："));  // at (1020, 1980) on the card
        EXPECT_DOUBLE_EQ(name->absX, c.originX + 1020) << c.left;
        EXPECT_DOUBLE_EQ(name->absY, c.originY + 1980) << c.top;
        EXPECT_EQ(name->orientation, c.portrait ? Printer::Portrait : Printer::Landscape);
        EXPECT_EQ(m_printer.events().last().kind, PrintEvent::EndDoc);
    }
    const QList<PrintEvent> texts = m_printer.texts();
    for (int i = 0; i < kCaptionCount; ++i) {
        const Item &item = captions()[i];
        const double left = item.centred ? (8391 - Twips::textWidth(texts[i].text, captionFont(i).font())) / 2 : item.rect.left;
        EXPECT_EQ(texts[i].text, i == Institution ? m_card.institution : item.text);
        EXPECT_TRUE(texts[i].x == left && texts[i].y == item.rect.top && texts[i].bold) << i;
        EXPECT_DOUBLE_EQ(texts[i].fontSize, i <= Title ? 15.75 : 10.5);
    }
    for (int i = 0; i < kFieldCount; ++i) {
        const PrintEvent &e = texts[kCaptionCount + i];
        EXPECT_EQ(e.text, m_card.fields[i]);
        EXPECT_TRUE(e.x == fields()[i].rect.left && e.y == fields()[i].rect.top && e.fontSize == 10.5 && !e.bold) << i;
    }
    EXPECT_EQ(fields()[4].headerField, FieldAddress);
    EXPECT_EQ(m_printer.lines().size(), kRuleCount);
}

TEST_F(HistoryCardTest, HistoryLinesThenFifteenIndentedBodyLines)
{
    const struct {
        QStringList history;
        int shown;
    } cases[] = {
        {{QStringLiteral("咳嗽三天，"), QStringLiteral("伴低热。"), QStringLiteral("既往体健。")}, 3},
        {{}, 1},  // an empty box shows one empty line: the body starts an advance and twice 90 down
        {{QString()}, 1},
    };
    for (const auto &c : cases) {
        m_card.historyLines = c.history;
        RecordingPrinter printer;
        printHistoryCard(printer, m_card, CardMargins{}, scratchPath());
        const QList<PrintEvent> rest = printer.texts().mid(kCaptionCount + kFieldCount);
        ASSERT_EQ(rest.size(), c.shown + 15);
        for (int i = 0; i < rest.size(); ++i) {
            const bool history = i < c.shown;
            // Each history line is followed by 90; each body line is preceded by 90.
            const double y = kHistoryBox.top + i * (kAdvance + 90) + (history ? 0 : 90);
            EXPECT_DOUBLE_EQ(rest[i].x, history ? 1020 : 1020 + 650) << i;
            EXPECT_DOUBLE_EQ(rest[i].y, y) << i;
            EXPECT_DOUBLE_EQ(rest[i].fontSize, 10.5);
            if (!history)
                EXPECT_EQ(rest[i].text, QStringLiteral("第%1行").arg(i - c.shown + 1));
        }
        EXPECT_FALSE(QFile::exists(scratchPath()));
    }
}

TEST_F(HistoryCardTest, PreviewDrawingLeavesPageAndScaleAlone)
{
    m_printer.setScaleLeft(-100);
    drawHistoryCard(m_printer, m_card, scratchPath());
    EXPECT_EQ(m_printer.count(PrintEvent::Orientation), 0);
    EXPECT_EQ(m_printer.count(PrintEvent::EndDoc), 0);
    EXPECT_DOUBLE_EQ(m_printer.findText(QStringLiteral("姓名："))->absX, 1120);
    EXPECT_EQ(cardTop(100, 100), -(kHeight - kViewport.height));
}

} // namespace
