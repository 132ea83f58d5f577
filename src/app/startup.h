#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillora {

class DataFiles;
class InstanceLock;

// What the start of the program found: the login password, or why there is none.
struct StartupState
{
    std::optional<QString> password;  // nothing when the archive could not be read
    QString problem;                  // what went wrong, for the login window to tell
    QStringList created;              // files made on this start
    bool opened = false;              // both files are open for the run
    bool inUse = false;               // another instance holds the folder; nothing was touched
    bool needsServerPassword = false; // the server wants a password (or refused the one given)
};

// Takes the folder's instance lock (unless already held), then creates what is missing, opens
// both files and reads the login password. Without the lock no file is made or opened: two
// starts on a new folder would otherwise build the same files over each other.
StartupState startUp(DataFiles &files, InstanceLock &lock);

} // namespace quillora
