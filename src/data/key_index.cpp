#include "data/key_index.h"

#include "data/database.h"
#include "text/pinyin_order.h"

#include <algorithm>
#include <cstring>

namespace quillora {

namespace {

// Room left between neighbouring ranks, so that a new row usually finds a free rank
// between its neighbours without renumbering the others.
constexpr std::uint64_t kRankGap = std::uint64_t(1) << 24;

constexpr std::uint64_t kSingle = std::uint64_t(1) << 40;

std::uint64_t pairCode(QChar a, QChar b) { return (std::uint64_t(a.unicode()) << 16) | b.unicode(); }
std::uint64_t singleCode(QChar a) { return kSingle | a.unicode(); }

} // namespace

QString foldAsciiCase(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

QString KeyIndex::selectSql() const
{
    QStringList columns{QStringLiteral("rowid"), quoteIdentifier(m_spec.keyColumn)};
    columns << (m_spec.filterColumn.isEmpty() ? QStringLiteral("NULL") : quoteIdentifier(m_spec.filterColumn));
    columns << (m_spec.nameColumn.isEmpty() ? QStringLiteral("NULL") : quoteIdentifier(m_spec.nameColumn));
    for (const QString &c : m_spec.shown)
        columns << quoteIdentifier(c);
    // A row without a key never matches a LIKE: it is not indexed.
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 IS NOT NULL")
        .arg(columns.join(QLatin1String(", ")), quoteIdentifier(m_spec.table), quoteIdentifier(m_spec.keyColumn));
}

KeyIndex::Entry KeyIndex::readEntry(const Statement &q) const
{
    Entry e;
    e.rowId = q.int64(0);
    const QString key = q.text(1);
    e.key = foldAsciiCase(key);
    e.keyBytes = key.toUtf8();
    e.filterNull = q.isNull(2);
    e.filter = foldAsciiCase(q.text(2));
    e.nameNull = q.isNull(3);
    e.name = q.text(3).toStdString();
    for (int i = 0; i < m_spec.shown.size(); ++i)
        e.shown << q.text(4 + i);
    e.live = true;
    return e;
}

bool KeyIndex::before(std::uint32_t a, std::uint32_t b) const
{
    const Entry &x = m_entries[a];
    const Entry &y = m_entries[b];
    switch (m_spec.order) {
    case KeyIndexSpec::Order::RowId:
        break;
    case KeyIndexSpec::Order::KeyBytes: {
        const int c = std::memcmp(x.keyBytes.constData(), y.keyBytes.constData(), std::min(x.keyBytes.size(), y.keyBytes.size()));
        if (c != 0)
            return c < 0;
        if (x.keyBytes.size() != y.keyBytes.size())
            return x.keyBytes.size() < y.keyBytes.size();
        break;
    }
    case KeyIndexSpec::Order::NamePinyin: {
        // NULL sorts before every name, as ORDER BY puts it.
        if (x.nameNull != y.nameNull)
            return x.nameNull;
        if (!x.nameNull) {
            const int c = pinyinCompareUtf8(x.name, y.name);
            if (c != 0)
                return c < 0;
        }
        break;
    }
    }
    return x.rowId < y.rowId;
}

template <typename Visit>
void KeyIndex::forEachGram(const QString &key, Visit visit) const
{
    for (qsizetype i = 0; i < key.size(); ++i) {
        visit(singleCode(key[i]));
        if (i + 1 < key.size())
            visit(pairCode(key[i], key[i + 1]));
    }
}

void KeyIndex::fileUnderGrams(std::uint32_t slot)
{
    const std::uint64_t rank = m_entries[slot].rank;
    forEachGram(m_entries[slot].key, [&](std::uint64_t gram) {
        std::vector<std::uint32_t> &list = m_grams[gram];
        auto at = std::lower_bound(list.begin(), list.end(), rank,
                                   [this](std::uint32_t s, std::uint64_t r) { return m_entries[s].rank < r; });
        if (at == list.end() || *at != slot)
            list.insert(at, slot);
    });
}

void KeyIndex::takeFromGrams(std::uint32_t slot)
{
    const std::uint64_t rank = m_entries[slot].rank;
    forEachGram(m_entries[slot].key, [&](std::uint64_t gram) {
        auto found = m_grams.find(gram);
        if (found == m_grams.end())
            return;
        std::vector<std::uint32_t> &list = found->second;
        auto at = std::lower_bound(list.begin(), list.end(), rank,
                                   [this](std::uint32_t s, std::uint64_t r) { return m_entries[s].rank < r; });
        if (at != list.end() && *at == slot)
            list.erase(at);
        if (list.empty())
            m_grams.erase(found);
    });
}

bool KeyIndex::loadAll(Database &db, const std::atomic<bool> &stop)
{
    m_entries.clear();
    m_free.clear();
    m_slotOf.clear();
    m_order.clear();
    m_grams.clear();
    Statement q(db, m_spec.distinctKeysSql.isEmpty() ? selectSql() : m_spec.distinctKeysSql);
    while (q.next()) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        m_slotOf[q.int64(0)] = std::uint32_t(m_entries.size());
        m_entries.push_back(readEntry(q));
    }
    m_order.resize(m_entries.size());
    for (std::uint32_t i = 0; i < m_order.size(); ++i)
        m_order[i] = i;
    std::sort(m_order.begin(), m_order.end(), [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
    // Walking the rows in answer order fills every list in answer order.
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const std::uint32_t slot = m_order[i];
        m_entries[slot].rank = (i + 1) * kRankGap;
        forEachGram(m_entries[slot].key, [&](std::uint64_t gram) {
            std::vector<std::uint32_t> &list = m_grams[gram];
            if (list.empty() || list.back() != slot)
                list.push_back(slot);
        });
    }
    return true;
}

void KeyIndex::renumber()
{
    // Ranks keep their order, so the lists stay sorted.
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_entries[m_order[i]].rank = (i + 1) * kRankGap;
}

void KeyIndex::place(std::uint32_t slot)
{
    auto at = std::lower_bound(m_order.begin(), m_order.end(), slot,
                               [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
    std::size_t position = std::size_t(at - m_order.begin());
    const auto rankAt = [this](std::size_t i) { return m_entries[m_order[i]].rank; };
    std::uint64_t low = position > 0 ? rankAt(position - 1) : 0;
    std::uint64_t high = position < m_order.size() ? rankAt(position) : low + 2 * kRankGap;
    if (high - low < 2) {
        renumber();
        low = position > 0 ? rankAt(position - 1) : 0;
        high = position < m_order.size() ? rankAt(position) : low + 2 * kRankGap;
    }
    m_entries[slot].rank = low + (high - low) / 2;
    m_order.insert(m_order.begin() + std::ptrdiff_t(position), slot);
}

void KeyIndex::insertEntry(Entry entry)
{
    std::uint32_t slot;
    if (!m_free.empty()) {
        slot = m_free.back();
        m_free.pop_back();
        m_entries[slot] = std::move(entry);
    } else {
        slot = std::uint32_t(m_entries.size());
        m_entries.push_back(std::move(entry));
    }
    m_slotOf[m_entries[slot].rowId] = slot;
    place(slot);
    fileUnderGrams(slot);
}

void KeyIndex::removeEntry(qint64 rowId)
{
    auto found = m_slotOf.find(rowId);
    if (found == m_slotOf.end())
        return;
    const std::uint32_t slot = found->second;
    m_slotOf.erase(found);
    takeFromGrams(slot);
    const std::uint64_t rank = m_entries[slot].rank;
    auto at = std::lower_bound(m_order.begin(), m_order.end(), rank,
                               [this](std::uint32_t s, std::uint64_t r) { return m_entries[s].rank < r; });
    if (at != m_order.end() && *at == slot)
        m_order.erase(at);
    m_entries[slot] = Entry();
    m_free.push_back(slot);
}

void KeyIndex::refresh(Database &db, qint64 rowId)
{
    const bool keepsKeys = !m_spec.distinctKeysSql.isEmpty();
    if (!keepsKeys)
        removeEntry(rowId);
    Statement q(db, selectSql() + QStringLiteral(" AND rowid = ?"));
    q.bind(1, rowId);
    if (!q.next())
        return;
    Entry entry = readEntry(q);
    if (keepsKeys) {
        // A key listed already (found among the keys containing it) is not listed twice.
        for (const KeyHit &hit : search(q.text(1), nullptr, -1)) {
            if (hit.shown.value(0) == q.text(1))
                return;
        }
    }
    removeEntry(rowId);
    insertEntry(std::move(entry));
}

bool KeyIndex::matches(const Entry &entry, const QString &text, const QString *filter) const
{
    if (!entry.key.contains(text))
        return false;
    return !filter || (!entry.filterNull && entry.filter.contains(*filter));
}

QList<KeyHit> KeyIndex::search(const QString &typed, const QString *typedFilter, int limit) const
{
    const QString text = foldAsciiCase(typed);
    const QString filterText = typedFilter ? foldAsciiCase(*typedFilter) : QString();
    const QString *filter = typedFilter ? &filterText : nullptr;
    QList<KeyHit> hits;
    const auto full = [&] { return limit >= 0 && hits.size() >= limit; };
    const auto take = [&](std::uint32_t slot) {
        const Entry &e = m_entries[slot];
        if (matches(e, text, filter))
            hits << KeyHit{e.rowId, e.shown};
    };
    if (limit == 0)
        return hits;
    if (text.isEmpty()) {
        for (std::uint32_t slot : m_order) {
            take(slot);
            if (full())
                break;
        }
        return hits;
    }
    // The lists of the typed text's pairs (or of its one character), shortest first.
    std::vector<const std::vector<std::uint32_t> *> lists;
    const auto addList = [&](std::uint64_t gram) {
        auto found = m_grams.find(gram);
        lists.push_back(found == m_grams.end() ? nullptr : &found->second);
    };
    if (text.size() == 1)
        addList(singleCode(text[0]));
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        addList(pairCode(text[i], text[i + 1]));
    if (std::find(lists.begin(), lists.end(), nullptr) != lists.end())
        return hits;
    std::sort(lists.begin(), lists.end(), [](auto a, auto b) { return a->size() < b->size(); });
    lists.erase(std::unique(lists.begin(), lists.end()), lists.end());
    std::vector<std::size_t> cursor(lists.size(), 0);
    for (std::uint32_t slot : *lists.front()) {
        const std::uint64_t rank = m_entries[slot].rank;
        bool inAll = true;
        for (std::size_t l = 1; l < lists.size() && inAll; ++l) {
            const std::vector<std::uint32_t> &list = *lists[l];
            auto at = std::lower_bound(list.begin() + std::ptrdiff_t(cursor[l]), list.end(), rank,
                                       [this](std::uint32_t s, std::uint64_t r) { return m_entries[s].rank < r; });
            cursor[l] = std::size_t(at - list.begin());
            if (at == list.end())
                return hits;  // no later row can be in this list
            inAll = *at == slot;
        }
        if (inAll) {
            take(slot);
            if (full())
                break;
        }
    }
    return hits;
}

} // namespace quillora
