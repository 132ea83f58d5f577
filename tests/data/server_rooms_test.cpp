#include "data/database.h"
#include "data/pg_connection.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

#include <QThread>
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

TEST_F(ServerRoomsTest, TwoRoomsSavingAtOnceKeepEveryAcknowledgedVisitUnderItsOwnKey)
{
    constexpr int kSaves = 1000;
    // Both rooms start every visit in the same second: each save meets the other's keys.
    const auto writer = [this](const QString &roomName, QList<std::pair<QString, QString>> *acknowledged, int *failures) {
        std::unique_ptr<Database> db = room();
        db->exec(QStringLiteral("SET synchronous_commit = off"));
        for (int i = 0; i < kSaves; ++i) {
            const QString name = QStringLiteral("%1-%2").arg(roomName).arg(i);
            try {
                const SaveOutcome outcome = VisitStore(*db).save(
                    sampleVisit(name, QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 08:00:00")), 2026,
                    VisitStore::SaveKind::New);
                *acknowledged << std::pair{outcome.key, name};
            } catch (const DbError &failure) {
                if (++*failures == 1)
                    ADD_FAILURE() << failure.what();
            }
        }
    };
    QList<std::pair<QString, QString>> first, second;
    int firstFailures = 0, secondFailures = 0;
    std::thread one(writer, QStringLiteral("一诊室"), &first, &firstFailures);
    std::thread two(writer, QStringLiteral("二诊室"), &second, &secondFailures);
    one.join();
    two.join();
    EXPECT_EQ(firstFailures + secondFailures, 0);
    std::unique_ptr<Database> reader = room();
    VisitStore store(*reader);
    for (const auto &[key, name] : first + second) {
        const std::optional<VisitRecord> stored = store.find(key);
        ASSERT_TRUE(stored) << key.toStdString();
        EXPECT_EQ(stored->header[FieldName], name) << key.toStdString();
    }
    EXPECT_EQ(scalar(*reader, QStringLiteral("SELECT count(*) FROM [档案]")).toInt(), first.size() + second.size());
    EXPECT_EQ(scalar(*reader, QStringLiteral("SELECT count(DISTINCT [名称]) FROM [档案]")).toInt(), first.size() + second.size());
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
