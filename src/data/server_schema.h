#pragma once

#include <QString>

namespace quillora {

class Database;

// What a PostgreSQL database needs beyond the tables: the functions the rewritten statements
// and columns call (the date check, the pinyin sort key), the stored sort keys of the names
// listed in pinyin order, and trigram indexes for the containment searches. All of it does
// nothing on an SQLCipher file.
namespace ServerSchema {
// The channel on which the server announces rows written to the tables the key indexes cover,
// and the trigger that does it.
inline constexpr const char *kRowChannel = "quillora_rows";
inline constexpr const char *kAnnounceTrigger = "quillora_announce_row";

// Creates (or replaces) the functions and fills the pinyin weights from the program's own table.
void createFunctions(Database &db);
// For the tables present: trigram indexes on the key columns the searches match by containment,
// and the stored pinyin sort keys of the names listed in pinyin order.
void createSearchSupport(Database &db);
// Stores the pinyin sort key of the column beside it (kept by the server on every write), so
// that "column COLLATE PINYIN" can order by it.
void addPinyinKey(Database &db, const QString &table, const QString &column);
// Several rooms save into one archive: no two visits may share a key there. A file of one
// room keeps the rows it has (older files may hold equal keys); a save gives a new visit a
// key no other row has.
void ensureUniqueVisitKeys(Database &db);
// Every insert, update and delete in a table a key index covers is announced on kRowChannel
// as "table rowid" when it commits.
void announceRowChanges(Database &db);
bool announcesRowChanges(Database &db, const QString &table);
} // namespace ServerSchema

} // namespace quillora
