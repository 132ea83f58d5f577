#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace quillora {

// A failed database call: the result code and a message for the doctor.
class DbError : public std::runtime_error
{
public:
    DbError(int code, const QString &message);
    // A failure the engine reported: its text is told in Chinese, the engine's own words after it.
    static DbError fromEngine(int code, const QString &engineText);
    // A failure the database server reported (see serverErrorText).
    static DbError fromServer(int code, const QString &serverWords);
    bool isFromServer() const { return m_fromServer; }
    int code() const { return m_code; }
    QString message() const { return m_message; }
    // The file itself is damaged (malformed pages, not a database).
    bool isDamage() const;

private:
    int m_code;
    QString m_message;
    bool m_fromServer = false;
};

// The file opened but the key does not decrypt it (or its first page is damaged).
class WrongKeyError : public DbError
{
public:
    using DbError::DbError;
};

class Database;
class KeyIndexes;
class PgConnection;
struct ServerStatement;

// A prepared statement with bound parameters; finalised when it goes out of scope.
class Statement
{
public:
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement(Statement &&other) noexcept;

    // Parameters are 1-based, as in SQLite.
    Statement &bind(int index, const QString &value);
    Statement &bind(int index, qint64 value);
    Statement &bind(int index, int value) { return bind(index, qint64(value)); }
    Statement &bind(int index, double value);
    Statement &bindNull(int index);
    Statement &bindValue(int index, const QVariant &value);

    // Steps once; true while a row is available.
    bool next();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    QVariant value(int column) const;

private:
    Statement &bindServer(int index, std::optional<QByteArray> value);

    Database *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    std::unique_ptr<ServerStatement> m_server;  // set instead of m_stmt on a PostgreSQL database
};

// One keyed SQLCipher connection, open for the whole run of the program; or, opened with
// openServer(), one connection to a PostgreSQL database that runs the same statements.
class Database
{
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    enum class Access { ReadWrite, ReadOnly };

    // Opens (creating when missing, unless read-only) the file and applies the key before
    // anything else. Throws WrongKeyError when the key does not fit the file.
    void open(const QString &path, const QString &key, Access access = Access::ReadWrite);
    // Connects to a PostgreSQL database instead of a file ("host=… dbname=… user=…", libpq's
    // connection string). Statements are rewritten for the server; the schema creates the
    // server's functions. Throws DbError (cannot open) with the server's words.
    void openServer(const QString &conninfo);
    void close();
    bool isOpen() const { return m_db != nullptr || m_server != nullptr; }
    // The PostgreSQL connection when opened with openServer(), else null.
    PgConnection *server() const { return m_server.get(); }
    QString path() const { return m_path; }

    void exec(const QString &sql);
    // True while a transaction is open on this connection.
    bool inTransaction() const;
    // How long a statement waits for another connection's lock; a commit keeps retrying
    // for three times as long before it gives up.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeout; }
    Statement prepare(const QString &sql) { return Statement(*this, sql); }
    qint64 lastInsertRowId() const;
    int changes() const;

    // Deletes the rows whose column equals the value, in one transaction; false when there were none.
    bool deleteWhere(const QString &table, const QString &column, const QVariant &value);

    // Column names of a table in their stored order; empty when the table is missing.
    QStringList columnsOf(const QString &table);
    bool hasTable(const QString &table);

    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(int code) const;

    // The in-memory key indexes of this file (made on first use, dropped when it closes).
    KeyIndexes &keyIndexes();
    // A row of the table was written or deleted: the key indexes follow it.
    void rowChanged(const QString &table, qint64 rowId);
    // Called when a transaction has ended, committed or not.
    void transactionEnded();

private:
    sqlite3 *m_db = nullptr;
    std::unique_ptr<PgConnection> m_server;
    std::unique_ptr<KeyIndexes> m_keyIndexes;
    QString m_path;
    int m_busyTimeout = 5000;
};

// BEGIN IMMEDIATE … COMMIT; rolls back when left without commit().
// A commit that fails has always ended the transaction when it throws: the file can be read
// again to learn what it holds.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

// Quotes an identifier for SQL text: "列名" with " doubled.
QString quoteIdentifier(const QString &name);

// Escapes %, _ and \ so that typed text matches literally in LIKE … ESCAPE '\'.
QString escapeLike(const QString &text);

} // namespace quillora
