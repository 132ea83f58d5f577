#pragma once

#include "app/pg_tools.h"
#include "base/app_paths.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace quillora {

// The one file a server backup writes into a day folder (or a 恢复前 folder).
inline const QString kServerDumpFileName = QStringLiteral("服务器数据库.dump");

// The backup of a clinic whose rooms share a PostgreSQL database: pg_dump's custom format into
// the day folder of the backup root, checked with pg_restore --list before it replaces the day's
// earlier dump; and the restore of such a dump into the database.
class ServerBackup
{
public:
    ServerBackup(const AppPaths &paths, const QString &conninfo, const PgTools &tools = PgTools::locate())
        : m_paths(paths), m_conninfo(conninfo), m_tools(tools) {}

    QString dumpPath(const QDate &day) const;
    // Today's dump made now; returns one line when it failed (the day's earlier dump stays).
    QStringList run(const QDate &day) const;
    // Dumps the database into a temporary file beside the target, checks it, and only then
    // renames it over the target. Empty when it is in place, else what went wrong.
    QString dumpInto(const QString &target) const;
    // Replaces everything in the database by the dump, all in one transaction: a failure leaves
    // the database as it was. Empty when it was restored, else what went wrong.
    QString restoreFrom(const QString &dump) const;

    // Reads a dump's table of contents: empty when it lists the archive and settings tables,
    // else why the dump cannot be restored.
    static QString checkDump(const QString &dump, const PgTools &tools = PgTools::locate());

private:
    AppPaths m_paths;
    QString m_conninfo;
    PgTools m_tools;
};

} // namespace quillora
