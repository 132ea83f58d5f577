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

QString stageChecked(const QString &source, const QString &target, const std::function<QString(const QString &)> &check)
{
    const QString partial = stagedName(target);
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
    return {};
}

QString copyChecked(const QString &source, const QString &target, const std::function<QString(const QString &)> &check)
{
    const QString problem = stageChecked(source, target, check);
    return problem.isEmpty() ? putStagedInPlace(target) : problem;
}

} // namespace

QString copyFileOver(const QString &source, const QString &target) { return copyChecked(source, target, {}); }

QString copyDatabaseOver(const QString &source, const QString &target, const QString &key)
{
    return copyChecked(source, target, [&](const QString &copy) { return checkDatabaseFile(copy, key, source); });
}

QString stagedName(const QString &target) { return target + QStringLiteral(".part"); }

QString stageDatabaseCopy(const QString &source, const QString &target, const QString &key)
{
    return stageChecked(source, target, [&](const QString &copy) { return checkDatabaseFile(copy, key, source); });
}

QString putStagedInPlace(const QString &target)
{
    const QString partial = stagedName(target);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        return QStringLiteral("无法写入 %1").arg(native(target));
    }
    syncPath(QFileInfo(target).absolutePath(), true);
    return {};
}

QString checkDatabaseFile(const QString &path, const QString &key, const QString &shownName)
{
    try {
        Database db;
        db.open(path, key, Database::Access::ReadOnly);
        Statement check(db, QStringLiteral("PRAGMA quick_check"));
        if (!check.next() || check.text(0) != QLatin1String("ok"))
            return QStringLiteral("%1 未通过完整性检查，文件已损坏").arg(native(shownName));
    } catch (const DbError &e) {
        return QStringLiteral("%1 无法读取（%2），文件可能已损坏").arg(native(shownName), e.message());
    }
    return {};
}

} // namespace quillora
