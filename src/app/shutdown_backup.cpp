#include "app/shutdown_backup.h"

#include "app/checked_copy.h"
#include "data/backup_folders.h"
#include "data/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillora {

QString ShutdownBackup::dayFolderName(const QDate &day) { return backupDayFolderName(day); }

QString ShutdownBackup::dayFolder(const QDate &day) const { return QDir(m_paths.backupRoot).filePath(dayFolderName(day)); }

QStringList ShutdownBackup::run(const QDate &day) const
{
    QStringList problems;
    const QString folder = dayFolder(day);
    const QString dataCopy = QDir(folder).filePath(kDataFolderName);
    if (!QDir().mkpath(dataCopy))
        return {QStringLiteral("无法创建备份文件夹 %1").arg(QDir::toNativeSeparators(dataCopy))};

    const QList<QPair<QString, QString>> files{{kArchiveFileName, kArchiveKey}, {kSettingsFileName, kSettingsKey}};
    for (const auto &[name, key] : files) {
        const QString target = QDir(dataCopy).filePath(name);
        const QString problem = copyDatabaseOver(QDir(m_paths.dataFolder).filePath(name), target, key);
        if (!problem.isEmpty()) {
            const QString latest = latestBackupFolder(m_paths.backupRoot);
            problems << problem + (latest.isEmpty() ? QString()
                                                    : QStringLiteral("；已有的备份未被覆盖，最近的一份在 %1")
                                                          .arg(QDir::toNativeSeparators(latest)));
        }
    }
    const QString exeTarget = QDir(folder).filePath(QFileInfo(m_paths.executablePath).fileName());
    const QString problem = copyFileOver(m_paths.executablePath, exeTarget);
    if (!problem.isEmpty())
        problems << problem;
    else
        QFile::setPermissions(exeTarget, QFile(m_paths.executablePath).permissions());
    return problems;
}

} // namespace quillora
