#include "data/database.h"
#include "data/schema.h"
#include "data/settings_columns.h"
#include "support/data_fixture.h"

#include <QFile>
#include <sqlcipher/sqlite3.h>

using namespace quillora;
using namespace quillora::test;

namespace {

class SchemaTest : public EngineTest
{
protected:
    // Inserts a visit row with just a name and a date; throws DbError when refused.
    void insertVisit(const QVariant &name, const QVariant &date, const QString &key = QStringLiteral("k"))
    {
        Statement q(archive(), QStringLiteral("INSERT INTO [档案] ([0], [9], [名称]) VALUES (?, ?, ?)"));
        q.bindValue(1, name).bindValue(2, date).bind(3, key);
        q.run();
    }
    int visitCount() { return scalar(archive(), QStringLiteral("SELECT count(*) FROM [档案]")).toInt(); }
};

QUILLORA_ON_BOTH_ENGINES(SchemaTest);

// What only an SQLCipher file has: encrypted bytes on disk, a key, a file made when missing.
class SchemaFileTest : public DataTest
{
};

TEST_F(SchemaFileTest, FilesAreEncryptedAndNeedTheirKey)
{
    for (const QString &path : {files().archivePath(), files().settingsPath()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.read(16).startsWith("SQLite format 3")) << path.toStdString();
    }
    files().close();
    Database wrong;
    EXPECT_THROW(wrong.open(files().archivePath(), kSettingsKey), WrongKeyError);
    EXPECT_THROW(wrong.open(files().settingsPath(), QStringLiteral("")), WrongKeyError);
    Database right;
    EXPECT_NO_THROW(right.open(files().settingsPath(), kSettingsKey));
}

TEST_P(SchemaTest, VisitRowRefusesEmptyNameAndDatesThatAreNotDays)
{
    const QVariant refused[][2] = {
        {QString(), QStringLiteral("2026-12-08")},           // empty name
        {QVariant(), QStringLiteral("2026-12-08")},          // no name
        {QStringLiteral("张三"), QStringLiteral("")},         // empty date
        {QStringLiteral("张三"), QVariant()},                 // no date
        {QStringLiteral("张三"), QStringLiteral("2024-02-30")},
        {QStringLiteral("张三"), QStringLiteral("2024-13-01")},
        {QStringLiteral("张三"), QStringLiteral("2024-1-3")},
        {QStringLiteral("张三"), QStringLiteral("abc")},
        {QString(51, QChar(u'张')), QStringLiteral("2026-12-08")},
    };
    for (const auto &row : refused)
        EXPECT_THROW(insertVisit(row[0], row[1]), DbError) << row[0].toString().toStdString() << " " << row[1].toString().toStdString();
    EXPECT_EQ(visitCount(), 0);
    EXPECT_NO_THROW(insertVisit(QStringLiteral("张三"), QStringLiteral("2024-02-29")));
    EXPECT_EQ(visitCount(), 1);
}

TEST_P(SchemaTest, PricesAreNumbersOrNothing)
{
    const auto insertPrice = [&](const QVariant &price) {
        Statement q(settings(), QStringLiteral("INSERT INTO [药品] ([拼音], [名称], [单价]) VALUES ('x', 'x', ?)"));
        q.bindValue(1, price);
        q.run();
    };
    for (const QVariant &price : {QVariant(2.5), QVariant(qint64(3)), QVariant()})
        EXPECT_NO_THROW(insertPrice(price)) << price.toString().toStdString();
    // A number bound as text: the file's check sees the text and refuses it; the server, which
    // is sent every value as text, reads a number. The stores bind prices as numbers.
    bool tookNumberText = true;
    try {
        insertPrice(QStringLiteral("12.5"));
    } catch (const DbError &) {
        tookNumberText = false;
    }
    EXPECT_EQ(tookNumberText, onServer());
    for (const QVariant &price : {QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("12元"))}) {
        try {
            insertPrice(price);
            ADD_FAILURE() << "took " << price.toString().toStdString();
        } catch (const DbError &error) {
            EXPECT_EQ(error.code() & 0xff, SQLITE_CONSTRAINT) << error.what();
        }
    }
}

TEST_P(SchemaTest, RefusedChangeLeavesTheStoredRowAsItWas)
{
    insertVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"));
    EXPECT_THROW(archive().exec(QStringLiteral("UPDATE [档案] SET [9] = 'not a date', [1] = '女'")), DbError);
    EXPECT_THROW(archive().exec(QStringLiteral("UPDATE [档案] SET [0] = ''")), DbError);
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT [0] || '|' || [9] || '|' || coalesce([1], 'null') FROM [档案]")),
              QStringLiteral("张三|2026-12-08|null"));
}

TEST_P(SchemaTest, TablesHaveTheirColumnsInOrder)
{
    QStringList visit;
    for (int i = 0; i <= 29; ++i)
        visit << QString::number(i);
    for (int i = 1; i <= 8; ++i)
        visit << QStringLiteral("T%1").arg(i);
    visit << QStringLiteral("C1") << QStringLiteral("C2") << QStringLiteral("名称");
    for (int i = 9; i <= 15; ++i)
        visit << QStringLiteral("T%1").arg(i);
    EXPECT_EQ(archive().columnsOf(QStringLiteral("档案")), visit);
    EXPECT_EQ(archive().columnsOf(QStringLiteral("患者信息")).join(QLatin1Char(',')),
              QStringLiteral("序号,出生年月,姓名,性别,费别,医疗证号,诊断,住址,过敏史,既往史,电话,备用1,备用2,备用3"));
    EXPECT_EQ(archive().columnsOf(QStringLiteral("密码")), QStringList{QStringLiteral("密码")});
    EXPECT_EQ(settings().columnsOf(QStringLiteral("药品")).join(QLatin1Char(',')),
              QStringLiteral("拼音,名称,分类,数量,单位,单价,备用"));
    EXPECT_EQ(settings().columnsOf(QStringLiteral("个人组套")).join(QLatin1Char(',')), QStringLiteral("名称,分类,拼音,内容"));
    EXPECT_EQ(settings().columnsOf(QStringLiteral("病史模板")).join(QLatin1Char(',')), QStringLiteral("名称,内容,序号,拼音"));
    for (const char *table : {"诊断", "地址"})
        EXPECT_EQ(settings().columnsOf(QString::fromUtf8(table)).join(QLatin1Char(',')), QStringLiteral("名称,拼音,序号"));
    EXPECT_EQ(settings().columnsOf(QStringLiteral("设置")).size(), settingsColumns().size());
}

TEST_P(SchemaTest, NewFilesHoldTheirFirstRows)
{
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT count(*) || ':' || max([密码]) FROM [密码]")), QStringLiteral("1:816"));
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT count(*) FROM [档案]")), QStringLiteral("0"));
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(*) FROM [设置]")), QStringLiteral("1"));
    for (const SettingsColumn &column : settingsColumns()) {
        EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT coalesce(%1, '') FROM [设置]").arg(quoteIdentifier(column.name))),
                  column.initial)
            << column.name.toStdString();
    }
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT [住址|电话1] || '/' || [住址|电话2] || '/' || [住址|电话3] FROM [设置]")),
              QStringLiteral("1/78/42"));
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT [女(划掉男)1] FROM [设置]")), QStringLiteral("0"));

    // Thirteen categories, every drug with its computed code; the dictionaries are filled.
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(DISTINCT [分类]) FROM [药品]")), QStringLiteral("13"));
    EXPECT_GE(scalar(settings(), QStringLiteral("SELECT count(*) FROM [药品]")).toInt(), 400);
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT [拼音] FROM [药品] WHERE [名称] LIKE '阿莫西林胶囊 %'")),
              QStringLiteral("amxljn"));
    EXPECT_GE(scalar(settings(), QStringLiteral("SELECT count(*) FROM [诊断]")).toInt(), 80);
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(*) FROM [诊断] WHERE [序号] <> [名称] || [拼音]")), QStringLiteral("0"));
    EXPECT_GE(scalar(settings(), QStringLiteral("SELECT count(*) FROM [地址]")).toInt(), 5);
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(*) FROM [个人组套] WHERE [分类] = '个人组套'")).toInt(), 2);
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(*) FROM [个人组套] WHERE [分类] = '中医验方'")).toInt(), 1);
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT count(*) FROM [病史模板]")).toInt(), 3);
    Statement lineBreaks(settings(), QStringLiteral("SELECT count(*) FROM [个人组套] WHERE [内容] LIKE ?"));
    lineBreaks.bind(1, QStringLiteral("%\r\n%"));
    ASSERT_TRUE(lineBreaks.next());
    EXPECT_EQ(lineBreaks.int64(0), 3);
}

TEST_F(SchemaFileTest, ExistingFilesAreNeverTouched)
{
    archive().exec(QStringLiteral("UPDATE [密码] SET [密码] = 'abc'"));
    files().close();
    const QByteArray before = [&] {
        QFile f(files().settingsPath());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_TRUE(files().createMissing().isEmpty());
    files().open();
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT [密码] FROM [密码]")), QStringLiteral("abc"));
    QFile f(files().settingsPath());
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(SchemaFileTest, MissingFileIsCreatedBesideTheOther)
{
    files().close();
    QFile::remove(files().settingsPath());
    EXPECT_EQ(files().createMissing(), QStringList{kSettingsFileName});
    EXPECT_FALSE(QFile::exists(files().settingsPath() + QStringLiteral(".new")));
    files().open();
    EXPECT_EQ(scalar(settings(), QStringLiteral("SELECT [科别] FROM [设置]")), QStringLiteral("内科"));
}

// A file of an earlier version gets the indexes it lacks on opening, the doctor told beforehand
// that this wait happens once; a file that has them opens without a word.
TEST_F(SchemaFileTest, IndexesOfLaterVersionsAreBuiltOnceWithANotice)
{
    archive().exec(QStringLiteral("DROP INDEX [档案_姓名]"));
    settings().exec(QStringLiteral("DROP INDEX [药品_分类]"));
    files().close();
    QStringList told;
    files().setLongStepNotice([&](const QString &text) { told << text; });
    files().open();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains(QStringLiteral("只需一次"))) << told[0].toStdString();
    EXPECT_TRUE(told[1].isEmpty());
    EXPECT_FALSE(Schema::lacksLaterIndexes(archive()));
    EXPECT_FALSE(Schema::lacksLaterIndexes(settings()));
    files().close();
    told.clear();
    files().open();
    EXPECT_TRUE(told.isEmpty());
}

} // namespace
