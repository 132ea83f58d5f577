#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

namespace quillora {

// One copy of the two data files below the backup root: a day folder ("8日") written by the
// backup, or a folder the current files were set aside into before a restore. On a server, the
// copy is the one dump file such a folder holds.
struct BackupCopy
{
    enum class Kind { Day, BeforeRestore };

    Kind kind = Kind::Day;
    QString name;        // the folder's own name
    QString folder;      // its full path
    QDateTime copiedAt;  // when the archive copy was written; invalid when it is missing
    qint64 size = 0;     // both data files together (or the server dump), in bytes
    QString dumpPath;    // the server dump of the folder; empty for a copy of the two files

    QString archivePath() const;
    QString settingsPath() const;
};

// What a check of a copy found.
struct BackupCheck
{
    enum class State { Unchecked, Good, Damaged, WrongKey, Missing, CannotCheck };

    State state = State::Unchecked;
    qint64 visits = -1;   // visits in the archive copy; -1 when it could not be counted (or a dump)
    QString newestVisit;  // the latest visit date (yyyy-mm-dd); empty when there are none
    QString problem;      // why the copy cannot be restored; empty when it can

    bool restorable() const { return state == State::Good; }
};

// The name of the folder the current files go to before a restore: 恢复前-yyyymmdd-hhmmss.
QString beforeRestoreFolderName(const QDateTime &moment);

// Every day folder and set-aside folder below the backup root, the newest copy first
// (folders without an archive copy last).
QList<BackupCopy> listBackupCopies(const QString &backupRoot);

// The day folders and set-aside folders below the backup root that hold a server dump, the
// newest dump first.
QList<BackupCopy> listServerDumps(const QString &backupRoot);

// Opens both copies read-only with their keys, runs SQLite's quick check on each and counts
// the visits; a server dump is read by pg_restore --list instead. Safe on any thread: it uses
// connections (or programs) of its own.
BackupCheck checkBackupCopy(const BackupCopy &copy);

// The short reason on the restore button ("已损坏"), and the state as the list shows it.
QString checkStateText(const BackupCheck &check);
// "12.5 MB", "856 KB", "0 KB".
QString fileSizeText(qint64 bytes);

} // namespace quillora

Q_DECLARE_METATYPE(quillora::BackupCheck)
