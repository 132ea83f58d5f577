#include "app/backup_list_model.h"
#include "app/backup_window.h"
#include "app/login_window.h"
#include "app/program_gui.h"
#include "app/server_backup.h"
#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/password_store.h"
#include "data/pg_connection.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "support/clinic_database.h"
#include "support/data_fixture.h"
#include "workstation/main_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// The backup window of a room whose clinic keeps its data on the test cluster.
class ServerBackupWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLORA_CLUSTER_OR_SKIP(cluster);
        if (PgTools::locate().restoreProgram().isEmpty())
            GTEST_SKIP() << "pg_dump or pg_restore missing";
        MessageDialog::setScripted(true);
        MessageDialog::shown().clear();
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        m_database = std::make_unique<ClinicDatabase>(*cluster);
        m_workspace = std::make_unique<Workspace>(m_folder.paths());
        m_workspace->files().useServer(m_database->conninfo(), m_database->conninfo());
        m_workspace->files().createMissing();
        m_workspace->files().open();
        m_window = new BackupWindow(*m_workspace);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
    }
    void TearDown() override
    {
        delete m_window.data();
        m_workspace.reset();
        m_database.reset();
        Clock::reset();
    }

    void addVisit(const QString &name)
    {
        const QString key = QStringLiteral("2026-12-09 08:00:%1").arg(++m_visits, 2, 10, QLatin1Char('0'));
        VisitStore(m_workspace->archive()).save(sampleVisit(name, QStringLiteral("2026-12-09"), key), 2026);
    }
    qint64 visitCount() { return scalar(m_workspace->archive(), QStringLiteral("SELECT count(*) FROM [档案]")).toLongLong(); }
    void backUpOn(const QDate &day)
    {
        Clock::setFixed(QDateTime(day, QTime(18, 0)));
        button("backupNowButton")->click();
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    void waitForChecks()
    {
        if (m_window->isChecking() || m_window->model()->checkedCount() < m_window->model()->rowCount()) {
            QSignalSpy done(m_window.data(), &BackupWindow::checkingFinished);
            ASSERT_TRUE(done.wait(30000));
        }
    }
    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_window->model()->rowCount(); ++row)
            texts << m_window->model()->index(row, column).data().toString();
        return texts;
    }
    void choose(const QString &name)
    {
        const int row = column(BackupListModel::NameColumn).indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        m_window->table()->setCurrentIndex(m_window->model()->index(row, 0));
    }
    QPushButton *button(const char *name) const { return m_window->findChild<QPushButton *>(QLatin1String(name)); }

    TempProgramFolder m_folder;
    std::unique_ptr<ClinicDatabase> m_database;
    std::unique_ptr<Workspace> m_workspace;
    QPointer<BackupWindow> m_window;
    int m_visits = 0;
};

TEST_F(ServerBackupWindowTest, ListsTheDumpsWithTheirChecksAndSaysWhyOneCannotBeRestored)
{
    EXPECT_TRUE(m_window->findChild<QLabel *>(QStringLiteral("checkLabel"))->text().contains(QStringLiteral("还没有服务器数据库的备份")));
    addVisit(QStringLiteral("张三"));
    backUpOn(QDate(2026, 12, 8));
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("今日备份已完成"))) << MessageDialog::lastText().toStdString();
    backUpOn(QDate(2026, 12, 9));
    // A day whose dump the disk damaged, and a day of the files, which a server does not restore.
    QFile damaged(ServerBackup(m_folder.paths(), {}).dumpPath(QDate(2026, 12, 8)));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("PGDMP but not really");
    damaged.close();
    QDir().mkpath(QDir(m_folder.paths().backupRoot).filePath(QStringLiteral("7日/档案数据库")));
    m_window->refresh();
    waitForChecks();

    EXPECT_EQ(column(BackupListModel::NameColumn), (QStringList{QStringLiteral("8日"), QStringLiteral("9日")}));
    EXPECT_EQ(column(BackupListModel::StateColumn), (QStringList{QStringLiteral("已损坏"), QStringLiteral("完好")}));
    EXPECT_TRUE(m_window->table()->isColumnHidden(BackupListModel::VisitsColumn));
    EXPECT_TRUE(m_window->table()->isColumnHidden(BackupListModel::NewestColumn));
    choose(QStringLiteral("8日"));
    EXPECT_FALSE(button("restoreButton")->isEnabled());
    EXPECT_EQ(button("restoreButton")->text(), QStringLiteral("不能恢复：已损坏"));
    choose(QStringLiteral("9日"));
    EXPECT_TRUE(button("restoreButton")->isEnabled());
    EXPECT_TRUE(m_window->findChild<QLabel *>(QStringLiteral("checkLabel"))->text().contains(QStringLiteral("1 份完好，1 份不能恢复")));
}

TEST_F(ServerBackupWindowTest, RestoresAChosenDumpOnlyWhenTheOtherRoomsHaveLeft)
{
    addVisit(QStringLiteral("张三"));
    backUpOn(QDate(2026, 12, 9));
    addVisit(QStringLiteral("李四"));
    waitForChecks();
    choose(QStringLiteral("9日"));
    QSignalSpy restored(m_window.data(), &BackupWindow::restored);

    {
        Workspace otherRoom(m_folder.paths());
        otherRoom.files().useServer(m_database->conninfo(), m_database->conninfo());
        otherRoom.files().open();
        MessageDialog::shown().clear();
        button("restoreButton")->click();
        // Refused before anything is asked.
        ASSERT_EQ(MessageDialog::shown().size(), 1);
        EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("其他诊室的程序还连接着服务器数据库（2 个连接）")));
        EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("请先让其他诊室退出程序")));
        EXPECT_EQ(restored.count(), 0);
    }

    MessageDialog::setNextAnswer(false);
    button("restoreButton")->click();
    EXPECT_TRUE(MessageDialog::shown().last().text.startsWith(QStringLiteral("确定用9日的备份恢复服务器数据库吗？")));
    EXPECT_EQ(visitCount(), 2);

    MessageDialog::setNextAnswer(true);
    button("restoreButton")->click();
    EXPECT_EQ(restored.count(), 1);
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("恢复前的服务器数据库已备份在"))) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(visitCount(), 1);
    waitForChecks();
    EXPECT_EQ(m_window->model()->rowCount(), 2);
    EXPECT_EQ(column(BackupListModel::StateColumn), (QStringList{QStringLiteral("完好"), QStringLiteral("完好")}));
}

// A room's run on the clinic's server, up to its main window.
void startRoom(Program &program, const QString &conninfo)
{
    ASSERT_TRUE(program.start());
    DataFiles &files = program.workspace()->files();
    files.close();
    files.useServer(conninfo, conninfo);
    files.open();
    QTest::keyClicks(program.loginWindow()->passwordBox(), kInitialPassword);
    QTest::keyClick(program.loginWindow()->passwordBox(), Qt::Key_Return);
    ASSERT_TRUE(program.mainWindow());
}

TEST_F(ServerBackupWindowTest, OnlyTheLastRoomToCloseItsMainWindowLeavesTheDaysDump)
{
    delete m_window.data();
    m_workspace->files().close();
    TempProgramFolder firstFolder, lastFolder;
    Program first(firstFolder.path(), firstFolder.executable());
    Program last(lastFolder.path(), lastFolder.executable());
    startRoom(first, m_database->conninfo());
    startRoom(last, m_database->conninfo());
    const auto dumpOf = [](const Program &room) { return ServerBackup(room.paths(), {}).dumpPath(Clock::today()); };

    MessageDialog::shown().clear();
    first.mainWindow()->close();
    EXPECT_FALSE(QFileInfo::exists(dumpOf(first)));
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    last.mainWindow()->close();
    EXPECT_TRUE(ServerBackup::checkDump(dumpOf(last)).isEmpty());
    EXPECT_TRUE(MessageDialog::shown().isEmpty()) << MessageDialog::lastText().toStdString();
}

} // namespace
