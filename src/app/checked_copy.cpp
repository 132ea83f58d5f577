#include "app/checked_copy.h"

#include "data/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <functional>
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

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// Opens the copy with its key and runs SQLite's own check of every page.
QString checkDatabase(const QString &copy, const QString &source, const QString &key)
{
    try {
        Database db;
        db.open(copy, key);
        Statement check(db, QStringLiteral("PRAGMA quick_check"));
        if (!check.next() || check.text(0) != QLatin1String("ok"))
            return QStringLiteral("%1 未通过完整性检查，文件已损坏").arg(native(source));
    } catch (const DbError &e) {
        return QStringLiteral("%1 无法读取（%2），文件可能已损坏").arg(native(source), e.message());
    }
    return {};
}

QString copyChecked(const QString &source, const QString &target, const std::function<QString(const QString &)> &check)
{
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile in(source);
    if (!in.exists())
        return QStringLiteral("找不到文件 %1").arg(native(source));
    if (!in.copy(partial))
        return QStringLiteral("无法复制 %1：%2").arg(native(source), in.errorString());
    if (!syncPath(partial, false)) {
        QFile::remove(partial);
        return QStringLiteral("无法写入 %1").arg(native(target));
    }
    if (const QString problem = check ? check(partial) : QString(); !problem.isEmpty()) {
        QFile::remove(partial);
        return problem;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        return QStringLiteral("无法写入 %1").arg(native(target));
    }
    syncPath(QFileInfo(target).absolutePath(), true);
    return {};
}

} // namespace

QString copyFileOver(const QString &source, const QString &target) { return copyChecked(source, target, {}); }

QString copyDatabaseOver(const QString &source, const QString &target, const QString &key)
{
    return copyChecked(source, target, [&](const QString &copy) { return checkDatabase(copy, source, key); });
}

} // namespace quillora
