#include "app/backup_copies.h"
#include "app/backup_list_model.h"
#include "app/backup_restore.h"
#include "app/shutdown_backup.h"
#include "data/database.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "support/data_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace quillora;
using namespace quillora::test;

namespace {

class BackupRestoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 5)));
        workspace = std::make_unique<Workspace>(folder.paths());
        createDataFiles(workspace->files());
        workspace->files().open();
    }
    void TearDown() override
    {
        workspace->files().close();
        Clock::reset();
    }

    Database &archive() { return workspace->archive(); }
    const AppPaths &paths() const { return workspace->paths(); }
    QString live(const QString &name) const { return QDir(workspace->paths().dataFolder).filePath(name); }

    void addVisits(int from, int count, const QString &date)
    {
        for (int i = from; i < from + count; ++i)
            VisitStore(archive()).save(sampleVisit(QStringLiteral("病人%1").arg(i), date,
                                                   QStringLiteral("%1 08:%2:00").arg(date).arg(i % 60, 2, 10, QLatin1Char('0'))),
                                       2026);
    }
    // The backup of a day as the program makes it, its files dated to the given moment.
    BackupCopy backUp(const QDate &day, const QDateTime &written)
    {
        EXPECT_TRUE(backupNow(*workspace, day).isEmpty());
        const QString data = QDir(ShutdownBackup(paths()).dayFolder(day)).filePath(kDataFolderName);
        for (const QString &name : {kArchiveFileName, kSettingsFileName}) {
            QFile file(QDir(data).filePath(name));
            file.open(QIODevice::ReadWrite);
            file.setFileTime(written, QFileDevice::FileModificationTime);
        }
        return copyNamed(ShutdownBackup::dayFolderName(day));
    }
    BackupCopy copyNamed(const QString &name) const
    {
        for (const BackupCopy &copy : listBackupCopies(paths().backupRoot)) {
            if (copy.name == name)
                return copy;
        }
        ADD_FAILURE() << "no copy " << name.toStdString();
        return {};
    }
    qint64 visitsIn(Database &db) { return scalar(db, QStringLiteral("SELECT count(*) FROM [档案]")).toLongLong(); }
    QString institution(Database &db) { return scalar(db, QStringLiteral("SELECT [名称] FROM [设置]")); }

    TempProgramFolder folder;
    std::unique_ptr<Workspace> workspace;
};

TEST_F(BackupRestoreTest, ListsDayAndAsideFoldersNewestFirstAndNothingElse)
{
    addVisits(0, 3, QStringLiteral("2026-12-07"));
    backUp(QDate(2026, 12, 7), QDateTime(QDate(2026, 12, 7), QTime(18, 0)));
    backUp(QDate(2026, 12, 9), QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    backUp(QDate(2026, 11, 28), QDateTime(QDate(2026, 11, 28), QTime(18, 0)));
    const QDir root(paths().backupRoot);
    // Folders the backup never names, and a day folder whose copy is gone.
    for (const char *name : {"照片", "32日", "08日", "0日", "恢复前-2026", "15日"})
        root.mkpath(QString::fromUtf8(name));
    QDir(root.filePath(QStringLiteral("恢复前-20261208-101500-2/档案数据库"))).mkpath(QStringLiteral("."));
    QFile::copy(copyNamed(QStringLiteral("9日")).archivePath(), root.filePath(QStringLiteral("恢复前-20261208-101500-2/档案数据库/档案.dat")));
    QFile aside(root.filePath(QStringLiteral("恢复前-20261208-101500-2/档案数据库/档案.dat")));
    aside.open(QIODevice::ReadWrite);
    aside.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(10, 15)), QFileDevice::FileModificationTime);

    const QList<BackupCopy> copies = listBackupCopies(paths().backupRoot);
    QStringList names;
    for (const BackupCopy &copy : copies)
        names << copy.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("9日"), QStringLiteral("恢复前-20261208-101500-2"), QStringLiteral("7日"),
                                  QStringLiteral("28日"), QStringLiteral("15日")}));
    EXPECT_EQ(copies[1].kind, BackupCopy::Kind::BeforeRestore);
    EXPECT_EQ(copies[0].kind, BackupCopy::Kind::Day);
    EXPECT_EQ(copies[0].copiedAt, QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    EXPECT_EQ(copies[0].size, QFileInfo(copies[0].archivePath()).size() + QFileInfo(copies[0].settingsPath()).size());
    EXPECT_EQ(copies[1].size, QFileInfo(copies[1].archivePath()).size());  // its settings copy is missing
    EXPECT_FALSE(copies[4].copiedAt.isValid());
    EXPECT_EQ(copies[4].size, 0);
}

// What a check finds in a copy decides whether it can be restored; every kind of failure
// says which file it is and why.
TEST_F(BackupRestoreTest, ChecksFindGoodDamagedWrongKeyTruncatedAndMissingCopies)
{
    addVisits(0, 40, QStringLiteral("2026-12-05"));
    addVisits(40, 2, QStringLiteral("2026-12-09"));
    const BackupCopy copy = backUp(QDate(2026, 12, 9), QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    const BackupCheck good = checkBackupCopy(copy);
    EXPECT_EQ(good.state, BackupCheck::State::Good);
    EXPECT_TRUE(good.restorable());
    EXPECT_EQ(good.visits, 42);
    EXPECT_EQ(good.newestVisit, QStringLiteral("2026-12-09"));
    EXPECT_TRUE(good.problem.isEmpty());

    const QByteArray archiveBytes = readFile(copy.archivePath());
    const QByteArray settingsBytes = readFile(copy.settingsPath());
    const auto rewrite = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    const qint64 half = archiveBytes.size() / 2;
    const struct
    {
        const char *what;
        std::function<void()> spoil;
        BackupCheck::State state;
        const char *file;
    } cases[] = {
        {"a page inside", [&] { damageFile(copy.archivePath(), half); }, BackupCheck::State::Damaged, "档案.dat"},
        {"the first page", [&] { damageFile(copy.archivePath(), 100); }, BackupCheck::State::WrongKey, "档案.dat"},
        {"cut in half", [&] { rewrite(copy.archivePath(), archiveBytes.left(half)); }, BackupCheck::State::Damaged, "档案.dat"},
        {"cut mid-page", [&] { rewrite(copy.archivePath(), archiveBytes.left(half + 1000)); }, BackupCheck::State::Damaged,
         "档案.dat"},
        {"the settings key on the archive",
         [&] {
             QFile::remove(copy.archivePath());
             Database other;
             other.open(copy.archivePath(), kSettingsKey);
             other.exec(QStringLiteral("CREATE TABLE [档案] ([9] TEXT)"));
         },
         BackupCheck::State::WrongKey, "档案.dat"},
        {"a damaged settings copy", [&] { damageFile(copy.settingsPath(), QFileInfo(copy.settingsPath()).size() / 2); },
         BackupCheck::State::Damaged, "设置.dat"},
        {"no settings copy", [&] { QFile::remove(copy.settingsPath()); }, BackupCheck::State::Missing, "设置.dat"},
        {"no archive copy", [&] { QFile::remove(copy.archivePath()); }, BackupCheck::State::Missing, "档案.dat"},
    };
    for (const auto &c : cases) {
        rewrite(copy.archivePath(), archiveBytes);
        rewrite(copy.settingsPath(), settingsBytes);
        c.spoil();
        const BackupCheck check = checkBackupCopy(copy);
        EXPECT_EQ(check.state, c.state) << c.what << ": " << check.problem.toStdString();
        EXPECT_FALSE(check.restorable()) << c.what;
        EXPECT_TRUE(check.problem.contains(QString::fromUtf8(c.file))) << c.what << ": " << check.problem.toStdString();
        EXPECT_TRUE(restoreButtonCaption(check).startsWith(QStringLiteral("不能恢复："))) << c.what;
    }
}

TEST_F(BackupRestoreTest, RestoreSetsTheCurrentFilesAsideAndOpensTheCopy)
{
    addVisits(0, 5, QStringLiteral("2026-12-07"));
    const BackupCopy seventh = backUp(QDate(2026, 12, 7), QDateTime(QDate(2026, 12, 7), QTime(18, 0)));
    addVisits(5, 4, QStringLiteral("2026-12-10"));
    archive().exec(QStringLiteral("UPDATE [密码] SET [密码] = 'later'"));
    workspace->settings().exec(QStringLiteral("UPDATE [设置] SET [名称] = '后来改的名称'"));
    workspace->settingsRecord().values().institution = QStringLiteral("窗口里未保存的名称");
    workspace->files().close();
    const QByteArray archiveBefore = readFile(live(kArchiveFileName));
    const QByteArray settingsBefore = readFile(live(kSettingsFileName));
    // A journal left beside the archive by a crash must not be played back into the restored
    // file. (The files stay closed: opening them would clear a journal that is not a real one.)
    QFile journal(live(kArchiveFileName) + QStringLiteral("-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(1024, '\x42'));
    journal.close();

    QString backedUpInstitution;
    {
        Database copy;
        copy.open(seventh.settingsPath(), kSettingsKey, Database::Access::ReadOnly);
        backedUpInstitution = institution(copy);
    }
    ASSERT_NE(backedUpInstitution, QStringLiteral("后来改的名称"));
    const RestoreResult result = restoreBackupCopy(*workspace, seventh, Clock::now());
    ASSERT_TRUE(result.restored) << result.problem.toStdString();
    EXPECT_TRUE(result.problem.isEmpty());
    EXPECT_EQ(result.asideFolder, QDir(paths().backupRoot).filePath(QStringLiteral("恢复前-20261210-093005")));
    ASSERT_TRUE(workspace->files().isOpen());
    EXPECT_EQ(visitsIn(archive()), 5);
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT [密码] FROM [密码]")), QStringLiteral("816"));
    EXPECT_EQ(institution(workspace->settings()), backedUpInstitution);
    EXPECT_FALSE(workspace->settingsRecord().isLoaded());
    EXPECT_FALSE(QFile::exists(journal.fileName()));
    EXPECT_EQ(scalar(archive(), QStringLiteral("PRAGMA quick_check")), QStringLiteral("ok"));

    const QString asideData = QDir(result.asideFolder).filePath(kDataFolderName);
    EXPECT_EQ(readFile(QDir(asideData).filePath(kArchiveFileName)), archiveBefore);
    EXPECT_EQ(readFile(QDir(asideData).filePath(kSettingsFileName)), settingsBefore);
    EXPECT_EQ(readFile(QDir(asideData).filePath(kArchiveFileName + QStringLiteral("-journal.留存"))), QByteArray(1024, '\x42'));
    EXPECT_EQ(QDir(paths().dataFolder).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());

    // The files set aside are a copy like any other: restoring it undoes the restore, and a
    // second restore in the same second gets a folder of its own.
    const BackupCopy aside = copyNamed(QStringLiteral("恢复前-20261210-093005"));
    EXPECT_EQ(aside.kind, BackupCopy::Kind::BeforeRestore);
    ASSERT_TRUE(checkBackupCopy(aside).restorable());
    const RestoreResult undo = restoreBackupCopy(*workspace, aside, Clock::now());
    ASSERT_TRUE(undo.restored) << undo.problem.toStdString();
    EXPECT_TRUE(undo.asideFolder.endsWith(QStringLiteral("恢复前-20261210-093005-2")));
    EXPECT_EQ(visitsIn(archive()), 9);
    EXPECT_EQ(institution(workspace->settings()), QStringLiteral("后来改的名称"));
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT [密码] FROM [密码]")), QStringLiteral("later"));
}

// The copy is checked again as it lands: one that went bad after the window checked it,
// or one that is gone, leaves the current files exactly as they were, open and in use.
TEST_F(BackupRestoreTest, FailedRestoreLeavesTheCurrentFilesInPlace)
{
    addVisits(0, 30, QStringLiteral("2026-12-07"));
    const BackupCopy seventh = backUp(QDate(2026, 12, 7), QDateTime(QDate(2026, 12, 7), QTime(18, 0)));
    ASSERT_TRUE(checkBackupCopy(seventh).restorable());
    addVisits(30, 2, QStringLiteral("2026-12-10"));
    const auto liveBytes = [&] {
        workspace->files().close();
        const QByteArrayList bytes{readFile(live(kArchiveFileName)), readFile(live(kSettingsFileName))};
        workspace->files().open();
        return bytes;
    };
    const QByteArrayList before = liveBytes();

    const struct
    {
        const char *what;
        std::function<void()> spoil;
        const char *said;
    } cases[] = {
        {"archive copy damaged", [&] { damageFile(seventh.archivePath(), QFileInfo(seventh.archivePath()).size() / 2); },
         "档案.dat"},
        {"settings copy damaged", [&] { damageFile(seventh.settingsPath(), QFileInfo(seventh.settingsPath()).size() / 2); },
         "设置.dat"},
        {"settings copy gone", [&] { QFile::remove(seventh.settingsPath()); }, "设置.dat"},
    };
    for (const auto &c : cases) {
        c.spoil();
        const RestoreResult result = restoreBackupCopy(*workspace, seventh, Clock::now());
        EXPECT_FALSE(result.restored) << c.what;
        EXPECT_TRUE(result.problem.contains(QString::fromUtf8(c.said))) << c.what << ": " << result.problem.toStdString();
        EXPECT_TRUE(result.asideFolder.isEmpty()) << c.what;
        ASSERT_TRUE(workspace->files().isOpen()) << c.what;
        EXPECT_EQ(visitsIn(archive()), 32) << c.what;
        EXPECT_EQ(liveBytes(), before) << c.what;
        EXPECT_EQ(QDir(paths().dataFolder).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList()) << c.what;
        EXPECT_EQ(QDir(paths().backupRoot).entryList({QStringLiteral("恢复前-*")}, QDir::Dirs), QStringList()) << c.what;
        backUp(QDate(2026, 12, 7), QDateTime(QDate(2026, 12, 7), QTime(18, 0)));  // a good copy again for the next case
    }
}

} // namespace
