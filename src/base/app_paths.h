#pragma once

#include <QString>

namespace quillora {

// Where the program keeps its data, its backups and its own executable.
struct AppPaths
{
    QString programFolder;
    QString executablePath;
    QString dataFolder;       // 档案数据库 beside the program, or the per-user fallback
    QString backupRoot;       // 电子处方数据备份 beside the data folder
    bool dataFolderIsFallback = false;

    // The data folder beside the program when it can be written, else the per-user data folder.
    static AppPaths locate(const QString &programFolder, const QString &executablePath);
};

// Name of the data folder and of the backup root.
inline const QString kDataFolderName = QStringLiteral("档案数据库");
inline const QString kBackupFolderName = QStringLiteral("电子处方数据备份");

} // namespace quillora
