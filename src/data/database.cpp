#include "data/database.h"

#include "data/db_errors.h"
#include "data/key_indexes.h"
#include "data/pg_connection.h"
#include "data/sql_dialect.h"
#include "text/pinyin_order.h"

#include <QDeadlineTimer>
#include <QThread>
#include <sqlcipher/sqlite3.h>

namespace quillora {

namespace {

int comparePinyin(void *, int sizeA, const void *a, int sizeB, const void *b)
{
    // Compared as stored (UTF-8): a conversion per comparison made sorting ten times slower.
    return pinyinCompareUtf8(std::string_view(static_cast<const char *>(a), std::size_t(sizeA)),
                             std::string_view(static_cast<const char *>(b), std::size_t(sizeB)));
}

} // namespace

// A statement on a PostgreSQL database: its rewritten text, the values bound so far and,
// once it ran, the rows the server returned.
struct ServerStatement
{
    ServerSql sql;
    PgConnection::Params params;
    PgResult result;
    int row = -1;
    bool ran = false;
};

DbError::DbError(int code, const QString &message)
    : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
{
}

DbError DbError::fromEngine(int code, const QString &engineText) { return DbError(code, engineErrorText(code, engineText)); }

DbError DbError::fromServer(int code, const QString &serverWords)
{
    DbError error(code, serverErrorText(code, serverWords));
    error.m_fromServer = true;
    return error;
}

bool DbError::isDamage() const { return isDamageCode(m_code); }

Statement::Statement(Database &db, const QString &sql) : m_db(&db)
{
    if (PgConnection *server = db.server()) {
        m_server = std::make_unique<ServerStatement>();
        m_server->sql = toServerSql(sql);
        m_server->params.resize(std::size_t(m_server->sql.parameterCount));
        server->prepare(m_server->sql);
        return;
    }
    if (!db.handle())
        throw DbError(SQLITE_MISUSE, QStringLiteral("数据库未打开"));
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), utf8.size(), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        db.fail(rc);
}

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt), m_server(std::move(other.m_server))
{
    other.m_stmt = nullptr;
}

Statement &Statement::bindServer(int index, std::optional<QByteArray> value)
{
    if (index < 1 || std::size_t(index) > m_server->params.size())
        throw DbError::fromEngine(SQLITE_RANGE, QStringLiteral("parameter %1 of %2").arg(index).arg(m_server->params.size()));
    m_server->params[std::size_t(index - 1)] = std::move(value);
    return *this;
}

Statement &Statement::bind(int index, const QString &value)
{
    if (m_server) {
        // libpq hands texts over up to their first NUL: the rest would be lost without a word.
        if (value.contains(QChar(0)))
            throw DbError(SQLITE_CONSTRAINT, QStringLiteral("文字中含有空字符（U+0000），数据库服务器不能保存这样的文字。请删去它后再试。"));
        return bindServer(index, value.toUtf8());
    }
    // A null QString is still an (empty) text: the columns keep "" and NULL apart.
    const QByteArray utf8 = value.toUtf8();
    const int rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_db->fail(rc);
    return *this;
}

Statement &Statement::bind(int index, qint64 value)
{
    if (m_server)
        return bindServer(index, QByteArray::number(value));
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_db->fail(rc);
    return *this;
}

Statement &Statement::bind(int index, double value)
{
    if (m_server)
        return bindServer(index, QByteArray::number(value, 'g', 17));  // reads back as the same double
    const int rc = sqlite3_bind_double(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_db->fail(rc);
    return *this;
}

Statement &Statement::bindNull(int index)
{
    if (m_server)
        return bindServer(index, std::nullopt);
    const int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        m_db->fail(rc);
    return *this;
}

Statement &Statement::bindValue(int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return bindNull(index);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return bind(index, value.toLongLong());
    case QMetaType::Double:
        return bind(index, value.toDouble());
    default:
        return bind(index, value.toString());
    }
}

bool Statement::next()
{
    if (m_server) {
        ServerStatement &s = *m_server;
        if (!s.ran) {
            s.result = m_db->server()->run(s.sql, s.params);
            s.ran = true;
            s.row = -1;
        }
        // The rowid an INSERT returns is the connection's to report, not a row of the statement.
        if (s.sql.returnsRowId)
            return false;
        return ++s.row < s.result.rowCount();
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_db->fail(rc);
}

void Statement::run()
{
    while (next()) {
    }
}

void Statement::reset()
{
    if (m_server) {
        m_server->ran = false;
        m_server->result = PgResult();
        std::fill(m_server->params.begin(), m_server->params.end(), std::nullopt);
        return;
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return m_server ? m_server->result.columnCount() : sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    if (m_server)
        return m_server->result.columnName(column);
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    if (m_server)
        return m_server->result.isNull(m_server->row, column);
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    if (m_server)
        return isNull(column) ? QString() : QString::fromUtf8(m_server->result.bytes(m_server->row, column));
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QString::fromUtf8(data, size) : QString();
}

namespace {

// PostgreSQL type OIDs of the values the stores read.
enum ServerType : unsigned { Bool = 16, Int8 = 20, Int2 = 21, Int4 = 23, Oid = 26, Float4 = 700, Float8 = 701, Numeric = 1700 };

} // namespace

qint64 Statement::int64(int column) const
{
    if (!m_server)
        return sqlite3_column_int64(m_stmt, column);
    if (isNull(column))
        return 0;
    const QByteArray bytes = m_server->result.bytes(m_server->row, column);
    if (m_server->result.type(column) == Bool)
        return bytes == "t" ? 1 : 0;
    bool whole = false;
    const qint64 value = bytes.toLongLong(&whole);
    return whole ? value : qint64(bytes.toDouble());  // SQLite truncates a real as well
}

double Statement::real(int column) const
{
    if (!m_server)
        return sqlite3_column_double(m_stmt, column);
    return isNull(column) ? 0.0 : m_server->result.bytes(m_server->row, column).toDouble();
}

QVariant Statement::value(int column) const
{
    if (m_server) {
        if (isNull(column))
            return {};
        switch (m_server->result.type(column)) {
        case Bool:
        case Int8:
        case Int2:
        case Int4:
        case Oid:
            return int64(column);
        case Float4:
        case Float8:
        case Numeric:
            return real(column);
        default:
            return text(column);
        }
    }
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return int64(column);
    case SQLITE_FLOAT:
        return real(column);
    default:
        return text(column);
    }
}

Database::Database() = default;

Database::~Database() { close(); }

void Database::open(const QString &path, const QString &key, Access access)
{
    close();
    const QByteArray file = path.toUtf8();
    sqlite3 *db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw DbError::fromEngine(rc, message);
    }
    // The key must be the very first call: any statement before it would create a plain file.
    const QByteArray k = key.toUtf8();
    sqlite3_key(db, k.constData(), k.size());
    m_db = db;
    m_path = path;
    // Before the first read: another process may hold the file while it commits.
    sqlite3_busy_timeout(db, m_busyTimeout);
    // sqlite3_key always succeeds; the first read tells whether the key fits.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = DbError::fromEngine(rc, QString::fromUtf8(sqlite3_errmsg(db)));
        close();
        if (rc == SQLITE_NOTADB)
            throw WrongKeyError(rc, error.message());
        throw error;
    }
    sqlite3_create_collation(db, kPinyinCollation, SQLITE_UTF8, nullptr, comparePinyin);
    if (access == Access::ReadWrite)
        exec(QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=EXTRA;"));
}

void Database::openServer(const QString &conninfo)
{
    close();
    m_server = std::make_unique<PgConnection>(conninfo);
    m_path = QStringLiteral("postgresql:") + m_server->databaseName();
    setBusyTimeout(m_busyTimeout);
}

void Database::close()
{
    m_keyIndexes.reset();  // waits for a loader still reading
    m_server.reset();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::exec(const QString &sql)
{
    if (m_server) {
        const ServerSql serverSql = toServerSql(sql);
        if (serverSql.returnsRowId)
            m_server->run(serverSql, {});
        else
            m_server->exec(serverSql.text);
        return;
    }
    if (!m_db)
        throw DbError(SQLITE_MISUSE, QStringLiteral("数据库未打开"));
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString();
        sqlite3_free(error);
        throw DbError::fromEngine(rc, message);
    }
}

bool Database::inTransaction() const
{
    if (m_server)
        return m_server->inTransaction();
    return m_db && !sqlite3_get_autocommit(m_db);
}

void Database::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    // The server's nearest measure: how long a statement waits for another connection's lock.
    if (m_server)
        m_server->exec(QStringLiteral("SET lock_timeout = %1").arg(milliseconds));
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

qint64 Database::lastInsertRowId() const { return m_server ? m_server->lastInsertRowId() : sqlite3_last_insert_rowid(m_db); }

int Database::changes() const { return m_server ? m_server->changes() : sqlite3_changes(m_db); }

KeyIndexes &Database::keyIndexes()
{
    if (!m_keyIndexes)
        m_keyIndexes = std::make_unique<KeyIndexes>(*this);
    return *m_keyIndexes;
}

void Database::rowChanged(const QString &table, qint64 rowId)
{
    if (m_keyIndexes)
        m_keyIndexes->rowChanged(table, rowId);
}

void Database::transactionEnded()
{
    if (m_keyIndexes)
        m_keyIndexes->transactionEnded();
}

bool Database::deleteWhere(const QString &table, const QString &column, const QVariant &value)
{
    Transaction transaction(*this);
    if (m_keyIndexes && m_keyIndexes->covers(table)) {
        Statement rows(*this, QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?").arg(quoteIdentifier(table), column == QLatin1String("rowid") ? column : quoteIdentifier(column)));
        rows.bindValue(1, value);
        while (rows.next())
            rowChanged(table, rows.int64(0));
    }
    Statement q(*this, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoteIdentifier(table), column == QLatin1String("rowid") ? column : quoteIdentifier(column)));
    q.bindValue(1, value);
    q.run();
    const bool removed = changes() > 0;
    transaction.commit();
    return removed;
}

QStringList Database::columnsOf(const QString &table)
{
    QStringList columns;
    if (m_server) {
        // The rowid column is the server's stand-in for SQLite's hidden rowid, and the stored sort
        // keys are the server's own: neither is a column of the stores.
        const PgResult rows = m_server->query(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                                             "WHERE table_schema = current_schema() AND table_name = $1 "
                                                             "AND column_name <> 'rowid' AND is_generated = 'NEVER' "
                                                             "ORDER BY ordinal_position"),
                                              {table.toUtf8()});
        for (int r = 0; r < rows.rowCount(); ++r)
            columns << QString::fromUtf8(rows.bytes(r, 0));
        return columns;
    }
    Statement info(*this, QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table)));
    while (info.next())
        columns << info.text(1);
    return columns;
}

bool Database::hasTable(const QString &table)
{
    if (m_server) {
        return m_server->query(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                              "AND table_name = $1"),
                               {table.toUtf8()})
                   .rowCount()
               > 0;
    }
    Statement query(*this, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
    query.bind(1, table);
    return query.next();
}

void Database::fail(int code) const
{
    throw DbError::fromEngine(code, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString());
}

Transaction::Transaction(Database &db) : m_db(db) { m_db.exec(QStringLiteral("BEGIN IMMEDIATE")); }

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {
            // Nothing to roll back when SQLite already ended the transaction itself.
        }
        m_db.transactionEnded();
    }
}

void Transaction::commit()
{
    // A reader of another program holding the file makes COMMIT return BUSY with the
    // transaction still open: try again until the deadline, then give the transaction up.
    const QDeadlineTimer deadline(3 * qint64(m_db.busyTimeout()));
    for (;;) {
        try {
            m_db.exec(QStringLiteral("COMMIT"));
            m_done = true;
            m_db.transactionEnded();
            return;
        } catch (const DbError &error) {
            if ((error.code() & 0xff) == SQLITE_BUSY && m_db.inTransaction() && !deadline.hasExpired()) {
                QThread::msleep(20);  // the busy handler has waited already; this only keeps a refusal from spinning
                continue;
            }
            m_done = true;
            if (m_db.inTransaction()) {
                try {
                    m_db.exec(QStringLiteral("ROLLBACK"));
                } catch (const DbError &) {
                    // The caller reads the file again and finds out what it holds.
                }
            }
            m_db.transactionEnded();
            throw;
        }
    }
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

} // namespace quillora
