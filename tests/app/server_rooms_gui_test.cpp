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
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

// Two consulting rooms, each a program of its own with its own data folder, whose connection
// files name the clinic's one server database.
class ServerRoomsGuiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString reason;
        PgCluster *cluster = PgCluster::instance(&reason);
        if (!cluster)
            GTEST_SKIP() << reason.toStdString();
        MessageDialog::setScripted(true);
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        m_clinic = std::make_unique<ClinicDatabase>(*cluster);
    }
    void TearDown() override { Clock::reset(); }

    // Starts a room's program and signs in, the server's password typed at its prompt.
    std::unique_ptr<Program> openRoom(const TempProgramFolder &folder)
    {
        const AppPaths paths = AppPaths::locate(folder.path(), folder.executable());
        QDir().mkpath(paths.dataFolder);
        QFile file(QDir(paths.dataFolder).filePath(QString::fromUtf8(kServerFileName)));
        const QString admin = m_clinic->adminConninfo();
        const QString host = admin.section(QStringLiteral("host="), 1).section(QLatin1Char(' '), 0, 0);
        if (!file.open(QIODevice::WriteOnly))
            return nullptr;
        file.write(QStringLiteral("host = %1\ndatabase = %2\nuser = %3\n").arg(host, m_clinic->name(), ClinicDatabase::kRole).toUtf8());
        file.close();
        MessageDialog::setNextSecret(ClinicDatabase::kPassword);
        auto program = std::make_unique<Program>(paths);
        if (!program->start())
            return nullptr;
        QTest::keyClicks(program->loginWindow()->passwordBox(), kInitialPassword);
        QTest::keyClick(program->loginWindow()->passwordBox(), Qt::Key_Return);
        return program->mainWindow() ? std::move(program) : nullptr;
    }
    static QLineEdit *field(const Program &room, int index)
    {
        return room.mainWindow()->findChild<QLineEdit *>(QStringLiteral("Text7_%1").arg(index));
    }

    std::unique_ptr<ClinicDatabase> m_clinic;
    TempProgramFolder m_firstFolder, m_secondFolder;
};

TEST_F(ServerRoomsGuiTest, APatientSeenInOneRoomIsOfferedInTheOtherAsTheNameIsTyped)
{
    std::unique_ptr<Program> first = openRoom(m_firstFolder);
    std::unique_ptr<Program> second = openRoom(m_secondFolder);
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
