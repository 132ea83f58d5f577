#include "app/instance_lock.h"
#include "app/startup.h"
#include "data/data_files.h"
#include "data/database.h"
#include "support/data_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <cstdio>
#include <iostream>
#include <string>

using namespace quillora;
using namespace quillora::test;

namespace {

const char kChildFolder[] = "QUILLORA_STARTUP_CHILD";

// Run by the test below in processes of their own: starts on the folder, says how it went and,
// when it got the folder, holds it until its input closes.
TEST(StartupChild, StartsOnTheFolder)
{
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "started by StartUp tests only";
    DataFiles files(folder);
    InstanceLock lock(folder);
    const StartupState state = startUp(files, lock);
    std::printf("%s\n", state.inUse ? "in use" : state.opened && state.password ? "opened" : qPrintable(state.problem));
    std::fflush(stdout);
    if (state.opened) {
        std::string line;
        std::getline(std::cin, line);
        files.close();
    }
}

// Three programs started at once on a folder that does not exist yet: one makes the files,
// the others touch nothing, and the files are whole.
TEST(StartUp, OnlyTheInstanceHoldingTheLockMakesTheFiles)
{
    TempProgramFolder program;
    const QString folder = program.file(kDataFolderName);
    QProcess children[3];
    for (QProcess &child : children) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(kChildFolder), folder);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=StartupChild.*")});
    }
    QStringList said;
    for (QProcess &child : children) {
        QByteArray output;
        while (!output.contains("opened\n") && !output.contains("in use\n") && child.waitForReadyRead(30000))
            output += child.readAllStandardOutput();
        said << (output.contains("opened\n") ? QStringLiteral("opened") : output.contains("in use\n") ? QStringLiteral("in use") : QString::fromUtf8(output));
    }
    for (QProcess &child : children) {
        child.closeWriteChannel();
        EXPECT_TRUE(child.waitForFinished(30000));
    }
    EXPECT_EQ(said.count(QStringLiteral("opened")), 1) << said.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(said.count(QStringLiteral("in use")), 2) << said.join(QStringLiteral(" | ")).toStdString();

    DataFiles files(folder);
    files.open();
    EXPECT_EQ(scalar(files.archive(), QStringLiteral("SELECT [密码] FROM [密码]")), QStringLiteral("816"));
    EXPECT_EQ(scalar(files.archive(), QStringLiteral("PRAGMA quick_check")), QStringLiteral("ok"));
    EXPECT_EQ(scalar(files.settings(), QStringLiteral("PRAGMA quick_check")), QStringLiteral("ok"));
    EXPECT_GT(scalar(files.settings(), QStringLiteral("SELECT count(*) FROM [药品]")).toInt(), 100);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.new")}, QDir::Files).size(), 0);
}

} // namespace
