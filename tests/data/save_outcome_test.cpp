#include "data/database.h"
#include "data/db_errors.h"
#include "data/patient_store.h"
#include "data/pg_connection.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

#include <QElapsedTimer>
#include <functional>
#include <sqlcipher/sqlite3.h>
#include <thread>

using namespace quillora;
using namespace quillora::test;

namespace {

class SaveOutcomeTest : public DataTest
{
protected:
    VisitStore store() { return VisitStore(archive()); }
    VisitRecord saved()
    {
        VisitRecord v = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00"));
        v.history = QStringLiteral("咳嗽三天");
        v.injectionCard = QStringLiteral("注射卡");
        v.grid[GridName][0] = QStringLiteral("阿莫西林胶囊");
        v.grid[GridAmount][0] = QStringLiteral("12.00");
        v.total = QStringLiteral("12.00");
        store().save(v, 2026);
        return v;
    }
    // A second connection to the archive, as another program would hold it.
    std::unique_ptr<Database> other()
    {
        auto db = std::make_unique<Database>();
        db->open(files().archivePath(), kArchiveKey);
        return db;
    }
};

// The same saves and refusals on each engine.
class SaveRefusalTest : public EngineTest
{
protected:
    VisitStore store() { return VisitStore(archive()); }
};

QUILLORA_ON_BOTH_ENGINES(SaveRefusalTest);

// On the server: a commit the server refuses after every statement went through.
class ServerSaveOutcomeTest : public SaveOutcomeTest
{
protected:
    Engine engine() const override { return Engine::PostgreSql; }
    // A check the server runs only at COMMIT, failing as a disk would.
    void refuseCommits()
    {
        archive().server()->exec(QStringLiteral(
            "CREATE FUNCTION refuse_commit() RETURNS trigger LANGUAGE plpgsql AS "
            "$$ BEGIN RAISE EXCEPTION 'commit refused' USING ERRCODE = '58030'; END $$"));
        archive().server()->exec(QStringLiteral(
            "CREATE CONSTRAINT TRIGGER refuse_commit AFTER INSERT OR UPDATE ON \"档案\" "
            "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse_commit()"));
    }
};

int refuseCommit(void *) { return 1; }

// Only the grid, the history, the card, the doses or the total change: a commit that fails
// must not be taken for a save because name and body still match the old row.
TEST_F(SaveOutcomeTest, FailedCommitIsNotTakenForASaveWhateverColumnChanged)
{
    const VisitRecord before = saved();
    const std::function<void(VisitRecord &)> edits[] = {
        [](VisitRecord &v) { v.grid[GridAmount][0] = QStringLiteral("13.00"); },
        [](VisitRecord &v) { v.grid[GridName][23] = QStringLiteral("维生素C片"); },
        [](VisitRecord &v) { v.history = QStringLiteral("咳嗽五天"); },
        [](VisitRecord &v) { v.injectionCard.clear(); },
        [](VisitRecord &v) { v.doses = QStringLiteral("3"); },
        [](VisitRecord &v) { v.total = QStringLiteral("13.00"); },
        [](VisitRecord &v) { v.kind = QStringLiteral("儿科"); v.title = QStringLiteral("儿科处方笺"); },
    };
    sqlite3_commit_hook(archive().handle(), refuseCommit, nullptr);
    for (const auto &edit : edits) {
        VisitRecord changed = before;
        edit(changed);
        EXPECT_THROW(store().save(changed, 2026), DbError);
        EXPECT_FALSE(archive().inTransaction());
    }
    sqlite3_commit_hook(archive().handle(), nullptr, nullptr);
    const auto stored = store().find(before.key);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->grid, before.grid);
    EXPECT_EQ(stored->history, before.history);
    EXPECT_EQ(stored->total, before.total);
}

TEST_F(ServerSaveOutcomeTest, CommitTheServerRefusesIsNeverTakenForASave)
{
    const VisitRecord before = saved();
    refuseCommits();
    VisitRecord changed = before;
    changed.grid[GridAmount][0] = QStringLiteral("13.00");
    try {
        store().save(changed, 2026);
        ADD_FAILURE() << "a refused commit passed for a save";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), SQLITE_IOERR) << error.what();
        EXPECT_TRUE(error.message().contains(QStringLiteral("commit refused"))) << error.what();
    }
    EXPECT_FALSE(archive().inTransaction());
    EXPECT_EQ(store().find(before.key)->grid, before.grid);
    VisitRecord added = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"), QStringLiteral("k-new"));
    EXPECT_THROW(store().save(added, 2026), DbError);
    EXPECT_FALSE(store().find(added.key));
}

// A reader of another program holding the file past the deadline: the save is reported as
// failed, and what stays in the file is the old row.
TEST_F(SaveOutcomeTest, BusyCommitIsRetriedUntilTheDeadlineThenReported)
{
    const VisitRecord before = saved();
    archive().setBusyTimeout(100);
    auto reader = other();
    reader->exec(QStringLiteral("BEGIN"));
    scalar(*reader, QStringLiteral("SELECT count(*) FROM [档案]"));  // holds a read lock

    VisitRecord changed = before;
    changed.grid[GridAmount][0] = QStringLiteral("99.00");
    QElapsedTimer timer;
    timer.start();
    try {
        store().save(changed, 2026);
        ADD_FAILURE() << "a busy commit was acknowledged";
    } catch (const DbError &e) {
        EXPECT_EQ(e.code() & 0xff, SQLITE_BUSY);
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("数据文件正被其他程序占用"))) << e.message().toStdString();
    }
    EXPECT_GE(timer.elapsed(), 300);  // three busy waits, not one
    EXPECT_FALSE(archive().inTransaction());
    reader->exec(QStringLiteral("COMMIT"));
    EXPECT_EQ(store().find(before.key)->grid, before.grid);

    // A reader that lets go within the deadline does not cost the save.
    archive().setBusyTimeout(1000);
    reader->exec(QStringLiteral("BEGIN"));
    scalar(*reader, QStringLiteral("SELECT count(*) FROM [档案]"));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        reader->exec(QStringLiteral("COMMIT"));
    });
    EXPECT_NO_THROW(store().save(changed, 2026));
    release.join();
    EXPECT_EQ(store().find(before.key)->grid, changed.grid);
}

// Another program in the middle of a commit: opening the file waits for it instead of failing.
TEST_F(SaveOutcomeTest, OpeningWaitsForAWriterOfAnotherConnection)
{
    saved();
    auto writer = other();
    writer->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    std::thread finish([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        writer->exec(QStringLiteral("COMMIT"));
    });
    Database late;
    EXPECT_NO_THROW(late.open(files().archivePath(), kArchiveKey));
    finish.join();
    EXPECT_EQ(scalar(late, QStringLiteral("SELECT count(*) FROM [档案]")), QStringLiteral("1"));
}

TEST_P(SaveRefusalTest, RegisterRowNeverHoldsTheVisitBack)
{
    PatientStore patients(archive());
    // A key longer than the register takes: the visit is saved all the same.
    VisitRecord longName = sampleVisit(QString(30, QChar(u'王')), QStringLiteral("2026-12-08"), QStringLiteral("k1"));
    const SaveOutcome refused = store().save(longName, 2026);
    EXPECT_FALSE(refused.registered);
    EXPECT_TRUE(refused.note.contains(QStringLiteral("未登记"))) << refused.note.toStdString();
    EXPECT_TRUE(store().find(QStringLiteral("k1")));
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT count(*) FROM [患者信息]")), QStringLiteral("0"));

    // An existing patient without a sex on this visit: the row is updated, its sex kept.
    VisitRecord first = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"), QStringLiteral("k2"));
    first.header[FieldSex] = QStringLiteral("女");
    ASSERT_TRUE(store().save(first, 2026).registered);
    VisitRecord again = first;
    again.key = QStringLiteral("k3");
    again.header[FieldSex].clear();
    again.header[FieldDiagnosis] = QStringLiteral("高血压病");
    const SaveOutcome updated = store().save(again, 2026);
    EXPECT_TRUE(updated.registered);
    EXPECT_TRUE(updated.note.isEmpty());
    const auto row = patients.byKey(QStringLiteral("李四ls1991"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->sex, QStringLiteral("女"));
    EXPECT_EQ(row->diagnosis, QStringLiteral("高血压病"));

    // A new patient without a sex is still not registered, and the doctor is told.
    VisitRecord stranger = sampleVisit(QStringLiteral("赵六"), QStringLiteral("2026-12-08"), QStringLiteral("k4"));
    stranger.header[FieldSex].clear();
    const SaveOutcome skipped = store().save(stranger, 2026);
    EXPECT_FALSE(skipped.registered);
    EXPECT_TRUE(skipped.note.contains(QStringLiteral("性别")));
    EXPECT_FALSE(patients.byKey(QStringLiteral("赵六zl1991")));
}

TEST(EngineErrorText, ChineseFirstEngineTextInBrackets)
{
    const struct { int code; const char *engine; const char *expected; } cases[] = {
        {SQLITE_FULL, "database or disk is full", "磁盘空间已满（database or disk is full）"},
        {SQLITE_IOERR_WRITE, "disk I/O error", "读写磁盘出错（disk I/O error）"},
        {SQLITE_CORRUPT, "database disk image is malformed", "数据文件已损坏（database disk image is malformed）"},
        {SQLITE_BUSY, "database is locked", "数据文件正被其他程序占用（database is locked）"},
        {SQLITE_READONLY, "attempt to write a readonly database", "数据文件只能读、不能写入（attempt to write a readonly database）"},
        {SQLITE_CONSTRAINT, "", "数据不符合数据表的要求"},
        {200, "odd", "数据库出错，代码 200（odd）"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(engineErrorText(c.code, QString::fromUtf8(c.engine)), QString::fromUtf8(c.expected)) << c.code;
    EXPECT_TRUE(isDamageCode(SQLITE_CORRUPT));
    EXPECT_TRUE(isDamageCode(SQLITE_NOTADB));
    EXPECT_FALSE(isDamageCode(SQLITE_FULL));
    EXPECT_FALSE(isDamageCode(SQLITE_IOERR_READ));
}

// The server's failures speak of the server, not of this computer's files and disk; damaged
// data there is advised on as the server's.
TEST(ServerErrorText, TheServersFailuresNameTheServer)
{
    EXPECT_EQ(serverErrorText(SQLITE_IOERR, QStringLiteral("server closed the connection unexpectedly")),
              QStringLiteral("与数据库服务器的连接出错（server closed the connection unexpectedly）"));
    EXPECT_EQ(serverErrorText(SQLITE_FULL, QStringLiteral("could not extend file")), QStringLiteral("数据库服务器的磁盘空间已满（could not extend file）"));
    EXPECT_EQ(serverErrorText(SQLITE_CONSTRAINT, QString()), QStringLiteral("数据不符合数据表的要求"));
    const QString onServer = failureMessage(QStringLiteral("病历未能保存"), DbError::fromServer(SQLITE_CORRUPT, QStringLiteral("invalid page")), QStringLiteral("/nowhere"));
    EXPECT_TRUE(onServer.startsWith(QStringLiteral("病历未能保存：数据库服务器报告数据已损坏（invalid page）"))) << onServer.toStdString();
    EXPECT_TRUE(onServer.contains(QStringLiteral("服务器管理员"))) << onServer.toStdString();
    EXPECT_FALSE(onServer.contains(QStringLiteral("/nowhere")));
    const QString onFile = failureMessage(QStringLiteral("病历未能保存"), DbError::fromEngine(SQLITE_CORRUPT, QString()), QStringLiteral("/nowhere"));
    EXPECT_TRUE(onFile.contains(QStringLiteral("备份文件夹"))) << onFile.toStdString();
}

TEST_P(SaveRefusalTest, EngineFailuresReachTheDoctorInChinese)
{
    try {
        archive().exec(QStringLiteral("INSERT INTO [档案] ([0], [9]) VALUES ('', '2026-12-08')"));
        ADD_FAILURE();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("数据不符合数据表的要求（"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("constraint")));
    }
}

} // namespace
