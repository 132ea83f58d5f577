#include "data/data_files.h"
#include "data/database.h"
#include "data/patient_store.h"
#include "data/pg_connection.h"
#include "data/server_schema.h"
#include "support/pg_cluster.h"
#include "support/temp_folder.h"
#include "text/pinyin_order.h"

#include <QDir>
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// One fresh server database per test, with the program's server functions.
class ServerEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLORA_CLUSTER_OR_SKIP(cluster);
        m_database = std::make_unique<PgDatabase>(*cluster);
        m_db.openServer(m_database->conninfo());
        ServerSchema::createFunctions(m_db);
    }
    void TearDown() override { m_db.close(); }

    QString conninfo() const { return m_database->conninfo(); }
    QStringList column(const QString &sql)
    {
        QStringList texts;
        Statement q(m_db, sql);
        while (q.next())
            texts << (q.isNull(0) ? QStringLiteral("<null>") : q.text(0));
        return texts;
    }

    std::unique_ptr<PgDatabase> m_database;
    Database m_db;
};

TEST(ServerErrorCodes, SqlStatesReadAsSqliteCodes)
{
    const struct { const char *state; int code; } cases[] = {
        {"23505", SQLITE_CONSTRAINT_UNIQUE}, {"23514", SQLITE_CONSTRAINT}, {"23502", SQLITE_CONSTRAINT}, {"22P02", SQLITE_CONSTRAINT},
        {"40001", SQLITE_BUSY},       {"40P01", SQLITE_BUSY},       {"55P03", SQLITE_BUSY},       {"08006", SQLITE_IOERR},
        {"57P01", SQLITE_IOERR},      {"58030", SQLITE_IOERR},      {"53100", SQLITE_FULL},       {"XX001", SQLITE_CORRUPT},
        {"28P01", SQLITE_PERM},       {"25006", SQLITE_READONLY},   {"42P01", SQLITE_ERROR},      {"42601", SQLITE_ERROR},
    };
    for (const auto &c : cases)
        EXPECT_EQ(engineCodeOfSqlState(c.state), c.code) << c.state;
}

// Names of the kinds a catalogue holds: Latin in both cases, ideographs with several readings,
// Chinese and ASCII punctuation, digits, characters beyond the BMP, and the empty name.
QString randomName(QRandomGenerator &random)
{
    static const QString pool = QStringLiteral("aAbBcCzZ09 -_.()（）、，。·×°μ行长重乐还阿莫西林丹参三七粉五味子克拉霉素"
                                               "甲乙丙丁戊己庚辛壬癸银翘解毒片葡萄糖注射液维生素\uE000\u00E9");
    static const QString beyond = QStringLiteral("𠀀𪚥");
    const int length = random.bounded(0, 7);
    QString name;
    for (int i = 0; i < length; ++i) {
        if (random.bounded(20) == 0)
            name += beyond.mid(2 * random.bounded(2), 2);
        else
            name += pool[random.bounded(int(pool.size()))];
    }
    return name;
}

TEST_F(ServerEngineTest, PinyinOrderOfTheServerIsThePrograms)
{
    m_db.exec(QStringLiteral("CREATE TABLE [名单] ([名称] TEXT)"));
    ServerSchema::addPinyinKey(m_db, QStringLiteral("名单"), QStringLiteral("名称"));
    QRandomGenerator random(20261209);
    QStringList names{QString(), QStringLiteral("阿"), QStringLiteral("阿莫西林"), QStringLiteral("VC片"), QStringLiteral("vc片")};
    while (names.size() < 3000)
        names << randomName(random);
    {
        Transaction transaction(m_db);
        Statement insert(m_db, QStringLiteral("INSERT INTO [名单] ([名称]) VALUES (?)"));
        for (const QString &name : names) {
            insert.bind(1, name);
            insert.run();
            insert.reset();
        }
        transaction.commit();
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return pinyinCompare(a, b) < 0; });
    for (QString &name : names)
        name = name.isNull() ? QString(QLatin1String("")) : name;
    EXPECT_EQ(column(QStringLiteral("SELECT [名称] FROM [名单] ORDER BY [名称] COLLATE PINYIN")), names);
}

TEST_F(ServerEngineTest, BothEnginesTakeAndRefuseTheSameDates)
{
    const QString table = QStringLiteral("CREATE TABLE [日期] ([9] TEXT CHECK([9] IS date([9], '+0 days')))");
    TempProgramFolder folder;
    Database file;
    file.open(QDir(folder.path()).filePath(QStringLiteral("dates.dat")), QStringLiteral("key"));
    file.exec(table);
    m_db.exec(table);
    const char *dates[] = {"2024-02-29", "2023-02-29", "2024-02-30", "2024-13-01", "", "2024-1-3", "2024-01-03", "0000-01-01",
                           "0000-02-29", "1900-02-29", "2000-02-29", "9999-12-31", "2024-04-31", "2024-04-30", "2024-00-10",
                           "2024-01-00", " 2024-01-03", "2024-01-03 ", "2024-01-03 00:00", "2024/01/03", "２０２４-01-03",
                           "2460000.5", "now", "+2024-01-03", "-2024-01-03", "2024-01-3", "20240103", "2024-12-31", "2024-12-32",
                           "-1000-01-01", "-1000-02-28", "-1100-02-28", "-1300-02-29", "-0999-12-31", "-4714-11-24",
                           "1582-10-10", "0100-02-29", "0400-02-29", "-2000-02-29", "-1999-12-31"};
    const auto accepted = [](Database &db, const std::optional<QString> &date) {
        Statement q(db, QStringLiteral("INSERT INTO [日期] ([9]) VALUES (?)"));
        if (date)
            q.bind(1, *date);
        try {
            q.run();
            return true;
        } catch (const DbError &error) {
            EXPECT_EQ(error.code() & 0xff, SQLITE_CONSTRAINT) << error.what();
            return false;
        }
    };
    for (const char *date : dates)
        EXPECT_EQ(accepted(m_db, QString::fromUtf8(date)), accepted(file, QString::fromUtf8(date))) << date;
    EXPECT_EQ(accepted(m_db, std::nullopt), accepted(file, std::nullopt));
    EXPECT_TRUE(accepted(m_db, QStringLiteral("2024-02-29")));  // the list is not refused wholesale
}

TEST_F(ServerEngineTest, RefusalsKeepSqliteCodesAndTellTheServersWords)
{
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([名称] TEXT NOT NULL CHECK(length([名称]) BETWEEN 1 AND 3))"));
    m_db.exec(QStringLiteral("CREATE UNIQUE INDEX [表_名称] ON [表]([名称])"));
    m_db.exec(QStringLiteral("INSERT INTO [表] ([名称]) VALUES ('甲')"));
    for (const char *sql : {"INSERT INTO [表] ([名称]) VALUES ('甲')", "INSERT INTO [表] ([名称]) VALUES ('甲乙丙丁')",
                            "INSERT INTO [表] ([名称]) VALUES (NULL)"}) {
        try {
            m_db.exec(QString::fromUtf8(sql));
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const DbError &error) {
            EXPECT_EQ(error.code() & 0xff, SQLITE_CONSTRAINT) << sql;
            EXPECT_TRUE(error.message().startsWith(QStringLiteral("数据不符合数据表的要求（"))) << error.what();
        }
    }
    try {
        m_db.exec(QStringLiteral("SELECT [无此列] FROM [表]"));
        ADD_FAILURE() << "a missing column was accepted";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_ERROR);
        EXPECT_TRUE(error.message().contains(QStringLiteral("无此列"))) << error.what();
    }
    try {
        Database unreachable;
        unreachable.openServer(QStringLiteral("host=/nonexistent-socket-folder dbname=none connect_timeout=2"));
        ADD_FAILURE() << "connected to nothing";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_CANTOPEN);
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("无法连接数据库服务器（"))) << error.what();
    }
}

TEST_F(ServerEngineTest, StatementsFollowATableMadeAnew)
{
    const auto read = [&] {
        Statement q(m_db, QStringLiteral("SELECT [值] FROM [表]"));
        return q.next() ? q.value(0) : QVariant();
    };
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([值] TEXT)"));
    m_db.exec(QStringLiteral("INSERT INTO [表] ([值]) VALUES ('1.5')"));
    EXPECT_EQ(read(), QVariant(QStringLiteral("1.5")));
    m_db.exec(QStringLiteral("DROP TABLE [表]"));
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([值] REAL)"));
    m_db.exec(QStringLiteral("INSERT INTO [表] ([值]) VALUES (1.5)"));
    EXPECT_EQ(read(), QVariant(1.5));  // prepared again, not refused as a stale plan
}

TEST_F(ServerEngineTest, AServerThatCannotBeReachedIsNamedInTheMessage)
{
    DataFiles files{QString()};
    files.useServer(QStringLiteral("host=/nonexistent-socket-folder dbname=门诊档案 connect_timeout=2"),
                    QStringLiteral("host=/nonexistent-socket-folder dbname=门诊设置 connect_timeout=2"));
    try {
        files.open();
        ADD_FAILURE() << "opened an unreachable server";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_CANTOPEN);
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("服务器数据库 门诊档案 无法打开：无法连接数据库服务器（"))) << error.what();
    }
}

TEST_F(ServerEngineTest, ALostConnectionIsToldAsSuchNotTakenForAnAnswer)
{
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([名称] TEXT)"));
    Database other;
    other.openServer(conninfo());
    other.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                              "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    try {
        Statement q(m_db, QStringLiteral("SELECT count(*) FROM [表]"));
        q.next();
        ADD_FAILURE() << "read through a closed connection";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_IOERR) << error.what();
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("与数据库服务器的连接出错（"))) << error.what();
        EXPECT_TRUE(error.isFromServer());
    }
}

TEST_F(ServerEngineTest, ASpoiledTransactionNeverCommitsAsASave)
{
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([名称] TEXT NOT NULL)"));
    {
        Transaction transaction(m_db);
        m_db.exec(QStringLiteral("INSERT INTO [表] ([名称]) VALUES ('甲')"));
        EXPECT_THROW(m_db.exec(QStringLiteral("INSERT INTO [表] ([名称]) VALUES (NULL)")), DbError);
        EXPECT_TRUE(m_db.inTransaction());
        EXPECT_THROW(transaction.commit(), DbError);  // the server would answer ROLLBACK, not an error
    }
    EXPECT_FALSE(m_db.inTransaction());
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM [表]")), QStringList{QStringLiteral("0")});
}

TEST_F(ServerEngineTest, ConflictingWritersAreToldTheArchiveIsBusy)
{
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([名称] TEXT, [次数] INTEGER)"));
    m_db.exec(QStringLiteral("INSERT INTO [表] ([名称], [次数]) VALUES ('甲', 0)"));
    Database other;
    other.openServer(conninfo());
    other.setBusyTimeout(200);
    Transaction first(m_db);
    m_db.exec(QStringLiteral("UPDATE [表] SET [次数] = [次数] + 1"));
    try {
        Transaction second(other);
        other.exec(QStringLiteral("UPDATE [表] SET [次数] = [次数] + 1"));  // waits for the row, then gives up
        second.commit();
        ADD_FAILURE() << "two writers of one row both went through";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_BUSY) << error.what();
    }
    first.commit();
    EXPECT_EQ(column(QStringLiteral("SELECT [次数] FROM [表]")), QStringList{QStringLiteral("1")});
}

TEST_F(ServerEngineTest, RowIdsCountsAndColumnsAsOnAFile)
{
    m_db.exec(QStringLiteral("CREATE TABLE [表] ([名称] TEXT, [单价] REAL)"));
    EXPECT_TRUE(m_db.hasTable(QStringLiteral("表")));
    EXPECT_FALSE(m_db.hasTable(QStringLiteral("无")));
    EXPECT_EQ(m_db.columnsOf(QStringLiteral("表")), (QStringList{QStringLiteral("名称"), QStringLiteral("单价")}));
    EXPECT_TRUE(m_db.columnsOf(QStringLiteral("无")).isEmpty());
    Statement insert(m_db, QStringLiteral("INSERT INTO [表] ([名称], [单价]) VALUES (?, ?)"));
    insert.bind(1, QStringLiteral("甲")).bind(2, 0.1);
    EXPECT_FALSE(insert.next());
    const qint64 first = m_db.lastInsertRowId();
    insert.reset();
    insert.bind(1, QString()).bindNull(2);
    insert.run();
    EXPECT_EQ(m_db.lastInsertRowId(), first + 1);
    EXPECT_EQ(m_db.changes(), 1);
    m_db.exec(QStringLiteral("UPDATE [表] SET [单价] = 2"));
    EXPECT_EQ(m_db.changes(), 2);
    Statement read(m_db, QStringLiteral("SELECT rowid, [名称], [单价], count(*) OVER () FROM [表] ORDER BY rowid"));
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.value(0), QVariant(first));
    EXPECT_EQ(read.value(2), QVariant(2.0));
    EXPECT_EQ(read.value(3), QVariant(qint64(2)));
    ASSERT_TRUE(read.next());
    EXPECT_FALSE(read.isNull(1));  // an empty text stays a text, not NULL
    EXPECT_EQ(read.text(1), QString());
    EXPECT_FALSE(read.next());
    EXPECT_TRUE(m_db.deleteWhere(QStringLiteral("表"), QStringLiteral("rowid"), first));
    EXPECT_FALSE(m_db.deleteWhere(QStringLiteral("表"), QStringLiteral("rowid"), first));
    EXPECT_THROW(Statement(m_db, QStringLiteral("SELECT ?")).bind(2, 1), DbError);
}

// The archive and the dictionaries of a clinic in one server database: the first start makes
// both with their first rows, later starts (of any room) find them and change nothing.
TEST_F(ServerEngineTest, TheFirstStartMakesBothStoresInOneDatabaseAndLaterStartsKeepThem)
{
    m_db.close();
    TempProgramFolder folder;
    const auto filesOnServer = [&] {
        auto files = std::make_unique<DataFiles>(folder.file(QStringLiteral("档案数据库")));
        files->useServer(conninfo(), conninfo());
        return files;
    };
    {
        auto first = filesOnServer();
        EXPECT_EQ(first->createMissing(), (QStringList{kArchiveFileName, kSettingsFileName}));
        first->open();
        first->archive().exec(QStringLiteral("UPDATE [密码] SET [密码] = 'room1'"));
        first->close();
    }
    auto later = filesOnServer();
    EXPECT_TRUE(later->createMissing().isEmpty());
    later->open();
    Statement password(later->archive(), QStringLiteral("SELECT [密码] FROM [密码]"));
    ASSERT_TRUE(password.next());
    EXPECT_EQ(password.text(0), QStringLiteral("room1"));
    Statement department(later->settings(), QStringLiteral("SELECT count(*), min([科别]) FROM [设置]"));
    ASSERT_TRUE(department.next());
    EXPECT_EQ(department.int64(0), 1);
    EXPECT_EQ(department.text(1), QStringLiteral("内科"));
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("档案数据库"))).exists(kArchiveFileName));  // no file beside the program
    // A database made before the rows of the searched tables were announced gets its triggers
    // at the next start.
    EXPECT_TRUE(ServerSchema::announcesRowChanges(later->archive(), QStringLiteral("患者信息")));
    later->archive().server()->exec(QStringLiteral("DROP TRIGGER quillora_announce_row ON \"患者信息\""));
    later->close();
    later = filesOnServer();
    later->open();
    EXPECT_TRUE(ServerSchema::announcesRowChanges(later->archive(), QStringLiteral("患者信息")));
    EXPECT_TRUE(ServerSchema::announcesRowChanges(later->settings(), QStringLiteral("药品")));
}

// A clinic's server may have made its databases with a Chinese or English locale, which sorts
// and compares text its own way (case and punctuation set aside first). The stores' text
// still sorts by its bytes, as in the files.
TEST_F(ServerEngineTest, TextSortsByItsBytesWhateverLocaleTheDatabaseWasMadeWith)
{
    m_db.close();
    std::unique_ptr<PgDatabase> localised;
    try {
        localised = std::make_unique<PgDatabase>(*PgCluster::instance(), QStringLiteral("LOCALE_PROVIDER icu ICU_LOCALE 'zh' LOCALE 'C'"));
    } catch (const std::exception &e) {
        GTEST_SKIP() << "this server has no ICU locales: " << e.what();
    }
    TempProgramFolder folder;
    DataFiles files(folder.file(QStringLiteral("档案数据库")));
    files.useServer(localised->conninfo(), localised->conninfo());
    files.createMissing();
    files.open();
    QStringList keys{QStringLiteral("b1990"), QStringLiteral("B1991"), QStringLiteral("a-1992"), QStringLiteral("a1993"),
                     QStringLiteral("A1994"), QStringLiteral("阿a1995"), QStringLiteral("Z1996"), QStringLiteral("王w1997")};
    {
        Transaction transaction(files.archive());
        for (const QString &key : keys)
            ASSERT_TRUE(PatientStore(files.archive()).upsert(PatientRow{0, key, QStringLiteral("1990"), key, QStringLiteral("男")}));
        transaction.commit();
    }
    QStringList listed;
    for (const PatientRow &row : PatientStore(files.archive()).search(QString()))
        listed << row.key;
    std::sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
    EXPECT_EQ(listed, keys);
    files.close();
}

} // namespace
