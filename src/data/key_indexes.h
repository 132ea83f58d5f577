#pragma once

#include "data/key_index.h"

#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace quillora {

class Database;

// The key indexes of one open file: the drug codes, patient keys, diagnosis and address keys
// and codes, order-set codes and template keys, each kept in step with every write the program
// makes (it is the only writer of its files: the instance lock sees to that). Until they are
// loaded, and whenever one cannot be kept up, searches run their statements instead.
// A server database has other writers (the other rooms): the server announces every row
// written to these tables, and before each search the rows announced since the last one are
// read again. After the connection was lost, everything is read anew.
class KeyIndexes
{
public:
    explicit KeyIndexes(Database &db) : m_db(db) {}
    ~KeyIndexes();
    KeyIndexes(const KeyIndexes &) = delete;
    KeyIndexes &operator=(const KeyIndexes &) = delete;

    // Loads the indexes of the file's tables now, or on a thread of their own (reading
    // through the same connection between the window thread's statements).
    void loadNow();
    void startLoading();
    bool isLoaded();
    // Ends a load on its thread before it is done; the statements answer until the next load.
    void stopLoading();

    // The index over the table's column once it is loaded; null before that or when searches
    // are told to run their statements.
    const KeyIndex *find(const QString &table, const QString &column);
    // Benchmarks and comparisons run the statements with the indexes set aside.
    void setUsed(bool used) { m_used = used; }

    // Whether a write to this table concerns an index.
    bool covers(const QString &table) const;
    // A row of the table was inserted, changed or deleted. The indexes read it again when the
    // transaction ends (whether it committed or not), or at once outside a transaction.
    void rowChanged(const QString &table, qint64 rowId);
    void transactionEnded();

private:
    void takeLoaded();
    bool followFromNow();
    void followServer();
    void refreshPending();
    void drop();

    Database &m_db;
    std::vector<std::unique_ptr<KeyIndex>> m_indexes;
    bool m_used = true;
    bool m_loading = false;
    std::thread m_loader;
    std::atomic<bool> m_loaderDone{false};
    std::atomic<bool> m_stop{false};
    bool m_loaderOk = false;
    std::vector<std::unique_ptr<KeyIndex>> m_building;
    std::vector<std::pair<QString, qint64>> m_pending;
    bool m_following = false;  // on a server, once a load has begun
    int m_session = 0;         // the server connection the announcements come over
};

// Every key index the program keeps, by table.
const std::vector<KeyIndexSpec> &keyIndexSpecs();

} // namespace quillora
