#include "print_fixture.h"

#include "base/fonts.h"
#include "data/settings_columns.h"

namespace quillora::test {

void PrintTest::SetUpTestSuite() { installFontSubstitutions(); }

SettingsValues initialSettings()
{
    SettingsValues v;
    v.institution = QStringLiteral("青山镇中心卫生院");
    v.sheetLeft = v.sheetTop = v.cardLeft = v.cardTop = QStringLiteral("10");
    v.portrait = true;
    v.font = QStringLiteral("宋体");
    v.size = QStringLiteral("12");
    v.overlayLeft = v.overlayTop = QStringLiteral("0");
    for (int i = 0; i < kOverlayItemCount; ++i) {
        const OverlayItemDefault &d = overlayItemDefaults()[i];
        v.overlay[i] = {d.caption, d.ticked, QString::number(d.left), QString::number(d.top)};
    }
    return v;
}

QString crlf(const QStringList &lines) { return lines.join(QStringLiteral("\r\n")); }

QStringList numberedLinesWithBlanks(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("第%1行").arg(i) << QString();
    return lines;
}

QStringList printedTexts(const RecordingPrinter &printer)
{
    QStringList out;
    for (const PrintEvent &e : printer.texts())
        out << e.text;
    return out;
}

} // namespace quillora::test
