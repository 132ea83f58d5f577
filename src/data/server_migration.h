#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace quillora {

class Database;

// One table as it was copied onto the server and read back from it.
struct MigratedTable
{
    QString table;
    QString file;            // the data file it came from: 档案.dat or 设置.dat
    qint64 fileRows = 0;
    qint64 serverRows = -1;  // -1: not read back (the copy failed)
    QByteArray fileChecksum;    // SHA-256 of the file's rows (with the changed visit keys), hex
    QByteArray serverChecksum;  // the same over the server's rows, hex
    QStringList lackedColumns;  // columns the (older) file has not: the server's defaults fill them

    bool matches() const { return serverRows == fileRows && !fileChecksum.isEmpty() && fileChecksum == serverChecksum; }
};

// A visit whose key another, earlier visit of the file already had: it got a key of its own.
struct ChangedVisitKey
{
    qint64 rowId = 0;
    QString oldKey;
    QString newKey;
};

// What a move onto the server did and found.
struct MigrationResult
{
    QString problem;            // why it stopped or what did not match; empty on success
    bool copied = false;        // the server transaction committed
    bool cancelled = false;     // stopped on request before the commit: the server was left empty
    QList<MigratedTable> tables;
    QList<ChangedVisitKey> changedKeys;
    QStringList skippedTables;  // tables of the files the program does not know: not copied

    bool succeeded() const;
};

// Told which table is being copied and how many rows of all are done.
using MigrationProgress = std::function<void(const QString &table, qint64 rowsDone, qint64 rowsTotal)>;
// Asked after each batch of the copy: true stops it and rolls the server back.
using MigrationCancelled = std::function<bool()>;

// Copies the archive and settings files (read through the run's connections, never written)
// into an empty PostgreSQL database: the server's tables without first rows, every row with its
// rowid, all in one server transaction; then reads every table back and compares its row count
// and checksum with the file's. A database that holds any of the program's tables is refused
// untouched. Visits that share a key (the server refuses that) keep it for the earliest row; each
// later one gets the next second no visit of the file uses.
MigrationResult migrateToServer(Database &archive, Database &settings, const QString &conninfo,
                                const MigrationProgress &progress = {}, const MigrationCancelled &cancelled = {});

// The key a repeated visit key becomes: the next second after it that is not taken (a key that
// is not a moment gets "-2", "-3" … instead), at most 50 characters.
QString nextFreeVisitKey(const QString &key, const std::function<bool(const QString &)> &taken);

// What the doctor is told: each table with its counts and whether it matched, the changed keys,
// and the outcome.
QString migrationReport(const MigrationResult &result);

} // namespace quillora
