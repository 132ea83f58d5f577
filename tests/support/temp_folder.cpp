#include "support/temp_folder.h"

#include <QFile>

namespace quillora::test {

TempProgramFolder::TempProgramFolder()
{
    QFile exe(executable());
    if (exe.open(QIODevice::WriteOnly))
        exe.write("#!/bin/sh\n# stand-in executable\n");
    exe.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace quillora::test
