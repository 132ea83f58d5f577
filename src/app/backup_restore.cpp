#include "app/backup_restore.h"

#include "app/checked_copy.h"
#include "app/shutdown_backup.h"
#include "data/workspace.h"

#include <QDir>
#include <QFile>

namespace quillora {

namespace {

struct LiveFile
{
    QString name;
    QString key;
    QString backupPath;
};

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString journalOf(const QString &path) { return path + QStringLiteral("-journal"); }

// A journal keeps its bytes in the aside folder under a name SQLite does not look for: beside
// the set-aside file it would stop that file from being opened read-only, and so restored.
QString asideName(const QString &name)
{
    return name.endsWith(QStringLiteral("-journal")) ? name + QStringLiteral(".留存") : name;
}

// Copies the live files (and a journal left beside one) into the aside folder.
QString setAside(const QString &dataFolder, const QString &asideData, const QList<LiveFile> &live)
{
    if (!QDir().mkpath(asideData))
        return QStringLiteral("无法创建文件夹 %1").arg(native(asideData));
    for (const LiveFile &file : live) {
        const QString path = QDir(dataFolder).filePath(file.name);
        for (const QString &source : {path, journalOf(path)}) {
            if (!QFile::exists(source))
                continue;
            const QString target = QDir(asideData).filePath(asideName(QFileInfo(source).fileName()));
            if (const QString problem = copyFileOver(source, target); !problem.isEmpty())
                return QStringLiteral("现在的数据文件未能移到 %1：%2").arg(native(asideData), problem);
        }
    }
    return {};
}

RestoreResult failed(RestoreResult result, const QString &problem, DataFiles &files)
{
    result.problem = problem;
    if (const QString again = reopen(files); !again.isEmpty())
        result.problem += QLatin1Char('\n') + again;
    return result;
}

} // namespace

QString freshAsideFolder(const QString &backupRoot, const QDateTime &moment)
{
    const QString base = QDir(backupRoot).filePath(beforeRestoreFolderName(moment));
    QString folder = base;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = base + QStringLiteral("-%1").arg(n);
    return folder;
}

QString reopen(DataFiles &files)
{
    try {
        files.open();
    } catch (const DbError &e) {
        files.close();
        return QStringLiteral("数据文件未能重新打开：%1").arg(e.message());
    }
    return {};
}

RestoreResult restoreBackupCopy(Workspace &workspace, const BackupCopy &copy, const QDateTime &moment)
{
    DataFiles &files = workspace.files();
    const QString dataFolder = workspace.paths().dataFolder;
    const QList<LiveFile> live{{kArchiveFileName, kArchiveKey, copy.archivePath()},
                               {kSettingsFileName, kSettingsKey, copy.settingsPath()}};
    RestoreResult result;
    // Nothing may hold the files while they are copied and replaced; what the settings
    // window held in memory belongs to the files that go.
    workspace.settingsRecord().discard();
    files.close();

    const QString aside = freshAsideFolder(workspace.paths().backupRoot, moment);
    const QString asideData = QDir(aside).filePath(kDataFolderName);
    if (const QString problem = setAside(dataFolder, asideData, live); !problem.isEmpty()) {
        QDir(aside).removeRecursively();  // only copies: the current files are untouched
        return failed(result, problem, files);
    }
    result.asideFolder = aside;

    // Both copies are checked where they land before either replaces its live file.
    for (const LiveFile &file : live) {
        const QString problem = stageDatabaseCopy(file.backupPath, QDir(dataFolder).filePath(file.name), file.key);
        if (!problem.isEmpty()) {
            for (const LiveFile &other : live)
                QFile::remove(stagedName(QDir(dataFolder).filePath(other.name)));
            QDir(aside).removeRecursively();
            result.asideFolder.clear();
            return failed(result, QStringLiteral("备份未通过复制后的检查：%1").arg(problem), files);
        }
    }
    for (int i = 0; i < live.size(); ++i) {
        const QString path = QDir(dataFolder).filePath(live[i].name);
        if (const QString problem = putStagedInPlace(path); !problem.isEmpty()) {
            for (int j = i + 1; j < live.size(); ++j)
                QFile::remove(stagedName(QDir(dataFolder).filePath(live[j].name)));
            // The files go together or not at all: one already replaced takes its set-aside copy back.
            for (int j = 0; j < i; ++j) {
                const QString name = live[j].name;
                for (const QString &back : {name, journalOf(name)}) {
                    if (QFile::exists(QDir(asideData).filePath(asideName(back))))
                        copyFileOver(QDir(asideData).filePath(asideName(back)), QDir(dataFolder).filePath(back));
                }
            }
            return failed(result, problem, files);
        }
        // A journal left by a crash belongs to the file that went: SQLite would play it back
        // into the restored file and damage it. Its copy stays in the aside folder.
        QFile::remove(journalOf(path));
    }
    result.restored = true;
    result.problem = reopen(files);
    return result;
}

QStringList backupNow(Workspace &workspace, const QDate &day)
{
    workspace.files().close();
    QStringList problems = ShutdownBackup(workspace.paths()).run(day);
    if (const QString again = reopen(workspace.files()); !again.isEmpty())
        problems << again;
    return problems;
}

} // namespace quillora
