#include "data/server_schema.h"

#include "data/database.h"
#include "data/key_indexes.h"
#include "data/pg_connection.h"
#include "data/sql_dialect.h"
#include "text/pinyin_order.h"

namespace quillora {

namespace {

// What CHECK(x IS date(x, '+0 days')) lets into SQLite: NULL, or a text that SQLite's own day
// arithmetic (computeJD, then computeYMD, with C's truncating divisions) gives back unchanged
// as "%04d-%02d-%02d". Real days of yyyy-mm-dd pass; 2024-02-30, '' and 2024-1-3 do not; the
// few years before 0 that SQLite's arithmetic treats oddly are treated the same way here.
const char *const kIsDate = R"SQL(
CREATE OR REPLACE FUNCTION quillora_is_date(t text) RETURNS boolean
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE
AS $$
DECLARE
    y int; m int; d int; a int; b int; c int; e int; x1 int; x2 int; z bigint; jd bigint; days int;
BEGIN
    IF t IS NULL THEN RETURN true; END IF;
    IF t !~ '^-?[0-9]{4}-[0-9]{2}-[0-9]{2}$' THEN RETURN false; END IF;
    y := substr(t, length(t) - 9, 4)::int;
    m := substr(t, length(t) - 4, 2)::int;
    d := right(t, 2)::int;
    IF m NOT BETWEEN 1 AND 12 OR d NOT BETWEEN 1 AND 31 THEN RETURN false; END IF;
    IF left(t, 1) = '-' THEN y := -y; END IF;
    IF m <= 2 THEN y := y - 1; m := m + 12; END IF;
    a := y / 100;
    b := 2 - a + a / 4;
    x1 := 36525 * (y + 4716) / 100;
    x2 := 306001 * (m + 1) / 10000;
    jd := trunc((x1 + x2 + d + b - 1524.5::float8) * 86400000);
    z := (jd + 43200000) / 86400000;
    a := trunc((z - 1867216.25::float8) / 36524.25);
    a := z + 1 + a - a / 4;
    b := a + 1524;
    c := trunc((b - 122.1::float8) / 365.25);
    days := (36525 * (c & 32767)) / 100;
    e := trunc((b - days) / 30.6001::float8);
    x1 := trunc(30.6001::float8 * e);
    d := b - days - x1;
    m := CASE WHEN e < 14 THEN e - 1 ELSE e - 13 END;
    y := CASE WHEN m > 2 THEN c - 4716 ELSE c - 4715 END;
    -- %04d: at least four characters, the sign among them (lpad would cut longer numbers).
    RETURN CASE WHEN y < 0 THEN '-' || lpad((-y)::text, greatest(3, length((-y)::text)), '0')
                ELSE lpad(y::text, greatest(4, length(y::text)), '0') END
           || '-' || lpad(m::text, 2, '0') || '-' || lpad(d::text, 2, '0') = t;
END $$)SQL";

const char *const kWeights = R"SQL(
CREATE TABLE IF NOT EXISTS quillora_pinyin_weight (unit integer PRIMARY KEY, weight integer NOT NULL))SQL";

const char *const kFillWeights = R"SQL(
INSERT INTO quillora_pinyin_weight (unit, weight)
SELECT * FROM unnest(string_to_array($1, ',')::integer[], string_to_array($2, ',')::integer[])
ON CONFLICT (unit) DO UPDATE SET weight = excluded.weight)SQL";

// The pinyin order as bytes: the weights of the UTF-16 units (3 bytes each), a zero weight
// that ends them (so a prefix sorts first), then the units themselves (2 bytes each) for the
// ties. Compared with memcmp, as bytea is, this is pinyinCompare's order. It costs tens of
// microseconds a name, so it is stored beside the name when the row is written. The weights
// table is named with its schema: a restore runs the function with an empty search path.
const char *const kPinyinKey = R"SQL(
CREATE OR REPLACE FUNCTION quillora_pinyin_key(t text) RETURNS bytea
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$
WITH chars AS (
    SELECT i, ascii(ch) AS cp FROM unnest(string_to_array(t, NULL)) WITH ORDINALITY AS c(ch, i)
), units AS (
    SELECT i, 0 AS j, cp AS u FROM chars WHERE cp < 65536
    UNION ALL SELECT i, 0, 55296 + ((cp - 65536) >> 10) FROM chars WHERE cp >= 65536
    UNION ALL SELECT i, 1, 56320 + ((cp - 65536) & 1023) FROM chars WHERE cp >= 65536
)
SELECT coalesce(string_agg(substring(int4send(coalesce(w.weight, 65536 + u.u)) FROM 2), ''::bytea ORDER BY u.i, u.j), ''::bytea)
    || '\x000000'::bytea
    || coalesce(string_agg(substring(int4send(u.u) FROM 3), ''::bytea ORDER BY u.i, u.j), ''::bytea)
FROM units u LEFT JOIN %1.quillora_pinyin_weight w ON w.unit = u.u
$$)SQL";

// Units whose weight is not the default (0x10000 + unit): ASCII and the ideographs with a reading.
void fillWeights(PgConnection &server)
{
    QByteArrayList units, weights;
    for (quint32 u = 1; u <= 0xFFFF; ++u) {
        const quint32 w = pinyinWeight(char16_t(u));
        if (w == 0x10000u + u)
            continue;
        units << QByteArray::number(u);
        weights << QByteArray::number(w);
    }
    server.query(QString::fromLatin1(kFillWeights), {units.join(','), weights.join(',')});
}

struct SearchedColumn
{
    const char *table;
    const char *column;
};

// The key columns the stores search by containment (LIKE '%…%').
const SearchedColumn kSearchedColumns[] = {
    {"药品", "拼音"}, {"患者信息", "序号"}, {"诊断", "序号"}, {"诊断", "拼音"}, {"地址", "序号"},
    {"地址", "拼音"}, {"个人组套", "拼音"}, {"病史模板", "序号"}, {"档案", "0"},
};

// The names the stores list in pinyin order (ORDER BY … COLLATE PINYIN).
const SearchedColumn kPinyinOrdered[] = {{"药品", "名称"}, {"病史模板", "名称"}};

} // namespace

void ServerSchema::createFunctions(Database &db)
{
    PgConnection *server = db.server();
    if (!server)
        return;
    for (const char *sql : {kIsDate, kWeights})
        server->exec(QString::fromUtf8(sql));
    fillWeights(*server);
    const QString schema = QString::fromUtf8(server->query(QStringLiteral("SELECT current_schema()")).bytes(0, 0));
    server->exec(QString::fromUtf8(kPinyinKey).arg(quoteIdentifier(schema)));
}

void ServerSchema::addPinyinKey(Database &db, const QString &table, const QString &column)
{
    PgConnection *server = db.server();
    if (!server)
        return;
    const QString key = pinyinKeyColumn(column);
    server->exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 bytea GENERATED ALWAYS AS (quillora_pinyin_key(%3)) STORED")
                     .arg(quoteIdentifier(table), quoteIdentifier(key), quoteIdentifier(column)));
    // Lists capped at the first rows in name order read them in that order.
    server->exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3 NULLS FIRST, rowid NULLS FIRST)")
                     .arg(quoteIdentifier(table + QLatin1Char('_') + key), quoteIdentifier(table), quoteIdentifier(key)));
}

void ServerSchema::createSearchSupport(Database &db)
{
    PgConnection *server = db.server();
    if (!server)
        return;
    server->exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
    for (const SearchedColumn &c : kSearchedColumns) {
        const QString table = QString::fromUtf8(c.table);
        const QString column = QString::fromUtf8(c.column);
        if (!db.hasTable(table))
            continue;
        // Under the collation the rewritten LIKE (ILIKE … COLLATE "C") compares with, or it is not used.
        server->exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3 COLLATE \"C\" gin_trgm_ops)")
                         .arg(quoteIdentifier(table + QLatin1Char('_') + column + QStringLiteral("_trgm")),
                              quoteIdentifier(table), quoteIdentifier(column)));
    }
    for (const SearchedColumn &c : kPinyinOrdered) {
        if (db.hasTable(QString::fromUtf8(c.table)))
            addPinyinKey(db, QString::fromUtf8(c.table), QString::fromUtf8(c.column));
    }
    ensureUniqueVisitKeys(db);
    announceRowChanges(db);
}

namespace {

// Every room keeps its key indexes in memory: a row written in one room is announced to the
// others (table and rowid), which read it again before their next search.
const char *const kAnnounceRow = R"SQL(
CREATE OR REPLACE FUNCTION quillora_announce_row() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP <> 'INSERT' THEN
        PERFORM pg_notify('%1', TG_TABLE_NAME || ' ' || OLD.rowid);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        PERFORM pg_notify('%1', TG_TABLE_NAME || ' ' || NEW.rowid);
    END IF;
    RETURN NULL;
END $$)SQL";

} // namespace

void ServerSchema::announceRowChanges(Database &db)
{
    PgConnection *server = db.server();
    if (!server)
        return;
    QStringList silent;
    for (const KeyIndexSpec &spec : keyIndexSpecs()) {
        if (!silent.contains(spec.table) && db.hasTable(spec.table) && !announcesRowChanges(db, spec.table))
            silent << spec.table;
    }
    // Made only where missing: rooms starting at once do not replace each other's.
    if (silent.isEmpty())
        return;
    server->exec(QString::fromUtf8(kAnnounceRow).arg(QLatin1String(kRowChannel)));
    for (const QString &table : std::as_const(silent))
        server->exec(QStringLiteral("CREATE OR REPLACE TRIGGER %1 AFTER INSERT OR UPDATE OR DELETE ON %2 "
                                    "FOR EACH ROW EXECUTE FUNCTION quillora_announce_row()")
                         .arg(QLatin1String(kAnnounceTrigger), quoteIdentifier(table)));
}

bool ServerSchema::announcesRowChanges(Database &db, const QString &table)
{
    PgConnection *server = db.server();
    if (!server)
        return false;
    const PgResult found = server->query(QStringLiteral("SELECT 1 FROM pg_trigger WHERE tgname = $1 AND tgrelid = to_regclass($2)"),
                                         {QByteArray(kAnnounceTrigger), quoteIdentifier(table).toUtf8()});
    return found.rowCount() > 0;
}

void ServerSchema::ensureUniqueVisitKeys(Database &db)
{
    PgConnection *server = db.server();
    if (!server || !db.hasTable(QStringLiteral("档案")))
        return;
    server->exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS \"档案_名称_唯一\" ON \"档案\" (\"名称\")"));
}

} // namespace quillora
