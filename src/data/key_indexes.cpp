#include "data/key_indexes.h"

#include "data/database.h"
#include "data/pg_connection.h"
#include "data/server_schema.h"

namespace quillora {

namespace {

KeyIndexSpec spec(const char *table, const char *key, QStringList shown, KeyIndexSpec::Order order,
                  const char *filter = "", const char *name = "")
{
    return KeyIndexSpec{QString::fromUtf8(table), QString::fromUtf8(key), std::move(shown), QString::fromUtf8(filter),
                        order, QString::fromUtf8(name)};
}

// The distinct patient names of the visits, for the name search of the visit browser.
KeyIndexSpec visitNames()
{
    KeyIndexSpec s = spec("档案", "0", {QStringLiteral("0")}, KeyIndexSpec::Order::RowId);
    s.distinctKeysSql = QStringLiteral("SELECT min(rowid), [0], NULL, NULL, [0] FROM [档案] INDEXED BY [档案_姓名] GROUP BY [0]");
    return s;
}

} // namespace

const std::vector<KeyIndexSpec> &keyIndexSpecs()
{
    using Order = KeyIndexSpec::Order;
    static const std::vector<KeyIndexSpec> specs{
        spec("药品", "拼音", {QStringLiteral("名称")}, Order::NamePinyin, "分类", "名称"),
        spec("患者信息", "序号", {QStringLiteral("姓名"), QStringLiteral("出生年月")}, Order::KeyBytes),
        spec("诊断", "序号", {QStringLiteral("名称")}, Order::RowId),
        spec("诊断", "拼音", {QStringLiteral("名称")}, Order::RowId),
        spec("地址", "序号", {QStringLiteral("名称")}, Order::RowId),
        spec("地址", "拼音", {QStringLiteral("名称")}, Order::RowId),
        spec("个人组套", "拼音", {QStringLiteral("名称")}, Order::RowId, "分类"),
        spec("病史模板", "序号", {QStringLiteral("名称")}, Order::NamePinyin, "", "名称"),
        visitNames(),
    };
    return specs;
}

KeyIndexes::~KeyIndexes() { stopLoading(); }

namespace {

// Builds the indexes of the tables the file has; false when stopped or a read failed.
bool build(Database &db, std::vector<std::unique_ptr<KeyIndex>> &into, const std::atomic<bool> &stop)
{
    for (const KeyIndexSpec &s : keyIndexSpecs()) {
        // An index that cannot be read (its table or its statement's index missing) is left
        // out: its searches run their statements.
        try {
            if (!db.hasTable(s.table))
                continue;
            // A server table whose writes are not announced would leave the index behind the
            // other rooms' writes.
            if (db.server() && !ServerSchema::announcesRowChanges(db, s.table))
                continue;
            auto index = std::make_unique<KeyIndex>(s);
            if (!index->loadAll(db, stop))
                return false;
            into.push_back(std::move(index));
        } catch (const std::exception &) {
            if (stop)
                return false;
        }
    }
    return true;
}

} // namespace

void KeyIndexes::loadNow()
{
    stopLoading();
    m_indexes.clear();
    m_pending.clear();
    if (!followFromNow())
        return;
    std::atomic<bool> never{false};
    std::vector<std::unique_ptr<KeyIndex>> built;
    if (build(m_db, built, never))
        m_indexes = std::move(built);
}

void KeyIndexes::startLoading()
{
    stopLoading();
    m_indexes.clear();
    m_building.clear();
    m_pending.clear();
    if (!followFromNow())
        return;
    m_loading = true;
    m_loaderDone = false;
    m_stop = false;
    m_loader = std::thread([this] {
        m_loaderOk = build(m_db, m_building, m_stop);
        m_loaderDone = true;
    });
}

bool KeyIndexes::isLoaded()
{
    takeLoaded();
    return !m_loading && !m_indexes.empty();
}

void KeyIndexes::stopLoading()
{
    if (!m_loader.joinable())
        return;
    m_stop = true;
    m_loader.join();
    m_loading = false;
    m_building.clear();
}

void KeyIndexes::takeLoaded()
{
    if (!m_loading || !m_loaderDone)
        return;
    m_loader.join();
    m_loading = false;
    if (m_loaderOk)
        m_indexes = std::move(m_building);
    m_building.clear();
    // Rows written while the loader read may have been read before or after the write:
    // reading them again settles it.
    refreshPending();
}

// The announcements are asked for before the rows are read: a row written meanwhile is read
// again when its announcement is taken. Without them (the server unreachable just now) the
// statements answer.
bool KeyIndexes::followFromNow()
{
    PgConnection *server = m_db.server();
    if (!server)
        return true;
    m_following = true;
    try {
        server->listen(QLatin1String(ServerSchema::kRowChannel));
    } catch (const DbError &) {
        m_session = 0;  // tried again once a connection is made
        return false;
    }
    m_session = server->sessionNumber();
    return true;
}

void KeyIndexes::followServer()
{
    PgConnection *server = m_db.server();
    if (!server || !m_following || m_loading)
        return;
    const QList<QByteArray> announced = server->takeNotifications();
    if (!server->isConnected() || server->sessionNumber() != m_session) {
        // Announcements made while no connection was up are lost: the statements answer until
        // the connection is made again, then everything is read anew.
        if (server->isConnected()) {
            startLoading();
        } else {
            drop();
            m_session = 0;
        }
        return;
    }
    for (const QByteArray &payload : announced) {
        const qsizetype space = payload.lastIndexOf(' ');
        const QString table = QString::fromUtf8(payload.left(space));
        if (covers(table))
            m_pending.emplace_back(table, payload.mid(space + 1).toLongLong());
    }
    // Many rows at once (a catalogue imported in another room): one read of everything is quicker.
    constexpr std::size_t kMostRowsReadOneByOne = 500;
    if (m_pending.size() > kMostRowsReadOneByOne)
        startLoading();
    else if (!m_pending.empty() && !m_db.inTransaction())
        refreshPending();
}

const KeyIndex *KeyIndexes::find(const QString &table, const QString &column)
{
    takeLoaded();
    followServer();
    if (!m_used || m_loading)
        return nullptr;
    for (const auto &index : m_indexes) {
        if (index->spec().table == table && index->spec().keyColumn == column)
            return index.get();
    }
    return nullptr;
}

bool KeyIndexes::covers(const QString &table) const
{
    for (const KeyIndexSpec &s : keyIndexSpecs()) {
        if (s.table == table)
            return true;
    }
    return false;
}

void KeyIndexes::rowChanged(const QString &table, qint64 rowId)
{
    if (!covers(table) || (!m_loading && m_indexes.empty()))
        return;
    m_pending.emplace_back(table, rowId);
    if (!m_db.inTransaction())
        transactionEnded();
}

void KeyIndexes::transactionEnded()
{
    takeLoaded();
    if (!m_loading)
        refreshPending();
}

void KeyIndexes::refreshPending()
{
    try {
        for (const auto &[table, rowId] : m_pending) {
            for (const auto &index : m_indexes) {
                if (index->spec().table == table)
                    index->refresh(m_db, rowId);
            }
        }
        m_pending.clear();
    } catch (const std::exception &) {
        // An index that cannot follow the file would answer wrongly: the statements take over.
        drop();
    }
}

void KeyIndexes::drop()
{
    m_indexes.clear();
    m_pending.clear();
}

} // namespace quillora
