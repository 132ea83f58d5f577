#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillora {

class Database;

// Which rows of a table one key index covers and how it answers.
struct KeyIndexSpec
{
    enum class Order {
        RowId,       // ORDER BY rowid
        KeyBytes,    // ORDER BY key, rowid (the key's own index order)
        NamePinyin,  // ORDER BY name COLLATE PINYIN, rowid
    };
    QString table;
    QString keyColumn;      // matched by containment, ASCII case ignored
    QStringList shown;      // columns handed back with each row
    QString filterColumn;   // when set, a second column matched by containment
    Order order = Order::RowId;
    QString nameColumn;     // the name that NamePinyin orders by
    // A list of the distinct keys rather than of rows: read with this statement (one row per
    // key), and a key stays once seen, so a search may name keys no row has any more.
    QString distinctKeysSql;
};

// One answer: the row and the shown columns' texts.
struct KeyHit
{
    qint64 rowId = 0;
    QStringList shown;
};

// An in-memory answer to `key LIKE '%text%'` (ASCII case ignored) over one short text column,
// in the order the statement sorts, without reading every key: each key is filed under its
// characters and its pairs of neighbouring characters, and a search walks the lists of the
// typed text's pairs side by side in the answer's order, stopping at the limit.
class KeyIndex
{
public:
    explicit KeyIndex(KeyIndexSpec spec) : m_spec(std::move(spec)) {}

    const KeyIndexSpec &spec() const { return m_spec; }
    // Reads every row; false when stopped before the end.
    bool loadAll(Database &db, const std::atomic<bool> &stop);
    // Reads the row again (or drops it when it is gone).
    void refresh(Database &db, qint64 rowId);
    int size() const { return int(m_order.size()); }

    // Rows whose key contains the text and, when `filter` is given, whose filter column
    // contains it too; in the statement's order, at most `limit` of them (negative: all).
    QList<KeyHit> search(const QString &text, const QString *filter, int limit) const;

private:
    struct Entry
    {
        qint64 rowId = 0;
        QString key;          // ASCII letters folded to lower case
        QString filter;       // likewise
        bool filterNull = false;
        QStringList shown;
        std::string name;     // UTF-8, for the pinyin order
        bool nameNull = false;
        QByteArray keyBytes;  // UTF-8, for the key order
        std::uint64_t rank = 0;
        bool live = false;
    };

    QString selectSql() const;
    Entry readEntry(const class Statement &q) const;
    bool before(std::uint32_t a, std::uint32_t b) const;
    void place(std::uint32_t slot);
    void insertEntry(Entry entry);
    void removeEntry(qint64 rowId);
    void renumber();
    bool matches(const Entry &entry, const QString &text, const QString *filter) const;
    template <typename Visit>
    void forEachGram(const QString &key, Visit visit) const;
    void fileUnderGrams(std::uint32_t slot);
    void takeFromGrams(std::uint32_t slot);

    KeyIndexSpec m_spec;
    std::vector<Entry> m_entries;                 // slots; dropped rows leave a free slot
    std::vector<std::uint32_t> m_free;
    std::unordered_map<qint64, std::uint32_t> m_slotOf;
    std::vector<std::uint32_t> m_order;           // every indexed row, in answer order
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_grams;  // each in answer order
};

// The ASCII letters of a text in lower case, others as they are: how LIKE compares.
QString foldAsciiCase(const QString &text);

} // namespace quillora
