#include "app/backup_copies.h"

#include "app/server_backup.h"
#include "base/app_paths.h"
#include "data/data_files.h"
#include "data/database.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace quillora {

namespace {

const QString kBeforeRestorePrefix = QStringLiteral("恢复前-");

// A day folder is 1日 … 31日, exactly as the backup names it; anything else below the root
// is the doctor's own and not offered.
bool isDayFolderName(const QString &name)
{
    static const QRegularExpression day(QStringLiteral("^([1-9]|[12][0-9]|3[01])日$"));
    return day.match(name).hasMatch();
}

bool isBeforeRestoreFolderName(const QString &name)
{
    static const QRegularExpression aside(QStringLiteral("^恢复前-\\d{8}-\\d{6}(-\\d+)?$"));
    return aside.match(name).hasMatch();
}

// One data file of a copy: opened read-only with its key and checked page by page.
// Fills the state and problem of the check when the file fails; true when it passes.
bool checkFile(Database &db, const QString &path, const QString &key, BackupCheck &check)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile()) {
        check.state = BackupCheck::State::Missing;
        check.problem = QStringLiteral("备份中缺少 %1").arg(name);
        return false;
    }
    try {
        db.open(path, key, Database::Access::ReadOnly);
        Statement quick(db, QStringLiteral("PRAGMA quick_check"));
        if (quick.next() && quick.text(0) == QLatin1String("ok"))
            return true;
        check.state = BackupCheck::State::Damaged;
        check.problem = QStringLiteral("%1 未通过完整性检查，文件已损坏").arg(name);
    } catch (const WrongKeyError &) {
        check.state = BackupCheck::State::WrongKey;
        check.problem = QStringLiteral("%1 无法用本程序的密钥打开（密钥不符或文件头已损坏）").arg(name);
    } catch (const DbError &e) {
        check.state = BackupCheck::State::Damaged;
        check.problem = QStringLiteral("%1 无法读取：%2").arg(name, e.message());
    }
    db.close();
    return false;
}

} // namespace

QString BackupCopy::archivePath() const { return QDir(folder).filePath(kDataFolderName + QLatin1Char('/') + kArchiveFileName); }

QString BackupCopy::settingsPath() const { return QDir(folder).filePath(kDataFolderName + QLatin1Char('/') + kSettingsFileName); }

QString beforeRestoreFolderName(const QDateTime &moment)
{
    return kBeforeRestorePrefix + moment.toString(QStringLiteral("yyyyMMdd-hhmmss"));
}

namespace {

// The day folders and set-aside folders below the root, their times and sizes not yet read.
QList<BackupCopy> backupFolders(const QString &backupRoot)
{
    QList<BackupCopy> copies;
    const QDir root(backupRoot);
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        BackupCopy copy;
        if (isDayFolderName(name))
            copy.kind = BackupCopy::Kind::Day;
        else if (isBeforeRestoreFolderName(name))
            copy.kind = BackupCopy::Kind::BeforeRestore;
        else
            continue;
        copy.name = name;
        copy.folder = root.filePath(name);
        copies << copy;
    }
    return copies;
}

void sortNewestFirst(QList<BackupCopy> &copies)
{
    std::stable_sort(copies.begin(), copies.end(), [](const BackupCopy &a, const BackupCopy &b) {
        if (a.copiedAt.isValid() != b.copiedAt.isValid())
            return a.copiedAt.isValid();
        return a.copiedAt > b.copiedAt;
    });
}

BackupCheck checkServerDump(const BackupCopy &copy)
{
    BackupCheck check;
    const PgTools tools = PgTools::locate();
    check.problem = ServerBackup::checkDump(copy.dumpPath, tools);
    if (check.problem.isEmpty())
        check.state = BackupCheck::State::Good;
    else if (tools.restoreProgram().isEmpty())
        check.state = BackupCheck::State::CannotCheck;
    else
        check.state = QFileInfo(copy.dumpPath).isFile() ? BackupCheck::State::Damaged : BackupCheck::State::Missing;
    return check;
}

} // namespace

QList<BackupCopy> listBackupCopies(const QString &backupRoot)
{
    QList<BackupCopy> copies = backupFolders(backupRoot);
    for (BackupCopy &copy : copies) {
        const QFileInfo archive(copy.archivePath());
        const QFileInfo settings(copy.settingsPath());
        if (archive.isFile())
            copy.copiedAt = archive.lastModified();
        copy.size = (archive.isFile() ? archive.size() : 0) + (settings.isFile() ? settings.size() : 0);
    }
    sortNewestFirst(copies);
    return copies;
}

QList<BackupCopy> listServerDumps(const QString &backupRoot)
{
    QList<BackupCopy> dumps;
    for (BackupCopy copy : backupFolders(backupRoot)) {
        const QFileInfo dump(QDir(copy.folder).filePath(kServerDumpFileName));
        if (!dump.isFile())
            continue;  // a day of the files, or a day whose dump failed
        copy.dumpPath = dump.filePath();
        copy.copiedAt = dump.lastModified();
        copy.size = dump.size();
        dumps << copy;
    }
    sortNewestFirst(dumps);
    return dumps;
}

BackupCheck checkBackupCopy(const BackupCopy &copy)
{
    if (!copy.dumpPath.isEmpty())
        return checkServerDump(copy);
    BackupCheck check;
    {
        Database archive;
        if (!checkFile(archive, copy.archivePath(), kArchiveKey, check))
            return check;
        try {
            Statement q(archive, QStringLiteral("SELECT count(*), max([9]) FROM [档案]"));
            if (q.next()) {
                check.visits = q.int64(0);
                check.newestVisit = q.text(1);
            }
        } catch (const DbError &e) {
            check.state = BackupCheck::State::Damaged;
            check.problem = QStringLiteral("%1 中的病历无法读取（%2）").arg(kArchiveFileName, e.message());
            return check;
        }
    }
    Database settings;
    if (!checkFile(settings, copy.settingsPath(), kSettingsKey, check))
        return check;
    check.state = BackupCheck::State::Good;
    return check;
}

QString checkStateText(const BackupCheck &check)
{
    switch (check.state) {
    case BackupCheck::State::Unchecked:
        return QStringLiteral("正在检查…");
    case BackupCheck::State::Good:
        return QStringLiteral("完好");
    case BackupCheck::State::Damaged:
        return QStringLiteral("已损坏");
    case BackupCheck::State::WrongKey:
        return QStringLiteral("无法解密");
    case BackupCheck::State::Missing:
        return QStringLiteral("文件不全");
    case BackupCheck::State::CannotCheck:
        return QStringLiteral("无法检查");
    }
    return {};
}

QString fileSizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
    return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
}

} // namespace quillora
