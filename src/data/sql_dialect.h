#pragma once

#include <QString>

namespace quillora {

// A statement of the stores rewritten for PostgreSQL.
struct ServerSql
{
    QString text;
    // Highest parameter number: the statement takes $1 … $parameterCount.
    int parameterCount = 0;
    // An INSERT that returns the new row's rowid (its only result row).
    bool returnsRowId = false;
    // Nothing to run: a PRAGMA that only tunes SQLite.
    bool isEmpty() const { return text.isEmpty(); }
};

// Rewrites the SQLite text the stores write into PostgreSQL text of the same meaning:
// [名称] → "名称", ?/?N → $N, LIKE → ILIKE under the "C" collation (which folds the ASCII
// letters only, as SQLite's LIKE does), x COLLATE PINYIN → the stored pinyin sort key of x,
// NULLs ordered first as in SQLite,
// LIMIT ? with a negative value → no limit, INDEXED BY and unary + dropped, tuning PRAGMAs
// dropped, schema types and checks in their PostgreSQL form, INSERT … RETURNING rowid.
// Forms it does not know to be equal on both engines are refused with DbError, never passed on.
ServerSql toServerSql(const QString &sqlite);

// The server's stored pinyin sort key of a column (bytea, compared as bytes in pinyinCompare's
// order): what "column COLLATE PINYIN" orders by on the server.
QString pinyinKeyColumn(const QString &column);

// The server function the rewritten date check calls.
inline constexpr const char *kServerIsDate = "quillora_is_date";

} // namespace quillora
