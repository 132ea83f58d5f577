#include "app/hidden_archive.h"

#include "app/checked_copy.h"
#include "base/clock.h"
#include "data/data_files.h"
#include "data/database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace quillora {

namespace {

// Visits in an archive file, or -1 when it cannot be read.
qint64 visitCount(const QString &archivePath)
{
    try {
        Database db;
        db.open(archivePath, kArchiveKey, Database::Access::ReadOnly);
        Statement q(db, QStringLiteral("SELECT count(*) FROM [档案]"));
        return q.next() ? q.int64(0) : -1;
    } catch (const DbError &) {
        return -1;
    }
}

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

HiddenArchive HiddenArchive::find(const AppPaths &paths)
{
    HiddenArchive hidden;
    hidden.programDataFolder = QDir(paths.programFolder).filePath(kDataFolderName);
    hidden.userDataFolder = paths.dataFolder;
    if (!paths.dataFolderIsFallback)
        return hidden;
    const QString programArchive = QDir(hidden.programDataFolder).filePath(kArchiveFileName);
    const QString userArchive = QDir(hidden.userDataFolder).filePath(kArchiveFileName);
    if (!QFile::exists(programArchive))
        return hidden;
    if (QFile::exists(userArchive)) {
        // An empty per-user archive left by an earlier start hides the visits all the same.
        hidden.found = visitCount(userArchive) == 0 && visitCount(programArchive) > 0;
    } else {
        // A file beside the program that cannot be read is not worth a copy that would fail.
        hidden.found = visitCount(programArchive) >= 0;
    }
    return hidden;
}

QString HiddenArchive::question() const
{
    return QStringLiteral("程序文件夹中的数据文件夹不能写入：\n%1\n\n"
                          "程序只能改用本用户的数据文件夹：\n%2\n"
                          "那里没有程序文件夹中的病历和设置，直接使用会看到一个空的档案。\n\n"
                          "是否把程序文件夹中的数据文件复制到本用户的数据文件夹，以后在那里继续使用？"
                          "选“退出程序”则什么也不改动。")
        .arg(native(programDataFolder), native(userDataFolder));
}

QStringList HiddenArchive::copyIntoUserFolder() const
{
    QStringList problems;
    QDir().mkpath(userDataFolder);
    const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMddhhmmss"));
    const QList<QPair<QString, QString>> files{{kArchiveFileName, kArchiveKey}, {kSettingsFileName, kSettingsKey}};
    for (const auto &[name, key] : files) {
        const QString source = QDir(programDataFolder).filePath(name);
        const QString target = QDir(userDataFolder).filePath(name);
        if (!QFile::exists(source))
            continue;  // made from the template at start-up, as on a first start
        if (QFile::exists(target) && !QFile::rename(target, target + QStringLiteral(".复制前-") + stamp)) {
            problems << QStringLiteral("无法把原有的 %1 改名留存").arg(native(target));
            continue;
        }
        if (const QString problem = copyDatabaseOver(source, target, key); !problem.isEmpty())
            problems << problem;
    }
    return problems;
}

} // namespace quillora
