#include "app/pg_tools.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QVersionNumber>
#include <algorithm>
#include <libpq-fe.h>

namespace quillora {

namespace {

// A dump of a clinic's database takes seconds; a tool still running after this has hung.
constexpr int kToolTimeoutMs = 60 * 60 * 1000;

QString quotedValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QStringList versionBinFolders(const QString &versionsRoot)
{
    const QDir root(versionsRoot);
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    // By number: 16 is newer than 9.6 (a collator's numeric mode is missing in the C locale).
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return QVersionNumber::fromString(a) > QVersionNumber::fromString(b); });
    QStringList folders;
    for (const QString &version : versions)
        folders << root.filePath(version + QStringLiteral("/bin"));
    return folders;
}

QString findProgram(const QString &name, const QStringList &pathFolders, const QString &versionsRoot)
{
    if (!pathFolders.isEmpty()) {
        if (const QString found = QStandardPaths::findExecutable(name, pathFolders); !found.isEmpty())
            return found;
    }
    for (const QString &folder : versionBinFolders(versionsRoot)) {
        const QFileInfo program(QDir(folder).filePath(name));
        if (program.isFile() && program.isExecutable())
            return program.filePath();
    }
    return {};
}

QString lastLine(const QByteArray &text)
{
    const QStringList lines = QString::fromLocal8Bit(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

} // namespace

ToolConnection toolConnection(const QString &conninfo)
{
    ToolConnection split;
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        split.problem = QStringLiteral("服务器连接设置无法识别：%1").arg(error ? QString::fromUtf8(error).trimmed() : QString());
        PQfreemem(error);
        return split;
    }
    QStringList pairs;
    for (const PQconninfoOption *option = options; option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString value = QString::fromUtf8(option->val);
        if (qstrcmp(option->keyword, "password") == 0)
            split.password = value;
        else
            pairs << QString::fromUtf8(option->keyword) + QLatin1Char('=') + quotedValue(value);
    }
    PQconninfoFree(options);
    split.conninfo = pairs.join(QLatin1Char(' '));
    return split;
}

PgTools PgTools::locate()
{
    const QString path = qEnvironmentVariable("PATH");
    return locateIn(path.split(QDir::listSeparator(), Qt::SkipEmptyParts), QStringLiteral("/usr/lib/postgresql"));
}

PgTools PgTools::locateIn(const QStringList &pathFolders, const QString &versionsRoot)
{
    PgTools tools;
    tools.m_dump = findProgram(QStringLiteral("pg_dump"), pathFolders, versionsRoot);
    tools.m_restore = findProgram(QStringLiteral("pg_restore"), pathFolders, versionsRoot);
    return tools;
}

QString PgTools::missingText(const QString &name)
{
    return QStringLiteral("找不到 %1（PostgreSQL 客户端程序），服务器数据库无法备份或恢复。请安装 postgresql-client。").arg(name);
}

ToolRun PgTools::run(const QString &program, const QStringList &arguments, const QString &conninfo)
{
    ToolRun result;
    QStringList args{QStringLiteral("--no-password")};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!conninfo.isEmpty()) {
        const ToolConnection connection = toolConnection(conninfo);
        if (!connection.problem.isEmpty()) {
            result.errorLine = connection.problem;
            return result;
        }
        args << QStringLiteral("--dbname=") + connection.conninfo;
        if (!connection.password.isEmpty())
            environment.insert(QStringLiteral("PGPASSWORD"), connection.password);
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(args + arguments);
    process.setProcessEnvironment(environment);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        result.errorLine = QStringLiteral("%1 无法运行：%2").arg(QDir::toNativeSeparators(program), process.errorString());
        return result;
    }
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.errorLine = QStringLiteral("%1 运行超时，已停止").arg(QFileInfo(program).fileName());
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput();
    result.errorLine = lastLine(process.readAllStandardError());
    if (!result.finished && result.errorLine.isEmpty())
        result.errorLine = QStringLiteral("%1 意外中止").arg(QFileInfo(program).fileName());
    return result;
}

} // namespace quillora
