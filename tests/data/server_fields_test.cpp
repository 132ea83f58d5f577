#include "data/pg_connection.h"
#include "data/server_address.h"
#include "data/server_fields.h"

#include <QMap>
#include <gtest/gtest.h>
#include <libpq-fe.h>

using namespace quillora;

namespace {

ServerFields clinic()
{
    return ServerFields{QStringLiteral("192.168.1.10"), QStringLiteral("5433"), QStringLiteral("门诊 档案"),
                        QStringLiteral("o'neil"),       QStringLiteral("p\\w' d"), QStringLiteral("require")};
}

// libpq's own reading of a connection string, keyword by keyword.
QMap<QString, QString> parsed(const QString &conninfo)
{
    QMap<QString, QString> values;
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    EXPECT_NE(options, nullptr) << (error ? error : "");
    PQfreemem(error);
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (o->val)
            values.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    }
    PQconninfoFree(options);
    return values;
}

TEST(ServerFields, WrongFieldsAreNamed)
{
    const struct { void (*change)(ServerFields &); const char *message; } cases[] = {
        {[](ServerFields &f) { f.host.clear(); }, "请填写服务器地址。"},
        {[](ServerFields &f) { f.host = QStringLiteral("  "); }, "请填写服务器地址。"},
        {[](ServerFields &f) { f.port.clear(); }, "请填写端口。"},
        {[](ServerFields &f) { f.port = QStringLiteral("5o432"); }, "端口“5o432”不是 1 到 65535 之间的数字。"},
        {[](ServerFields &f) { f.port = QStringLiteral("0"); }, "端口“0”不是 1 到 65535 之间的数字。"},
        {[](ServerFields &f) { f.database.clear(); }, "请填写数据库。"},
        {[](ServerFields &f) { f.database = QStringLiteral("门诊#1"); }, "数据库不能以空格开头或结尾，也不能含有 # 或换行。"},
        {[](ServerFields &f) { f.user = QStringLiteral("a\nb"); }, "用户名不能以空格开头或结尾，也不能含有 # 或换行。"},
        {[](ServerFields &f) { f.sslMode = QStringLiteral("on"); }, "加密方式“on”应为 prefer、require、verify-ca、verify-full、allow、disable 之一。"},
        {[](ServerFields &) {}, ""},
    };
    for (const auto &c : cases) {
        ServerFields fields = clinic();
        c.change(fields);
        EXPECT_EQ(serverFieldsProblem(fields), QString::fromUtf8(c.message)) << c.message;
    }
}

TEST(ServerFields, TheConnectionStringCarriesEveryValueAsTyped)
{
    const QMap<QString, QString> values = parsed(conninfoOf(clinic()));
    EXPECT_EQ(values.value(QStringLiteral("host")), QStringLiteral("192.168.1.10"));
    EXPECT_EQ(values.value(QStringLiteral("port")), QStringLiteral("5433"));
    EXPECT_EQ(values.value(QStringLiteral("dbname")), QStringLiteral("门诊 档案"));
    EXPECT_EQ(values.value(QStringLiteral("user")), QStringLiteral("o'neil"));
    EXPECT_EQ(values.value(QStringLiteral("password")), QStringLiteral("p\\w' d"));
    EXPECT_EQ(values.value(QStringLiteral("sslmode")), QStringLiteral("require"));
}

TEST(ServerFields, TheConnectionFileReadsBackAsTheFieldsWithoutThePassword)
{
    const QString text = serverFileText(clinic());
    EXPECT_FALSE(text.contains(QStringLiteral("p\\w")));
    const ServerAddress address = readServerFile(text, QString::fromUtf8(kServerFileName));
    ASSERT_TRUE(address.problem.isEmpty()) << address.problem.toStdString();
    QMap<QString, QString> expected = parsed(conninfoOf(clinic()));
    expected.remove(QStringLiteral("password"));
    QMap<QString, QString> read = parsed(address.conninfo);
    EXPECT_EQ(read.value(QStringLiteral("dbname")), expected.value(QStringLiteral("dbname")));
    for (const char *key : {"host", "port", "user", "sslmode"})
        EXPECT_EQ(read.value(QString::fromLatin1(key)), expected.value(QString::fromLatin1(key))) << key;
    EXPECT_FALSE(read.contains(QStringLiteral("password")));
}

} // namespace
