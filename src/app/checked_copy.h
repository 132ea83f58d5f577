#pragma once

#include <QString>

namespace quillora {

// Copies a file under a temporary name beside the target, flushes it to disk and only then
// renames it over the target, so that a failure half-way never destroys the older copy.
// Returns what went wrong, empty when the copy is in place.
QString copyFileOver(const QString &source, const QString &target);

// The same for a database file, with one more step before the rename: the copy must open
// with its key and pass SQLite's quick check, so a damaged file never replaces a good copy.
QString copyDatabaseOver(const QString &source, const QString &target, const QString &key);

// The two halves of copyDatabaseOver, for callers that must have several files checked before
// any of them replaces its target: stageDatabaseCopy leaves the checked copy under
// stagedName(target) (or nothing, and says why); putStagedInPlace renames it over the target.
QString stagedName(const QString &target);
QString stageDatabaseCopy(const QString &source, const QString &target, const QString &key);
QString putStagedInPlace(const QString &target);

// Opens a database file read-only with its key and runs SQLite's quick check; empty when it
// passes, else what is wrong, naming the file as shownName.
QString checkDatabaseFile(const QString &path, const QString &key, const QString &shownName);

} // namespace quillora
