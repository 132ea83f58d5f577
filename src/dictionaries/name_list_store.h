#pragma once

#include "data/drug_store.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillora {

class Database;

// A diagnosis (诊断) or address (地址) list: name, code and the combined search key.
class NameListStore
{
public:
    NameListStore(Database &settings, const QString &table) : m_db(settings), m_table(table) {}
    static NameListStore diagnoses(Database &settings) { return NameListStore(settings, QStringLiteral("诊断")); }
    static NameListStore addresses(Database &settings) { return NameListStore(settings, QStringLiteral("地址")); }

    // Rows whose search key (name + code) contains the text, in stored order (-1: no limit).
    QList<ListedRow> searchByKey(const QString &text, int limit = 500);
    // Rows whose code contains the text, in stored order.
    QList<ListedRow> searchByCode(const QString &text, int limit = 500);
    QList<ListedRow> all();
    qint64 insert(const QString &name, const QString &code);
    bool remove(qint64 rowId);

private:
    QList<ListedRow> search(const QString &column, const QString &text, int limit);
    Database &m_db;
    QString m_table;
};

// One medical-history template.
struct HistoryTemplate
{
    qint64 rowId = 0;
    QString name, content, key, code;
};

// The medical-history templates (病史模板).
class HistoryTemplateStore
{
public:
    explicit HistoryTemplateStore(Database &settings) : m_db(settings) {}
    // Templates whose search key contains the filter, in name order.
    QList<ListedRow> searchByKey(const QString &filter);
    QList<ListedRow> all();
    std::optional<HistoryTemplate> byRowId(qint64 rowId);
    qint64 insert(const QString &name, const QString &code, const QString &content);
    // False when the row is gone.
    bool update(qint64 rowId, const QString &name, const QString &code, const QString &content);
    bool remove(qint64 rowId);

private:
    Database &m_db;
};

} // namespace quillora
