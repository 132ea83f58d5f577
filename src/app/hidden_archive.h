#pragma once

#include "base/app_paths.h"

#include <QString>
#include <QStringList>

namespace quillora {

// Data files beside the program that the per-user data folder would hide: the program folder
// cannot be written, so the program moved to the per-user folder, which lacks those files.
struct HiddenArchive
{
    bool found = false;
    QString programDataFolder;  // 档案数据库 beside the program, readable but not writable
    QString userDataFolder;     // the per-user data folder the program would use instead

    // Found when the program folder's archive can be read and the per-user folder has no
    // archive, or one without visits while the program folder's archive has some.
    static HiddenArchive find(const AppPaths &paths);

    // What the doctor is asked before the login.
    QString question() const;
    // Copies the data files of the program folder into the per-user folder, each checked
    // before it takes its place; a file it replaces is kept aside. Returns the problems.
    QStringList copyIntoUserFolder() const;
};

} // namespace quillora
