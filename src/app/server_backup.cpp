#include "app/server_backup.h"

#include "app/checked_copy.h"
#include "data/backup_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace quillora {

namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString toolFailure(const QString &what, const ToolRun &run)
{
    return run.errorLine.isEmpty() ? what : QStringLiteral("%1：%2").arg(what, run.errorLine);
}

// A table entry of pg_restore's list: "216; 1259 16471 TABLE public 档案 owner".
bool listsTable(const QString &contents, const QString &table)
{
    const QRegularExpression entry(QStringLiteral("^\\d+; \\d+ \\d+ TABLE \\S+ %1( |$)").arg(QRegularExpression::escape(table)),
                                   QRegularExpression::MultilineOption);
    return entry.match(contents).hasMatch();
}

// The table of contents without the extensions: they stay as the database has them, since
// dropping one the server's administrator installed is refused to the clinic's own role.
QByteArray withoutExtensions(const QByteArray &contents)
{
    QByteArray kept;
    for (const QByteArray &line : contents.split('\n')) {
        if (!line.contains(" EXTENSION "))
            kept += line + '\n';
    }
    return kept;
}

} // namespace

QString ServerBackup::dumpPath(const QDate &day) const
{
    return QDir(QDir(m_paths.backupRoot).filePath(backupDayFolderName(day))).filePath(kServerDumpFileName);
}

QStringList ServerBackup::run(const QDate &day) const
{
    const QString problem = dumpInto(dumpPath(day));
    if (problem.isEmpty())
        return {};
    const bool earlier = QFileInfo(dumpPath(day)).isFile();
    return {problem + (earlier ? QStringLiteral("；今天较早的备份未被覆盖") : QString())};
}

QString ServerBackup::dumpInto(const QString &target) const
{
    if (m_tools.dumpProgram().isEmpty())
        return PgTools::missingText(QStringLiteral("pg_dump"));
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("无法创建备份文件夹 %1").arg(native(folder));
    const QString partial = stagedName(target);
    QFile::remove(partial);
    const ToolRun dump = PgTools::run(m_tools.dumpProgram(), {QStringLiteral("--format=custom"), QStringLiteral("--file=") + partial}, m_conninfo);
    if (!dump.succeeded()) {
        QFile::remove(partial);
        return toolFailure(QStringLiteral("服务器数据库未能备份到 %1").arg(native(folder)), dump);
    }
    if (const QString problem = checkDump(partial, m_tools); !problem.isEmpty()) {
        QFile::remove(partial);
        return QStringLiteral("新的备份未通过检查：%1").arg(problem);
    }
    return putStagedInPlace(target);
}

QString ServerBackup::checkDump(const QString &dump, const PgTools &tools)
{
    if (tools.restoreProgram().isEmpty())
        return PgTools::missingText(QStringLiteral("pg_restore"));
    if (!QFileInfo(dump).isFile())
        return QStringLiteral("找不到备份文件 %1").arg(native(dump));
    const ToolRun list = PgTools::run(tools.restoreProgram(), {QStringLiteral("--list"), dump});
    if (!list.succeeded())
        return toolFailure(QStringLiteral("备份文件无法读取"), list);
    const QString contents = QString::fromUtf8(list.output);
    if (!listsTable(contents, QStringLiteral("档案")))
        return QStringLiteral("备份中没有病历档案（档案表）");
    if (!listsTable(contents, QStringLiteral("设置")))
        return QStringLiteral("备份中没有程序设置（设置表）");
    return {};
}

QString ServerBackup::restoreFrom(const QString &dump) const
{
    if (m_tools.restoreProgram().isEmpty())
        return PgTools::missingText(QStringLiteral("pg_restore"));
    const ToolRun list = PgTools::run(m_tools.restoreProgram(), {QStringLiteral("--list"), dump});
    if (!list.succeeded())
        return toolFailure(QStringLiteral("备份文件无法读取"), list);
    QTemporaryFile chosen(QDir::tempPath() + QStringLiteral("/quillora-restore-XXXXXX.list"));
    if (!chosen.open() || chosen.write(withoutExtensions(list.output)) < 0 || !chosen.flush())
        return QStringLiteral("无法写入临时文件 %1").arg(native(chosen.fileName()));
    const ToolRun restore = PgTools::run(m_tools.restoreProgram(),
                                         {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--single-transaction"),
                                          QStringLiteral("--no-owner"), QStringLiteral("--use-list=") + chosen.fileName(), dump},
                                         m_conninfo);
    if (!restore.succeeded())
        return toolFailure(QStringLiteral("服务器数据库未能恢复"), restore);
    return {};
}

} // namespace quillora
