#include "data/settings_record.h"
#include "printing/overlay_print.h"
#include "printing/recording_printer.h"
#include "settings/calibration_page.h"
#include "support/data_fixture.h"

#include <QTemporaryDir>

using namespace quillora;
using namespace quillora::test;

namespace {

SettingsValues overlaySettings()
{
    SettingsValues v = SettingsValues::builtIn();
    v.overlayLeft = QStringLiteral("7.5");
    v.overlayTop = QStringLiteral("4");
    v.font = QStringLiteral("宋体");
    v.size = QStringLiteral("14");
    for (int i = 0; i < kOverlayItemCount; ++i) {
        const OverlayItemDefault &d = overlayItemDefaults()[i];
        v.overlay[i] = {d.caption, d.ticked, QString::number(d.left), QString::number(d.top)};
    }
    v.overlay[OverlayItems::MaleMark].ticked = true;
    v.overlay[OverlayItems::FemaleMark].ticked = true;
    v.overlay[OverlayItems::Age].left = QStringLiteral("85.5mm");
    v.overlay[OverlayItems::Phone].ticked = false;
    return v;
}

// Where the overlay puts each item's text for a visit of this sex, in twips from the page corner.
QMap<int, QPointF> overlayPlaces(const SettingsValues &settings, const QString &sex)
{
    std::array<QString, kHeaderFieldCount> fields;
    for (int f = 0; f < kHeaderFieldCount; ++f)
        fields[f] = QStringLiteral("值%1").arg(f);
    fields[FieldSex] = sex;
    fields[FieldDate] = QStringLiteral("2026-12-08");
    QTemporaryDir dir;
    RecordingPrinter printer;
    printOverlay(printer, fields, QStringLiteral("正文第一行"), settings, dir.filePath(QStringLiteral("print.txt")));
    QMap<int, QPointF> places;
    int next = 0;
    const QList<PrintEvent> texts = printer.texts();
    for (int item : overlayPrintOrder()) {
        if (item == OverlayItems::Body) {
            places[item] = QPointF(texts.last().absX, texts.last().absY);
            continue;
        }
        if (!settings.overlay[item].ticked || !overlayItemText(item, fields))
            continue;
        places[item] = QPointF(texts[next].absX, texts[next].absY);
        ++next;
    }
    return places;
}

TEST(CalibrationPageTest, EachTickedItemStandsWhereTheOverlayPrintsIt)
{
    const SettingsValues settings = overlaySettings();
    QMap<int, QPointF> expected = overlayPlaces(settings, QStringLiteral("男"));
    expected.insert(overlayPlaces(settings, QStringLiteral("女")));
    RecordingPrinter page;
    printCalibrationPage(page, settings);
    int captions = 0;
    for (int item = 0; item < kOverlayItemCount; ++item) {
        const OverlayItem &setting = settings.overlay[item];
        const PrintEvent *printed = page.findText(CalibrationPage::label(item, setting.caption));
        if (!setting.ticked && item != OverlayItems::Body) {
            EXPECT_EQ(printed, nullptr) << setting.caption.toStdString();
            continue;
        }
        ASSERT_NE(printed, nullptr) << setting.caption.toStdString();
        ASSERT_TRUE(expected.contains(item)) << setting.caption.toStdString();
        EXPECT_NEAR(printed->absX, expected[item].x(), 1e-6) << setting.caption.toStdString();
        EXPECT_NEAR(printed->absY, expected[item].y(), 1e-6) << setting.caption.toStdString();
        ++captions;
    }
    EXPECT_EQ(captions, 21);  // every item but 既往史 and 电话, the body among them
    const PrintEvent *body = page.findText(QStringLiteral("处方正文"));
    EXPECT_EQ(body->fontSize, 14);
    EXPECT_EQ(page.findText(QStringLiteral("姓名"))->fontSize, 12);
    EXPECT_NE(page.findText(QStringLiteral("\\男")), nullptr);
    EXPECT_NE(page.findText(QStringLiteral("年")), nullptr);
    EXPECT_EQ(page.count(PrintEvent::EndDoc), 1);
    EXPECT_EQ(page.count(PrintEvent::Orientation), 0);
}

// The grid's vertical lines, as millimetres right of the origin.
QList<double> verticalGridLines(const RecordingPrinter &page, double ox)
{
    QList<double> at;
    for (const PrintEvent &line : page.lines()) {
        if (line.absX == line.absX2 && line.absY2 - line.absY > 100 * 56.7)
            at << (line.absX - ox) / 56.7;
    }
    return at;
}

TEST(CalibrationPageTest, GridCountsMillimetresFromTheOverlayOrigin)
{
    SettingsValues settings = overlaySettings();
    RecordingPrinter page;  // an A4 page, portrait
    printCalibrationPage(page, settings);
    const double ox = 7.5 * 56.7, oy = 4 * 56.7;
    // Every 10 mm from the origin to the page's right edge (210 mm less the offset).
    const QList<double> vertical = verticalGridLines(page, ox);
    ASSERT_EQ(vertical.size(), 21);
    for (int k = 0; k < vertical.size(); ++k)
        EXPECT_NEAR(vertical[k], 10.0 * k, 1e-9);
    // Ruler numbers stand just inside their line, on the top row and down the left side.
    const PrintEvent *fifty = page.findText(QStringLiteral("50"));
    ASSERT_NE(fifty, nullptr);
    EXPECT_NEAR(fifty->absX, ox + 50.6 * 56.7, 1e-6);
    EXPECT_NEAR(fifty->absY, oy + 0.6 * 56.7, 1e-6);
    EXPECT_NE(page.findText(QStringLiteral("290")), nullptr);
    EXPECT_EQ(page.findText(QStringLiteral("300")), nullptr);

    // Turned to landscape, the grid runs across the long side.
    RecordingPrinter wide(Printer::Landscape);
    printCalibrationPage(wide, settings);
    EXPECT_EQ(verticalGridLines(wide, ox).size(), 29);
    EXPECT_EQ(wide.findText(QStringLiteral("290")), nullptr);
    EXPECT_TRUE(CalibrationPage::legend(settings).contains(QStringLiteral("套打左边距 7.5、上边距 4 毫米")));
}

} // namespace
