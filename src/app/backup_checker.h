#pragma once

#include "app/backup_copies.h"

#include <QList>
#include <QThread>

namespace quillora {

// Checks backup copies one after the other on a thread of its own, with connections of its
// own, so that the window stays responsive while every page of every copy is read.
class BackupChecker : public QThread
{
    Q_OBJECT

public:
    explicit BackupChecker(const QList<BackupCopy> &copies, QObject *parent = nullptr);
    // Stops after the copy in hand and waits for the thread.
    ~BackupChecker() override;
    void stop();

Q_SIGNALS:
    // One copy is checked; index is its place in the list handed over.
    void checked(int index, const quillora::BackupCheck &check);

protected:
    void run() override;

private:
    QList<BackupCopy> m_copies;
};

} // namespace quillora
