#pragma once

#include "data/patient_store.h"
#include "data/visit_record.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <stdexcept>

namespace quillora {

class Database;

// A visit that cannot be stored as it stands; the message says what to fix.
class VisitRefused : public std::runtime_error
{
public:
    explicit VisitRefused(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// One entry of the result list: the visit it stands for and the text it shows.
struct VisitListEntry
{
    qint64 rowId = 0;
    QString key;
    QString name, sex, age, date;
    QString text() const;  // 张三[男,35岁,2016-01-03]
};

// What a save did beyond storing the visit.
struct SaveOutcome
{
    QString key;               // the key the visit is stored under
    bool registered = false;   // the patient register row was written
    QString note;              // why the patient was not registered, if a reason is worth telling
};

// One line of the outpatient log: the columns the log book and its workbook show.
struct LogEntry
{
    QString name, sex, age, diagnosis, address, date;  // 0, 1, 2, 8, 6, 9
};

// The two fees of a visit, as the workload count reads them.
struct VisitFees
{
    QString drugFee;    // 13
    QString otherFee;   // 14
};

// The visit table of the archive file.
class VisitStore
{
public:
    explicit VisitStore(Database &archive) : m_db(archive) {}

    // Checks a visit before it is written; throws VisitRefused naming the field to fix.
    static VisitRecord validated(const VisitRecord &visit);

    // A visit saved before (or loaded) overwrites the row with its key; a visit saved for the
    // first time never does: it is stored under its key, or the next second no row has.
    enum class SaveKind { Stored, New };

    // Writes the visit, together with its register row, in one transaction; a refused register
    // row does not hold the visit back. On a server, rooms save one at a time, and a save that
    // met a lost connection or a conflict with another room is tried again a few times.
    // Throws VisitRefused or DbError; the stored row is the earlier one then.
    SaveOutcome save(const VisitRecord &visit, int currentYear, SaveKind kind = SaveKind::Stored);
    std::optional<VisitRecord> find(const QString &key);
    std::optional<VisitRecord> byRowId(qint64 rowId);
    // Visits whose name contains the filter, dated from..to inclusive, newest key first
    // (equal keys: the later row first).
    QList<VisitListEntry> list(const QString &nameFilter, const QDate &from, const QDate &to);
    // The same a page at a time: at most `limit` entries (negative: all) of those that come
    // after `after` in that order (none given: from the first); a shorter page is the last.
    QList<VisitListEntry> listPage(const QString &nameFilter, const QDate &from, const QDate &to,
                                   const VisitListEntry *after, int limit);
    // The log columns of the visits dated from..to, in date order, visits of one day in the
    // order they were started (the outpatient log).
    QList<LogEntry> logRange(const QDate &from, const QDate &to);
    // Fees of the visits dated from..to, in no particular order (the workload count adds them up).
    QList<VisitFees> feesInRange(const QDate &from, const QDate &to);
    // Deletes the visit with this key; false when there was none.
    bool remove(const QString &key);

    InfusionCardLists infusionCard(const QString &key);
    // Writes the infusion card of a saved visit; false when no visit has the key.
    bool saveInfusionCard(const QString &key, const InfusionCardLists &card);

private:
    // Stores the visit once; the key it chose is left in `visit`.
    SaveOutcome saveOnce(VisitRecord &visit, int currentYear, SaveKind kind);
    // The visit's key, or the first later second that no stored visit has.
    QString freeKey(const QString &key);
    void write(const VisitRecord &visit);
    SaveOutcome registerPatient(const PatientRow &patient, SaveOutcome outcome);
    // The row of the visit's key holds every saved column as given (read outside any transaction).
    bool isStored(const VisitRecord &visit);
    Database &m_db;
};

} // namespace quillora
