#include "printing/painter_printer.h"
#include "printing/recording_printer.h"

#include "print_fixture.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>

using namespace quillora;
using namespace quillora::test;

namespace {

constexpr double kMm = 1440 / 25.4;

TEST(RecordingPrinter, PrintPlacesTopAtCurrentYAndMovesToNextLine)
{
    const struct {
        Printer::ScaleMode mode;
        double scaleLeft, scaleTop, x, y, size;
        double absX, absY, nextY;
    } cases[] = {
        {Printer::ScaleMode::Twips, 0, 0, 100, 200, 12, 100, 200, 200 + 240},
        {Printer::ScaleMode::Twips, -141.75, 0, 720, 3312, 19, 861.75, 3312, 3312 + 380},
        {Printer::ScaleMode::Twips, -7654.5, -100, 0, 0, 10.5, 7654.5, 100, 210},
        {Printer::ScaleMode::Millimetres, -10, 0, 2, 39, 12, 12 * kMm, 39 * kMm, 39 + 240 / kMm},
    };
    for (const auto &c : cases) {
        RecordingPrinter p;
        p.setScaleMode(c.mode);
        p.setScaleLeft(c.scaleLeft);
        p.setScaleTop(c.scaleTop);
        p.setFontSize(c.size);
        p.setCurrentX(c.x);
        p.setCurrentY(c.y);
        p.print(QStringLiteral("Rp"));
        EXPECT_DOUBLE_EQ(p.events().last().absX, c.absX);
        EXPECT_DOUBLE_EQ(p.events().last().absY, c.absY);
        EXPECT_DOUBLE_EQ(p.currentX(), 0);  // back to the left of the coordinate system
        EXPECT_DOUBLE_EQ(p.currentY(), c.nextY);
        p.print(QString());  // an empty text still takes its line
        EXPECT_DOUBLE_EQ(p.currentY(), c.nextY + p.textHeight());
    }
}

TEST(RecordingPrinter, StateRulesOfTheClassicObject)
{
    RecordingPrinter p;
    p.setFontSize(12);
    p.setOrientation(Printer::Landscape);
    // Refused values leave the old ones.
    p.setFontName(QStringLiteral("  "));
    p.setFontSize(0);
    p.setOrientation(3);
    p.setLineWidth(0);
    EXPECT_EQ(p.fontName(), QStringLiteral("宋体"));
    EXPECT_DOUBLE_EQ(p.fontSize(), 12);
    EXPECT_EQ(p.orientation(), Printer::Landscape);
    EXPECT_EQ(p.count(PrintEvent::Orientation), 1);
    EXPECT_EQ(p.lineWidth(), 1);
    // A new scale mode starts over at the corner; a line leaves the pen at its end.
    p.setScaleLeft(500);
    p.setScaleMode(Printer::ScaleMode::Millimetres);
    EXPECT_DOUBLE_EQ(p.scaleLeft(), 0);
    p.setScaleLeft(-10);
    p.line(0, 30, 240, 30);
    EXPECT_NEAR(p.events().last().absX2, 250 * kMm, 1e-9);
    EXPECT_DOUBLE_EQ(p.currentX(), 240);
    // Pages count from 1 again after the document ends.
    p.newPage();
    p.print(QStringLiteral("第二页"));
    EXPECT_EQ(p.events().last().page, 2);
    p.endDoc();
    p.print(QStringLiteral("下一份"));
    EXPECT_EQ(p.events().last().page, 1);
}

// The ink of a drawing on a 96 dpi image, where 1440 twips are 96 pixels.
QRect inkOf(const std::function<void(Printer &)> &draw)
{
    QImage image(500, 400, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        PainterPrinter p(&image);
        draw(p);
        p.endDoc();
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

using PainterPrinterTest = PrintTest;

TEST_F(PainterPrinterTest, TextTopAtCurrentYAndLinesWhereAsked)
{
    const QRect text = inkOf([](Printer &p) {
        p.setScaleLeft(-1440);
        p.setScaleTop(-1440);
        p.setFontSize(18);
        p.print(QStringLiteral("国"));
    });
    EXPECT_GE(text.top(), 96);
    EXPECT_LT(text.top(), 96 + 12);  // the glyph starts just under the line's top
    EXPECT_NEAR(text.left(), 97, 3);
    QImage surface(10, 10, QImage::Format_RGB32);
    PainterPrinter measuring(&surface);
    measuring.setFontSize(12);
    EXPECT_DOUBLE_EQ(measuring.textHeight(), 240);  // one em, in twips
    EXPECT_FALSE(measuring.isPainting());  // measuring starts no document
    const QRect rule = inkOf([](Printer &p) { p.line(1440, 2880, 4320, 2880); });
    EXPECT_NEAR(rule.left(), 96, 1);
    EXPECT_NEAR(rule.right(), 288, 1);
    EXPECT_NEAR(rule.center().y(), 192, 1);
}

TEST_F(PainterPrinterTest, OrientationShapesThePageAboutToStart)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo is not installed";
    const QString file = filePath(QStringLiteral("pages.pdf"));
    {
        QPdfWriter pdf(file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        PainterPrinter p(&pdf);
        p.setOrientation(Printer::Landscape);  // before anything is drawn: this page
        p.print(QStringLiteral("横"));
        p.setOrientation(Printer::Portrait);   // while drawing: the next page
        p.newPage();
        p.print(QStringLiteral("纵"));
        p.endDoc();
    }
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("2"), file});
    info.waitForFinished(10000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Page +1 size: +84[12][.0-9]* x 595")))) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Page +2 size: +595[.0-9]* x 84[12]")))) << out.toStdString();
}

} // namespace
