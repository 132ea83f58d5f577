#include "data/server_migration.h"

#include "data/data_files.h"
#include "data/database.h"
#include "data/pg_connection.h"
#include "data/schema.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QTimeZone>
#include <sqlcipher/sqlite3.h>
#include <QVariant>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <optional>
#include <sqlcipher/sqlite3.h>

namespace quillora {

namespace {

// A batch carries at most this many values (the server takes 65535 parameters a statement)
// and this many rows: enough to make the round trips cheap, small enough to stay light.
constexpr int kMaxBatchValues = 30000;
constexpr int kMaxBatchRows = 500;
// Rows read back per query while checking, so that a large archive is never held at once.
constexpr int kCheckPage = 2000;
constexpr int kMaxVisitKeyLength = 50;

const QString kVisits = QStringLiteral("档案");
const QString kVisitKey = QStringLiteral("名称");
const QString kKeyFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The program's tables of each file, in the order they are copied.
QStringList archiveTables() { return {kVisits, QStringLiteral("患者信息"), QStringLiteral("密码")}; }

QStringList settingsTables()
{
    return {QStringLiteral("设置"), QStringLiteral("药品"), QStringLiteral("个人组套"), QStringLiteral("病史模板"),
            QStringLiteral("诊断"), QStringLiteral("地址")};
}

// One table to copy: where it comes from and the columns both sides have.
struct CopyPlan
{
    Database *file = nullptr;
    QString fileName;
    QString table;
    QStringList columns;
    QStringList lackedColumns;
    qint64 rows = 0;
};

using KeyChanges = QHash<qint64, QString>;

// Reports the rows done across all tables, copy and check together.
class ProgressCounter
{
public:
    explicit ProgressCounter(const MigrationProgress &progress = {}) : m_progress(progress) {}
    void setTotal(qint64 total) { m_total = total; }
    // While set, a request to stop ends the copy (it is rolled back) after the batch.
    void stopWhen(const MigrationCancelled &cancelled) { m_cancelled = cancelled; }
    void add(const QString &step, qint64 rows)
    {
        m_done += rows;
        if (m_progress)
            m_progress(step, m_done, m_total);
        if (m_cancelled && m_cancelled())
            throw DbError(SQLITE_INTERRUPT, QStringLiteral("迁移已取消"));
    }

private:
    MigrationProgress m_progress;
    MigrationCancelled m_cancelled;
    qint64 m_total = 0;
    qint64 m_done = 0;
};

QStringList tablesOfFile(Database &file)
{
    QStringList tables;
    Statement q(file, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                     "ORDER BY name"));
    while (q.next())
        tables << q.text(0);
    return tables;
}

qint64 rowCount(Database &db, const QString &table)
{
    Statement q(db, QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(table)));
    return q.next() ? q.int64(0) : 0;
}

// The first of the program's tables the server database already holds; empty when none.
QString programTableOn(Database &server)
{
    for (const QString &table : archiveTables() + settingsTables()) {
        if (server.hasTable(table))
            return table;
    }
    return QString();
}

QString selectColumns(const QStringList &columns)
{
    QStringList quoted{QStringLiteral("rowid")};
    for (const QString &column : columns)
        quoted << quoteIdentifier(column);
    return quoted.join(QStringLiteral(", "));
}

// Visits after the first of their key get a key no visit of the file has.
QList<ChangedVisitKey> planKeyChanges(Database &archive)
{
    QList<ChangedVisitKey> changes;
    QSet<QString> used;
    {
        Statement all(archive, QStringLiteral("SELECT [名称] FROM [档案] WHERE [名称] IS NOT NULL"));
        while (all.next())
            used.insert(all.text(0));
    }
    QSet<QString> seen;
    Statement q(archive, QStringLiteral("SELECT rowid, [名称] FROM [档案] WHERE [名称] IS NOT NULL ORDER BY rowid"));
    while (q.next()) {
        const QString key = q.text(1);
        if (!seen.contains(key)) {
            seen.insert(key);
            continue;
        }
        const QString changed = nextFreeVisitKey(key, [&used](const QString &k) { return used.contains(k); });
        used.insert(changed);
        changes << ChangedVisitKey{q.int64(0), key, changed};
    }
    return changes;
}

KeyChanges keyChangesByRow(const QList<ChangedVisitKey> &changes)
{
    KeyChanges byRow;
    for (const ChangedVisitKey &c : changes)
        byRow.insert(c.rowId, c.newKey);
    return byRow;
}

// The column of the row's values (rowid first) whose key may change; -1 for other tables.
int keyValueIndex(const CopyPlan &plan)
{
    const qsizetype index = plan.table == kVisits ? plan.columns.indexOf(kVisitKey) : -1;
    return index < 0 ? -1 : int(index) + 1;
}

QString insertText(const CopyPlan &plan, int rows)
{
    const QString row = QLatin1Char('(') + QStringList(plan.columns.size() + 1, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(quoteIdentifier(plan.table), selectColumns(plan.columns), QStringList(rows, row).join(QLatin1Char(',')));
}

void insertRows(Statement &insert, const QList<QVariant> &values)
{
    insert.reset();
    for (qsizetype i = 0; i < values.size(); ++i)
        insert.bindValue(int(i + 1), values[i]);
    insert.run();
}

// The next rowid the server hands out lies past every copied one.
void moveIdentityPastRows(Database &server, const QString &table)
{
    server.server()->query(QStringLiteral("SELECT setval(pg_get_serial_sequence($1, 'rowid'), coalesce(max(rowid), 1), "
                                          "max(rowid) IS NOT NULL) FROM %1")
                               .arg(quoteIdentifier(table)),
                           {quoteIdentifier(table).toUtf8()});
}

// A server text cannot hold the NUL character a file's text may: refused by name, never cut off.
void refuseNul(const CopyPlan &plan, const QVariant &value, qint64 rowId, int column)
{
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(0)))
        throw DbError(SQLITE_CONSTRAINT, QStringLiteral("“%1”中 rowid 为 %2 的行，“%3”列含有服务器无法保存的空字符（\\0）")
                                             .arg(plan.table)
                                             .arg(rowId)
                                             .arg(plan.columns[column - 1]));
}

void copyTable(const CopyPlan &plan, Database &server, const KeyChanges &changes, ProgressCounter &progress)
{
    const int width = int(plan.columns.size()) + 1;
    const int batchRows = std::clamp(kMaxBatchValues / width, 1, kMaxBatchRows);
    const int keyIndex = keyValueIndex(plan);
    const QString step = QStringLiteral("正在复制“%1”").arg(plan.table);
    Statement read(*plan.file, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(selectColumns(plan.columns), quoteIdentifier(plan.table)));
    std::optional<Statement> fullBatch;
    QList<QVariant> values;
    values.reserve(qsizetype(batchRows) * width);
    int rows = 0;
    while (read.next()) {
        for (int c = 0; c < width; ++c) {
            values << read.value(c);
            refuseNul(plan, values.back(), read.int64(0), c);
        }
        if (keyIndex > 0 && changes.contains(read.int64(0)))
            values[values.size() - width + keyIndex] = changes.value(read.int64(0));
        if (++rows < batchRows)
            continue;
        if (!fullBatch)
            fullBatch.emplace(server, insertText(plan, batchRows));
        insertRows(*fullBatch, values);
        progress.add(step, rows);
        values.clear();
        rows = 0;
    }
    if (rows > 0) {
        Statement last(server, insertText(plan, rows));
        insertRows(last, values);
        progress.add(step, rows);
    }
    moveIdentityPastRows(server, plan.table);
}

void hashValue(QCryptographicHash &hash, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        hash.addData(QByteArrayView("N"));
        return;
    }
    // A number is hashed as a number: the engines write the same double in different texts.
    const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong;
    const QByteArray bytes = number ? QByteArray::number(value.toDouble(), 'g', 17) : value.toString().toUtf8();
    char head[5] = {number ? 'R' : 'T'};
    qToBigEndian(quint32(bytes.size()), head + 1);
    hash.addData(QByteArrayView(head, 5));
    hash.addData(bytes);
}

struct TableSum
{
    qint64 rows = 0;
    QByteArray checksum;
};

// SHA-256 over every row in rowid order: its rowid and each column's value, NULL apart from ''.
// The file's side is summed as the server should hold it, with the changed visit keys.
TableSum checksumOf(Database &db, const CopyPlan &plan, const KeyChanges &changes, ProgressCounter &progress)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const int keyIndex = keyValueIndex(plan);
    const QString step = QStringLiteral("正在核对“%1”").arg(plan.table);
    Statement page(db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT %3")
                           .arg(selectColumns(plan.columns), quoteIdentifier(plan.table))
                           .arg(kCheckPage));
    TableSum sum;
    qint64 after = std::numeric_limits<qint64>::min();
    for (;;) {
        page.reset();
        page.bind(1, after);
        int rows = 0;
        while (page.next()) {
            after = page.int64(0);
            hash.addData(QByteArray::number(after) + '\0');
            for (int c = 1; c < page.columnCount(); ++c)
                hashValue(hash, c == keyIndex && changes.contains(after) ? QVariant(changes.value(after)) : page.value(c));
            ++rows;
        }
        sum.rows += rows;
        progress.add(step, rows);
        if (rows < kCheckPage)
            break;
    }
    sum.checksum = hash.result().toHex();
    return sum;
}

QList<CopyPlan> planCopies(Database &file, const QString &fileName, const QStringList &tables, Database &server)
{
    QList<CopyPlan> plans;
    for (const QString &table : tables) {
        const QStringList fileColumns = file.columnsOf(table);
        if (fileColumns.isEmpty())
            continue;  // a file made before the table existed: the server's table stays empty
        CopyPlan plan{&file, fileName, table, {}, {}, rowCount(file, table)};
        for (const QString &column : server.columnsOf(table)) {
            if (fileColumns.contains(column))
                plan.columns << column;
            else
                plan.lackedColumns << column;
        }
        plans << plan;
    }
    return plans;
}

QStringList unknownTables(Database &file, const QStringList &known)
{
    QStringList unknown;
    for (const QString &table : tablesOfFile(file)) {
        if (!known.contains(table))
            unknown << table;
    }
    return unknown;
}

qint64 totalRows(const QList<CopyPlan> &plans)
{
    qint64 total = 0;
    for (const CopyPlan &plan : plans)
        total += plan.rows;
    return total;
}

// Whether the server holds the program's tables; nothing when it cannot be asked.
std::optional<bool> committedAfterAll(const QString &conninfo)
{
    try {
        Database again;
        again.openServer(conninfo);
        return !programTableOn(again).isEmpty();
    } catch (const DbError &) {
        return std::nullopt;
    }
}

QString unchangedFiles() { return QStringLiteral("本机的档案文件没有任何改动。"); }

// Reads every table back from the server after the commit and compares it with the file.
void verify(MigrationResult &result, const QList<CopyPlan> &plans, Database &server, const KeyChanges &changes,
            ProgressCounter &progress)
{
    ProgressCounter silent;
    QStringList differing;
    for (const CopyPlan &plan : plans) {
        const TableSum onFile = checksumOf(*plan.file, plan, changes, silent);
        const TableSum onServer = checksumOf(server, plan, KeyChanges(), progress);
        MigratedTable table{plan.table, plan.fileName, onFile.rows, onServer.rows, onFile.checksum, onServer.checksum,
                            plan.lackedColumns};
        if (!table.matches())
            differing << plan.table;
        result.tables << table;
    }
    if (!differing.isEmpty())
        result.problem = QStringLiteral("服务器上的数据与本机文件核对不一致（%1）。请不要使用这个服务器数据库。%2")
                             .arg(differing.join(QStringLiteral("、")), unchangedFiles());
}

} // namespace

bool MigrationResult::succeeded() const
{
    return copied && problem.isEmpty()
           && std::all_of(tables.cbegin(), tables.cend(), [](const MigratedTable &t) { return t.matches(); });
}

QString nextFreeVisitKey(const QString &key, const std::function<bool(const QString &)> &taken)
{
    const QDateTime moment(QDate::fromString(key.left(10), QStringLiteral("yyyy-MM-dd")),
                           QTime::fromString(key.mid(11), QStringLiteral("HH:mm:ss")), QTimeZone::utc());
    if (moment.isValid() && moment.toString(kKeyFormat) == key) {
        for (QDateTime next = moment.addSecs(1);; next = next.addSecs(1)) {
            if (!taken(next.toString(kKeyFormat)))
                return next.toString(kKeyFormat);
        }
    }
    for (int n = 2;; ++n) {
        const QString suffix = QStringLiteral("-%1").arg(n);
        const QString candidate = key.left(kMaxVisitKeyLength - suffix.size()) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

MigrationResult migrateToServer(Database &archive, Database &settings, const QString &conninfo, const MigrationProgress &progress,
                                const MigrationCancelled &cancelled)
{
    MigrationResult result;
    Database server;
    try {
        server.openServer(conninfo);
    } catch (const DbError &e) {
        result.problem = QStringLiteral("无法连接服务器：%1。%2").arg(e.message(), unchangedFiles());
        return result;
    }
    QList<CopyPlan> plans;
    KeyChanges changes;
    ProgressCounter counter(progress);
    bool committing = false;
    try {
        if (const QString present = programTableOn(server); !present.isEmpty()) {
            result.problem = QStringLiteral("服务器数据库“%1”不是空的（已有“%2”等表），只能迁移到空的数据库。服务器和本机文件都没有改动。")
                                 .arg(server.server()->databaseName(), present);
            return result;
        }
        result.skippedTables = unknownTables(archive, archiveTables()) + unknownTables(settings, settingsTables());
        result.changedKeys = planKeyChanges(archive);
        changes = keyChangesByRow(result.changedKeys);
        Transaction transaction(server);
        // The server's tables as a new installation has them, without its first rows.
        Schema::createArchive(server);
        Schema::createSettings(server);
        plans = planCopies(archive, kArchiveFileName, archiveTables(), server)
                + planCopies(settings, kSettingsFileName, settingsTables(), server);
        counter.setTotal(2 * totalRows(plans));
        counter.stopWhen(cancelled);
        for (const CopyPlan &plan : plans)
            copyTable(plan, server, changes, counter);
        counter.stopWhen({});
        committing = true;
        transaction.commit();
    } catch (const DbError &e) {
        // A commit whose answer was lost may have taken place: the server is asked again.
        const std::optional<bool> committed = committing ? committedAfterAll(conninfo) : std::optional<bool>(false);
        if (!committed) {
            result.problem = QStringLiteral("提交时与服务器失去联系（%1），无法确定数据是否已写入服务器；请先查看该数据库再重新迁移"
                                            "（不是空的数据库会被拒绝）。%2")
                                 .arg(e.message(), unchangedFiles());
            return result;
        }
        if (!*committed && (e.code() & 0xff) == SQLITE_INTERRUPT) {
            result.cancelled = true;
            result.problem = QStringLiteral("迁移已取消，服务器数据库没有留下任何数据。%1").arg(unchangedFiles());
            return result;
        }
        if (!*committed) {
            result.problem = QStringLiteral("迁移出错：%1。服务器数据库没有留下任何数据。%2").arg(e.message(), unchangedFiles());
            return result;
        }
    }
    result.copied = true;
    try {
        // Read back over a connection of its own: what any room will see from now on.
        Database readBack;
        readBack.openServer(conninfo);
        verify(result, plans, readBack, changes, counter);
    } catch (const DbError &e) {
        result.problem = QStringLiteral("数据已复制到服务器，但核对时出错：%1。请不要使用这个服务器数据库。%2").arg(e.message(), unchangedFiles());
    }
    return result;
}

QString migrationReport(const MigrationResult &result)
{
    QStringList lines;
    lines << (result.succeeded() ? QStringLiteral("迁移完成，每张表的行数和校验和都与本机文件一致。") : QStringLiteral("迁移未完成。"));
    if (!result.problem.isEmpty())
        lines << result.problem;
    if (!result.tables.isEmpty()) {
        lines << QString() << QStringLiteral("表\t来自\t本机行数\t服务器行数\t核对");
        for (const MigratedTable &t : result.tables) {
            const QString server = t.serverRows < 0 ? QStringLiteral("—") : QString::number(t.serverRows);
            lines << QStringLiteral("%1\t%2\t%3\t%4\t%5")
                         .arg(t.table, t.file, QString::number(t.fileRows), server, t.matches() ? QStringLiteral("一致") : QStringLiteral("不一致"));
            if (!t.lackedColumns.isEmpty())
                lines << QStringLiteral("\t（本机文件没有列 %1，服务器上取默认值）").arg(t.lackedColumns.join(QStringLiteral("、")));
        }
    }
    if (!result.changedKeys.isEmpty()) {
        lines << QString()
              << QStringLiteral("有 %1 条病历与更早的病历编号相同（服务器不允许编号重复），已改用其后第一个未用的编号：")
                     .arg(result.changedKeys.size());
        constexpr int kShown = 20;
        for (int i = 0; i < std::min<qsizetype>(kShown, result.changedKeys.size()); ++i)
            lines << QStringLiteral("\t%1 → %2").arg(result.changedKeys[i].oldKey, result.changedKeys[i].newKey);
        if (result.changedKeys.size() > kShown)
            lines << QStringLiteral("\t……");
    }
    if (!result.skippedTables.isEmpty())
        lines << QString() << QStringLiteral("本程序不使用的表没有迁移：%1").arg(result.skippedTables.join(QStringLiteral("、")));
    return lines.join(QLatin1Char('\n'));
}

} // namespace quillora
