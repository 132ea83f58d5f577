#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillora {

class DataFiles;

// What the start of the program found: the login password, or why there is none.
struct StartupState
{
    std::optional<QString> password;  // nothing when the archive could not be read
    QString problem;                  // what went wrong, for the login window to tell
    QStringList created;              // files made on this start
    bool opened = false;              // both files are open for the run
};

// Creates what is missing, opens both files and reads the login password.
StartupState startUp(DataFiles &files);

} // namespace quillora
