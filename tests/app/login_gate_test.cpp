#include "app/login_gate.h"

#include <gtest/gtest.h>

using namespace quillora;

TEST(LoginGate, ComparesTrimmedIgnoringCase)
{
    const LoginGate initial(QStringLiteral("816"), {});
    EXPECT_TRUE(initial.showsInitialHint());
    EXPECT_TRUE(initial.check(QStringLiteral("816")).isEmpty());
    EXPECT_TRUE(initial.check(QStringLiteral(" 816 ")).isEmpty());
    EXPECT_EQ(initial.check(QStringLiteral("815")), QStringLiteral("密码错误！"));
    EXPECT_EQ(initial.check(QString()), QStringLiteral("密码错误！"));

    const LoginGate mixed(QStringLiteral("QuI1"), {});
    EXPECT_FALSE(mixed.showsInitialHint());
    EXPECT_TRUE(mixed.check(QStringLiteral("qui1")).isEmpty());
    EXPECT_TRUE(mixed.check(QStringLiteral("QUI1")).isEmpty());
    EXPECT_EQ(mixed.check(QStringLiteral("816")), QStringLiteral("密码错误！"));
}

TEST(LoginGate, UnreadablePasswordOpensNothing)
{
    const LoginGate gate(std::nullopt, QStringLiteral("档案.dat 无法解密"));
    EXPECT_FALSE(gate.showsInitialHint());
    for (const QString &typed : {QString(), QStringLiteral(" "), QStringLiteral("816")}) {
        const QString message = gate.check(typed);
        EXPECT_TRUE(message.contains(QStringLiteral("无法读取"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("档案.dat 无法解密")));
    }
    // An empty stored password is still a password: only an empty typed text opens it.
    const LoginGate empty(QString(), {});
    EXPECT_TRUE(empty.check(QString()).isEmpty());
    EXPECT_FALSE(empty.check(QStringLiteral("x")).isEmpty());
}
