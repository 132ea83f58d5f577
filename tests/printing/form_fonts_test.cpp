#include "printing/painter_printer.h"
#include "printing/sheet_print.h"

#include "base/fonts.h"
#include "forms/sheet_layout.h"
#include "print_fixture.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>

using namespace quillora;
using namespace quillora::test;

namespace {

// The forms count a Latin letter or a space as half an ideograph and step one em a line.
TEST(FormFonts, SongAndHeiResolveToFacesWithHalfWidthLatin)
{
    installFontSubstitutions();
    for (const char *family : {"宋体", "黑体", "楷体_GB2312"}) {
        QFont font(QString::fromUtf8(family));
        font.setPointSizeF(12);
        const QFontMetricsF metrics(font);
        const double ideograph = metrics.horizontalAdvance(QStringLiteral("中"));
        SCOPED_TRACE(family);
        SCOPED_TRACE(QFontInfo(font).family().toStdString());
        for (const char *latin : {" ", "m", "i", "2", "g"})
            EXPECT_NEAR(metrics.horizontalAdvance(QString::fromLatin1(latin)) * 2, ideograph, ideograph * 0.05) << latin;
    }
}

TEST(FormFonts, APrintedLineIsOneEm)
{
    installFontSubstitutions();
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("em.pdf")));
    PainterPrinter printer(&pdf);
    for (const double points : {9.0, 12.0, 15.75}) {
        printer.setFontSize(points);
        EXPECT_DOUBLE_EQ(printer.textHeight(), points * 20);
    }
    printer.endDoc();
}

class BodyOnTheSheetTest : public PrintTest
{
};

TEST_F(BodyOnTheSheetTest, SixteenLinesInTwelvePointEndAboveTheWarningRule)
{
    SettingsValues settings = initialSettings();
    settings.font = QStringLiteral("宋体");
    settings.size = QStringLiteral("12");
    VisitRecord visit;
    QStringList lines;
    for (int i = 1; i <= 16; ++i)
        lines << QStringLiteral("第%1行 阿莫西林胶囊 0.25g×24粒").arg(i);
    visit.body = crlf(lines);
    printSheet(m_printer, sheetContentFor(visit, QStringLiteral("示范医院")), settings, scratchPath());
    const PrintEvent last = m_printer.texts().last();
    ASSERT_EQ(last.text, lines.last());
    // The panel prints at 1.2 times its screen positions.
    const double rule = 1.2 * SheetLayout::rules()[0].y1;
    const double warning = 1.2 * SheetLayout::captions()[SheetLayout::Warning].top;
    EXPECT_LE(last.y + 12 * 20, warning);
    EXPECT_LT(warning, rule);
}

} // namespace
