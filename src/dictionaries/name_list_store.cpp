#include "dictionaries/name_list_store.h"

#include "data/database.h"
#include "data/dictionary_store.h"
#include "data/key_indexes.h"

namespace quillora {

namespace {

QString containing(const QString &text) { return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%'); }

QList<ListedRow> listedHits(Statement &q)
{
    QList<ListedRow> rows;
    while (q.next())
        rows << ListedRow{q.int64(0), q.text(1)};
    return rows;
}


const QString kTemplates = QStringLiteral("病史模板");

} // namespace

QList<ListedRow> NameListStore::search(const QString &column, const QString &text, int limit)
{
    if (const KeyIndex *index = m_db.keyIndexes().find(m_table, column))
        return listedHits(index->search(text, nullptr, limit));
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称] FROM %1 WHERE %2 LIKE ? ESCAPE '\\' ORDER BY rowid LIMIT ?")
                          .arg(quoteIdentifier(m_table), quoteIdentifier(column)));
    q.bind(1, containing(text)).bind(2, limit);
    return listedHits(q);
}

QList<ListedRow> NameListStore::searchByKey(const QString &text, int limit) { return search(QStringLiteral("序号"), text, limit); }

QList<ListedRow> NameListStore::searchByCode(const QString &text, int limit) { return search(QStringLiteral("拼音"), text, limit); }

QList<ListedRow> NameListStore::all()
{
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称] FROM %1 ORDER BY rowid").arg(quoteIdentifier(m_table)));
    return listedHits(q);
}

qint64 NameListStore::insert(const QString &name, const QString &code)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("INSERT INTO %1 ([名称], [拼音], [序号]) VALUES (?, ?, ?)").arg(quoteIdentifier(m_table)));
    q.bind(1, name).bind(2, code).bind(3, DictionaryStore::searchKey(name, code));
    q.run();
    const qint64 id = m_db.lastInsertRowId();
    m_db.rowChanged(m_table, id);
    t.commit();
    return id;
}

bool NameListStore::remove(qint64 rowId)
{
    return m_db.deleteWhere(m_table, QStringLiteral("rowid"), rowId);
}

QList<ListedRow> HistoryTemplateStore::searchByKey(const QString &filter)
{
    if (const KeyIndex *index = m_db.keyIndexes().find(kTemplates, QStringLiteral("序号")))
        return listedHits(index->search(filter, nullptr, -1));
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称] FROM [病史模板] WHERE [序号] LIKE ? ESCAPE '\\' ORDER BY [名称] COLLATE PINYIN, rowid"));
    q.bind(1, containing(filter));
    return listedHits(q);
}

QList<ListedRow> HistoryTemplateStore::all()
{
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称] FROM [病史模板] ORDER BY rowid"));
    return listedHits(q);
}

std::optional<HistoryTemplate> HistoryTemplateStore::byRowId(qint64 rowId)
{
    Statement q(m_db, QStringLiteral("SELECT rowid, [名称], [内容], [序号], [拼音] FROM [病史模板] WHERE rowid = ?"));
    q.bind(1, rowId);
    if (!q.next())
        return std::nullopt;
    return HistoryTemplate{q.int64(0), q.text(1), q.text(2), q.text(3), q.text(4)};
}

qint64 HistoryTemplateStore::insert(const QString &name, const QString &code, const QString &content)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("INSERT INTO [病史模板] ([名称], [内容], [序号], [拼音]) VALUES (?, ?, ?, ?)"));
    q.bind(1, name).bind(2, content).bind(3, DictionaryStore::searchKey(name, code)).bind(4, code);
    q.run();
    const qint64 id = m_db.lastInsertRowId();
    m_db.rowChanged(kTemplates, id);
    t.commit();
    return id;
}

bool HistoryTemplateStore::update(qint64 rowId, const QString &name, const QString &code, const QString &content)
{
    Transaction t(m_db);
    Statement q(m_db, QStringLiteral("UPDATE [病史模板] SET [名称]=?, [内容]=?, [序号]=?, [拼音]=? WHERE rowid=?"));
    q.bind(1, name).bind(2, content).bind(3, DictionaryStore::searchKey(name, code)).bind(4, code).bind(5, rowId);
    q.run();
    const bool changed = m_db.changes() > 0;
    m_db.rowChanged(kTemplates, rowId);
    t.commit();
    return changed;
}

bool HistoryTemplateStore::remove(qint64 rowId)
{
    return m_db.deleteWhere(QStringLiteral("病史模板"), QStringLiteral("rowid"), rowId);
}

} // namespace quillora
