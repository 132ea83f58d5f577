#pragma once

#include "base/app_paths.h"

#include <QString>
#include <QTemporaryDir>

namespace quillora::test {

// A throw-away program folder with a stand-in executable, so nothing touches real data.
class TempProgramFolder
{
public:
    TempProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    QString executable() const { return file(QStringLiteral("quillora")); }
    AppPaths paths() const { return AppPaths::locate(path(), executable()); }

private:
    QTemporaryDir m_dir;
};

} // namespace quillora::test
