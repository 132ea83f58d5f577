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

} // namespace quillora
