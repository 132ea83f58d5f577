#include "base/app_paths.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

TEST(AppPaths, DataBesideTheProgramOrInTheUserFolder)
{
    TempProgramFolder folder;
    const AppPaths beside = folder.paths();
    EXPECT_FALSE(beside.dataFolderIsFallback);
    EXPECT_EQ(beside.dataFolder, folder.file(QStringLiteral("档案数据库")));
    EXPECT_EQ(beside.backupRoot, folder.file(QStringLiteral("电子处方数据备份")));

    // A program folder that cannot hold a data folder (a file stands in its way).
    QStandardPaths::setTestModeEnabled(true);
    QFile blocker(folder.file(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const AppPaths elsewhere = AppPaths::locate(folder.file(QStringLiteral("blocked")), folder.executable());
    EXPECT_TRUE(elsewhere.dataFolderIsFallback);
    EXPECT_TRUE(elsewhere.dataFolder.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    EXPECT_TRUE(QDir(elsewhere.dataFolder).exists());
    EXPECT_TRUE(elsewhere.backupRoot.endsWith(QStringLiteral("/电子处方数据备份")));
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}
