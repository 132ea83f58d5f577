#include "data/visit_store.h"

#include "data/database.h"
#include "data/dates.h"
#include "data/key_indexes.h"
#include "data/list_column.h"
#include "data/schema.h"

#include "data/pg_connection.h"

#include <QThread>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace quillora {

namespace {

// Columns the save writes, in the order the statements bind them.
QStringList savedColumns()
{
    QStringList columns;
    for (int i = 0; i < kHeaderFieldCount; ++i)
        columns << QString::number(i);
    columns << QStringLiteral("C1") << QStringLiteral("C2") << QStringLiteral("T1") << QStringLiteral("T2")
            << QStringLiteral("T3") << QStringLiteral("T9") << QStringLiteral("T10") << QStringLiteral("T11")
            << QStringLiteral("T12") << QStringLiteral("T13") << QStringLiteral("28") << QStringLiteral("29")
            << QStringLiteral("名称");
    return columns;
}

QStringList savedValues(const VisitRecord &v)
{
    QStringList values(v.header.begin(), v.header.end());
    values << v.title << v.kind << v.body << v.injectionCard << v.history;
    for (const QStringList &column : v.grid)
        values << ListColumn::encode(ListColumn::fitted(column, kGridRows));
    values << v.doses.trimmed() << v.total << v.key;
    return values;
}

const QString kReadColumns = [] {
    QStringList columns{QStringLiteral("rowid")};
    for (const QString &c : savedColumns())
        columns << quoteIdentifier(c);
    return columns.join(QLatin1String(", "));
}();

VisitRecord readVisit(const Statement &q)
{
    VisitRecord v;
    int c = 1;
    for (QString &field : v.header)
        field = q.text(c++);
    v.title = q.text(c++);
    v.kind = q.text(c++);
    v.body = q.text(c++);
    v.injectionCard = q.text(c++);
    v.history = q.text(c++);
    for (QStringList &column : v.grid)
        column = ListColumn::fitted(ListColumn::decode(q.text(c++)), kGridRows);
    v.doses = q.text(c++);
    v.total = q.text(c++);
    v.key = q.text(c++);
    return v;
}

void checkLength(const QString &text, int max, const QString &what)
{
    if (text.size() > max)
        throw VisitRefused(QStringLiteral("“%1”最多%2个字，现有%3个字，请删减后再保存。").arg(what).arg(max).arg(text.size()));
}

QString fieldName(int field)
{
    QString caption = headerFieldCaptions()[field];
    caption.chop(1);  // the colon
    return caption;
}

} // namespace

QString VisitListEntry::text() const
{
    return name + QLatin1Char('[') + sex + QLatin1Char(',') + age + QLatin1Char(',') + date + QLatin1Char(']');
}

VisitRecord VisitStore::validated(const VisitRecord &visit)
{
    VisitRecord v = visit;
    if (v.header[FieldName].trimmed().isEmpty())
        throw VisitRefused(QStringLiteral("请填写患者姓名，病历未保存。"));
    const auto date = normaliseDate(v.header[FieldDate]);
    if (!date)
        throw VisitRefused(QStringLiteral("日期“%1”不是有效日期，请按“2016-01-03”的格式填写，病历未保存。")
                               .arg(v.header[FieldDate]));
    v.header[FieldDate] = *date;
    for (int i = 0; i < kHeaderFieldCount; ++i)
        checkLength(v.header[i], 50, fieldName(i));
    checkLength(v.body, kMemoMaxLength, QStringLiteral("处方正文"));
    checkLength(v.injectionCard, kMemoMaxLength, QStringLiteral("注射卡"));
    checkLength(v.history, kMemoMaxLength, QStringLiteral("病史"));
    checkLength(v.doses.trimmed(), 50, QStringLiteral("中药付数"));
    for (const QStringList &column : v.grid)
        checkLength(ListColumn::encode(ListColumn::fitted(column, kGridRows)), kMemoMaxLength, QStringLiteral("划价表"));
    if (v.key.isEmpty())
        throw VisitRefused(QStringLiteral("病历没有编号，请先点“新建”。"));
    return v;
}

void VisitStore::write(const VisitRecord &v)
{
    const QStringList columns = savedColumns();
    const QStringList values = savedValues(v);
    QStringList assignments, placeholders, quoted;
    for (int i = 0; i < columns.size(); ++i) {
        quoted << quoteIdentifier(columns[i]);
        assignments << quoted.last() + QStringLiteral("=?%1").arg(i + 1);
        placeholders << QStringLiteral("?%1").arg(i + 1);
    }
    const int keyIndex = columns.size();  // 名称 is the last bound value
    Statement update(m_db, QStringLiteral("UPDATE [档案] SET %1 WHERE [名称]=?%2")
                               .arg(assignments.join(QLatin1String(", "))).arg(keyIndex));
    for (int i = 0; i < values.size(); ++i)
        update.bind(i + 1, values[i]);
    update.run();
    if (m_db.changes() > 0)
        return;
    Statement insert(m_db, QStringLiteral("INSERT INTO [档案] (%1) VALUES (%2)")
                               .arg(quoted.join(QLatin1String(", ")), placeholders.join(QLatin1String(", "))));
    for (int i = 0; i < values.size(); ++i)
        insert.bind(i + 1, values[i]);
    insert.run();
}

namespace {

constexpr int kServerSaveAttempts = 4;

// Failures another try may get past: a lock or serialisation conflict with another room, a
// connection the server dropped (the next statement connects again), a key another room
// took a moment before.
bool isPassing(const DbError &failure)
{
    const int primary = failure.code() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_IOERR || failure.code() == SQLITE_CONSTRAINT_UNIQUE;
}

// Rooms save one at a time, so that the key check and the register row's check-then-insert
// hold. The turn is taken before the transaction begins: a serializable transaction sees the
// archive as it was at its first statement, and must not begin before the other room's
// save has committed.
class SaveTurn
{
public:
    explicit SaveTurn(Database &db) : m_server(db.server())
    {
        if (m_server)
            m_server->query(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kVisitSaveLock));
    }
    ~SaveTurn()
    {
        if (!m_server)
            return;
        try {
            m_server->query(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kVisitSaveLock));
        } catch (const DbError &) {
            // A lost connection took the turn with it.
        }
    }
    SaveTurn(const SaveTurn &) = delete;
    SaveTurn &operator=(const SaveTurn &) = delete;

private:
    static constexpr qint64 kVisitSaveLock = 7310284;
    PgConnection *m_server;
};

} // namespace

SaveOutcome VisitStore::save(const VisitRecord &visit, int currentYear, SaveKind kind)
{
    VisitRecord v = validated(visit);
    for (int attempt = 1;; ++attempt) {
        try {
            return saveOnce(v, currentYear, kind);
        } catch (const DbError &failure) {
            if (!m_db.server() || attempt == kServerSaveAttempts || !isPassing(failure))
                throw;
        }
        QThread::msleep(50 * attempt);
        // The connection may have gone with the answer to COMMIT: a visit already stored is not
        // stored a second time under the next free key.
        if (kind == SaveKind::New && isStored(v))
            return SaveOutcome{v.key, false, QString()};
    }
}

QString VisitStore::freeKey(const QString &key)
{
    const QDateTime start = QDateTime::fromString(key, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!start.isValid())
        return key;
    // Keys sort as their times do: walk the taken keys from this one on, a page at a time,
    // until a second is missing.
    constexpr int kPage = 256;
    Statement taken(m_db, QStringLiteral("SELECT DISTINCT [名称] FROM [档案] WHERE [名称] >= ? ORDER BY [名称] LIMIT ?"));
    QString candidate = key;
    qint64 second = 0;
    for (;;) {
        taken.reset();
        taken.bind(1, candidate);
        taken.bind(2, kPage);
        int read = 0;
        while (taken.next()) {
            ++read;
            if (taken.text(0) != candidate)
                return candidate;
            candidate = visitKeyOf(start.addSecs(++second));
        }
        if (read < kPage)
            return candidate;
    }
}

SaveOutcome VisitStore::saveOnce(VisitRecord &v, int currentYear, SaveKind kind)
{
    SaveOutcome outcome;
    const SaveTurn turn(m_db);
    Transaction transaction(m_db);
    if (kind == SaveKind::New)
        v.key = freeKey(v.key);
    outcome.key = v.key;
    write(v);
    {
        Statement saved(m_db, QStringLiteral("SELECT rowid FROM [档案] WHERE [名称] = ?"));
        saved.bind(1, v.key);
        while (saved.next())
            m_db.rowChanged(QStringLiteral("档案"), saved.int64(0));
    }
    if (const std::optional<PatientRow> patient = patientRowOf(v, currentYear))
        outcome = registerPatient(*patient, outcome);
    try {
        transaction.commit();
    } catch (const DbError &) {
        // A failed COMMIT leaves the outcome open: believe the file, not the error.
        if (!isStored(v))
            throw;
    }
    return outcome;
}

SaveOutcome VisitStore::registerPatient(const PatientRow &patient, SaveOutcome outcome)
{
    // The register row is a help for the next visit, not part of this one: when it is refused
    // the visit is still saved, and the doctor is told why the patient was not registered.
    m_db.exec(QStringLiteral("SAVEPOINT register_patient"));
    try {
        outcome.registered = PatientStore(m_db).upsert(patient);
        m_db.exec(QStringLiteral("RELEASE register_patient"));
    } catch (const DbError &refused) {
        // Only a refused row is set aside; a failing disk fails the whole save.
        if ((refused.code() & 0xff) != SQLITE_CONSTRAINT || !m_db.inTransaction())
            throw;
        m_db.exec(QStringLiteral("ROLLBACK TO register_patient; RELEASE register_patient"));
        outcome.note = patient.key.size() > kPatientKeyMaxLength
                           ? QStringLiteral("姓名、拼音码和出生年份合起来超过%1个字，该患者未登记到患者信息库。").arg(kPatientKeyMaxLength)
                           : QStringLiteral("该患者未能登记到患者信息库：%1").arg(refused.message());
        return outcome;
    }
    if (!outcome.registered)
        outcome.note = QStringLiteral("未填写性别，该患者未登记到患者信息库。");
    return outcome;
}

bool VisitStore::isStored(const VisitRecord &v)
{
    if (m_db.inTransaction())
        return false;  // what a read sees now is not yet in the file
    try {
        Statement q(m_db, QStringLiteral("SELECT %1 FROM [档案] WHERE [名称] = ? ORDER BY rowid LIMIT 1").arg(kReadColumns));
        q.bind(1, v.key);
        if (!q.next())
            return false;
        const QStringList expected = savedValues(v);
        for (int i = 0; i < expected.size(); ++i) {
            if (q.isNull(i + 1) || q.text(i + 1) != expected[i])
                return false;
        }
        return true;
    } catch (const DbError &) {
        return false;
    }
}

std::optional<VisitRecord> VisitStore::find(const QString &key)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [档案] WHERE [名称] = ? ORDER BY rowid LIMIT 1").arg(kReadColumns));
    q.bind(1, key);
    if (!q.next())
        return std::nullopt;
    return readVisit(q);
}

std::optional<VisitRecord> VisitStore::byRowId(qint64 rowId)
{
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [档案] WHERE rowid = ?").arg(kReadColumns));
    q.bind(1, rowId);
    if (!q.next())
        return std::nullopt;
    return readVisit(q);
}

namespace {

// The order of the result list: newest key first, equal keys the later row first.
bool listedBefore(const VisitListEntry &a, const VisitListEntry &b)
{
    const int c = QString::compare(a.key, b.key);
    return c != 0 ? c > 0 : a.rowId > b.rowId;
}

// The visits of the given names dated from..to, newest key first: each name is looked up in
// the name index instead of reading every visit of the range.
QList<VisitListEntry> visitsOfNames(Database &db, const QStringList &names, const QDate &from, const QDate &to)
{
    constexpr int kNamesPerStatement = 200;
    QList<VisitListEntry> entries;
    for (qsizetype first = 0; first < names.size(); first += kNamesPerStatement) {
        const QStringList chunk = names.mid(first, kNamesPerStatement);
        QStringList marks;
        for (qsizetype i = 0; i < chunk.size(); ++i)
            marks << QStringLiteral("?");
        Statement q(db, QStringLiteral("SELECT rowid, [名称], [0], [1], [2], [9] FROM [档案] INDEXED BY [档案_姓名] "
                                       "WHERE [0] IN (%1) AND [9] BETWEEN ? AND ?").arg(marks.join(QLatin1Char(','))));
        int index = 1;
        for (const QString &name : chunk)
            q.bind(index++, name);
        q.bind(index++, dateText(from));
        q.bind(index, dateText(to));
        while (q.next())
            entries << VisitListEntry{q.int64(0), q.text(1), q.text(2), q.text(3), q.text(4), q.text(5)};
    }
    std::sort(entries.begin(), entries.end(), listedBefore);
    return entries;
}

// The entries of a whole result that come after the given one, at most `limit` of them.
QList<VisitListEntry> pageOf(const QList<VisitListEntry> &entries, const VisitListEntry *after, int limit)
{
    const auto first = after ? std::upper_bound(entries.begin(), entries.end(), *after, listedBefore) : entries.begin();
    const qsizetype start = first - entries.begin();
    return entries.mid(start, limit < 0 ? -1 : limit);
}

} // namespace

QList<VisitListEntry> VisitStore::list(const QString &nameFilter, const QDate &from, const QDate &to)
{
    return listPage(nameFilter, from, to, nullptr, -1);
}

QList<VisitListEntry> VisitStore::listPage(const QString &nameFilter, const QDate &from, const QDate &to,
                                           const VisitListEntry *after, int limit)
{
    if (!nameFilter.isEmpty()) {
        if (const KeyIndex *names = m_db.keyIndexes().find(QStringLiteral("档案"), QStringLiteral("0"))) {
            QStringList matching;
            for (const KeyHit &hit : names->search(nameFilter, nullptr, -1))
                matching << hit.shown.value(0);
            return pageOf(visitsOfNames(m_db, matching, from, to), after, limit);
        }
    }
    // The date index hands over the range. For a page only the keys are sorted out of it and
    // then just the page's entries read; a whole result is read in one go. The order is not
    // taken from the key index, which would walk every visit after the range's last.
    const QString afterMark = after ? QStringLiteral("AND (+[名称] < ?4 OR (+[名称] = ?4 AND rowid < ?5)) ") : QString();
    const QString inRange = QStringLiteral("FROM [档案] WHERE [0] LIKE ?1 ESCAPE '\\' AND [9] BETWEEN ?2 AND ?3 %1"
                                           "ORDER BY +[名称] DESC, +rowid DESC LIMIT ?%2")
                                .arg(afterMark)
                                .arg(after ? 6 : 4);
    const QString columns = QStringLiteral("SELECT rowid, [名称], [0], [1], [2], [9] ");
    Statement q(m_db, limit < 0 ? columns + inRange
                                : columns + QStringLiteral("FROM [档案] WHERE rowid IN (SELECT rowid %1) "
                                                           "ORDER BY +[名称] DESC, +rowid DESC").arg(inRange));
    q.bind(1, QLatin1Char('%') + escapeLike(nameFilter) + QLatin1Char('%'));
    q.bind(2, dateText(from));
    q.bind(3, dateText(to));
    if (after)
        q.bind(4, after->key).bind(5, after->rowId);
    q.bind(after ? 6 : 4, limit);
    QList<VisitListEntry> entries;
    while (q.next())
        entries << VisitListEntry{q.int64(0), q.text(1), q.text(2), q.text(3), q.text(4), q.text(5)};
    return entries;
}

QList<LogEntry> VisitStore::logRange(const QDate &from, const QDate &to)
{
    Statement q(m_db, QStringLiteral("SELECT [0], [1], [2], [8], [6], [9] FROM [档案] "
                                     "WHERE [9] BETWEEN ?1 AND ?2 ORDER BY [9], [名称]"));
    q.bind(1, dateText(from));
    q.bind(2, dateText(to));
    QList<LogEntry> entries;
    while (q.next())
        entries << LogEntry{q.text(0), q.text(1), q.text(2), q.text(3), q.text(4), q.text(5)};
    return entries;
}

QList<VisitFees> VisitStore::feesInRange(const QDate &from, const QDate &to)
{
    Statement q(m_db, QStringLiteral("SELECT [13], [14] FROM [档案] WHERE [9] BETWEEN ?1 AND ?2"));
    q.bind(1, dateText(from));
    q.bind(2, dateText(to));
    QList<VisitFees> fees;
    while (q.next())
        fees << VisitFees{q.text(0), q.text(1)};
    return fees;
}

bool VisitStore::remove(const QString &key)
{
    return m_db.deleteWhere(QStringLiteral("档案"), QStringLiteral("名称"), key);
}

InfusionCardLists VisitStore::infusionCard(const QString &key)
{
    Statement q(m_db, QStringLiteral("SELECT T4, T5, T6, T7, T8 FROM [档案] WHERE [名称] = ? ORDER BY rowid LIMIT 1"));
    q.bind(1, key);
    InfusionCardLists card;
    if (!q.next())
        return card;
    card.header = ListColumn::decode(q.text(0));
    card.names = ListColumn::decode(q.text(1));
    card.speeds = ListColumn::decode(q.text(2));
    card.times = ListColumn::decode(q.text(3));
    card.nurses = ListColumn::decode(q.text(4));
    return card;
}

bool VisitStore::saveInfusionCard(const QString &key, const InfusionCardLists &card)
{
    Transaction transaction(m_db);
    Statement q(m_db, QStringLiteral("UPDATE [档案] SET T4=?1, T5=?2, T6=?3, T7=?4, T8=?5 WHERE [名称]=?6"));
    q.bind(1, ListColumn::encode(card.header));
    q.bind(2, ListColumn::encode(card.names));
    q.bind(3, ListColumn::encode(card.speeds));
    q.bind(4, ListColumn::encode(card.times));
    q.bind(5, ListColumn::encode(card.nurses));
    q.bind(6, key);
    q.run();
    const bool saved = m_db.changes() > 0;
    transaction.commit();
    return saved;
}

} // namespace quillora
