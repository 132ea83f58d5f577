#include "printing/injection_card_print.h"

#include "print_fixture.h"

#include <QFile>

using namespace quillora;
using namespace quillora::test;

namespace {

class InjectionCardPrintTest : public PrintTest
{
protected:
    void print()
    {
        m_printer.clear();
        printInjectionCard(m_printer, m_card, m_settings, scratchPath());
    }
    InjectionCardContent m_card{{QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("35岁"),
                                 QStringLiteral("2016-01-03"), QStringLiteral("王医生")},
                                QStringLiteral("0.9%氯化钠注射液 250ml\r\n    用法：静脉滴注 每日1次")};
    SettingsValues m_settings = initialSettings();
};

TEST_F(InjectionCardPrintTest, CaptionsThenBoxesOneAndAHalfTimesTwoPointsLarger)
{
    const struct {
        const char *left, *top;
        double nameX, nameY;  // "姓名：" from the printable area's corner
    } margins[] = {{"10", "10", 270, 810}, {"0", "0", 270 - 567, 810 - 567}, {"15", "5.5", 270 + 5 * 56.7, 810 - 4.5 * 56.7}};
    for (const auto &m : margins) {
        m_settings.cardLeft = QString::fromUtf8(m.left);
        m_settings.cardTop = QString::fromUtf8(m.top);
        print();
        EXPECT_NEAR(m_printer.findText(QStringLiteral("姓名："))->absX, m.nameX, 1e-9) << m.left;
        EXPECT_NEAR(m_printer.findText(QStringLiteral("姓名："))->absY, m.nameY, 1e-9) << m.top;
    }
    QList<InjectionCardLayout::Item> items;
    for (const auto &caption : InjectionCardLayout::captions())
        items << caption;
    for (int i = 0; i < InjectionCardLayout::kBoxCount; ++i) {
        items << InjectionCardLayout::boxes()[i];
        items.last().text = m_card.boxes[i];
    }
    const QList<PrintEvent> texts = m_printer.texts();
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(texts[i].text, items[i].text);
        EXPECT_DOUBLE_EQ(texts[i].x, 1.5 * items[i].rect.left) << i;
        EXPECT_DOUBLE_EQ(texts[i].y, 1.5 * items[i].rect.top) << i;
        EXPECT_TRUE(texts[i].fontName == items[i].font.family && texts[i].fontSize == items[i].font.points + 2) << i;
    }
    const QStringList order{QStringLiteral("门诊注射卡"), QStringLiteral("姓名："), QStringLiteral("年龄："), QStringLiteral("性别："),
                            QStringLiteral("日期："), QStringLiteral("护士："), QStringLiteral("医生："), QStringLiteral("张三")};
    EXPECT_EQ(printedTexts(m_printer).mid(0, 8), order);
    EXPECT_DOUBLE_EQ(texts[0].fontSize, 14);  // 黑体 12 on screen
    EXPECT_DOUBLE_EQ(texts[1].fontSize, 11);  // 宋体 9 on screen
}

TEST_F(InjectionCardPrintTest, UsageLinesKeepBlanksUpToFifteen)
{
    const struct {
        QStringList usage, printed;
    } cases[] = {
        {numberedLinesWithBlanks(10), numberedLinesWithBlanks(10).mid(0, 15)},  // 20 lines, blanks among them
        {{}, {QString()}},  // an empty box still prints one empty line
        {{QStringLiteral("  青霉素"), QStringLiteral("  ")}, {QStringLiteral("  青霉素"), QStringLiteral("  ")}},
    };
    for (const auto &c : cases) {
        m_card.usage = crlf(c.usage);
        print();
        const QList<PrintEvent> usage = m_printer.texts().mid(12);
        ASSERT_EQ(usage.size(), c.printed.size());
        for (int i = 0; i < usage.size(); ++i) {
            EXPECT_EQ(usage[i].text, c.printed[i]);
            EXPECT_DOUBLE_EQ(usage[i].x, 1530);
            EXPECT_DOUBLE_EQ(usage[i].y, 1530 + 60 + i * (RecordingPrinter::lineHeightFor(12) + 60)) << i;
            EXPECT_TRUE(usage[i].fontName == QStringLiteral("宋体") && usage[i].fontSize == 12 && !usage[i].bold);
        }
        EXPECT_FALSE(QFile::exists(scratchPath()));
    }
}

TEST_F(InjectionCardPrintTest, RulesLastInThePrintersWidthAndOrientation)
{
    RecordingPrinter printer(Printer::Landscape);
    printer.setLineWidth(3);
    printInjectionCard(printer, m_card, m_settings, scratchPath());
    const QList<PrintEvent> &events = printer.events();
    for (int i = 0; i < 3; ++i) {
        const PrintEvent &line = events[events.size() - 4 + i];
        const TwipLine &r = InjectionCardLayout::rules()[i];
        EXPECT_EQ(line.kind, PrintEvent::Line);
        EXPECT_TRUE(line.x == 1.5 * r.x1 && line.y == 1.5 * r.y1 && line.x2 == 1.5 * r.x2) << i;
        EXPECT_TRUE(line.lineWidth == 3 && line.orientation == Printer::Landscape);
    }
    EXPECT_EQ(events.last().kind, PrintEvent::EndDoc);
    EXPECT_EQ(printer.count(PrintEvent::Orientation), 0);
}

} // namespace
