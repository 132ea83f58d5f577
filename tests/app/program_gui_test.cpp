#include "base/clock.h"
#include "app/login_window.h"
#include "data/data_files.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "base/message_dialog.h"
#include "app/program_gui.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "workstation/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        Clock::setFixed(QDateTime(QDate(2026, 12, 3), QTime(8, 0)));
    }
    void TearDown() override { Clock::reset(); }

    void login(Program &program, const QString &password)
    {
        LoginWindow *window = program.loginWindow();
        window->passwordBox()->clear();
        QTest::keyClicks(window->passwordBox(), password);
        QTest::keyClick(window->passwordBox(), Qt::Key_Return);
    }
    QString backupDay() const { return folder.file(QStringLiteral("电子处方数据备份/3日")); }

    TempProgramFolder folder;
};

TEST_F(ProgramTest, FirstStartCreatesBothFilesAndTheInitialPasswordOpens)
{
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("档案数据库/档案.dat"))));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("档案数据库/设置.dat"))));
    LoginWindow *window = program.loginWindow();
    EXPECT_EQ(window->objectName(), QStringLiteral("Form9"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("登录"));
    EXPECT_TRUE(window->findChild<QLabel *>(QStringLiteral("hintLabel"))->isVisible());
    EXPECT_EQ(window->findChild<QPushButton *>(QStringLiteral("okButton"))->text(), QStringLiteral("确  定"));
    EXPECT_EQ(window->passwordBox()->echoMode(), QLineEdit::Password);

    login(program, QStringLiteral("815"));
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("密码错误！"));
    EXPECT_EQ(MessageDialog::shown().last().title, QStringLiteral("提示"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->passwordBox()->text(), QStringLiteral("815"));  // the typed text stays
    EXPECT_EQ(program.mainWindow(), nullptr);

    login(program, QStringLiteral(" 816 "));
    ASSERT_NE(program.mainWindow(), nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program.mainWindow()->isVisible());
    EXPECT_EQ(program.mainWindow()->windowTitle(), QStringLiteral("Quillora V5.0"));
}

// An archive of an earlier version is brought up to date before the login window: a notice
// window says so while it happens and is gone when the login window shows.
TEST_F(ProgramTest, ALongFirstOpeningOfAnOlderArchiveIsAnnounced)
{
    {
        Program first(folder.path(), folder.executable());
        ASSERT_TRUE(first.start());
        first.workspace()->archive().exec(QStringLiteral("DROP INDEX [档案_日志]"));
        first.loginWindow()->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    }
    struct ShownWindows : QObject
    {
        QStringList names;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && watched->isWidgetType())
                names << watched->objectName();
            return false;
        }
    } shown;
    qApp->installEventFilter(&shown);
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    qApp->removeEventFilter(&shown);
    EXPECT_TRUE(shown.names.contains(QStringLiteral("longStepNotice")));
    for (QWidget *w : qApp->topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QStringLiteral("longStepNotice") && w->isVisible());
    EXPECT_TRUE(program.loginWindow()->isVisible());
}

TEST_F(ProgramTest, ClosingTheMainWindowBacksUpAndExitLeavesNone)
{
    {
        Program program(folder.path(), folder.executable());
        ASSERT_TRUE(program.start());
        login(program, QStringLiteral("816"));
        QSignalSpy finished(&program, &Program::finished);
        program.mainWindow()->findChild<QAction *>(QStringLiteral("exitAction"))->trigger();
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(QDir(backupDay()).exists());
    }
    {
        Program program(folder.path(), folder.executable());
        ASSERT_TRUE(program.start());
        login(program, QStringLiteral("816"));
        QSignalSpy finished(&program, &Program::finished);
        program.mainWindow()->close();
        EXPECT_EQ(finished.count(), 1);
        EXPECT_TRUE(QFile::exists(backupDay() + QStringLiteral("/档案数据库/档案.dat")));
        EXPECT_TRUE(QFile::exists(backupDay() + QStringLiteral("/档案数据库/设置.dat")));
        EXPECT_TRUE(QFile::exists(backupDay() + QStringLiteral("/quillora")));
        EXPECT_TRUE(MessageDialog::shown().isEmpty());
    }
}

TEST_F(ProgramTest, CancelEndsWithoutBackupAndOneInstancePerFolder)
{
    Program first(folder.path(), folder.executable());
    ASSERT_TRUE(first.start());
    Program second(folder.path(), folder.executable());
    EXPECT_FALSE(second.start());
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("已经在运行")));

    QSignalSpy finished(&first, &Program::finished);
    first.loginWindow()->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(QDir(backupDay()).exists());
    Program third(folder.path(), folder.executable());
    EXPECT_TRUE(third.start());  // the lock went with the first run
}

TEST_F(ProgramTest, UnreadableArchiveRefusesEveryPassword)
{
    QDir().mkpath(folder.file(QStringLiteral("档案数据库")));
    QFile broken(folder.file(QStringLiteral("档案数据库/档案.dat")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(8192, '\x11'));
    broken.close();
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    EXPECT_FALSE(program.loginWindow()->findChild<QLabel *>(QStringLiteral("hintLabel"))->isVisible());
    MessageDialog::setNextAnswer(false);  // not the backup window this time
    login(program, QString());
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("无法读取")));
    MessageDialog::setNextAnswer(false);
    login(program, QStringLiteral("816"));
    EXPECT_EQ(program.mainWindow(), nullptr);
    QFile again(broken.fileName());
    again.open(QIODevice::ReadOnly);
    EXPECT_EQ(again.readAll(), QByteArray(8192, '\x11'));  // never overwritten
}

// The program folder cannot be written and holds visits: the doctor is asked before the login
// instead of being shown an empty archive from the per-user folder.
TEST_F(ProgramTest, ReadOnlyProgramFolderIsNeverHiddenBehindAnEmptyArchive)
{
    DataFiles beside(folder.file(QStringLiteral("档案数据库")));
    createDataFiles(beside);
    beside.open();
    VisitStore(beside.archive()).save(sampleVisit(QStringLiteral("王秀兰"), QStringLiteral("2026-12-01"),
                                                  QStringLiteral("2026-12-01 08:00:00")), 2026);
    beside.close();
    TempProgramFolder user;
    AppPaths paths = folder.paths();
    paths.dataFolder = user.file(QStringLiteral("档案数据库"));
    paths.dataFolderIsFallback = true;

    MessageDialog::setNextAnswer(false);  // 退出程序
    {
        Program quit(paths);
        EXPECT_FALSE(quit.start());
        EXPECT_EQ(quit.loginWindow(), nullptr);
    }
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("不能写入")));
    EXPECT_FALSE(QFile::exists(user.file(QStringLiteral("档案数据库/档案.dat"))));

    MessageDialog::setNextAnswer(true);  // 复制并继续
    Program program(paths);
    ASSERT_TRUE(program.start());
    login(program, QStringLiteral("816"));
    ASSERT_NE(program.mainWindow(), nullptr);
    const auto *results = program.mainWindow()->findChild<QListView *>(QStringLiteral("List4"));
    ASSERT_EQ(results->model()->rowCount(), 1);
    EXPECT_EQ(results->model()->index(0, 0).data().toString(), QStringLiteral("王秀兰[男,35岁,2026-12-01]"));
}

} // namespace
