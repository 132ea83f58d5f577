#include "app/hidden_archive.h"
#include "data/data_files.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

#include <QDir>
#include <QFile>

using namespace quillora;
using namespace quillora::test;

namespace {

// A program folder with its own data files, and a per-user folder the program fell back to.
class HiddenArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
        paths.programFolder = program.path();
        paths.executablePath = program.executable();
        paths.dataFolder = user.file(kDataFolderName);
        paths.backupRoot = user.file(kBackupFolderName);
        paths.dataFolderIsFallback = true;
    }
    void TearDown() override { Clock::reset(); }

    // An archive in a data folder, holding the given number of visits (no settings file:
    // start-up makes a missing one from the template).
    static void makeArchive(const QString &folder, int visits)
    {
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(kArchiveFileName);
        QFile::remove(path);
        createArchiveFile(path);
        Database db;
        db.open(path, kArchiveKey);
        for (int i = 0; i < visits; ++i)
            VisitStore(db).save(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-01"),
                                            QStringLiteral("2026-12-01 08:00:0%1").arg(i)), 2026);
    }
    static qint64 visitsIn(const QString &folder)
    {
        Database db;
        db.open(QDir(folder).filePath(kArchiveFileName), kArchiveKey);
        return scalar(db, QStringLiteral("SELECT count(*) FROM [档案]")).toLongLong();
    }

    TempProgramFolder program;
    TempProgramFolder user;
    AppPaths paths;
};

TEST_F(HiddenArchiveTest, FoundOnlyWhenThePerUserFolderWouldHideVisits)
{
    const QString programData = program.file(kDataFolderName);
    const QString userData = user.file(kDataFolderName);
    EXPECT_FALSE(HiddenArchive::find(paths).found);  // nothing beside the program
    makeArchive(programData, 2);

    AppPaths beside = paths;
    beside.dataFolder = programData;
    beside.dataFolderIsFallback = false;
    EXPECT_FALSE(HiddenArchive::find(beside).found);

    const HiddenArchive hidden = HiddenArchive::find(paths);
    EXPECT_TRUE(hidden.found);  // no per-user files yet
    EXPECT_TRUE(hidden.question().contains(QDir::toNativeSeparators(programData)));
    EXPECT_TRUE(hidden.question().contains(QDir::toNativeSeparators(userData)));

    makeArchive(userData, 0);  // an empty archive an earlier start made there
    EXPECT_TRUE(HiddenArchive::find(paths).found);
    makeArchive(userData, 1);  // the doctor works there now
    EXPECT_FALSE(HiddenArchive::find(paths).found);
}

TEST_F(HiddenArchiveTest, CopyBringsTheVisitsAndKeepsWhatItReplaces)
{
    makeArchive(program.file(kDataFolderName), 3);
    makeArchive(user.file(kDataFolderName), 0);
    const HiddenArchive hidden = HiddenArchive::find(paths);
    ASSERT_TRUE(hidden.found);
    EXPECT_TRUE(hidden.copyIntoUserFolder().isEmpty());
    EXPECT_EQ(visitsIn(user.file(kDataFolderName)), 3);
    EXPECT_FALSE(HiddenArchive::find(paths).found);
    const QStringList keptAside = QDir(user.file(kDataFolderName)).entryList({QStringLiteral("*.复制前-*")}, QDir::Files);
    EXPECT_EQ(keptAside.size(), 1) << keptAside.join(QLatin1Char(' ')).toStdString();

    // A damaged archive beside the program is not copied over anything.
    TempProgramFolder elsewhere;
    AppPaths second = paths;
    second.dataFolder = elsewhere.file(kDataFolderName);
    damageFile(hidden.programDataFolder + QStringLiteral("/档案.dat"), 0, 64);
    EXPECT_FALSE(HiddenArchive::find(second).found);  // offering a copy that must fail would lock the doctor out
    const QStringList problems = HiddenArchive::find(second).copyIntoUserFolder();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("档案.dat"))) << problems[0].toStdString();
    EXPECT_FALSE(QFile::exists(second.dataFolder + QStringLiteral("/档案.dat")));
}

} // namespace
