#include "data/database.h"
#include "data/pg_connection.h"
#include "data/server_migration.h"
#include "support/data_fixture.h"
#include "support/pg_cluster.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSet>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// The run's two files, read through their open connections, and an empty server database.
class ServerMigrationTest : public DataTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        QUILLORA_CLUSTER_OR_SKIP(cluster);
        m_target = std::make_unique<PgDatabase>(*cluster);
    }

    MigrationResult migrate(const MigrationProgress &progress = {})
    {
        return migrateToServer(archive(), settings(), m_target->conninfo(), progress);
    }
    Database &server()
    {
        if (!m_server.isOpen())
            m_server.openServer(m_target->conninfo());
        return m_server;
    }
    // Names of the tables in the target database (the program's and any other).
    QStringList serverTables()
    {
        QStringList tables;
        const PgResult rows = server().server()->query(QStringLiteral(
            "SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema() ORDER BY 1"));
        for (int r = 0; r < rows.rowCount(); ++r)
            tables << QString::fromUtf8(rows.bytes(r, 0));
        return tables;
    }
    QStringList serverColumn(const QString &sql)
    {
        QStringList texts;
        Statement q(server(), sql);
        while (q.next())
            texts << q.text(0);
        return texts;
    }
    QByteArray fileHashes()
    {
        return QCryptographicHash::hash(readFile(files().archivePath()) + readFile(files().settingsPath()), QCryptographicHash::Sha256);
    }

    std::unique_ptr<PgDatabase> m_target;
    Database m_server;
};

// Values a clinic's archive holds: quotes, %, @, CR/LF, ideographs, characters beyond the BMP,
// backslashes, empty texts and NULLs, short and long.
QVariant oddValue(QRandomGenerator &random, int maxLength)
{
    static const QStringList pieces{QStringLiteral("'"), QStringLiteral("\""), QStringLiteral("%"), QStringLiteral("_"),
                                    QStringLiteral("@"), QStringLiteral("\r\n"), QStringLiteral("\\"), QStringLiteral("阿莫西林"),
                                    QStringLiteral("𠀀"), QStringLiteral(" "), QStringLiteral("0.25g×24粒"), QStringLiteral("\t"),
                                    QStringLiteral("$1"), QStringLiteral("?"), QStringLiteral("--"), QStringLiteral("é")};
    switch (random.bounded(6)) {
    case 0:
        return QVariant();
    case 1:
        return QString(QLatin1String(""));
    default:
        break;
    }
    QString text;
    const int target = random.bounded(6) == 0 ? maxLength : random.bounded(1, std::min(maxLength, 40) + 1);
    while (text.size() < target)
        text += pieces[random.bounded(int(pieces.size()))];
    // Cut to the column's length without splitting a surrogate pair.
    text.truncate(target);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

QString visitKey(int n)
{
    return QDateTime(QDate(2020, 1, 1), QTime(8, 0), QTimeZone::utc()).addSecs(n).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Visits with every column filled with odd values, their keys one second apart from the start.
void addOddVisits(Database &archive, int count, int firstKey = 0)
{
    QRandomGenerator random(20261209);
    const QStringList columns = archive.columnsOf(QStringLiteral("档案"));
    QStringList quoted, marks;
    for (const QString &c : columns) {
        quoted << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    Transaction transaction(archive);
    Statement insert(archive, QStringLiteral("INSERT INTO [档案] (%1) VALUES (%2)").arg(quoted.join(','), marks.join(',')));
    for (int i = 0; i < count; ++i) {
        insert.reset();
        for (int c = 0; c < columns.size(); ++c) {
            const QString &name = columns[c];
            QVariant value;
            if (name == QLatin1String("0"))
                value = QStringLiteral("张'三%@\r\n%1").arg(i);
            else if (name == QLatin1String("9"))
                value = QDate(2020, 1, 1).addDays(i % 2000).toString(Qt::ISODate);
            else if (name == QStringLiteral("名称"))
                value = visitKey(firstKey + i);
            else
                value = oddValue(random, name.startsWith('T') ? (i % 50 == 0 ? 20000 : 300) : 50);
            insert.bindValue(c + 1, value);
        }
        insert.run();
    }
    transaction.commit();
}

// Every row of a table in rowid order, each value marked so that NULL and '' stay apart.
QList<QStringList> rowsOf(Database &db, const QString &table, const QStringList &columns)
{
    QStringList quoted{QStringLiteral("rowid")};
    for (const QString &c : columns)
        quoted << quoteIdentifier(c);
    QList<QStringList> rows;
    Statement q(db, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(quoted.join(','), quoteIdentifier(table)));
    while (q.next()) {
        QStringList row;
        for (int c = 0; c < q.columnCount(); ++c)
            row << (q.isNull(c) ? QStringLiteral("<NULL>") : QStringLiteral("=") + q.value(c).toString());
        rows << row;
    }
    return rows;
}

TEST_F(ServerMigrationTest, TenThousandOddVisitsArriveRowForRowAndTheFilesStayAsTheyWere)
{
    addOddVisits(archive(), 10000);
    archive().exec(QStringLiteral("DELETE FROM [档案] WHERE rowid % 97 = 0"));  // gaps in the rowids
    archive().exec(QStringLiteral("INSERT INTO [患者信息] ([序号],[出生年月],[姓名],[性别],[住址],[电话]) "
                                  "VALUES ('P1','1980-01','O''Brien','男','', NULL)"));
    settings().exec(QStringLiteral("UPDATE [药品] SET [单价] = 0.1 WHERE rowid = 1"));
    const QByteArray before = fileHashes();
    qint64 lastDone = 0, lastTotal = 0;

    const MigrationResult result = migrate([&](const QString &, qint64 done, qint64 total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
    });

    ASSERT_TRUE(result.succeeded()) << migrationReport(result).toStdString();
    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_TRUE(result.changedKeys.isEmpty());
    ASSERT_EQ(result.tables.size(), 9);
    for (const MigratedTable &t : result.tables) {
        SCOPED_TRACE(t.table.toStdString());
        EXPECT_TRUE(t.matches());
        EXPECT_EQ(t.fileChecksum.size(), 64);
        Database &file = t.file == kArchiveFileName ? archive() : settings();
        const QStringList columns = file.columnsOf(t.table);
        EXPECT_EQ(rowsOf(server(), t.table, columns), rowsOf(file, t.table, columns));
    }
    EXPECT_EQ(result.tables[0].fileRows, 10000 - 10000 / 97);
    EXPECT_EQ(before, fileHashes());
    // No first rows of a new installation were added: the file's password row is the only one.
    EXPECT_EQ(scalar(server(), QStringLiteral("SELECT count(*) FROM [密码]")), QStringLiteral("1"));
    // A visit saved on the server next gets a rowid past the copied ones.
    server().exec(QStringLiteral("INSERT INTO [档案] ([0],[9],[名称]) VALUES ('新','2026-12-09','2026-12-09 10:00:00')"));
    EXPECT_EQ(server().lastInsertRowId(), scalar(archive(), QStringLiteral("SELECT max(rowid) FROM [档案]")).toLongLong() + 1);
}

TEST_F(ServerMigrationTest, ADatabaseWithTheProgramsTablesIsRefusedAndLeftAsItWas)
{
    fillServerDatabase(m_target->conninfo(), fillSettings);
    const QString drugs = scalar(server(), QStringLiteral("SELECT count(*) FROM [药品]"));
    const QStringList tables = serverTables();

    const MigrationResult result = migrate();

    EXPECT_FALSE(result.succeeded());
    EXPECT_FALSE(result.copied);
    EXPECT_TRUE(result.problem.contains(QStringLiteral("不是空的"))) << result.problem.toStdString();
    EXPECT_EQ(serverTables(), tables);
    EXPECT_FALSE(server().hasTable(QStringLiteral("档案")));
    EXPECT_EQ(scalar(server(), QStringLiteral("SELECT count(*) FROM [药品]")), drugs);
}

TEST_F(ServerMigrationTest, ACopyThatFailsLeavesTheServerEmptyAndSaysWhy)
{
    addOddVisits(archive(), 1200);
    // A NUL character SQLite keeps but no server text can hold, in the last visit.
    Statement nul(archive(), QStringLiteral("UPDATE [档案] SET T3 = ? WHERE rowid = (SELECT max(rowid) FROM [档案])"));
    nul.bind(1, QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    nul.run();
    const QByteArray before = fileHashes();

    const MigrationResult result = migrate();

    EXPECT_FALSE(result.copied);
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.problem.contains(QStringLiteral("“T3”列含有服务器无法保存的空字符"))) << result.problem.toStdString();
    EXPECT_TRUE(result.problem.contains(QStringLiteral("没有留下任何数据"))) << result.problem.toStdString();
    EXPECT_TRUE(migrationReport(result).contains(QStringLiteral("本机的档案文件没有任何改动")));
    EXPECT_EQ(serverTables(), QStringList());
    EXPECT_EQ(before, fileHashes());
}

TEST_F(ServerMigrationTest, AConnectionLostMidwayLeavesTheServerEmpty)
{
    addOddVisits(archive(), 3000);
    bool cut = false;
    const MigrationResult result = migrate([&](const QString &, qint64 done, qint64) {
        if (cut || done < 500)
            return;
        cut = true;
        // Another connection ends the migrating one, as a server restart would.
        Database admin;
        admin.openServer(m_target->conninfo());
        admin.server()->query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                             "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    });

    ASSERT_TRUE(cut);
    EXPECT_FALSE(result.copied);
    EXPECT_FALSE(result.problem.isEmpty());
    EXPECT_EQ(serverTables(), QStringList());
}

TEST_F(ServerMigrationTest, RepeatedVisitKeysTakeTheNextFreeSecondAndStillMatch)
{
    addOddVisits(archive(), 5);  // keys 08:00:00 … 08:00:04
    Statement same(archive(), QStringLiteral("UPDATE [档案] SET [名称] = ? WHERE rowid IN (2, 3)"));
    same.bind(1, visitKey(0));
    same.run();
    // rowids 1-3 share 08:00:00; 08:00:03 and 08:00:04 are taken by visits 4 and 5.

    const MigrationResult result = migrate();

    ASSERT_TRUE(result.succeeded()) << migrationReport(result).toStdString();
    ASSERT_EQ(result.changedKeys.size(), 2);
    EXPECT_EQ(result.changedKeys[0].rowId, 2);
    EXPECT_EQ(result.changedKeys[0].newKey, visitKey(1));
    EXPECT_EQ(result.changedKeys[1].newKey, visitKey(2));
    EXPECT_EQ(serverColumn(QStringLiteral("SELECT [名称] FROM [档案] ORDER BY rowid")),
              (QStringList{visitKey(0), visitKey(1), visitKey(2), visitKey(3), visitKey(4)}));
    EXPECT_TRUE(migrationReport(result).contains(QStringLiteral("有 2 条病历")));
    // The file keeps its own keys.
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT count(*) FROM [档案] WHERE [名称] = '2020-01-01 08:00:00'")), QStringLiteral("3"));
}

TEST_F(ServerMigrationTest, AColumnAnOlderFileLacksTakesTheServersDefault)
{
    // The patient register as an older version made it, without 备用3.
    archive().exec(QStringLiteral("CREATE TABLE [患者信息_旧] AS SELECT [序号],[出生年月],[姓名],[性别],[费别],[医疗证号],[诊断],"
                                  "[住址],[过敏史],[既往史],[电话],[备用1],[备用2] FROM [患者信息]; DROP TABLE [患者信息]; "
                                  "ALTER TABLE [患者信息_旧] RENAME TO [患者信息]; "
                                  "INSERT INTO [患者信息] ([序号],[出生年月],[姓名],[性别]) VALUES ('P9', '1990-02', '李四', '女')"));

    const MigrationResult result = migrate();

    ASSERT_TRUE(result.succeeded()) << migrationReport(result).toStdString();
    EXPECT_EQ(result.tables[1].lackedColumns, QStringList{QStringLiteral("备用3")});
    EXPECT_EQ(scalar(server(), QStringLiteral("SELECT coalesce([备用3], 'null') FROM [患者信息] WHERE [序号] = 'P9'")),
              QStringLiteral("null"));
}

TEST(NextFreeVisitKey, StepsPastTakenKeys)
{
    const QSet<QString> taken{QStringLiteral("2024-12-31 23:59:59"), QStringLiteral("2025-01-01 00:00:00"),
                              QStringLiteral("旧编号-2"), QStringLiteral("2024-02-30 10:00:00-2")};
    const auto isTaken = [&](const QString &k) { return taken.contains(k); };
    const QString fifty(50, QLatin1Char('x'));
    const struct { QString key, next; } cases[] = {
        {QStringLiteral("2024-12-31 23:59:59"), QStringLiteral("2025-01-01 00:00:01")},
        {QStringLiteral("2024-02-28 23:59:59"), QStringLiteral("2024-02-29 00:00:00")},
        {QStringLiteral("2024-03-31 01:59:59"), QStringLiteral("2024-03-31 02:00:00")},  // no daylight-saving gap
        {QStringLiteral("旧编号"), QStringLiteral("旧编号-3")},
        {QStringLiteral("2024-02-30 10:00:00"), QStringLiteral("2024-02-30 10:00:00-3")},
        {QStringLiteral("2024-1-3 10:00:00"), QStringLiteral("2024-1-3 10:00:00-2")},
        {fifty, QString(48, QLatin1Char('x')) + QStringLiteral("-2")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nextFreeVisitKey(c.key, isTaken), c.next) << c.key.toStdString();
}

} // namespace
