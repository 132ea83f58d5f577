#pragma once

namespace quillora {

class Database;

// What a PostgreSQL database needs beyond the tables: the functions the rewritten statements
// call (ASCII-only folding for LIKE, the pinyin sort key, the date check) and trigram indexes
// for the containment searches. Both do nothing on an SQLCipher file.
namespace ServerSchema {
// Creates (or replaces) the functions and fills the pinyin weights from the program's own table.
void createFunctions(Database &db);
// Trigram indexes on the folded key columns the searches match by containment, for the tables present.
void createSearchIndexes(Database &db);
} // namespace ServerSchema

} // namespace quillora
