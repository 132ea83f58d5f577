#pragma once

#include <QString>

namespace quillora {

class Database;

// Longest text a memo column takes; longer input is refused with a message.
constexpr int kMemoMaxLength = 65535;

// Tables, columns, checks and indexes of the two database files.
namespace Schema {
// The archive file: visits, patient register, login password.
void createArchive(Database &db);
// The settings file: the settings row and every dictionary.
void createSettings(Database &db);
// Indexes an archive made by an earlier version lacks; made on opening.
void ensureArchiveIndexes(Database &db);
// Indexes a settings file made by an earlier version lacks; made on opening.
void ensureSettingsIndexes(Database &db);
// True when opening the file will first build an index an earlier version did not make
// (a one-time wait that grows with the file).
bool lacksLaterIndexes(Database &db);
// Appends to an older settings table the columns it lacks of those added since; throws DbError.
void addLaterSettingsColumns(Database &db);
} // namespace Schema

} // namespace quillora
