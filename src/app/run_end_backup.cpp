#include "app/run_end_backup.h"

#include "app/server_backup.h"
#include "app/server_rooms.h"
#include "app/shutdown_backup.h"
#include "data/data_files.h"

namespace quillora {

QStringList backUpAtRunEnd(DataFiles &files, const AppPaths &paths, const QDate &day, const PgTools &tools)
{
    if (!files.usesServer()) {
        files.close();
        return ShutdownBackup(paths).run(day);
    }
    // The other rooms are counted while this room's own connections are still open: a
    // connection just closed stays listed on the server for a moment.
    const bool last = isLastRoomLeaving(files);
    files.close();
    return last ? ServerBackup(paths, files.archiveServer(), tools).run(day) : QStringList();
}

} // namespace quillora
