#include "printing/infusion_card_print.h"

#include "print_fixture.h"
#include "forms/twips.h"

using namespace quillora;
using namespace quillora::test;

namespace {

using namespace InfusionCardLayout;

// Vertical grid lines, left to right.
QList<double> columnEdges()
{
    QList<double> xs;
    for (const TwipLine &l : gridLines()) {
        if (l.x1 == l.x2 && !xs.contains(l.x1))
            xs << l.x1;
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

TEST(InfusionCardLayout, EverythingFitsItsBand)
{
    const QList<double> edges = columnEdges();
    ASSERT_EQ(edges.size(), kColumnCount + 1);
    const QFont font = captionFont().font();
    for (int column = 0; column < kColumnCount; ++column) {
        const GridColumn &c = columns()[column];
        EXPECT_GT(c.captionLeft, edges[column]);
        EXPECT_LT(c.captionLeft + Twips::textWidth(c.caption, font), edges[column + 1]) << c.caption.toStdString();
        for (int row = 0; row < kRows; ++row) {
            const TwipRect r = cell(row, column);
            const double bandTop = 3240 + 480 * row;  // bands 480 apart, 120 above each cell
            EXPECT_TRUE(r.left > edges[column] && r.left + r.width < edges[column + 1]) << row << "," << column;
            EXPECT_TRUE(r.top > bandTop && r.top + r.height < bandTop + 480) << row;
        }
    }
    for (const HeaderField &f : headerFields()) {  // inside the frame, above the grid, clear of the caption
        EXPECT_GT(f.captionLeft, edges.first());
        EXPECT_LE(f.captionLeft + Twips::textWidth(f.caption, font), f.box.left) << f.caption.toStdString();
        EXPECT_LT(f.box.left + f.box.width, edges.last());
        EXPECT_LT(f.box.top + f.box.height, 2760);
    }
    EXPECT_EQ(rowTop(13), 3360 + 480 * 13);
    EXPECT_EQ(panelTop(100, 100), -(kHeight - kViewport.height));
    EXPECT_EQ(panelTop(5, 0), 0);
}

class InfusionCardPrintTest : public PrintTest
{
protected:
    InfusionCardPrintTest()
    {
        m_card.institution = QStringLiteral("青山镇中心卫生院");
        for (int i = 0; i < kHeaderCount; ++i)
            m_card.header[i] = QStringLiteral("头%1").arg(i);
        for (int row = 0; row < kRows; ++row) {
            m_card.names[row] = QStringLiteral("药%1").arg(row);
            m_card.speeds[row] = QStringLiteral("速%1").arg(row);
            m_card.times[row] = QStringLiteral("时%1").arg(row);
            m_card.nurses[row] = QStringLiteral("护%1").arg(row);
        }
    }
    InfusionCardContent m_card;
};

TEST_F(InfusionCardPrintTest, MarginsAndOrientation)
{
    const struct {
        const char *left, *top;
        bool portrait;
        double scaleLeft, scaleTop;
    } cases[] = {{"10", "10", true, 0, 0}, {"5", "10", false, -7938, 0}, {"abc", "15", false, -7654.5, 567 - 850.5}};
    for (const auto &c : cases) {
        m_printer.clear();
        printInfusionCard(m_printer, m_card, CardMargins{QString::fromUtf8(c.left), QString::fromUtf8(c.top), c.portrait});
        EXPECT_TRUE(m_printer.scaleLeft() == c.scaleLeft && m_printer.scaleTop() == c.scaleTop) << c.left;
        EXPECT_EQ(m_printer.events().first().orientation, c.portrait ? Printer::Portrait : Printer::Landscape);
    }
}

TEST_F(InfusionCardPrintTest, EveryElementAtItsPanelPositionInItsFont)
{
    printInfusionCard(m_printer, m_card, CardMargins{});
    const QList<PrintEvent> texts = m_printer.texts();
    ASSERT_EQ(texts.size(), 2 + 2 * kHeaderCount + kColumnCount + kRows * kColumnCount);
    // Titles, centred, then the captions, the header fields and the cells column by column.
    const QFont titleFont = titles()[0].font.font();
    EXPECT_DOUBLE_EQ(texts[0].x, centredLeft(Twips::textWidth(m_card.institution, titleFont)));
    EXPECT_DOUBLE_EQ(texts[1].x, centredLeft(Twips::textWidth(QStringLiteral("输液执行卡"), titleFont)));
    EXPECT_TRUE(texts[1].y == 960 && texts[1].fontSize == 15.75 && texts[1].bold);
    const PrintEvent &caption = texts[2 + 6];
    EXPECT_TRUE(caption.text == QStringLiteral("护士：") && caption.x == 6000 && caption.y == 2220 && caption.bold);
    const PrintEvent &heading = texts[2 + kHeaderCount + Name];
    EXPECT_TRUE(heading.text == QStringLiteral("名     称") && heading.y == kColumnCaptionTop && heading.bold);
    const PrintEvent &date = texts[2 + kHeaderCount + kColumnCount + 3];
    EXPECT_TRUE(date.text == m_card.header[3] && date.x == headerFields()[3].box.left && !date.bold);
    const int firstCell = 2 + 2 * kHeaderCount + kColumnCount;
    for (int column = 0; column < kColumnCount; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const PrintEvent &e = texts[firstCell + column * kRows + row];
            const TwipRect place = cell(row, column);
            EXPECT_TRUE(e.x == place.left && e.y == place.top && e.fontSize == 10.5 && !e.bold) << row << "," << column;
        }
    }
    EXPECT_EQ(texts[firstCell + Time * kRows + 5].text, QStringLiteral("时5"));
    // Then the grid, unscaled, and the end of the document.
    const QList<PrintEvent> lines = m_printer.lines();
    ASSERT_EQ(lines.size(), kGridLineCount);
    for (int i = 0; i < kGridLineCount; ++i)
        EXPECT_TRUE(lines[i].x == gridLines()[i].x1 && lines[i].y2 == gridLines()[i].y2) << i;
    EXPECT_EQ(m_printer.events()[m_printer.events().size() - kGridLineCount - 2].kind, PrintEvent::Text);
    EXPECT_EQ(m_printer.events().last().kind, PrintEvent::EndDoc);
}

} // namespace
