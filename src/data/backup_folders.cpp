#include "data/backup_folders.h"

#include "base/app_paths.h"
#include "data/data_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace quillora {

namespace {

QString dayFolderName(int dayOfMonth) { return QString::number(dayOfMonth) + QStringLiteral("日"); }

} // namespace

QString backupDayFolderName(const QDate &day) { return dayFolderName(day.day()); }

QString latestBackupFolder(const QString &backupRoot)
{
    QString latest;
    QDateTime newest;
    const QDir root(backupRoot);
    for (int day = 1; day <= 31; ++day) {
        const QString folder = root.filePath(dayFolderName(day));
        const QFileInfo copy(QDir(folder).filePath(kDataFolderName + QLatin1Char('/') + kArchiveFileName));
        if (copy.isFile() && (newest.isNull() || copy.lastModified() > newest)) {
            newest = copy.lastModified();
            latest = folder;
        }
    }
    return latest;
}

} // namespace quillora
