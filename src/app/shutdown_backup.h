#pragma once

#include "base/app_paths.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace quillora {

// Copies both database files and the executable into the backup folder of the day.
// The database connections must be closed before it runs.
class ShutdownBackup
{
public:
    explicit ShutdownBackup(const AppPaths &paths) : m_paths(paths) {}

    // The day folder of a date: the day of the month without a leading zero and 日.
    static QString dayFolderName(const QDate &day);
    QString dayFolder(const QDate &day) const;

    // Runs the backup; returns one line per copy that failed (empty when all went well).
    QStringList run(const QDate &day) const;

private:
    AppPaths m_paths;
};

} // namespace quillora
