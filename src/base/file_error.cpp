#include "base/file_error.h"

#include <cerrno>
#include <cstring>

namespace quillora {

QString fileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入该位置的权限");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘空间不足");
    case EFBIG:
        return QStringLiteral("文件超出了允许的大小");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在");
    case EISDIR:
        return QStringLiteral("已有同名的文件夹");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("文件正被其他程序使用");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    default:
        break;
    }
    if (errorNumber == 0)
        return QStringLiteral("原因不明");
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace quillora
