#include "app/backup_checker.h"

namespace quillora {

BackupChecker::BackupChecker(const QList<BackupCopy> &copies, QObject *parent) : QThread(parent), m_copies(copies)
{
    qRegisterMetaType<BackupCheck>();
}

BackupChecker::~BackupChecker() { stop(); }

void BackupChecker::stop()
{
    requestInterruption();
    wait();
}

void BackupChecker::run()
{
    for (int i = 0; i < m_copies.size() && !isInterruptionRequested(); ++i)
        Q_EMIT checked(i, checkBackupCopy(m_copies[i]));
}

} // namespace quillora
