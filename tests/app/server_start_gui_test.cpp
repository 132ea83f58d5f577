#include "app/login_window.h"
#include "app/program_gui.h"
#include "base/app_paths.h"
#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/password_store.h"
#include "data/server_address.h"
#include "data/visit_record.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "forms/form_parts_widget.h"
#include "support/clinic_database.h"
#include "support/data_fixture.h"
#include "support/typing.h"
#include "workstation/main_window.h"
#include "workstation/press_button_widget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// The connection file a clinic's administrator writes beside the program.
void writeServerFile(const QString &dataFolder, const QString &text)
{
    QDir().mkpath(dataFolder);
    QFile file(QDir(dataFolder).filePath(QString::fromUtf8(kServerFileName)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString valueOf(const QString &conninfo, const QString &key)
{
    return QRegularExpression(key + QStringLiteral("=(\\S+)")).match(conninfo).captured(1);
}

TEST(ServerStart, TheConnectionFileSendsTheRunToTheServerAndAboutNamesIt)
{
    QUILLORA_CLUSTER_OR_SKIP(cluster);
    MessageDialog::setScripted(true);
    const PgDatabase database(*cluster);
    const QString admin = database.conninfo();
    TempProgramFolder folder;
    const AppPaths paths = AppPaths::locate(folder.path(), folder.executable());
    writeServerFile(paths.dataFolder, QStringLiteral("# 门诊部的服务器\nhost = %1\nport = %2\ndatabase = %3\nuser = %4\nsslmode = disable\n")
                                          .arg(valueOf(admin, QStringLiteral("host")), valueOf(admin, QStringLiteral("port")),
                                               valueOf(admin, QStringLiteral("dbname")), valueOf(admin, QStringLiteral("user"))));
    Program program(paths);
    ASSERT_TRUE(program.start()) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(program.workspace()->files().usesServer());
    EXPECT_FALSE(QFile::exists(program.workspace()->files().archivePath()));  // no file was made
    QTest::keyClicks(program.loginWindow()->passwordBox(), kInitialPassword);
    QTest::keyClick(program.loginWindow()->passwordBox(), Qt::Key_Return);
    ASSERT_TRUE(program.mainWindow());
    program.mainWindow()->menuAction(QStringLiteral("关于"))->trigger();
    QLabel *about = program.mainWindow()->findChild<QLabel *>(QStringLiteral("dataFolderLabel"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->text().contains(QStringLiteral("病历档案：数据库服务器 PostgreSQL "))) << about->text().toStdString();
    EXPECT_TRUE(about->text().contains(valueOf(admin, QStringLiteral("dbname")))) << about->text().toStdString();
    program.endSession();
}

// Every file under the folder, read whole.
QByteArray everyFileUnder(const QString &folder)
{
    QByteArray all;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        all += readFile(it.next());
    return all;
}

// A clinic whose role signs in with a password its connection files do not hold.
class ClinicServerStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLORA_CLUSTER_OR_SKIP(cluster);
        MessageDialog::setScripted(true);
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        clinic = std::make_unique<ClinicDatabase>(*cluster);
        writeClinicFile(paths);
    }
    void TearDown() override { Clock::reset(); }

    void writeClinicFile(const AppPaths &room)
    {
        const QString admin = clinic->adminConninfo();
        writeServerFile(room.dataFolder, QStringLiteral("host = %1\nport = %2\ndatabase = %3\nuser = %4\n")
                                             .arg(valueOf(admin, QStringLiteral("host")), valueOf(admin, QStringLiteral("port")),
                                                  clinic->name(), ClinicDatabase::kRole));
    }

    std::unique_ptr<ClinicDatabase> clinic;
    TempProgramFolder folder;
    const AppPaths paths = AppPaths::locate(folder.path(), folder.executable());
};

TEST_F(ClinicServerStart, TheServersPasswordIsAskedForUntilRightAndKeptInMemoryOnly)
{
    MessageDialog::setNextSecret(QStringLiteral("诊室 pass'2"));  // mistyped
    MessageDialog::setNextSecret(ClinicDatabase::kPassword);
    Program program(paths);
    ASSERT_TRUE(program.start()) << MessageDialog::lastText().toStdString();
    const QList<MessageDialog::Shown> &prompts = MessageDialog::shown();
    ASSERT_EQ(prompts.size(), 2);
    for (const MessageDialog::Shown &prompt : prompts) {
        EXPECT_EQ(prompt.title, QStringLiteral("连接数据库服务器"));
        EXPECT_TRUE(prompt.text.contains(clinic->name())) << prompt.text.toStdString();
        EXPECT_TRUE(prompt.text.contains(QStringLiteral("数据库用户“clinic_room”的密码"))) << prompt.text.toStdString();
    }
    EXPECT_TRUE(prompts[1].text.startsWith(QStringLiteral("密码不对"))) << prompts[1].text.toStdString();
    EXPECT_TRUE(prompts[1].text.contains(QStringLiteral("password authentication failed"))) << prompts[1].text.toStdString();
    EXPECT_TRUE(program.workspace()->files().usesServer());
    QTest::keyClicks(program.loginWindow()->passwordBox(), kInitialPassword);
    QTest::keyClick(program.loginWindow()->passwordBox(), Qt::Key_Return);
    ASSERT_TRUE(program.mainWindow());
    program.endSession();
    EXPECT_FALSE(everyFileUnder(folder.path()).contains(ClinicDatabase::kPassword.toUtf8()));
}

TEST_F(ClinicServerStart, CancellingThePasswordPromptEndsTheStartWithNothingMade)
{
    MessageDialog::setNextSecret(QString());
    Program program(paths);
    EXPECT_FALSE(program.start());
    EXPECT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_EQ(program.mainWindow(), nullptr);
    EXPECT_FALSE(QFile::exists(QDir(paths.dataFolder).filePath(kArchiveFileName)));
}

TEST(ServerStart, AWrongConnectionFileStopsTheStartAndSaysWhichLine)
{
    MessageDialog::setScripted(true);
    TempProgramFolder folder;
    const AppPaths paths = AppPaths::locate(folder.path(), folder.executable());
    writeServerFile(paths.dataFolder, QStringLiteral("host = 192.168.1.10\nport = 七\ndatabase = 门诊\n"));
    Program program(paths);
    EXPECT_FALSE(program.start());
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("数据库服务器的设置有误，程序将退出："))) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("第2行"))) << MessageDialog::lastText().toStdString();
    EXPECT_FALSE(QFile::exists(QDir(paths.dataFolder).filePath(kArchiveFileName)));
}

// Starts a room's program on a connection file of its own and signs in, the server's password
// typed at its prompt.
std::unique_ptr<Program> openRoom(const AppPaths &paths)
{
    MessageDialog::setNextSecret(ClinicDatabase::kPassword);
    auto program = std::make_unique<Program>(paths);
    if (!program->start())
        return nullptr;
    QTest::keyClicks(program->loginWindow()->passwordBox(), kInitialPassword);
    QTest::keyClick(program->loginWindow()->passwordBox(), Qt::Key_Return);
    return program->mainWindow() ? std::move(program) : nullptr;
}

QLineEdit *field(const Program &room, int index)
{
    return room.mainWindow()->findChild<QLineEdit *>(QStringLiteral("Text7_%1").arg(index));
}

TEST_F(ClinicServerStart, APatientSeenInOneRoomIsOfferedInTheOtherAsTheNameIsTyped)
{
    TempProgramFolder otherFolder;
    const AppPaths other = AppPaths::locate(otherFolder.path(), otherFolder.executable());
    writeClinicFile(other);
    std::unique_ptr<Program> first = openRoom(paths);
    std::unique_ptr<Program> second = openRoom(other);
    ASSERT_TRUE(first && second) << MessageDialog::lastText().toStdString();

    // Room 1 sees the patient and saves the visit.
    const QString name = QStringLiteral("欧阳O'Brien");
    field(*first, FieldName)->setText(name);
    field(*first, FieldAge)->setText(QStringLiteral("35岁"));
    field(*first, FieldSex)->setText(QStringLiteral("男"));
    QTest::mouseClick(first->mainWindow()->toolButton(QStringLiteral("保存")), Qt::LeftButton);
    ASSERT_EQ(VisitStore(first->workspace()->archive()).list(name, Clock::today(), Clock::today()).size(), 1)
        << MessageDialog::lastText().toStdString();

    // Room 2 types the name: the register of the whole clinic offers the patient.
    QLineEdit *typed = field(*second, FieldName);
    typed->setFocus();
    typeText(typed, QStringLiteral("欧阳"));
    RowList *patients = second->mainWindow()->findChild<RowList *>(QStringLiteral("List6"));
    ASSERT_NE(patients, nullptr);
    bool offered = false;
    for (int wait = 0; wait < 200 && !offered; ++wait) {
        // The other room's save is announced a moment after its commit: typing again asks again.
        QTest::keyClick(typed, Qt::Key_Backspace);
        typeText(typed, QStringLiteral("阳"));
        offered = patients->isVisible() && patients->count() == 1 && patients->textAt(0) == name + QStringLiteral("[35岁]");
        if (!offered)
            QTest::qWait(10);
    }
    EXPECT_TRUE(offered) << (patients->count() ? patients->textAt(0).toStdString() : std::string("(empty)"));

    // Both rooms' visits of the day are in the one archive.
    QTest::mouseClick(second->mainWindow()->toolButton(QStringLiteral("新建")), Qt::LeftButton);
    field(*second, FieldName)->setText(QStringLiteral("李四"));
    field(*second, FieldAge)->setText(QStringLiteral("8岁"));
    field(*second, FieldSex)->setText(QStringLiteral("女"));
    QTest::mouseClick(second->mainWindow()->toolButton(QStringLiteral("保存")), Qt::LeftButton);
    EXPECT_EQ(VisitStore(first->workspace()->archive()).list(QString(), Clock::today(), Clock::today()).size(), 2);
    first->endSession();
    second->endSession();
}

} // namespace
