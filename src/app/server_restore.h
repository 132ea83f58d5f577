#pragma once

#include "app/backup_restore.h"
#include "app/pg_tools.h"

namespace quillora {

class Workspace;

// Puts a server dump in place of everything in the clinic's database. Refused while other rooms
// are connected. The database as it is goes first into a checked dump in 恢复前-<moment> below
// the backup root (no restore when that fails); the restore is one transaction, so a failed one
// leaves the database as it was. The connections are closed for it and opened again, and the
// settings held in memory are dropped.
RestoreResult restoreServerDump(Workspace &workspace, const BackupCopy &copy, const QDateTime &moment,
                                const PgTools &tools = PgTools::locate());

// Today's dump of the server database made now; returns what went wrong.
QStringList serverBackupNow(Workspace &workspace, const QDate &day, const PgTools &tools = PgTools::locate());

} // namespace quillora
