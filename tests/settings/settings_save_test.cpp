#include "data/database.h"
#include "data/settings_record.h"
#include "data/settings_row.h"
#include "printing/paper_size.h"
#include "printing/recording_printer.h"
#include "printing/sheet_print.h"
#include "settings/settings_layout.h"
#include "settings/settings_save.h"
#include "support/data_fixture.h"

#include <QDir>

using namespace quillora;
using namespace quillora::test;

namespace {

class SettingsSaveTest : public DataTest
{
protected:
    QString stored(const QString &column) { return SettingsRow(settings()).value(column).value_or(QStringLiteral("<none>")); }
};

TEST_F(SettingsSaveTest, RefusalNamesTheFieldThatDoesNotFit)
{
    const QString fifty(50, QChar(0x536B));  // 卫
    const struct
    {
        const char *column;
        QString text;
        const char *named;  // empty: accepted
    } cases[] = {
        {"名称", fifty, ""},
        {"名称", fifty + QStringLiteral("院"), "医疗机构名称"},
        {"医生", QStringLiteral("司马欧阳建国张三李"), ""},
        {"医生", QStringLiteral("司马欧阳建国张三李四"), ""},
        {"医生", QStringLiteral("司马欧阳建国张三李四王"), "医生"},
        // A character beyond the basic plane is one character to the table, two UTF-16 units here.
        {"复核", QString(5, QChar(0x5F20)) + QString::fromUcs4(U"\U00020000\U00020001\U00020002\U00020003\U00020004"), ""},
        {"左边距", QString(), "处方左边距"},
        {"上边距1", QString(), "注射卡上边距"},
        {"左边距5", QString(), ""},  // the overlay offsets may be empty
        {"字体", QString(51, QLatin1Char('x')), "处方字体"},
        {"纸张", QString(), "纸张"},
    };
    for (const auto &c : cases) {
        SettingsValues v = SettingsValues::builtIn();
        v.setText(QString::fromUtf8(c.column), c.text);
        const QString refusal = SettingsSave::refusal(v);
        if (*c.named == '\0') {
            EXPECT_TRUE(refusal.isEmpty()) << c.column << " " << refusal.toStdString();
        } else {
            EXPECT_TRUE(refusal.contains(QStringLiteral("“%1”").arg(QString::fromUtf8(c.named))))
                << c.column << " " << refusal.toStdString();
        }
    }
    // An overlay position is stored as its number; one too long to hold is named by its row.
    SettingsValues v = SettingsValues::builtIn();
    v.overlay[0].left = QString(60, QLatin1Char('9'));
    EXPECT_TRUE(SettingsSave::refusal(v).contains(QStringLiteral("“姓名 左边距”")));
    v.overlay[0].left = QStringLiteral("999999999999");
    EXPECT_TRUE(SettingsSave::refusal(v).isEmpty());
}

TEST_F(SettingsSaveTest, RefusedOrFailedSaveWritesNothingAndKeepsTheEdits)
{
    SettingsRecord record(settings());
    record.values().department = QStringLiteral("外科");
    record.values().doctor = QStringLiteral("一二三四五六七八九十壹");
    EXPECT_TRUE(SettingsSave::save(record).contains(QStringLiteral("“医生”")));
    EXPECT_TRUE(record.isLoaded());
    EXPECT_EQ(record.values().department, QStringLiteral("外科"));
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("内科"));

    record.values().doctor = QStringLiteral("李医生");
    settings().exec(QStringLiteral("CREATE TRIGGER [满] BEFORE UPDATE ON [设置] BEGIN SELECT RAISE(ABORT, '磁盘已满'); END"));
    const QString failed = SettingsSave::save(record);
    EXPECT_TRUE(failed.startsWith(QStringLiteral("设置未能保存"))) << failed.toStdString();
    EXPECT_TRUE(failed.contains(QStringLiteral("磁盘已满")));
    EXPECT_TRUE(record.isLoaded());
    EXPECT_EQ(record.values().doctor, QStringLiteral("李医生"));
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("内科"));

    settings().exec(QStringLiteral("DROP TRIGGER [满]"));
    EXPECT_TRUE(SettingsSave::save(record).isEmpty());
    EXPECT_FALSE(record.isLoaded());
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("外科"));
    EXPECT_EQ(stored(QStringLiteral("医生")), QStringLiteral("李医生"));
}

TEST_F(SettingsSaveTest, SavedFontSizeAndPaperReachTheNextPrint)
{
    SettingsRecord record(settings());
    record.values().size = QStringLiteral("13");
    record.values().font = QStringLiteral("楷体_GB2312");
    record.values().paper = QStringLiteral("16开");
    ASSERT_TRUE(SettingsSave::save(record).isEmpty());

    // The next print loads the record from the table again.
    const SettingsValues &next = record.values();
    const PaperSize paper = paperSizeFor(next.paper);
    EXPECT_EQ(paper.width, 184);
    EXPECT_EQ(paper.height, 260);
    RecordingPrinter printer;
    SheetContent content = sheetContentFor(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("k")),
                                           next.institution);
    printSheet(printer, content, next, QDir(m_folder.path()).filePath(QStringLiteral("print.txt")));
    const PrintEvent *line = printer.findText(QStringLiteral("阿莫西林胶囊 0.25g×24粒"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->fontSize, 13);
    EXPECT_EQ(line->fontName, QStringLiteral("楷体_GB2312"));
}

} // namespace
