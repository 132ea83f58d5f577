#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace quillora {

// Keeps a second program instance away from the same data folder.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &dataFolder);
    ~InstanceLock();
    // False when another running instance holds the folder.
    bool acquire();
    void release();
    bool isHeld() const;

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace quillora
