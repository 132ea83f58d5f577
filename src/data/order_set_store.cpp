#include "data/order_set_store.h"

#include "data/database.h"
#include "data/key_indexes.h"

namespace quillora {

namespace {

QString containing(const QString &text) { return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%'); }

const QString kTable = QStringLiteral("个人组套");

} // namespace

QList<ListedRow> OrderSetStore::listed(const QString &where, const QStringList &values)
{
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称] FROM [个人组套] WHERE %1 ORDER BY rowid").arg(where));
    int index = 1;
    for (const QString &value : values)
        q.bind(index++, value);
    QList<ListedRow> rows;
    while (q.next())
        rows << ListedRow{q.int64(0), q.text(1)};
    return rows;
}

QList<ListedRow> OrderSetStore::byKind(const QString &kind)
{
    return listed(QStringLiteral("[分类] LIKE ? ESCAPE '\\'"), {containing(kind)});
}

QList<ListedRow> OrderSetStore::ofKindExactly(const QString &kind)
{
    return listed(QStringLiteral("[分类] = ?"), {kind});
}

QList<ListedRow> OrderSetStore::searchByCode(const QString &text, const QString &kind)
{
    if (const KeyIndex *index = m_db.keyIndexes().find(kTable, QStringLiteral("拼音"))) {
        QList<ListedRow> rows;
        for (const KeyHit &hit : index->search(text, &kind, -1))
            rows << ListedRow{hit.rowId, hit.shown.value(0)};
        return rows;
    }
    return listed(QStringLiteral("[拼音] LIKE ? ESCAPE '\\' AND [分类] LIKE ? ESCAPE '\\'"),
                  {containing(text), containing(kind)});
}

std::optional<OrderSetRow> OrderSetStore::byRowId(qint64 rowId)
{
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称], [分类], [拼音], [内容] FROM [个人组套] WHERE rowid = ?"));
    q.bind(1, rowId);
    if (!q.next())
        return std::nullopt;
    return OrderSetRow{q.int64(0), q.text(1), q.text(2), q.text(3), q.text(4)};
}

qint64 OrderSetStore::insert(const OrderSetRow &row)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("INSERT INTO [个人组套] ([名称], [分类], [拼音], [内容]) VALUES (?, ?, ?, ?)"));
    q.bind(1, row.name).bind(2, row.kind).bind(3, row.code).bind(4, row.content);
    q.run();
    const qint64 id = m_db.lastInsertRowId();
    m_db.rowChanged(kTable, id);
    t.commit();
    return id;
}

bool OrderSetStore::update(const OrderSetRow &row)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("UPDATE [个人组套] SET [名称] = ?, [分类] = ?, [拼音] = ?, [内容] = ? WHERE rowid = ?"));
    q.bind(1, row.name).bind(2, row.kind).bind(3, row.code).bind(4, row.content).bind(5, row.rowId);
    q.run();
    const bool changed = m_db.changes() > 0;
    m_db.rowChanged(kTable, row.rowId);
    t.commit();
    return changed;
}

bool OrderSetStore::remove(qint64 rowId)
{
    return m_db.deleteWhere(QStringLiteral("个人组套"), QStringLiteral("rowid"), rowId);
}

QString orderSetContentToStore(const QString &content)
{
    if (content.size() > 2 && content.endsWith(QLatin1String("\r\n")))
        return content.left(content.size() - 2);
    return content;
}

} // namespace quillora
