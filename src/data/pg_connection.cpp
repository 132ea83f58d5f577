#include "data/pg_connection.h"

#include "data/database.h"
#include "data/sql_dialect.h"

#include <cstring>
#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>

namespace quillora {

namespace {

QString serverWords(const pg_result *result, const pg_conn *conn)
{
    const char *primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString words = QString::fromUtf8(primary ? primary : PQerrorMessage(conn)).trimmed();
    const char *detail = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL) : nullptr;
    return detail ? words + QStringLiteral(" — ") + QString::fromUtf8(detail).trimmed() : words;
}

// Statements worth keeping prepared: the ones the stores run again and again.
bool isReused(const QString &text)
{
    for (const char *start : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH"}) {
        if (text.startsWith(QLatin1String(start), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isStalePlan(const pg_result *raw)
{
    if (!raw || PQresultStatus(raw) != PGRES_FATAL_ERROR)
        return false;
    const char *state = PQresultErrorField(raw, PG_DIAG_SQLSTATE);
    const char *words = PQresultErrorField(raw, PG_DIAG_MESSAGE_PRIMARY);
    return state && words && qstrcmp(state, "0A000") == 0 && strstr(words, "cached plan must not change result type");
}

std::vector<const char *> valuePointers(const PgConnection::Params &params)
{
    std::vector<const char *> values;
    values.reserve(params.size());
    for (const std::optional<QByteArray> &p : params)
        values.push_back(p ? p->constData() : nullptr);
    return values;
}

} // namespace

int engineCodeOfSqlState(const QByteArray &state)
{
    // A value the column's type cannot take (22…) is what SQLite's typeof() checks refuse.
    if (state == "23505")
        return SQLITE_CONSTRAINT_UNIQUE;
    if (state.startsWith("23") || state.startsWith("22"))
        return SQLITE_CONSTRAINT;
    if (state == "40001" || state == "40P01" || state == "55P03" || state == "55006")
        return SQLITE_BUSY;
    if (state == "53100")
        return SQLITE_FULL;
    if (state == "53200")
        return SQLITE_NOMEM;
    if (state.startsWith("08") || state.startsWith("57P") || state.startsWith("58") || state == "53300")
        return SQLITE_IOERR;
    if (state == "XX001" || state == "XX002")
        return SQLITE_CORRUPT;
    if (state == "42501" || state.startsWith("28"))
        return SQLITE_PERM;
    if (state == "25006")
        return SQLITE_READONLY;
    if (state == "57014")
        return SQLITE_INTERRUPT;
    return SQLITE_ERROR;
}

PgResult::PgResult(pg_result *result) : m_result(result, PQclear) {}

int PgResult::rowCount() const { return m_result ? PQntuples(m_result.get()) : 0; }

int PgResult::columnCount() const { return m_result ? PQnfields(m_result.get()) : 0; }

QString PgResult::columnName(int column) const { return QString::fromUtf8(PQfname(m_result.get(), column)); }

bool PgResult::isNull(int row, int column) const { return PQgetisnull(m_result.get(), row, column) != 0; }

QByteArray PgResult::bytes(int row, int column) const
{
    // Borrowed, not copied: the result outlives every read of the row.
    return QByteArray::fromRawData(PQgetvalue(m_result.get(), row, column), PQgetlength(m_result.get(), row, column));
}

unsigned PgResult::type(int column) const { return PQftype(m_result.get(), column); }

PgConnection::PgConnection(const QString &conninfo)
{
    // Rooms count each other by the name their connections give (the last one out takes the
    // day's dump); a name in the connection string itself wins. A server that does not answer
    // is given up after a while rather than freezing the window for the system's TCP timeout.
    const QByteArray expanded = conninfo.toUtf8();
    const char *const keywords[] = {"fallback_application_name", "connect_timeout", "dbname", nullptr};
    const char *const values[] = {kServerApplicationName, "10", expanded.constData(), nullptr};
    m_conn = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString words = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        // None given, or the one given refused (the server's words name the password).
        const bool needsPassword = PQconnectionNeedsPassword(m_conn) != 0
                                   || (PQconnectionUsedPassword(m_conn) != 0 && words.contains(QLatin1String("password"), Qt::CaseInsensitive));
        PQfinish(m_conn);
        m_conn = nullptr;
        if (needsPassword)
            throw PasswordNeeded(SQLITE_AUTH, QStringLiteral("数据库服务器要求输入密码：%1").arg(words));
        throw DbError::fromServer(SQLITE_CANTOPEN, words);
    }
    setUpSession();
}

void PgConnection::setUpSession()
{
    PQsetClientEncoding(m_conn, "UTF8");
    // "already exists, skipping" and the like: nothing the doctor or a log needs.
    PQsetNoticeProcessor(m_conn, [](void *, const char *) {}, nullptr);
    // A containment search is fast or slow by what was typed (a trigram index helps from three
    // characters on): plan each run with its values rather than once for any value.
    checked(PQexec(m_conn, "SET plan_cache_mode = force_custom_plan"));
    for (const QByteArray &setting : std::as_const(m_settings))
        checked(PQexec(m_conn, setting.constData()));
    for (const QByteArray &listen : std::as_const(m_listens))
        checked(PQexec(m_conn, listen.constData()));
}

// A connection the server dropped (restarted, network gone) is made again before the next
// statement. Not inside a transaction: the server rolled it back with the connection, and its
// remaining statements must not run on their own; they fail until the caller rolls back.
void PgConnection::ensureConnected()
{
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    if (m_transactionOpen)
        throw DbError::fromServer(SQLITE_IOERR, QStringLiteral("connection to server lost during the transaction"));
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw DbError::fromServer(SQLITE_IOERR, QString::fromUtf8(PQerrorMessage(m_conn)).trimmed());
    m_prepared.clear();
    ++m_session;
    setUpSession();
}

PgConnection::~PgConnection() { PQfinish(m_conn); }

PgResult PgConnection::checked(pg_result *raw)
{
    const ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) {
        noteCommand(raw);
        return PgResult(raw);
    }
    const QByteArray state = raw ? QByteArray(PQresultErrorField(raw, PG_DIAG_SQLSTATE)) : QByteArray();
    const QString words = serverWords(raw, m_conn);
    PQclear(raw);
    // No SQLSTATE: the connection itself failed.
    const int code = state.isEmpty() || PQstatus(m_conn) != CONNECTION_OK ? SQLITE_IOERR : engineCodeOfSqlState(state);
    throw DbError::fromServer(code, words);
}

// SQLite's changes() counts the rows of the last INSERT, UPDATE or DELETE; a SELECT leaves it.
void PgConnection::noteCommand(pg_result *raw)
{
    const QByteArray command = PQcmdStatus(raw);
    if (command.startsWith("INSERT") || command.startsWith("UPDATE") || command.startsWith("DELETE"))
        m_changes = QByteArray(PQcmdTuples(raw)).toInt();
}

void PgConnection::prepare(const ServerSql &sql)
{
    if (!isReused(sql.text))
        return;
    std::lock_guard lock(m_mutex);
    ensureConnected();
    if (m_prepared.contains(sql.text))
        return;
    const QByteArray name = "q" + QByteArray::number(++m_preparedNames);
    checked(PQprepare(m_conn, name.constData(), sql.text.toUtf8().constData(), 0, nullptr));
    m_prepared.insert(sql.text, name);
}

pg_result *PgConnection::execPrepared(const QString &text, const Params &params)
{
    prepare(ServerSql{text});
    const std::vector<const char *> values = valuePointers(params);
    return PQexecPrepared(m_conn, m_prepared.value(text).constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
}

PgResult PgConnection::runPrepared(const ServerSql &sql, const Params &params)
{
    try {
        return runPreparedOnce(sql, params);
    } catch (const DbError &failure) {
        // A connection dropped while the program sat idle shows only when it is next used: a
        // read outside a transaction is asked again on a new connection. A write is not, since
        // the server may have done it before the answer was lost.
        const bool read = sql.text.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
        if ((failure.code() & 0xff) != SQLITE_IOERR || !read || m_transactionOpen || PQstatus(m_conn) == CONNECTION_OK)
            throw;
    }
    ensureConnected();
    return runPreparedOnce(sql, params);
}

PgResult PgConnection::runPreparedOnce(const ServerSql &sql, const Params &params)
{
    pg_result *raw = execPrepared(sql.text, params);
    if (isStalePlan(raw) && PQtransactionStatus(m_conn) == PQTRANS_IDLE) {
        // The table was made anew under the statement with other column types: prepare it again.
        PQclear(raw);
        PQclear(PQexec(m_conn, ("DEALLOCATE " + m_prepared.take(sql.text)).constData()));
        raw = execPrepared(sql.text, params);
    }
    return checked(raw);
}

PgResult PgConnection::run(const ServerSql &sql, const Params &params)
{
    std::lock_guard lock(m_mutex);
    if (sql.isEmpty())
        return PgResult();
    ensureConnected();
    PgResult result;
    if (isReused(sql.text)) {
        result = runPrepared(sql, params);
    } else if (params.empty()) {
        exec(sql.text);
        return PgResult();
    } else {
        result = query(sql.text, params);
    }
    if (sql.returnsRowId && result.rowCount() > 0)
        m_lastInsertRowId = result.bytes(result.rowCount() - 1, 0).toLongLong();
    return result;
}

void PgConnection::exec(const QString &serverSql)
{
    std::lock_guard lock(m_mutex);
    if (serverSql.isEmpty())
        return;
    const QString command = serverSql.trimmed();
    if (command.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0 && PQstatus(m_conn) != CONNECTION_OK) {
        // The server ended the transaction with the connection.
        m_transactionOpen = false;
        return;
    }
    ensureConnected();
    if (command.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0)
        return commit();
    const bool begins = command.startsWith(QLatin1String("BEGIN"), Qt::CaseInsensitive);
    const bool ends = command.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0;
    if (ends)
        m_transactionOpen = false;
    checked(PQexec(m_conn, serverSql.toUtf8().constData()));
    if (begins)
        m_transactionOpen = true;
    if (command.startsWith(QLatin1String("SET "), Qt::CaseInsensitive))
        m_settings.insert(command.section(QLatin1Char(' '), 1, 1).toLower().toUtf8(), command.toUtf8());
}

// The server answers COMMIT of a transaction an error has spoiled with ROLLBACK, not an error:
// that must never pass for a save.
void PgConnection::commit()
{
    m_transactionOpen = false;
    if (PQtransactionStatus(m_conn) == PQTRANS_INERROR)
        throw DbError::fromServer(SQLITE_ABORT, QStringLiteral("current transaction is aborted, commit refused"));
    pg_result *raw = PQexec(m_conn, "COMMIT");
    const bool committed = raw && PQresultStatus(raw) == PGRES_COMMAND_OK && QByteArray(PQcmdStatus(raw)) == "COMMIT";
    if (raw && PQresultStatus(raw) == PGRES_COMMAND_OK && !committed) {
        PQclear(raw);
        throw DbError::fromServer(SQLITE_ABORT, QStringLiteral("the server rolled the transaction back"));
    }
    checked(raw);
}

PgResult PgConnection::query(const QString &serverSql, const Params &params)
{
    std::lock_guard lock(m_mutex);
    ensureConnected();
    const std::vector<const char *> values = valuePointers(params);
    return checked(PQexecParams(m_conn, serverSql.toUtf8().constData(), int(values.size()), nullptr, values.data(), nullptr,
                                nullptr, 0));
}

bool PgConnection::inTransaction() const
{
    std::lock_guard lock(m_mutex);
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

void PgConnection::listen(const QString &channel)
{
    std::lock_guard lock(m_mutex);
    const QByteArray statement = "LISTEN " + quoteIdentifier(channel).toUtf8();
    ensureConnected();
    checked(PQexec(m_conn, statement.constData()));
    if (!m_listens.contains(statement))
        m_listens << statement;
}

QList<QByteArray> PgConnection::takeNotifications()
{
    std::lock_guard lock(m_mutex);
    QList<QByteArray> payloads;
    if (PQstatus(m_conn) != CONNECTION_OK)
        return payloads;
    // A second read finds the end of a connection the server closed after its last words.
    if (PQconsumeInput(m_conn) != 0)
        PQconsumeInput(m_conn);
    while (PGnotify *notice = PQnotifies(m_conn)) {
        payloads << QByteArray(notice->extra);
        PQfreemem(notice);
    }
    return payloads;
}

bool PgConnection::isConnected() const
{
    std::lock_guard lock(m_mutex);
    return PQstatus(m_conn) == CONNECTION_OK;
}

QString PgConnection::databaseName() const { return QString::fromUtf8(PQdb(m_conn)); }

QString PgConnection::databaseNameOf(const QString &conninfo) { return optionOf(conninfo, "dbname"); }

QString PgConnection::optionOf(const QString &conninfo, const char *keyword)
{
    PQconninfoOption *options = PQconninfoParse(conninfo.toUtf8().constData(), nullptr);
    QString value;
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (qstrcmp(o->keyword, keyword) == 0 && o->val)
            value = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return value;
}

} // namespace quillora
