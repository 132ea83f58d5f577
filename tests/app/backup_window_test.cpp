#include "app/backup_list_model.h"
#include "app/backup_window.h"
#include "app/login_window.h"
#include "app/program_gui.h"
#include "app/shutdown_backup.h"
#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "dictionaries/drug_catalogue_window.h"
#include "support/data_fixture.h"
#include "workstation/dictionary_windows_gui.h"
#include "workstation/main_window.h"
#include "settings/settings_window.h"
#include "workstation/sheet_widget.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

class BackupWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        MessageDialog::shown().clear();
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    void TearDown() override { Clock::reset(); }

    static void addVisits(Database &archive, const QString &name, int count, const QString &date)
    {
        for (int i = 0; i < count; ++i)
            VisitStore(archive).save(sampleVisit(name, date, QStringLiteral("%1 08:%2:00").arg(date).arg(i, 2, 10, QLatin1Char('0'))),
                                     2026);
    }
    // Every copy of the window has been checked.
    static void waitForChecks(BackupWindow *window)
    {
        if (window->isChecking() || window->model()->checkedCount() < window->model()->rowCount()) {
            QSignalSpy done(window, &BackupWindow::checkingFinished);
            ASSERT_TRUE(done.wait(30000));
        }
    }
    static int rowNamed(BackupWindow *window, const QString &name)
    {
        for (int row = 0; row < window->model()->rowCount(); ++row) {
            if (window->model()->copy(row).name == name)
                return row;
        }
        return -1;
    }
    static QPushButton *buttonOf(QWidget *window, const char *name)
    {
        return window->findChild<QPushButton *>(QLatin1String(name));
    }
    static void choose(BackupWindow *window, const QString &name)
    {
        const int row = rowNamed(window, name);
        ASSERT_GE(row, 0) << name.toStdString();
        window->table()->setCurrentIndex(window->model()->index(row, 0));
    }
    void login(Program &program)
    {
        QTest::keyClicks(program.loginWindow()->passwordBox(), QStringLiteral("816"));
        QTest::keyClick(program.loginWindow()->passwordBox(), Qt::Key_Return);
    }
    static int listedVisits(Program &program)
    {
        return program.mainWindow()->findChild<QListView *>(QStringLiteral("List4"))->model()->rowCount();
    }
    // "立即备份" on the given day, through the window.
    static void backUpOn(BackupWindow *window, const QDate &day)
    {
        Clock::setFixed(QDateTime(day, QTime(18, 0)));
        buttonOf(window, "backupNowButton")->click();
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }

    TempProgramFolder folder;
};

TEST_F(BackupWindowTest, ListsTheCopiesChecksThemAndTheRestoreButtonSaysWhyNot)
{
    Workspace workspace(folder.paths());
    createDataFiles(workspace.files());
    workspace.files().open();
    addVisits(workspace.archive(), QStringLiteral("李四"), 3, QStringLiteral("2026-12-06"));
    auto *window = new BackupWindow(workspace);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("数据备份与恢复"));
    EXPECT_EQ(window->model()->rowCount(), 0);
    EXPECT_FALSE(buttonOf(window, "restoreButton")->isEnabled());
    EXPECT_TRUE(window->findChild<QLabel *>(QStringLiteral("checkLabel"))->text().contains(QStringLiteral("还没有备份")));

    backUpOn(window, QDate(2026, 12, 6));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("今日备份已完成")));
    EXPECT_TRUE(workspace.files().isOpen());
    addVisits(workspace.archive(), QStringLiteral("王五"), 2, QStringLiteral("2026-12-08"));
    backUpOn(window, QDate(2026, 12, 8));
    backUpOn(window, QDate(2026, 12, 9));
    const QString ninth = ShutdownBackup(workspace.paths()).dayFolder(QDate(2026, 12, 9));
    const QString ninthArchive = QDir(ninth).filePath(QStringLiteral("档案数据库/档案.dat"));
    damageFile(ninthArchive, QFile(ninthArchive).size() / 2);
    window->refresh();
    ASSERT_EQ(window->model()->rowCount(), 3);
    // Before its check a copy cannot be restored, and the window says it is checking.
    EXPECT_TRUE(window->findChild<QProgressBar *>(QStringLiteral("checkProgress"))->isVisibleTo(window));
    EXPECT_TRUE(window->findChild<QLabel *>(QStringLiteral("checkLabel"))->text().startsWith(QStringLiteral("正在检查备份")));
    waitForChecks(window);

    EXPECT_FALSE(window->findChild<QProgressBar *>(QStringLiteral("checkProgress"))->isVisibleTo(window));
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("checkLabel"))->text(), QStringLiteral("检查完毕：2 份完好，1 份不能恢复。"));
    const QAbstractItemModel *model = window->table()->model();
    const int eighth = rowNamed(window, QStringLiteral("8日"));
    EXPECT_EQ(model->index(eighth, BackupListModel::VisitsColumn).data().toString(), QStringLiteral("5"));
    EXPECT_EQ(model->index(eighth, BackupListModel::NewestColumn).data().toString(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(model->index(eighth, BackupListModel::StateColumn).data().toString(), QStringLiteral("完好"));
    EXPECT_EQ(model->index(rowNamed(window, QStringLiteral("6日")), BackupListModel::VisitsColumn).data().toString(), QStringLiteral("3"));

    choose(window, QStringLiteral("9日"));
    QPushButton *restore = buttonOf(window, "restoreButton");
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_EQ(restore->text(), QStringLiteral("不能恢复：已损坏"));
    EXPECT_TRUE(window->findChild<QLabel *>(QStringLiteral("reasonLabel"))->text().contains(QStringLiteral("档案.dat")));
    choose(window, QStringLiteral("8日"));
    EXPECT_TRUE(restore->isEnabled());
    EXPECT_EQ(restore->text(), QStringLiteral("恢复"));
    EXPECT_TRUE(window->findChild<QLabel *>(QStringLiteral("reasonLabel"))->text().isEmpty());

    // A window that will not let go of its data holds the restore back, and the doctor is told.
    addVisits(workspace.archive(), QStringLiteral("钱七"), 1, QStringLiteral("2026-12-10"));
    window->setBeforeRestore([] { return QStringLiteral("输液执行卡未能关闭"); });
    MessageDialog::setNextAnswer(true);
    restore->click();
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("输液执行卡未能关闭"));
    EXPECT_TRUE(QDir(workspace.paths().backupRoot).entryList({QStringLiteral("恢复前-*")}, QDir::Dirs).isEmpty());
    EXPECT_EQ(scalar(workspace.archive(), QStringLiteral("SELECT count(*) FROM [档案]")), QStringLiteral("6"));
    window->close();
}

// From the File menu: the doctor confirms a restore that names the day and its newest visit,
// and the main window then shows the restored archive; a no changes nothing.
TEST_F(BackupWindowTest, RestoreFromTheMenuShowsTheRestoredArchive)
{
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    login(program);
    ASSERT_NE(program.mainWindow(), nullptr);
    Workspace &workspace = *program.workspace();
    addVisits(workspace.archive(), QStringLiteral("赵六"), 4, QStringLiteral("2026-12-07"));
    workspace.settings().exec(QStringLiteral("UPDATE [设置] SET [名称] = '备份时的医院'"));
    QAction *menu = program.mainWindow()->menuAction(QStringLiteral("数据备份与恢复"));
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    BackupWindow *window = program.backupWindow();
    ASSERT_NE(window, nullptr);
    backUpOn(window, QDate(2026, 12, 7));
    addVisits(workspace.archive(), QStringLiteral("孙七"), 3, QStringLiteral("2026-12-10"));
    workspace.settings().exec(QStringLiteral("UPDATE [设置] SET [名称] = '后来的医院'"));
    program.mainWindow()->load();
    ASSERT_EQ(listedVisits(program), 7);
    waitForChecks(window);
    choose(window, QStringLiteral("7日"));

    MessageDialog::setNextAnswer(false);
    buttonOf(window, "restoreButton")->click();
    const QString question = MessageDialog::lastText();
    EXPECT_TRUE(question.contains(QStringLiteral("7日")) && question.contains(QStringLiteral("2026-12-07"))
                && question.contains(QStringLiteral("4 份病历")) && question.contains(QStringLiteral("恢复前-20261210-090000")))
        << question.toStdString();
    EXPECT_EQ(listedVisits(program), 7);
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("电子处方数据备份/恢复前-20261210-090000"))).exists());

    // Windows that hold data of the files that go are closed first: the settings window's
    // edits in memory must not be saved over the restored settings.
    program.mainWindow()->openSettings();
    program.workspace()->settingsRecord().values().institution = QStringLiteral("窗口里未保存的名称");
    const QPointer<QWidget> catalogue = program.mainWindow()->dictionaries().openDrugCatalogue();
    ASSERT_TRUE(catalogue->isVisible());
    MessageDialog::setNextAnswer(true);
    buttonOf(window, "restoreButton")->click();
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("已用7日的备份恢复数据"))) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(program.mainWindow()->settingsWindow() == nullptr || !program.mainWindow()->settingsWindow()->isVisible());
    EXPECT_TRUE(!catalogue || !catalogue->isVisible());
    EXPECT_EQ(program.workspace()->settingsRecord().values().institution, QStringLiteral("备份时的医院"));
    EXPECT_EQ(listedVisits(program), 4);
    EXPECT_EQ(program.mainWindow()->areas().sheet->caption(SheetLayout::Institution)->text(), QStringLiteral("备份时的医院"));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("电子处方数据备份/恢复前-20261210-090000/档案数据库/档案.dat"))));
    // The set-aside files are listed at once, to undo the restore with.
    EXPECT_GE(rowNamed(window, QStringLiteral("恢复前-20261210-090000")), 0);
    waitForChecks(window);
}

// The archive copy went bad after the window checked it: the restore is refused, the doctor is
// told why, and the main window still shows the current archive.
TEST_F(BackupWindowTest, FailedRestoreSaysWhyAndKeepsTheCurrentArchive)
{
    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    login(program);
    Workspace &workspace = *program.workspace();
    addVisits(workspace.archive(), QStringLiteral("周八"), 30, QStringLiteral("2026-12-07"));
    program.openBackupWindow();
    BackupWindow *window = program.backupWindow();
    backUpOn(window, QDate(2026, 12, 7));
    addVisits(workspace.archive(), QStringLiteral("吴九"), 2, QStringLiteral("2026-12-10"));
    program.mainWindow()->load();
    waitForChecks(window);
    choose(window, QStringLiteral("7日"));
    const QString copy = folder.file(QStringLiteral("电子处方数据备份/7日/档案数据库/档案.dat"));
    damageFile(copy, QFile(copy).size() / 2);

    MessageDialog::setNextAnswer(true);
    buttonOf(window, "restoreButton")->click();
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("数据未能恢复，现在的数据文件没有改动。")));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("档案.dat")));
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Critical);
    EXPECT_TRUE(workspace.files().isOpen());
    program.mainWindow()->load();
    EXPECT_EQ(listedVisits(program), 32);
    waitForChecks(window);
    choose(window, QStringLiteral("7日"));
    EXPECT_EQ(buttonOf(window, "restoreButton")->text(), QStringLiteral("不能恢复：已损坏"));
}

// A login that cannot read the archive offers the backup window; after the restore the
// password of the restored archive opens the program.
TEST_F(BackupWindowTest, LoginWithADamagedArchiveOffersTheRestore)
{
    {
        Program program(folder.path(), folder.executable());
        ASSERT_TRUE(program.start());
        login(program);
        addVisits(program.workspace()->archive(), QStringLiteral("郑十"), 2, QStringLiteral("2026-12-09"));
        Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
        program.mainWindow()->close();  // the backup of the 9th
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    damageFile(folder.file(QStringLiteral("档案数据库/档案.dat")), 0, 4096);

    Program program(folder.path(), folder.executable());
    ASSERT_TRUE(program.start());
    MessageDialog::setNextAnswer(false);  // 关闭
    login(program);
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("数据备份与恢复")));
    EXPECT_EQ(program.backupWindow(), nullptr);
    EXPECT_EQ(program.mainWindow(), nullptr);

    MessageDialog::setNextAnswer(true);  // 数据备份与恢复
    program.loginWindow()->passwordBox()->clear();
    login(program);
    BackupWindow *window = program.backupWindow();
    ASSERT_NE(window, nullptr);
    waitForChecks(window);
    choose(window, QStringLiteral("9日"));
    MessageDialog::setNextAnswer(true);
    buttonOf(window, "restoreButton")->click();
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("已用9日的备份恢复数据"))) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(program.loginWindow()->findChild<QLabel *>(QStringLiteral("hintLabel"))->isVisibleTo(program.loginWindow()));

    program.loginWindow()->passwordBox()->clear();
    login(program);
    ASSERT_NE(program.mainWindow(), nullptr);
    EXPECT_EQ(listedVisits(program), 2);
}

} // namespace
