#include "printing/sheet_print.h"

#include "print_fixture.h"
#include "text/display_width.h"
#include "text/numbers.h"
#include "printing/print_steps.h"
#include "forms/twips.h"

#include <QFile>

using namespace quillora;
using namespace quillora::test;

namespace {

class SheetPrintTest : public PrintTest
{
protected:
    SheetPrintTest()
    {
        VisitRecord visit;
        visit.title = QStringLiteral("普通处方笺");
        visit.kind = QStringLiteral("普通");
        visit.header[FieldCardNumber] = QStringLiteral("20161208093000");
        visit.header[FieldDate] = QStringLiteral("2016-01-03");
        visit.header[FieldPhone] = QStringLiteral("13800000000");
        visit.header[FieldPastHistory] = QStringLiteral("高血压十年");
        visit.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒");
        m_content = sheetContentFor(visit, QStringLiteral("青山镇中心卫生院"));
    }
    void print()
    {
        m_printer.clear();
        printSheet(m_printer, m_content, m_settings, scratchPath());
    }
    static constexpr int kHeadTexts = 8 + 15 + 15;  // captions, then caption and text of each visible field

    SheetContent m_content;
    SettingsValues m_settings = initialSettings();
};

TEST_F(SheetPrintTest, MarginsPlaceThePanel)
{
    const struct {
        bool portrait;
        const char *left, *top;
        double cornerX, cornerY;  // where the panel's corner lands, from the printable area's corner
    } cases[] = {
        {true, "10", "10", 0, 0},    {true, "0", "0", -567, -567},      {true, "12.5", "20mm", 141.75, 567},
        {true, "abc", "", -567, -567}, {false, "0", "10", 7654.5, 0}, {false, "10", "0", 8221.5, -567},
    };
    for (const auto &c : cases) {
        m_settings.portrait = c.portrait;
        m_settings.sheetLeft = QString::fromUtf8(c.left);
        m_settings.sheetTop = QString::fromUtf8(c.top);
        print();
        SCOPED_TRACE(c.left);
        EXPECT_EQ(m_printer.events().first().kind, PrintEvent::Orientation);  // before anything is drawn
        EXPECT_EQ(m_printer.events().first().orientation, c.portrait ? Printer::Portrait : Printer::Landscape);
        EXPECT_DOUBLE_EQ(m_printer.absoluteX(0), c.cornerX);
        EXPECT_DOUBLE_EQ(m_printer.absoluteY(0), c.cornerY);
        if (c.portrait) {  // the panel point (472.5, 472.5) is the margin point
            EXPECT_NEAR(m_printer.absoluteX(1.2 * 472.5), leadingNumber(m_settings.sheetLeft) * 56.7, 1e-9);
            EXPECT_NEAR(m_printer.absoluteY(1.2 * 472.5), leadingNumber(m_settings.sheetTop) * 56.7, 1e-9);
        }
        EXPECT_DOUBLE_EQ(m_printer.findText(QStringLiteral("Rp"))->absX, c.cornerX + 720);  // 12.7 mm at L = 10
    }
}

TEST_F(SheetPrintTest, CaptionsFirstOnePointLargerAtScaledPositions)
{
    print();
    const QList<PrintEvent> texts = m_printer.texts();
    for (int i = 0; i < SheetLayout::kCaptionCount; ++i) {
        const CaptionSpec &spec = SheetLayout::captions()[i];
        const PrintEvent &e = texts[i];
        EXPECT_EQ(e.text, m_content.captions[i]);
        const double left = spec.centred ? (6293 - Twips::textWidth(e.text, spec.font.font())) / 2 : spec.left;
        EXPECT_DOUBLE_EQ(e.x, 1.2 * left) << i;
        EXPECT_DOUBLE_EQ(e.y, 1.2 * spec.top) << i;
        EXPECT_EQ(e.fontName, spec.font.family);
        EXPECT_DOUBLE_EQ(e.fontSize, spec.font.points + 1);
        EXPECT_EQ(e.bold, spec.font.bold);
    }
    EXPECT_DOUBLE_EQ(texts[SheetLayout::Warning].fontSize, 8.5);
    EXPECT_EQ(texts[SheetLayout::Institution].text, QStringLiteral("青山镇中心卫生院"));
}

TEST_F(SheetPrintTest, FieldsBesideTheirCaptionsOnTheirUnderlines)
{
    print();
    const QList<PrintEvent> texts = m_printer.texts();
    const QList<PrintEvent> lines = m_printer.lines();
    // (field, its place among the 15 visible ones, printed size); the name is empty and still
    // prints its caption and underline.
    const std::tuple<int, int, double> cases[] = {{FieldName, 0, 10.75}, {FieldCardNumber, 4, 11.5}, {FieldDate, 8, 10.75}};
    for (const auto &[field, visible, points] : cases) {
        const SheetLayout::FieldBox &box = SheetLayout::fieldBoxes()[field];
        const double captionWidth = Twips::textWidth(headerFieldCaptions()[field], SheetLayout::fieldCaptionFont().font());
        const PrintEvent &caption = texts[8 + visible];
        const PrintEvent &text = texts[8 + 15 + visible];
        const PrintEvent &underline = lines[10 + visible];
        EXPECT_EQ(caption.text, headerFieldCaptions()[field]);
        EXPECT_DOUBLE_EQ(caption.x, 1.2 * (box.left + 60));
        EXPECT_DOUBLE_EQ(caption.y, 1.2 * (box.top + 60));
        EXPECT_TRUE(caption.bold && caption.fontSize == 10);
        EXPECT_EQ(text.text, m_content.fields[field]);
        EXPECT_DOUBLE_EQ(text.x, 1.2 * (box.left + captionWidth + 75));
        EXPECT_DOUBLE_EQ(text.y, 1.2 * (box.top + 30));
        EXPECT_TRUE(!text.bold && text.fontSize == points) << field;
        EXPECT_DOUBLE_EQ(underline.x, 1.2 * (box.left + captionWidth + 15));
        EXPECT_DOUBLE_EQ(underline.x2, 1.2 * (box.left + box.width));
        EXPECT_DOUBLE_EQ(underline.y, 1.2 * (box.top + 240));
    }
    // The hidden telephone and past-history fields never print, though they hold text.
    for (const QString &hidden : {QStringLiteral("13800000000"), QStringLiteral("高血压十年"), QStringLiteral("电话："), QStringLiteral("既往史：")})
        EXPECT_EQ(m_printer.findText(hidden), nullptr) << hidden.toStdString();
    ASSERT_EQ(lines.size(), 10 + 15);
    for (int i = 0; i < 10; ++i) {
        EXPECT_DOUBLE_EQ(lines[i].y2, 1.2 * SheetLayout::rules()[i].y2);
        EXPECT_EQ(lines[i].lineWidth, SheetLayout::rules()[i].width) << i;
    }
}

TEST_F(SheetPrintTest, BodySkipsBlankLinesAndStopsAtTwenty)
{
    const struct {
        QStringList lines, printed;
        const char *font, *size;
        double points;
    } cases[] = {
        {numberedLinesWithBlanks(25), numberedLinesWithBlanks(20).filter(QStringLiteral("行")), "宋体", "12", 12},
        {{QStringLiteral("  "), QStringLiteral("\t"), QStringLiteral("  前有空格")}, {QStringLiteral("  前有空格")}, "楷体_GB2312", "14.5磅", 14.5},
        {{}, {}, "宋体", "12", 12},
    };
    for (const auto &c : cases) {
        m_content.body = crlf(c.lines);
        m_settings.font = QString::fromUtf8(c.font);
        m_settings.size = QString::fromUtf8(c.size);
        print();
        const QList<PrintEvent> body = m_printer.texts().mid(kHeadTexts);
        ASSERT_EQ(body.size(), c.printed.size());
        for (int i = 0; i < body.size(); ++i) {
            EXPECT_EQ(body[i].text, c.printed[i]);  // as read, blanks kept
            EXPECT_DOUBLE_EQ(body[i].x, 1440);       // not scaled
            EXPECT_DOUBLE_EQ(body[i].y, 1.2 * 3120 + 90 + i * (RecordingPrinter::lineHeightFor(c.points) + 90));
            EXPECT_EQ(body[i].fontName, QString::fromUtf8(c.font));
            EXPECT_TRUE(!body[i].bold && body[i].fontSize == c.points);
        }
        EXPECT_FALSE(QFile::exists(scratchPath()));
        EXPECT_EQ(m_printer.events().last().kind, PrintEvent::EndDoc);
        EXPECT_EQ(m_printer.count(PrintEvent::NewPage), 0);
    }
}

TEST_F(SheetPrintTest, ALongValueIsSetSmallerWithinItsFieldInsteadOfOverTheNext)
{
    const QString diagnosis = QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病");
    m_content.fields[FieldDiagnosis] = diagnosis;
    m_content.fields[FieldName] = QStringLiteral("张三");
    print();
    const auto &box = SheetLayout::fieldBoxes()[FieldDiagnosis];
    const double captionWidth = Twips::textWidth(headerFieldCaptions()[FieldDiagnosis], SheetLayout::fieldCaptionFont().font());
    const SheetLayout::FieldInner inner = SheetLayout::fieldInner(box.width, captionWidth);
    const double fullSize = SheetLayout::fieldTextFont(FieldDiagnosis).points + SheetPrint::kExtraPoints;
    for (const PrintEvent &e : m_printer.texts()) {
        if (e.text == diagnosis) {
            EXPECT_LT(e.fontSize, fullSize);
            EXPECT_GE(e.fontSize, PrintSteps::kSmallestFittedPoints);
            EXPECT_LE(displayColumns(diagnosis) * e.fontSize * 10, SheetPrint::kScale * inner.textWidth);
            // Its bottom stays on the line of a value that fits.
            EXPECT_DOUBLE_EQ(e.y + e.fontSize * 20, SheetPrint::kScale * (box.top + inner.textTop) + fullSize * 20);
        }
        if (e.text == QStringLiteral("张三"))
            EXPECT_DOUBLE_EQ(e.fontSize, SheetLayout::fieldTextFont(FieldName).points + SheetPrint::kExtraPoints);
    }
}

} // namespace
