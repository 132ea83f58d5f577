#include "base/app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quillora {

namespace {

bool writableFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("probe-XXXXXX")));
    return probe.open();
}

} // namespace

AppPaths AppPaths::locate(const QString &programFolder, const QString &executablePath)
{
    AppPaths paths;
    paths.programFolder = QDir::cleanPath(programFolder);
    paths.executablePath = executablePath;
    paths.dataFolder = QDir(paths.programFolder).filePath(kDataFolderName);
    if (!writableFolder(paths.dataFolder)) {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        paths.dataFolder = QDir(base).filePath(kDataFolderName);
        paths.dataFolderIsFallback = true;
        QDir().mkpath(paths.dataFolder);
    }
    paths.backupRoot = QDir(QFileInfo(paths.dataFolder).absolutePath()).filePath(kBackupFolderName);
    return paths;
}

} // namespace quillora
