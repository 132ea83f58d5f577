#include "app/instance_lock.h"
#include "app/login_gate.h"
#include "app/startup.h"
#include "data/database.h"
#include "data/password_store.h"
#include "settings/password_change.h"
#include "support/data_fixture.h"

using namespace quillora;
using namespace quillora::test;
using Outcome = PasswordChange::Outcome;

namespace {

class PasswordChangeTest : public DataTest
{
protected:
    QString stored() { return PasswordStore(archive()).read().value_or(QStringLiteral("<none>")); }
    // The login of the next start of the program.
    LoginGate nextLogin()
    {
        files().close();
        InstanceLock lock(files().folder());
        const StartupState state = startUp(files(), lock);
        return LoginGate(state.password, state.problem);
    }
};

TEST_F(PasswordChangeTest, RefusedAndWrongAttemptsChangeNothing)
{
    const struct
    {
        QString oldPassword, newPassword;
        Outcome outcome;
        const char *message;
    } cases[] = {
        {QStringLiteral("816"), QString(), Outcome::Refused, "请输入新密码！"},
        {QStringLiteral("816"), QStringLiteral("   "), Outcome::Refused, "请输入新密码！"},
        {QStringLiteral("816"), QString(51, QLatin1Char('a')), Outcome::Refused, "新密码太长，最多能保存50个字符。"},
        {QStringLiteral("817"), QStringLiteral("abc"), Outcome::WrongOldPassword, "原密码不正确，无法修改密码！"},
        {QString(), QStringLiteral("abc"), Outcome::WrongOldPassword, "原密码不正确，无法修改密码！"},
    };
    for (const auto &c : cases) {
        const PasswordChange::Result r = PasswordChange::change(archive(), c.oldPassword, c.newPassword);
        EXPECT_EQ(r.outcome, c.outcome) << c.message;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
        EXPECT_EQ(stored(), QStringLiteral("816"));
    }
}

TEST_F(PasswordChangeTest, OldPasswordIsTrimmedButCaseSensitive)
{
    ASSERT_EQ(PasswordChange::change(archive(), QStringLiteral("816"), QStringLiteral(" AbC ")).outcome, Outcome::Changed);
    EXPECT_EQ(stored(), QStringLiteral("AbC"));
    // The login ignores case; the change does not.
    const PasswordChange::Result wrongCase = PasswordChange::change(archive(), QStringLiteral("abc"), QStringLiteral("x"));
    EXPECT_EQ(wrongCase.outcome, Outcome::WrongOldPassword);
    EXPECT_EQ(stored(), QStringLiteral("AbC"));
    const PasswordChange::Result r = PasswordChange::change(archive(), QStringLiteral("  AbC  "), QStringLiteral("新密码9"));
    EXPECT_EQ(r.outcome, Outcome::Changed);
    EXPECT_EQ(r.message, QStringLiteral("修改密码成功，请牢记新密码！"));
    EXPECT_EQ(stored(), QStringLiteral("新密码9"));
}

TEST_F(PasswordChangeTest, NextStartAcceptsOnlyTheNewPassword)
{
    ASSERT_TRUE(nextLogin().showsInitialHint());
    ASSERT_EQ(PasswordChange::change(archive(), QStringLiteral("816"), QStringLiteral("Qing2026")).outcome, Outcome::Changed);
    LoginGate gate = nextLogin();
    EXPECT_FALSE(gate.showsInitialHint());
    EXPECT_TRUE(gate.check(QStringLiteral("qing2026")).isEmpty());
    EXPECT_EQ(gate.check(QStringLiteral("816")), QStringLiteral("密码错误！"));

    ASSERT_EQ(PasswordChange::change(archive(), QStringLiteral("Qing2026"), QStringLiteral("816")).outcome, Outcome::Changed);
    gate = nextLogin();
    EXPECT_TRUE(gate.showsInitialHint());
    EXPECT_TRUE(gate.check(QStringLiteral("816")).isEmpty());
}

TEST_F(PasswordChangeTest, UnreadableOrUnwritablePasswordIsReportedWithItsCause)
{
    archive().exec(QStringLiteral("CREATE TRIGGER [锁] BEFORE UPDATE ON [密码] BEGIN SELECT RAISE(ABORT, '只读'); END"));
    PasswordChange::Result r = PasswordChange::change(archive(), QStringLiteral("816"), QStringLiteral("abc"));
    EXPECT_EQ(r.outcome, Outcome::NotSaved);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("密码无法保存"))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("只读")));
    EXPECT_EQ(stored(), QStringLiteral("816"));

    archive().exec(QStringLiteral("DELETE FROM [密码]"));
    r = PasswordChange::change(archive(), QStringLiteral("816"), QStringLiteral("abc"));
    EXPECT_EQ(r.outcome, Outcome::Unreadable);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("密码无法读取")));

    archive().exec(QStringLiteral("DROP TABLE [密码]"));
    r = PasswordChange::change(archive(), QStringLiteral("816"), QStringLiteral("abc"));
    EXPECT_EQ(r.outcome, Outcome::Unreadable);
    EXPECT_TRUE(r.message.contains(QStringLiteral("no such table"))) << r.message.toStdString();
}

} // namespace
