#include "data/server_address.h"

#include "data/pg_connection.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace quillora {

namespace {

const QStringList kKnownKeys{QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("database"),
                             QStringLiteral("user"), QStringLiteral("sslmode")};
const QStringList kSslModes{QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
                            QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

// A value as libpq's connection string wants it: in single quotes, with \ and ' escaped.
QString quotedValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

ServerAddress refused(const QString &problem) { return ServerAddress{QString(), QString(), problem}; }

// What is wrong with the value of a known key; empty when nothing is.
QString valueProblem(const QString &key, const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("“%1”没有填写").arg(key);
    if (key == QLatin1String("port")) {
        bool ok = false;
        const int port = value.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return QStringLiteral("端口“%1”不是 1 到 65535 之间的数").arg(value);
    }
    if (key == QLatin1String("sslmode") && !kSslModes.contains(value))
        return QStringLiteral("加密方式“%1”应为 %2 之一").arg(value, kSslModes.join(QStringLiteral("、")));
    return QString();
}

QString shownName(const QString &host, const QString &port, const QString &database)
{
    const QString where = host.isEmpty() ? QStringLiteral("本机") : host;
    return QStringLiteral("PostgreSQL %1:%2/%3").arg(where, port.isEmpty() ? QStringLiteral("5432") : port, database);
}

} // namespace

ServerAddress readServerFile(const QString &text, const QString &fileName)
{
    QMap<QString, QString> values;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QString where = QStringLiteral("%1 第%2行：").arg(fileName).arg(i + 1);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return refused(where + QStringLiteral("应写成“键 = 值”"));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (!kKnownKeys.contains(key))
            return refused(where + QStringLiteral("不认识的设置“%1”（可用：%2）").arg(key, kKnownKeys.join(QStringLiteral("、"))));
        if (values.contains(key))
            return refused(where + QStringLiteral("“%1”写了两次").arg(key));
        if (const QString problem = valueProblem(key, value); !problem.isEmpty())
            return refused(where + problem);
        values.insert(key, value);
    }
    if (!values.contains(QStringLiteral("database")))
        return refused(QStringLiteral("%1：没有写明数据库名（database = …）").arg(fileName));
    QStringList parts;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString key = it.key() == QLatin1String("database") ? QStringLiteral("dbname") : it.key();
        parts << key + QLatin1Char('=') + quotedValue(it.value());
    }
    return ServerAddress{parts.join(QLatin1Char(' ')),
                         shownName(values.value(QStringLiteral("host")), values.value(QStringLiteral("port")),
                                   values.value(QStringLiteral("database"))),
                         QString()};
}

QString withPassword(const QString &conninfo, const QString &password)
{
    if (conninfo.startsWith(QLatin1String("postgresql://")) || conninfo.startsWith(QLatin1String("postgres://"))) {
        QUrl url(conninfo, QUrl::StrictMode);
        url.setPassword(password, QUrl::DecodedMode);
        return url.toString(QUrl::FullyEncoded);
    }
    return conninfo + QStringLiteral(" password=") + quotedValue(password);
}

QString serverPasswordPrompt(const ServerAddress &server, const QString &serverWords, bool refusedBefore)
{
    const QString user = PgConnection::optionOf(server.conninfo, "user");
    const QString whose = user.isEmpty() ? QStringLiteral("密码") : QStringLiteral("数据库用户“%1”的密码").arg(user);
    if (!refusedBefore)
        return QStringLiteral("数据库服务器 %1 需要%2。\n请输入：").arg(server.shown, whose);
    // libpq's words begin with the socket or address it tried; the server's own come after "failed:".
    const qsizetype failed = serverWords.lastIndexOf(QLatin1String("failed:"));
    const QString words = (failed < 0 ? serverWords : serverWords.mid(failed + 7)).simplified();
    return QStringLiteral("密码不对，数据库服务器 %1 没有接受（%2）。\n请重新输入%3：").arg(server.shown, words, whose);
}

ServerAddress serverFromUri(const QString &uri)
{
    const QUrl url(uri, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        return refused(QStringLiteral("--server 后应为 postgresql://主机:端口/数据库 形式的地址：%1").arg(uri));
    const QString database = url.path().mid(1);
    if (database.isEmpty())
        return refused(QStringLiteral("--server 的地址没有写明数据库名：%1").arg(uri));
    const QString port = url.port() > 0 ? QString::number(url.port()) : QString();
    return ServerAddress{uri, shownName(url.host(), port, database), QString()};
}

ServerAddress chooseServer(const QStringList &arguments, const QString &dataFolder)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--server"))
            return i + 1 < arguments.size() ? serverFromUri(arguments[i + 1])
                                            : refused(QStringLiteral("--server 后缺少服务器地址"));
        if (argument.startsWith(QLatin1String("--server=")))
            return serverFromUri(argument.mid(int(qstrlen("--server="))));
    }
    QFile file(QDir(dataFolder).filePath(QString::fromUtf8(kServerFileName)));
    if (!file.exists())
        return ServerAddress{};
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("%1 无法读取：%2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    return readServerFile(QString::fromUtf8(file.readAll()), QString::fromUtf8(kServerFileName));
}

} // namespace quillora
