#include "data/database.h"
#include "data/pg_connection.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <atomic>
#include <sqlcipher/sqlite3.h>
#include <thread>

using namespace quillora;
using namespace quillora::test;

namespace {

// Consulting rooms writing one archive on a server, each through its own connection.
class ServerRoomsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString reason;
        m_cluster = PgCluster::instance(&reason);
        if (!m_cluster)
            GTEST_SKIP() << reason.toStdString();
        m_archive = std::make_unique<PgDatabase>(*m_cluster);
        fillServerDatabase(m_archive->conninfo(), fillArchive);
    }
    std::unique_ptr<Database> room()
    {
        auto db = std::make_unique<Database>();
        db->openServer(m_archive->conninfo());
        return db;
    }
    static QVariant scalar(Database &db, const QString &sql)
    {
        Statement q(db, sql);
        return q.next() ? q.value(0) : QVariant();
    }

    PgCluster *m_cluster = nullptr;
    std::unique_ptr<PgDatabase> m_archive;
};

constexpr int kWriterSaves = 1000;
constexpr const char *kWriterArchive = "QUILLORA_WRITER_ARCHIVE";
constexpr const char *kWriterRoom = "QUILLORA_WRITER_ROOM";

// One consulting room as a program of its own: saves new visits into the archive the parent
// test names, every one started in the same second, and prints each acknowledged key with its
// patient (or the failure) at once.
TEST(ServerRoomsWriter, SavesNewVisits)
{
    const QString archive = qEnvironmentVariable(kWriterArchive);
    if (archive.isEmpty())
        GTEST_SKIP() << "started by ServerRoomsTest only";
    const QString roomName = qEnvironmentVariable(kWriterRoom);
    Database db;
    db.openServer(archive);
    db.exec(QStringLiteral("SET synchronous_commit = off"));
    for (int i = 0; i < kWriterSaves; ++i) {
        const QString name = QStringLiteral("%1-%2").arg(roomName).arg(i);
        try {
            const SaveOutcome outcome = VisitStore(db).save(
                sampleVisit(name, QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 08:00:00")), 2026, VisitStore::SaveKind::New);
            std::printf("ack\t%s\t%s\n", qPrintable(outcome.key), qPrintable(name));
        } catch (const DbError &failure) {
            std::printf("fail\t%s\n", failure.what());
        }
        std::fflush(stdout);
    }
}

TEST_F(ServerRoomsTest, TwoRoomsSavingAtOnceKeepEveryAcknowledgedVisitUnderItsOwnKey)
{
    // Two writer processes, each with its own connection, as two rooms' programs are.
    QProcess rooms[2];
    const QString names[2] = {QStringLiteral("一诊室"), QStringLiteral("二诊室")};
    for (int i = 0; i < 2; ++i) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kWriterArchive), m_archive->conninfo());
        environment.insert(QString::fromLatin1(kWriterRoom), names[i]);
        rooms[i].setProcessEnvironment(environment);
        rooms[i].start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ServerRoomsWriter.*")});
    }
    QList<std::pair<QString, QString>> acknowledged;
    QStringList failures;
    for (QProcess &room : rooms) {
        ASSERT_TRUE(room.waitForFinished(600000)) << room.errorString().toStdString();
        for (const QString &line : QString::fromUtf8(room.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.value(0) == QLatin1String("ack") && fields.size() == 3)
                acknowledged << std::pair{fields[1], fields[2]};
            else if (fields.value(0) == QLatin1String("fail"))
                failures << fields.value(1);
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.size() << " failed, the first: " << failures.value(0).toStdString();
    EXPECT_EQ(acknowledged.size() + failures.size(), 2 * kWriterSaves);
    std::unique_ptr<Database> reader = room();
    VisitStore store(*reader);
    for (const auto &[key, name] : acknowledged) {
        const std::optional<VisitRecord> stored = store.find(key);
        ASSERT_TRUE(stored) << key.toStdString();
        EXPECT_EQ(stored->header[FieldName], name) << key.toStdString();
    }
    EXPECT_EQ(scalar(*reader, QStringLiteral("SELECT count(*) FROM [档案]")).toInt(), acknowledged.size());
    EXPECT_EQ(scalar(*reader, QStringLiteral("SELECT count(DISTINCT [名称]) FROM [档案]")).toInt(), acknowledged.size());
}

TEST_F(ServerRoomsTest, ALostConnectionIsMadeAgainAndASaveItCutIsToldNotAcknowledged)
{
    std::unique_ptr<Database> db = room();
    VisitStore store(*db);
    const VisitRecord earlier = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 09:00:00"));
    store.save(earlier, 2026, VisitStore::SaveKind::New);

    // Another connection holds the rooms' save turn, so a save waits inside its transaction;
    // meanwhile its connection is cut, again and again.
    std::unique_ptr<Database> other = room();
    other->server()->query(QStringLiteral("SELECT pg_advisory_lock(7310284)"));
    std::atomic<bool> cutting{true};
    std::atomic<int> cuts{0};
    std::thread cutter([&] {
        std::unique_ptr<Database> admin = room();
        while (cutting) {
            const PgResult cut = admin->server()->query(QStringLiteral(
                "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() "
                "AND wait_event_type = 'Lock' AND pid <> pg_backend_pid()"));
            cuts += cut.rowCount();
            QThread::msleep(20);
        }
    });
    const VisitRecord cutVisit = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 09:05:00"));
    try {
        store.save(cutVisit, 2026, VisitStore::SaveKind::New);
        ADD_FAILURE() << "a save whose every try was cut was acknowledged";
    } catch (const DbError &failure) {
        EXPECT_EQ(failure.code() & 0xff, SQLITE_IOERR) << failure.what();
    }
    cutting = false;
    cutter.join();
    EXPECT_GE(cuts.load(), 2);  // each try connected again and was cut again
    other->server()->query(QStringLiteral("SELECT pg_advisory_unlock(7310284)"));

    // The same room goes on: its connection is made again, the acknowledged visit is there and
    // the cut one is not (half of it neither).
    EXPECT_FALSE(store.find(cutVisit.key));
    EXPECT_EQ(store.find(earlier.key)->header[FieldName], QStringLiteral("张三"));
    EXPECT_EQ(store.save(cutVisit, 2026, VisitStore::SaveKind::New).key, cutVisit.key);
    EXPECT_EQ(store.find(cutVisit.key)->header[FieldName], QStringLiteral("李四"));

    // A connection cut between saves is made again by the next statement, unnoticed.
    other->server()->query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                          "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    QThread::msleep(100);
    EXPECT_EQ(store.find(earlier.key)->header[FieldName], QStringLiteral("张三"));
}

} // namespace
