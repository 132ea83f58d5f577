#include "data/server_fields.h"

#include "data/server_address.h"

#include <QDir>
#include <QSaveFile>

namespace quillora {

namespace {

// A value as libpq's connection string wants it: in single quotes, with \ and ' escaped.
QString quoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// The connection file keeps one value a line and begins comments with '#': a value with
// either cannot be written down and read back the same.
bool fitsTheFile(const QString &value)
{
    return !value.contains(QLatin1Char('#')) && !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r'))
           && value == value.trimmed();
}

} // namespace

QStringList serverSslModes()
{
    return {QStringLiteral("prefer"), QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full"),
            QStringLiteral("allow"), QStringLiteral("disable")};
}

QString serverFieldsProblem(const ServerFields &fields)
{
    const struct { const QString &value; const char *name; } required[] = {
        {fields.host, "服务器地址"}, {fields.port, "端口"}, {fields.database, "数据库"}, {fields.user, "用户名"}};
    for (const auto &field : required) {
        if (field.value.trimmed().isEmpty())
            return QStringLiteral("请填写%1。").arg(QString::fromUtf8(field.name));
        if (!fitsTheFile(field.value))
            return QStringLiteral("%1不能以空格开头或结尾，也不能含有 # 或换行。").arg(QString::fromUtf8(field.name));
    }
    bool number = false;
    const int port = fields.port.toInt(&number);
    if (!number || port < 1 || port > 65535)
        return QStringLiteral("端口“%1”不是 1 到 65535 之间的数字。").arg(fields.port);
    if (!serverSslModes().contains(fields.sslMode))
        return QStringLiteral("加密方式“%1”应为 %2 之一。").arg(fields.sslMode, serverSslModes().join(QStringLiteral("、")));
    return QString();
}

QString conninfoOf(const ServerFields &fields)
{
    QStringList parts{QStringLiteral("host=") + quoted(fields.host), QStringLiteral("port=") + quoted(fields.port),
                      QStringLiteral("dbname=") + quoted(fields.database), QStringLiteral("user=") + quoted(fields.user),
                      QStringLiteral("sslmode=") + quoted(fields.sslMode)};
    if (!fields.password.isEmpty())
        parts << QStringLiteral("password=") + quoted(fields.password);
    return parts.join(QLatin1Char(' '));
}

QString serverFileText(const ServerFields &fields)
{
    return QStringLiteral("# 各诊室共用的服务器数据库。密码不保存在这里，登录时询问。\n"
                          "host = %1\nport = %2\ndatabase = %3\nuser = %4\nsslmode = %5\n")
        .arg(fields.host, fields.port, fields.database, fields.user, fields.sslMode);
}

QString writeServerFile(const QString &dataFolder, const ServerFields &fields)
{
    QSaveFile file(QDir(dataFolder).filePath(QString::fromUtf8(kServerFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(serverFileText(fields).toUtf8()) < 0 || !file.commit())
        return QStringLiteral("%1 无法写入：%2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return QString();
}

} // namespace quillora
