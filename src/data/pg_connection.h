#pragma once

#include "data/database.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace quillora {

struct ServerSql;

// The application name every connection of the program gives the server.
inline constexpr const char *kServerApplicationName = "Quillora";

// The rows of one statement the server answered, read in place.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result *result);

    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int row, int column) const;
    QByteArray bytes(int row, int column) const;
    // The server's type of the column (an OID: 20 bigint, 701 double precision, 25 text …).
    unsigned type(int column) const;

private:
    std::shared_ptr<pg_result> m_result;
};

// The server wants a password the connection string does not give.
class PasswordNeeded : public DbError
{
public:
    using DbError::DbError;
};

// One libpq connection to a PostgreSQL database: statements prepared once per text,
// parameters sent as text (NULL as NULL), failures thrown as DbError with SQLite's codes.
// Calls from the key-index loader thread and the window thread take turns.
class PgConnection
{
public:
    using Params = std::vector<std::optional<QByteArray>>;

    // Throws DbError (cannot open) with the server's own words.
    explicit PgConnection(const QString &conninfo);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // Prepares the statement on the server unless it was prepared before.
    void prepare(const ServerSql &sql);
    PgResult run(const ServerSql &sql, const Params &params);
    // Runs statements without parameters, one or several; COMMIT is refused when it would roll back.
    void exec(const QString &serverSql);
    // Runs server text as it is (no rewriting), unprepared.
    PgResult query(const QString &serverSql, const Params &params = {});

    bool inTransaction() const;
    // Asks the server to pass on NOTIFY on the channel, now and on every later connection.
    void listen(const QString &channel);
    // The payloads of the notifications received so far, without waiting for more.
    QList<QByteArray> takeNotifications();
    // Counts the connections made: notifications sent while none was up were missed.
    int sessionNumber() const { return m_session; }
    bool isConnected() const;
    qint64 lastInsertRowId() const { return m_lastInsertRowId; }
    int changes() const { return m_changes; }
    QString databaseName() const;
    // The database a connection string names, for messages (never its password).
    static QString databaseNameOf(const QString &conninfo);
    // The value a connection string gives one of libpq's keywords ("user", "host" …); empty if none.
    static QString optionOf(const QString &conninfo, const char *keyword);

private:
    void setUpSession();
    void ensureConnected();
    PgResult checked(pg_result *result);
    void commit();
    void noteCommand(pg_result *raw);
    PgResult runPrepared(const ServerSql &sql, const Params &params);
    PgResult runPreparedOnce(const ServerSql &sql, const Params &params);
    pg_result *execPrepared(const QString &text, const Params &params);

    mutable std::recursive_mutex m_mutex;
    pg_conn *m_conn = nullptr;
    QHash<QString, QByteArray> m_prepared;
    int m_preparedNames = 0;
    bool m_transactionOpen = false;
    QMap<QByteArray, QByteArray> m_settings;  // SET statements by setting, run again on a new connection
    QList<QByteArray> m_listens;              // LISTEN statements, likewise
    int m_session = 1;
    qint64 m_lastInsertRowId = 0;
    int m_changes = 0;
};

// SQLite's result code for a PostgreSQL SQLSTATE, so that callers keep one set of codes:
// constraint violations and values a column's type refuses → SQLITE_CONSTRAINT,
// serialization failure/deadlock/lock wait → SQLITE_BUSY,
// lost connection → SQLITE_IOERR, disk full → SQLITE_FULL, damaged data → SQLITE_CORRUPT.
int engineCodeOfSqlState(const QByteArray &sqlState);

} // namespace quillora
