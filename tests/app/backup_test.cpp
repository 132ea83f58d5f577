#include "app/instance_lock.h"
#include "app/shutdown_backup.h"
#include "app/startup.h"
#include "data/data_files.h"
#include "data/database.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace quillora;
using namespace quillora::test;

namespace {

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        paths = folder.paths();
        files = std::make_unique<DataFiles>(paths.dataFolder);
        files->createMissing();
    }
    QString copyOf(const QDate &day, const QString &relative) const
    {
        return QDir(ShutdownBackup(paths).dayFolder(day)).filePath(relative);
    }
    QString readPassword(const QString &archivePath) const
    {
        Database db;
        db.open(archivePath, kArchiveKey);
        return scalar(db, QStringLiteral("SELECT [密码] FROM [密码]"));
    }

    TempProgramFolder folder;
    AppPaths paths;
    std::unique_ptr<DataFiles> files;
};

TEST_F(BackupTest, WritesTheDayFolderAndOverwritesItAMonthLater)
{
    const QDate third(2026, 12, 3);
    EXPECT_EQ(ShutdownBackup::dayFolderName(third), QStringLiteral("3日"));
    EXPECT_EQ(ShutdownBackup::dayFolderName(QDate(2026, 12, 28)), QStringLiteral("28日"));
    EXPECT_TRUE(ShutdownBackup(paths).run(third).isEmpty());
    EXPECT_TRUE(paths.backupRoot.endsWith(QStringLiteral("/电子处方数据备份")));
    EXPECT_TRUE(QFile::exists(copyOf(third, QStringLiteral("档案数据库/档案.dat"))));
    EXPECT_TRUE(QFile::exists(copyOf(third, QStringLiteral("档案数据库/设置.dat"))));
    EXPECT_TRUE(QFile::exists(copyOf(third, QStringLiteral("quillora"))));
    EXPECT_EQ(readPassword(copyOf(third, QStringLiteral("档案数据库/档案.dat"))), QStringLiteral("816"));

    files->open();
    files->archive().exec(QStringLiteral("UPDATE [密码] SET [密码] = 'next-month'"));
    files->close();
    EXPECT_TRUE(ShutdownBackup(paths).run(QDate(2027, 1, 3)).isEmpty());
    EXPECT_EQ(readPassword(copyOf(third, QStringLiteral("档案数据库/档案.dat"))), QStringLiteral("next-month"));
    EXPECT_EQ(QDir(paths.backupRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("3日")});
    EXPECT_EQ(QDir(copyOf(third, QStringLiteral("档案数据库"))).entryList(QDir::Files).size(), 2);  // no leftovers
}

TEST_F(BackupTest, FailedCopiesAreReportedAndKeepTheOlderBackup)
{
    const QDate day(2026, 12, 8);
    ASSERT_TRUE(ShutdownBackup(paths).run(day).isEmpty());
    QFile::remove(paths.executablePath);
    // A damaged settings file must not replace yesterday's good copy unnoticed.
    QFile settings(QDir(paths.dataFolder).filePath(kSettingsFileName));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(QByteArray(4096, 'x'));
    settings.close();
    const QStringList problems = ShutdownBackup(paths).run(day);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems.join(QLatin1Char('\n')).contains(QStringLiteral("设置.dat")));
    EXPECT_TRUE(problems.join(QLatin1Char('\n')).contains(QStringLiteral("quillora")));
    EXPECT_TRUE(QFile::exists(copyOf(day, QStringLiteral("quillora"))));
}

// The day's copy is checked before it replaces the older one: a live file that is damaged
// (a page inside, or the whole file) leaves the last good copy as it was, and the message says so.
TEST_F(BackupTest, DamagedLiveFileNeverReplacesTheGoodCopy)
{
    files->open();
    VisitRecord visit = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:00"));
    visit.body = QStringLiteral("当归 10g  川芎 6g\r\n").repeated(600);
    VisitStore(files->archive()).save(visit, 2026);
    files->close();
    const QDate day(2026, 12, 8);
    ASSERT_TRUE(ShutdownBackup(paths).run(day).isEmpty());
    const QString archiveCopy = copyOf(day, QStringLiteral("档案数据库/档案.dat"));
    const QString settingsCopy = copyOf(day, QStringLiteral("档案数据库/设置.dat"));
    const QByteArray goodArchive = readFile(archiveCopy);
    const QByteArray goodSettings = readFile(settingsCopy);

    const QString liveArchive = QDir(paths.dataFolder).filePath(kArchiveFileName);
    damageFile(liveArchive, QFileInfo(liveArchive).size() / 2);
    QFile settings(QDir(paths.dataFolder).filePath(kSettingsFileName));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(QByteArray(4096, 'x'));
    settings.close();

    const QStringList problems = ShutdownBackup(paths).run(day);
    ASSERT_EQ(problems.size(), 2) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(problems[0].contains(QStringLiteral("档案.dat")) && problems[0].contains(QStringLiteral("已损坏")))
        << problems[0].toStdString();
    EXPECT_TRUE(problems[1].contains(QStringLiteral("设置.dat")));
    for (const QString &problem : problems)
        EXPECT_TRUE(problem.contains(QDir::toNativeSeparators(ShutdownBackup(paths).dayFolder(day)))) << problem.toStdString();
    EXPECT_EQ(readFile(archiveCopy), goodArchive);
    EXPECT_EQ(readFile(settingsCopy), goodSettings);
    EXPECT_EQ(QDir(copyOf(day, QStringLiteral("档案数据库"))).entryList(QDir::Files).size(), 2);  // no leftovers
}

TEST_F(BackupTest, StartUpReportsAnUnreadableArchive)
{
    files->open();
    files->archive().exec(QStringLiteral("DROP TABLE [密码]"));
    files->close();
    DataFiles again(paths.dataFolder);
    InstanceLock lock(paths.dataFolder);
    const StartupState state = startUp(again, lock);
    EXPECT_TRUE(state.opened);
    EXPECT_FALSE(state.password.has_value());
    EXPECT_FALSE(state.problem.isEmpty());

    QFile archive(again.archivePath());
    again.close();
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly | QIODevice::Truncate));
    archive.write(QByteArray(8192, '\x5a'));
    archive.close();
    DataFiles damaged(paths.dataFolder);
    const StartupState broken = startUp(damaged, lock);
    EXPECT_FALSE(broken.opened);
    EXPECT_TRUE(broken.problem.contains(QStringLiteral("档案.dat"))) << broken.problem.toStdString();
}

} // namespace
