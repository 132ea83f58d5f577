#include "main_window_fixture.h"

#include "data/database.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/visit_list_model.h"
#include "workstation/visit_session_gui.h"

#include <QDir>
#include <QFileInfo>
#include <QListView>
#include "support/list_lines.h"
#include <QLineEdit>
#include <QPushButton>
#include <sqlcipher/sqlite3.h>

using namespace quillora;
using namespace quillora::test;

namespace {

class ArchiveFailureWindowTest : public MainWindowTest
{
protected:
    QListView *results() const { return find<QListView>(QStringLiteral("List4")); }
    void clickEntry(const QString &name)
    {
        for (int row = 0; row < lineCount(results()); ++row) {
            if (lineText(results(), row).startsWith(name + QLatin1Char('['))) {
                QTest::mouseClick(results()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  lineRect(results(), row).center());
                return;
            }
        }
        ADD_FAILURE() << "no entry for " << name.toStdString();
    }
    QString saveNew(const QString &name, const QString &body)
    {
        window->session().newVisit();
        field(FieldName)->setText(name);
        field(FieldAge)->setText(QStringLiteral("40岁"));
        window->editor().setBodyText(body);
        EXPECT_TRUE(window->session().saveVisit());
        return window->session().key();
    }
};

int refuseCommit(void *) { return 1; }

// Only the history changed and the commit failed: the doctor is told, and what is on screen
// stays to be saved again.
TEST_F(ArchiveFailureWindowTest, FailedSaveIsToldAndKeepsTheScreen)
{
    const QString key = saveNew(QStringLiteral("王秀兰"), QStringLiteral("复方丹参滴丸 27mg×180丸\r\n"));
    MessageDialog::shown().clear();
    find<QPlainTextEdit>(QStringLiteral("R3"))->setPlainText(QStringLiteral("主诉：胸闷一周"));
    sqlite3_commit_hook(workspace->archive().handle(), refuseCommit, nullptr);
    EXPECT_FALSE(window->session().saveVisit());
    sqlite3_commit_hook(workspace->archive().handle(), nullptr, nullptr);
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Critical);
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("病历未能保存：数据不符合数据表的要求（")))
        << MessageDialog::lastText().toStdString();
    EXPECT_EQ(find<QPlainTextEdit>(QStringLiteral("R3"))->toPlainText(), QStringLiteral("主诉：胸闷一周"));
    EXPECT_TRUE(VisitStore(workspace->archive()).find(key)->history.isEmpty());
    EXPECT_TRUE(window->session().saveVisit());
    EXPECT_EQ(VisitStore(workspace->archive()).find(key)->history, QStringLiteral("主诉：胸闷一周"));
}

// A visit that cannot be read because the file is damaged is not reported as deleted: the
// message names the damage and the folder of the latest backup.
TEST_F(ArchiveFailureWindowTest, DamagedVisitIsToldApartFromADeletedOne)
{
    saveNew(QStringLiteral("甲"), QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n"));
    const QString archive = workspace->files().archivePath();
    const qint64 before = QFileInfo(archive).size();
    saveNew(QStringLiteral("乙"), QStringLiteral("当归 10g  川芎 6g  白芍 12g\r\n").repeated(400));
    const qint64 after = QFileInfo(archive).size();
    const QString gone = saveNew(QStringLiteral("丙"), QStringLiteral("维生素C片 0.1g×100片\r\n"));
    ASSERT_GT(after - before, 8 * 1024);
    const QString backup = QDir(workspace->paths().backupRoot).filePath(QStringLiteral("7日"));
    QDir().mkpath(backup + QStringLiteral("/档案数据库"));
    QFile(archive).copy(backup + QStringLiteral("/档案数据库/档案.dat"));

    workspace->files().close();
    damageFile(archive, (before + after) / 2);  // inside the second visit's body
    workspace->files().open();
    VisitStore(workspace->archive()).remove(gone);
    MessageDialog::shown().clear();

    clickEntry(QStringLiteral("乙"));
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    const QString damaged = MessageDialog::lastText();
    EXPECT_TRUE(damaged.startsWith(QStringLiteral("该病历未能读取：数据文件已损坏（"))) << damaged.toStdString();
    EXPECT_TRUE(damaged.contains(QDir::toNativeSeparators(backup))) << damaged.toStdString();
    EXPECT_FALSE(damaged.contains(QStringLiteral("已被删除")));

    clickEntry(QStringLiteral("甲"));
    EXPECT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_EQ(field(FieldName)->text(), QStringLiteral("甲"));

    clickEntry(QStringLiteral("丙"));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("已不在档案中")));
}

} // namespace

namespace {

// Right dates and an archive that cannot be read: the doctor hears about the archive, not about
// the date format.
TEST_F(ArchiveFailureWindowTest, AFailedQueryWithRightDatesIsNotCalledADateMistake)
{
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案] RENAME TO [档案旧]"));
    MessageDialog::shown().clear();
    find<QPushButton>(QStringLiteral("Command2"))->click();
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案旧] RENAME TO [档案]"));
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("病历查询失败："))) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Critical);
}

// The next page of a long result cannot be read: the doctor is told, and what is listed stays.
TEST_F(ArchiveFailureWindowTest, AFailedLaterPageIsToldAndKeepsTheListedVisits)
{
    workspace->archive().exec(QStringLiteral("PRAGMA synchronous=OFF"));
    for (int i = 0; i < VisitListModel::kBatch + 5; ++i)
        VisitStore(workspace->archive())
            .save(sampleVisit(QStringLiteral("病人%1").arg(i), QStringLiteral("2026-11-20"),
                              QStringLiteral("2026-11-20 08:%1:%2").arg(i / 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'))),
                  2026);
    find<QLineEdit>(QStringLiteral("Text3"))->setText(QStringLiteral("2026-11-20"));
    find<QLineEdit>(QStringLiteral("Text4"))->setText(QStringLiteral("2026-11-20"));
    find<QPushButton>(QStringLiteral("Command2"))->click();
    ASSERT_EQ(lineCount(results()), VisitListModel::kBatch);
    MessageDialog::shown().clear();
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案] RENAME TO [档案旧]"));
    results()->model()->fetchMore({});
    QCoreApplication::processEvents();
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案旧] RENAME TO [档案]"));
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("病历查询失败："))) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(lineCount(results()), VisitListModel::kBatch);
    EXPECT_FALSE(results()->model()->canFetchMore({}));
}

} // namespace
