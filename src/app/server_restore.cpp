#include "app/server_restore.h"

#include "app/server_backup.h"
#include "app/server_rooms.h"
#include "data/workspace.h"

#include <QDir>

namespace quillora {

namespace {

RestoreResult notRestored(const QString &problem)
{
    RestoreResult result;
    result.problem = problem;
    return result;
}

} // namespace

RestoreResult restoreServerDump(Workspace &workspace, const BackupCopy &copy, const QDateTime &moment, const PgTools &tools)
{
    DataFiles &files = workspace.files();
    if (const QString refusal = otherRoomsRefusal(files); !refusal.isEmpty())
        return notRestored(refusal);
    const ServerBackup server(workspace.paths(), files.archiveServer(), tools);
    if (const QString problem = ServerBackup::checkDump(copy.dumpPath, tools); !problem.isEmpty())
        return notRestored(problem);

    const QString aside = freshAsideFolder(workspace.paths().backupRoot, moment);
    if (const QString problem = server.dumpInto(QDir(aside).filePath(kServerDumpFileName)); !problem.isEmpty()) {
        QDir(aside).removeRecursively();
        return notRestored(QStringLiteral("现在的服务器数据库未能先备份到 %1：%2").arg(QDir::toNativeSeparators(aside), problem));
    }
    // What the settings window held in memory belongs to the data that goes; the connections
    // hold nothing the restore would wait for.
    workspace.settingsRecord().discard();
    files.close();
    RestoreResult result;
    result.asideFolder = aside;
    result.problem = server.restoreFrom(copy.dumpPath);
    result.restored = result.problem.isEmpty();
    if (const QString again = reopen(files); !again.isEmpty())
        result.problem += (result.problem.isEmpty() ? QString() : QStringLiteral("\n")) + again;
    return result;
}

QStringList serverBackupNow(Workspace &workspace, const QDate &day, const PgTools &tools)
{
    return ServerBackup(workspace.paths(), workspace.files().archiveServer(), tools).run(day);
}

} // namespace quillora
