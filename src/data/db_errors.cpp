#include "data/db_errors.h"

#include "data/backup_folders.h"
#include "data/data_files.h"
#include "data/database.h"

#include <QDir>
#include <sqlcipher/sqlite3.h>

namespace quillora {

namespace {

QString codeDescription(int primary)
{
    switch (primary) {
    case SQLITE_ERROR:
        return QStringLiteral("数据库语句或数据有误");
    case SQLITE_INTERNAL:
        return QStringLiteral("数据库程序内部出错");
    case SQLITE_PERM:
        return QStringLiteral("没有访问数据文件的权限");
    case SQLITE_ABORT:
        return QStringLiteral("操作被中止");
    case SQLITE_BUSY:
        return QStringLiteral("数据文件正被其他程序占用");
    case SQLITE_LOCKED:
        return QStringLiteral("数据表被锁定");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_READONLY:
        return QStringLiteral("数据文件只能读、不能写入");
    case SQLITE_INTERRUPT:
        return QStringLiteral("操作被中断");
    case SQLITE_IOERR:
        return QStringLiteral("读写磁盘出错");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据文件已损坏");
    case SQLITE_NOTFOUND:
        return QStringLiteral("找不到所需的数据");
    case SQLITE_FULL:
        return QStringLiteral("磁盘空间已满");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据文件");
    case SQLITE_PROTOCOL:
        return QStringLiteral("数据文件加锁出错");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据表结构已改变");
    case SQLITE_TOOBIG:
        return QStringLiteral("内容太长，超出数据库的限度");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合数据表的要求");
    case SQLITE_MISMATCH:
        return QStringLiteral("数据类型不符");
    case SQLITE_MISUSE:
        return QStringLiteral("数据库使用方式有误");
    case SQLITE_NOLFS:
        return QStringLiteral("系统不支持大文件");
    case SQLITE_AUTH:
        return QStringLiteral("操作未获授权");
    case SQLITE_FORMAT:
        return QStringLiteral("数据文件格式有误");
    case SQLITE_RANGE:
        return QStringLiteral("参数编号超出范围");
    case SQLITE_NOTADB:
        return QStringLiteral("不是数据文件，或密码不符，或文件已损坏");
    default:
        return QStringLiteral("数据库出错，代码 %1").arg(primary);
    }
}

// What a code means when the server gave it: no file or disk of this computer is concerned.
QString serverCodeDescription(int primary)
{
    switch (primary) {
    case SQLITE_IOERR:
        return QStringLiteral("与数据库服务器的连接出错");
    case SQLITE_BUSY:
        return QStringLiteral("数据库服务器正忙（其他诊室正在写入）");
    case SQLITE_FULL:
        return QStringLiteral("数据库服务器的磁盘空间已满");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库服务器报告数据已损坏");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法连接数据库服务器");
    case SQLITE_PERM:
        return QStringLiteral("数据库用户没有所需的权限");
    case SQLITE_READONLY:
        return QStringLiteral("数据库服务器只能读、不能写入");
    case SQLITE_AUTH:
        return QStringLiteral("数据库服务器拒绝登录");
    default:
        return codeDescription(primary);
    }
}

QString withWords(const QString &description, const QString &words)
{
    const QString trimmed = words.trimmed();
    return trimmed.isEmpty() ? description : description + QStringLiteral("（") + trimmed + QStringLiteral("）");
}

} // namespace

QString serverErrorText(int code, const QString &serverWords) { return withWords(serverCodeDescription(code & 0xff), serverWords); }

QString serverDamageAdvice()
{
    return QStringLiteral("请不要再保存病历，并请服务器管理员检查数据库；也可以在“文件”菜单的“数据备份与恢复”中用最近的完好备份（%1）恢复。")
        .arg(QStringLiteral("服务器数据库.dump"));
}

QString engineErrorText(int code, const QString &engineText)
{
    return withWords(codeDescription(code & 0xff), engineText);
}

bool isDamageCode(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT;
}

QString damageAdvice(const QString &backupRoot)
{
    const QString latest = latestBackupFolder(backupRoot);
    const QString advice = QStringLiteral("档案数据库已损坏。请不要再保存病历，在“文件”菜单的“数据备份与恢复”中用最近的完好备份恢复%1。")
                               .arg(kArchiveFileName);
    if (latest.isEmpty())
        return advice + QStringLiteral("\n备份文件夹 %1 中还没有完好的备份。").arg(QDir::toNativeSeparators(backupRoot));
    return advice + QStringLiteral("\n最近的完好备份：%1").arg(QDir::toNativeSeparators(latest));
}

QString failureMessage(const QString &what, const DbError &error, const QString &backupRoot)
{
    QString text = what + QStringLiteral("：") + error.message();
    if (error.isDamage())
        text += QStringLiteral("\n\n") + (error.isFromServer() ? serverDamageAdvice() : damageAdvice(backupRoot));
    return text;
}

} // namespace quillora
