#include "app/shutdown_backup.h"

#include "data/data_files.h"
#include "data/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace quillora {

namespace {

bool syncPath(const QString &path, bool directory)
{
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Copies to a temporary name, flushes it to disk and renames it over the older copy,
// so that a failure half-way never destroys the previous backup of the day.
QString copyOver(const QString &source, const QString &target)
{
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile in(source);
    if (!in.exists())
        return QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(source));
    if (!in.copy(partial))
        return QStringLiteral("无法复制 %1：%2").arg(QDir::toNativeSeparators(source), in.errorString());
    if (!syncPath(partial, false)
        || std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        return QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(target));
    }
    syncPath(QFileInfo(target).absolutePath(), true);
    return {};
}

// The copy must open with its key and pass SQLite's own check.
QString verifyCopy(const QString &path, const QString &key)
{
    try {
        Database db;
        db.open(path, key);
        Statement check(db, QStringLiteral("PRAGMA quick_check"));
        if (!check.next() || check.text(0) != QLatin1String("ok"))
            return QStringLiteral("备份文件 %1 校验失败").arg(QDir::toNativeSeparators(path));
    } catch (const DbError &e) {
        return QStringLiteral("备份文件 %1 无法打开：%2").arg(QDir::toNativeSeparators(path), e.message());
    }
    return {};
}

} // namespace

QString ShutdownBackup::dayFolderName(const QDate &day) { return QString::number(day.day()) + QStringLiteral("日"); }

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
        QString problem = copyOver(QDir(m_paths.dataFolder).filePath(name), target);
        if (problem.isEmpty())
            problem = verifyCopy(target, key);
        if (!problem.isEmpty())
            problems << problem;
    }
    const QString exeTarget = QDir(folder).filePath(QFileInfo(m_paths.executablePath).fileName());
    const QString problem = copyOver(m_paths.executablePath, exeTarget);
    if (!problem.isEmpty())
        problems << problem;
    else
        QFile::setPermissions(exeTarget, QFile(m_paths.executablePath).permissions());
    return problems;
}

} // namespace quillora
