#include "app/instance_lock.h"

#include <QDir>

namespace quillora {

InstanceLock::InstanceLock(const QString &dataFolder)
    : m_lock(std::make_unique<QLockFile>(QDir(dataFolder).filePath(QStringLiteral("quillora.lock"))))
{
    QDir().mkpath(dataFolder);
}

InstanceLock::~InstanceLock() { release(); }

bool InstanceLock::acquire()
{
    // A lock left by a crashed instance is stale once its process is gone; QLockFile clears it.
    return m_lock->tryLock(0);
}

void InstanceLock::release()
{
    if (m_lock->isLocked())
        m_lock->unlock();
}

bool InstanceLock::isHeld() const { return m_lock->isLocked(); }

} // namespace quillora
