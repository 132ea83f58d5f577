#pragma once

#include "app/backup_copies.h"

#include <QDate>
#include <QStringList>

namespace quillora {

class DataFiles;
class Workspace;

// What a restore did. When it did not happen, the current files are as they were.
struct RestoreResult
{
    bool restored = false;
    QString asideFolder;  // where the files that were current went (恢复前-…)
    QString problem;      // why the restore did not happen, or why the files did not open again
};

// Puts a backup copy in place of the two data files. The connections are closed for it and
// opened again, and the settings held in memory are dropped. The current files first go to
// 恢复前-<moment> below the backup root; the copy is checked again as it lands beside the data
// files, and both files are checked before either replaces its live file.
RestoreResult restoreBackupCopy(Workspace &workspace, const BackupCopy &copy, const QDateTime &moment);

// 恢复前-<moment> below the backup root, or with -2, -3 … when a restore in the same second
// made one already.
QString freshAsideFolder(const QString &backupRoot, const QDateTime &moment);

// Opens the files (or server connections) again after a restore; the reason when they do not open.
QString reopen(DataFiles &files);

// The backup of the day made now, by the same steps as at the end of a run, with the
// connections closed for the copy and opened again. Returns what went wrong.
QStringList backupNow(Workspace &workspace, const QDate &day);

} // namespace quillora
