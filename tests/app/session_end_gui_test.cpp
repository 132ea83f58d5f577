#include "app/login_window.h"
#include "app/program_gui.h"
#include "base/clock.h"
#include "base/message_dialog.h"
#include "support/temp_folder.h"
#include "workstation/main_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

const char kChildFolder[] = "QUILLORA_SESSION_CHILD";

void logIn(Program &program)
{
    QTest::keyClicks(program.loginWindow()->passwordBox(), QStringLiteral("816"));
    QTest::keyClick(program.loginWindow()->passwordBox(), Qt::Key_Return);
}

// Run by the test below in a process of its own: logs in and waits for the end of the session.
TEST(SessionEndChild, RunsUntilTheSessionEnds)
{
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "started by SessionEnd tests only";
    MessageDialog::setScripted(true);
    Clock::setFixed(QDateTime(QDate(2026, 12, 3), QTime(18, 0)));
    Program program(folder, QDir(folder).filePath(QStringLiteral("quillora")));
    ASSERT_TRUE(program.start());
    logIn(program);
    ASSERT_NE(program.mainWindow(), nullptr);
    QEventLoop loop;
    QObject::connect(&program, &Program::finished, &loop, &QEventLoop::quit);
    std::printf("ready\n");
    std::fflush(stdout);
    loop.exec();
    Clock::reset();
}

// A shutdown, a logout or a closed terminal ends the program the normal way: the backup runs.
TEST(SessionEnd, TerminationSignalsCloseTheWindowAndBackUp)
{
    struct Child
    {
        int signal;
        TempProgramFolder folder;
        QProcess process;
    };
    Child children[2];
    children[0].signal = SIGTERM;
    children[1].signal = SIGHUP;
    for (Child &child : children) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(kChildFolder), child.folder.path());
        child.process.setProcessEnvironment(environment);
        child.process.start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--gtest_filter=SessionEndChild.RunsUntilTheSessionEnds")});
    }
    for (Child &child : children) {
        QByteArray output;
        while (!output.contains("ready\n") && child.process.waitForReadyRead(30000))
            output += child.process.readAllStandardOutput();
        ASSERT_TRUE(output.contains("ready\n")) << output.toStdString();
        ::kill(pid_t(child.process.processId()), child.signal);
    }
    for (Child &child : children) {
        ASSERT_TRUE(child.process.waitForFinished(30000));
        EXPECT_EQ(child.process.exitStatus(), QProcess::NormalExit) << "signal " << child.signal;
        EXPECT_EQ(child.process.exitCode(), 0) << child.process.readAll().toStdString();
        EXPECT_TRUE(QFile::exists(child.folder.file(QStringLiteral("电子处方数据备份/3日/档案数据库/档案.dat"))))
            << "signal " << child.signal;
    }
}

// The desktop's session manager asks the program to save its data before a logout.
TEST(SessionEnd, CommitDataRequestClosesTheWindowAndBacksUp)
{
    MessageDialog::setScripted(true);
    Clock::setFixed(QDateTime(QDate(2026, 12, 3), QTime(18, 0)));
    TempProgramFolder folder;
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    logIn(program);
    QSignalSpy finished(&program, &Program::finished);
    // The signal carries a session manager that only Qt can make; the program does not use it.
    const QMetaObject &meta = QGuiApplication::staticMetaObject;
    const int index = meta.indexOfSignal("commitDataRequest(QSessionManager&)") - meta.methodOffset();
    ASSERT_GE(index, 0);
    void *arguments[] = {nullptr, nullptr};
    QMetaObject::activate(QCoreApplication::instance(), &meta, index, arguments);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("电子处方数据备份/3日/档案数据库/档案.dat"))));
    Clock::reset();
}

} // namespace
