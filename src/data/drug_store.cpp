#include "data/drug_store.h"

#include "data/database.h"
#include "data/key_indexes.h"

namespace quillora {

namespace {

const QString kDrugColumns = QStringLiteral("rowid, [拼音], [名称], [分类], [数量], [单位], [单价]");

QString containing(const QString &text) { return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%'); }

const QString kTable = QStringLiteral("药品");


DrugRow readDrug(const Statement &q)
{
    return DrugRow{q.int64(0), q.text(1), q.text(2), q.text(3), q.text(4), q.text(5), q.real(6)};
}

} // namespace

qint64 DrugStore::insert(const DrugRow &row)
{
    Statement q(m_db, QStringLiteral("INSERT INTO [药品] ([拼音], [名称], [分类], [数量], [单位], [单价]) "
                                     "VALUES (?, ?, ?, ?, ?, ?)"));
    q.bind(1, row.code).bind(2, row.name).bind(3, row.category).bind(4, row.quantity).bind(5, row.unit);
    q.bind(6, row.price);
    q.run();
    const qint64 id = m_db.lastInsertRowId();
    m_db.rowChanged(kTable, id);
    return id;
}

bool DrugStore::update(const DrugRow &row)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("UPDATE [药品] SET [拼音] = ?, [名称] = ?, [分类] = ?, [数量] = ?, [单位] = ?, [单价] = ? "
                                     "WHERE rowid = ?"));
    q.bind(1, row.code).bind(2, row.name).bind(3, row.category).bind(4, row.quantity).bind(5, row.unit);
    q.bind(6, row.price).bind(7, row.rowId);
    q.run();
    const bool changed = m_db.changes() > 0;
    m_db.rowChanged(kTable, row.rowId);
    t.commit();
    return changed;
}

bool DrugStore::remove(qint64 rowId) { return m_db.deleteWhere(QStringLiteral("药品"), QStringLiteral("rowid"), rowId); }

std::optional<DrugRow> DrugStore::byRowId(qint64 rowId)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [药品] WHERE rowid = ?").arg(kDrugColumns));
    q.bind(1, rowId);
    if (!q.next())
        return std::nullopt;
    return readDrug(q);
}

QList<ListedRow> DrugStore::listed(const QString &sql, const QStringList &patterns, int limit)
{
    Statement q(m_db, sql);
    int index = 1;
    for (const QString &pattern : patterns)
        q.bind(index++, pattern);
    q.bind(index, limit);
    QList<ListedRow> rows;
    while (q.next())
        rows << ListedRow{q.int64(0), q.text(1)};
    return rows;
}

QList<ListedRow> DrugStore::searchByCode(const QString &text, int limit)
{
    if (const KeyIndex *index = m_db.keyIndexes().find(kTable, QStringLiteral("拼音")))
        return listedHits(index->search(text, nullptr, limit));
    return listed(QStringLiteral("SELECT rowid, [名称] FROM [药品] WHERE [拼音] LIKE ? ESCAPE '\\' "
                                 "ORDER BY [名称] COLLATE PINYIN, rowid LIMIT ?"),
                  {containing(text)}, limit);
}

QList<ListedRow> DrugStore::searchByCode(const QString &text, const QString &category, int limit)
{
    if (const KeyIndex *index = m_db.keyIndexes().find(kTable, QStringLiteral("拼音")))
        return listedHits(index->search(text, &category, limit));
    return listed(QStringLiteral("SELECT rowid, [名称] FROM [药品] WHERE [拼音] LIKE ? ESCAPE '\\' "
                                 "AND [分类] LIKE ? ESCAPE '\\' ORDER BY [名称] COLLATE PINYIN, rowid LIMIT ?"),
                  {containing(text), containing(category)}, limit);
}

QStringList DrugStore::categoriesLike(const QString &pattern)
{
    // One index step per distinct category, however large the catalogue.
    Statement q(m_db, QStringLiteral("WITH RECURSIVE c(name) AS ("
                                     "SELECT min([分类]) FROM [药品] INDEXED BY [药品_分类] "
                                     "UNION ALL SELECT (SELECT min([分类]) FROM [药品] INDEXED BY [药品_分类] WHERE [分类] > c.name) "
                                     "FROM c WHERE c.name IS NOT NULL) "
                                     "SELECT name FROM c WHERE name LIKE ? ESCAPE '\\'"));
    q.bind(1, pattern);
    QStringList names;
    while (q.next())
        names << q.text(0);
    return names;
}

QList<ListedRow> DrugStore::byCategory(const QString &category, Match match)
{
    const QString literal = escapeLike(category);
    const QString pattern = match == Match::Equal      ? literal
                            : match == Match::EndsWith ? QLatin1Char('%') + literal
                                                       : containing(category);
    QStringList categories;
    try {
        categories = categoriesLike(pattern);
    } catch (const DbError &) {
        // A file without the category index: the statement reads the whole catalogue.
        return listed(QStringLiteral("SELECT rowid, [名称] FROM [药品] WHERE [分类] LIKE ? ESCAPE '\\' "
                                     "ORDER BY [名称] COLLATE PINYIN, rowid LIMIT ?"),
                      {pattern}, -1);
    }
    if (categories.isEmpty())
        return {};
    // The rows of the matching categories in name order, straight from the index when one
    // category matches; several are merged in that order by the statement.
    QStringList marks;
    for (qsizetype i = 0; i < categories.size(); ++i)
        marks << QStringLiteral("?");
    return listed(QStringLiteral("SELECT rowid, [名称] FROM [药品] INDEXED BY [药品_分类] WHERE [分类] IN (%1) "
                                 "ORDER BY [名称] COLLATE PINYIN, rowid LIMIT ?")
                      .arg(marks.join(QLatin1Char(','))),
                  categories, -1);
}

std::optional<DrugRow> DrugStore::first(const QString &where, const QStringList &values)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [药品] WHERE %2 ORDER BY rowid LIMIT 1").arg(kDrugColumns, where));
    for (int i = 0; i < values.size(); ++i)
        q.bind(i + 1, values[i]);
    if (!q.next())
        return std::nullopt;
    return readDrug(q);
}

std::optional<DrugRow> DrugStore::firstByNamePrefix(const QString &prefix)
{
    return first(QStringLiteral("[名称] LIKE ? ESCAPE '\\'"), {escapeLike(prefix) + QLatin1Char('%')});
}

namespace {
// "AND [分类] LIKE ?" when a category narrows the search, as the herb search narrows it.
QString withinCategory(const QString &where, const QString &category, QStringList &values)
{
    if (category.isEmpty())
        return where;
    values << containing(category);
    return QStringLiteral("(%1) AND [分类] LIKE ? ESCAPE '\\'").arg(where);
}
} // namespace

std::optional<DrugRow> DrugStore::firstByNameContaining(const QString &text, const QString &category)
{
    QStringList values{containing(text)};
    const QString where = withinCategory(QStringLiteral("[名称] LIKE ? ESCAPE '\\'"), category, values);
    return first(where, values);
}

std::optional<DrugRow> DrugStore::firstByWholeName(const QString &name, const QString &category)
{
    // A stored name may carry its usage after a backslash: "名称 规格\用法".
    QStringList values{name, escapeLike(name) + QStringLiteral("\\\\%")};
    const QString where = withinCategory(QStringLiteral("[名称] = ? OR [名称] LIKE ? ESCAPE '\\'"), category, values);
    return first(where, values);
}

int DrugStore::count()
{
    Statement q(m_db, QStringLiteral("SELECT count(*) FROM [药品]"));
    q.next();
    return int(q.int64(0));
}

QList<ListedRow> listedHits(const QList<KeyHit> &hits)
{
    QList<ListedRow> rows;
    rows.reserve(hits.size());
    for (const KeyHit &hit : hits)
        rows << ListedRow{hit.rowId, hit.shown.value(0)};
    return rows;
}

} // namespace quillora
