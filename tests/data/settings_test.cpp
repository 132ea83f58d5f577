#include "data/database.h"
#include "data/password_store.h"
#include "data/settings_record.h"
#include "data/settings_row.h"
#include "support/data_fixture.h"

using namespace quillora;
using namespace quillora::test;

namespace {

class SettingsTest : public EngineTest
{
protected:
    QString stored(const QString &column) { return SettingsRow(settings()).value(column).value_or(QStringLiteral("<none>")); }
};

QUILLORA_ON_BOTH_ENGINES(SettingsTest);

TEST_P(SettingsTest, RowToleratesMissingColumns)
{
    SettingsRow row(settings());
    EXPECT_EQ(row.value(QStringLiteral("科别")), QStringLiteral("内科"));
    EXPECT_FALSE(row.value(QStringLiteral("没有这列")).has_value());
    const QStringList skipped = row.write({{QStringLiteral("科别"), QStringLiteral("外科")}, {QStringLiteral("没有这列"), QStringLiteral("x")}});
    EXPECT_EQ(skipped, QStringList{QStringLiteral("没有这列")});
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("外科"));
}

TEST_P(SettingsTest, RefusedValueWritesNothing)
{
    SettingsRow row(settings());
    EXPECT_THROW(row.write({{QStringLiteral("科别"), QStringLiteral("外科")}, {QStringLiteral("左边距"), QString()}}), DbError);
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("内科"));
    EXPECT_EQ(stored(QStringLiteral("左边距")), QStringLiteral("10"));
}

TEST_P(SettingsTest, UnchangedRecordSavesTheSameTexts)
{
    SettingsRow row(settings());
    row.write({{QStringLiteral("竖打"), QStringLiteral("2")}, {QStringLiteral("姓名2"), QStringLiteral("26.0")},
               {QStringLiteral("姓名3"), QStringLiteral("abc")}, {QStringLiteral("上边距"), QStringLiteral("12.5mm")}});
    SettingsRecord record(settings());
    EXPECT_FALSE(record.isLoaded());
    const SettingsValues &v = record.values();
    EXPECT_TRUE(v.portrait);                              // only "0" is landscape
    EXPECT_EQ(v.overlay[0].left, QStringLiteral("26"));   // positions show as their number
    EXPECT_EQ(v.overlay[0].top, QStringLiteral("0"));
    EXPECT_EQ(v.sheetTop, QStringLiteral("12.5mm"));      // margins stay as stored text
    EXPECT_EQ(v.institution, SettingsDefaults::institution);
    record.save();
    EXPECT_FALSE(record.isLoaded());
    EXPECT_EQ(stored(QStringLiteral("竖打")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("姓名2")), QStringLiteral("26"));
    EXPECT_EQ(stored(QStringLiteral("上边距")), QStringLiteral("12.5mm"));
    EXPECT_EQ(stored(QStringLiteral("女(划掉男)1")), QStringLiteral("0"));
}

TEST_P(SettingsTest, EditsLiveUntilSaveOrDiscard)
{
    SettingsRecord record(settings());
    record.values().sheetLeft = QStringLiteral("15");
    record.values().overlay[3].left = QStringLiteral("12.5");
    record.values().overlay[3].ticked = false;
    EXPECT_EQ(record.values().sheetLeft, QStringLiteral("15"));  // readers see the edit before the save
    EXPECT_EQ(stored(QStringLiteral("左边距")), QStringLiteral("10"));
    record.discard();
    EXPECT_EQ(record.values().sheetLeft, QStringLiteral("10"));  // the row is read again
    record.values().overlay[3].left = QStringLiteral("12.5");
    record.values().overlay[3].ticked = false;
    record.values().overlay[4].top = QStringLiteral("abc");
    record.save();
    EXPECT_EQ(stored(QStringLiteral("费别1")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("费别2")), QStringLiteral("12.5"));
    EXPECT_EQ(stored(QStringLiteral("医疗证号3")), QStringLiteral("0"));
}

TEST_P(SettingsTest, MissingOverlayColumnsLoadEmptyAndAreSkipped)
{
    settings().exec(QStringLiteral("ALTER TABLE [设置] RENAME TO [旧设置]"));
    settings().exec(QStringLiteral("CREATE TABLE [设置] AS SELECT [名称], [左边距], [姓名1], [姓名2], [姓名3] FROM [旧设置]"));
    SettingsRecord record(settings());
    const SettingsValues &v = record.values();
    EXPECT_TRUE(v.overlay[0].ticked);
    EXPECT_FALSE(v.overlay[1].ticked);
    EXPECT_TRUE(v.overlay[1].left.isEmpty());
    EXPECT_EQ(v.font, QStringLiteral("宋体"));    // built-in text kept
    EXPECT_EQ(v.size, QStringLiteral("11"));
    EXPECT_NO_THROW(record.save());
}

TEST_P(SettingsTest, PasswordReadWriteAndLoginComparison)
{
    PasswordStore passwords(archive());
    EXPECT_EQ(passwords.read(), QStringLiteral("816"));
    passwords.write(QStringLiteral("AbC"));
    EXPECT_EQ(passwords.read(), QStringLiteral("AbC"));
    EXPECT_TRUE(passwordMatches(QStringLiteral("abc"), QStringLiteral("AbC")));
    EXPECT_TRUE(passwordMatches(QStringLiteral(" ABC "), QStringLiteral("AbC")));
    EXPECT_FALSE(passwordMatches(QStringLiteral("ab c"), QStringLiteral("AbC")));
    archive().exec(QStringLiteral("DELETE FROM [密码]"));
    EXPECT_FALSE(passwords.read().has_value());
    archive().exec(QStringLiteral("DROP TABLE [密码]"));
    EXPECT_FALSE(passwords.read().has_value());
}

} // namespace

namespace {

QStringList rowTexts(Database &db)
{
    QStringList texts, columns;
    for (const QString &column : db.columnsOf(QStringLiteral("设置")))
        columns << quoteIdentifier(column);
    Statement q(db, QStringLiteral("SELECT %1 FROM [设置]").arg(columns.join(QLatin1String(", "))));
    while (q.next()) {
        for (int c = 0; c < q.columnCount(); ++c)
            texts << q.columnName(c) + QLatin1Char('=') + (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
    }
    return texts;
}

TEST_P(SettingsTest, OlderFileGetsTheNewColumnsAndKeepsEverythingElse)
{
    // A settings table as an older version made it: no paper column, odd values everywhere.
    QStringList older;
    for (const SettingsColumn &column : settingsColumns()) {
        if (column.name != kPaperColumn)
            older << quoteIdentifier(column.name);
    }
    settings().exec(QStringLiteral("UPDATE [设置] SET [名称] = '  旧''卫生室%@', [竖打] = '2', [姓名2] = '26.0'"));
    settings().exec(QStringLiteral("CREATE TABLE [旧] AS SELECT %1 FROM [设置]").arg(older.join(QLatin1Char(','))));
    settings().exec(QStringLiteral("DROP TABLE [设置]"));
    settings().exec(QStringLiteral("ALTER TABLE [旧] RENAME TO [设置]"));
    const QStringList before = rowTexts(settings());
    ASSERT_FALSE(SettingsRow(settings()).hasColumn(kPaperColumn));

    reopen();
    QStringList after = rowTexts(settings());
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.takeLast(), kPaperColumn + QLatin1Char('=') + kPrinterDefaultPaper);
    EXPECT_EQ(after, before);
    EXPECT_EQ(SettingsRecord(settings()).values().paper, kPrinterDefaultPaper);

    // Opening again changes nothing more, and the column takes a choice like any other.
    reopen();
    EXPECT_EQ(settings().columnsOf(QStringLiteral("设置")).size(), before.size() + 1);
    SettingsRow(settings()).write({{kPaperColumn, QStringLiteral("16开")}});
    EXPECT_EQ(stored(kPaperColumn), QStringLiteral("16开"));
    EXPECT_THROW(SettingsRow(settings()).write({{kPaperColumn, QString()}}), DbError);
}

TEST_P(SettingsTest, NewFileHasTheLaterColumnsLast)
{
    const QStringList columns = settings().columnsOf(QStringLiteral("设置"));
    ASSERT_EQ(columns.size(), settingsColumns().size());
    EXPECT_EQ(columns.last(), laterSettingsColumns().last().name);
    EXPECT_EQ(stored(kPaperColumn), kPrinterDefaultPaper);
}

} // namespace

namespace {

TEST_P(SettingsTest, SafetyCheckSwitchesRoundTripAndAreOnInAnOlderFile)
{
    // A settings table from before the checks (and before the paper choice).
    QStringList later, older;
    for (const SettingsColumn &column : laterSettingsColumns())
        later << column.name;
    for (const SettingsColumn &column : settingsColumns()) {
        if (!later.contains(column.name))
            older << quoteIdentifier(column.name);
    }
    settings().exec(QStringLiteral("CREATE TABLE [旧] AS SELECT %1 FROM [设置]").arg(older.join(QLatin1Char(','))));
    settings().exec(QStringLiteral("DROP TABLE [设置]"));
    settings().exec(QStringLiteral("ALTER TABLE [旧] RENAME TO [设置]"));
    {
        // Still read without the columns: every check on.
        SettingsRecord record(settings());
        EXPECT_EQ(record.values().safetyChecks, (std::array<bool, kSafetyCheckCount>{true, true, true, true}));
    }
    reopen();
    for (const SafetyCheckSwitch &s : safetyCheckSwitches())
        EXPECT_EQ(stored(s.column), QStringLiteral("1")) << s.column.toStdString();

    SettingsRecord record(settings());
    record.values().safetyChecks[static_cast<int>(SafetyCheck::HerbPairs)] = false;
    record.save();
    EXPECT_EQ(stored(QStringLiteral("提示十八反")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("提示过敏")), QStringLiteral("1"));
    const SettingsValues &again = record.values();
    EXPECT_FALSE(again.checkOn(SafetyCheck::HerbPairs));
    EXPECT_TRUE(again.checkOn(SafetyCheck::Allergy));
    // Only "0" switches a check off.
    SettingsRow(settings()).write({{QStringLiteral("提示药品数"), QStringLiteral("x")}});
    record.discard();
    EXPECT_TRUE(record.values().checkOn(SafetyCheck::DrugCount));
}

} // namespace
