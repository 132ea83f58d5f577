#pragma once

#include "app/pg_tools.h"
#include "base/app_paths.h"

#include <QDate>
#include <QStringList>

namespace quillora {

class DataFiles;

// The backup at the end of a run, which closes every connection of the files for it: the
// checked copies of the two files; on a server, the day's dump, taken only by the last room
// to close (a room that is not last does nothing). Returns one line per failure.
QStringList backUpAtRunEnd(DataFiles &files, const AppPaths &paths, const QDate &day, const PgTools &tools = PgTools::locate());

} // namespace quillora
