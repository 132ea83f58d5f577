#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillora::test {

// One change to a watched file, as the file layer saw it.
struct IoEvent
{
    enum Kind { Create, Write, Truncate, Sync, Delete };
    Kind kind;
    QString path;
    qint64 offset = 0;     // Write: where; Truncate: the new size
    QByteArray data;       // Write
    bool dirSync = false;  // Delete: the folder was flushed with it
};

// A file layer over SQLite's own, registered as the default while it lives, for the files
// below one folder: it fails a chosen I/O call of those files and records their changes.
// Connections must be opened after it is made and closed before it goes. Syncs are recorded
// but not passed on (the records stand for the disk), which keeps sweeps fast.
class FaultVfs
{
public:
    enum class Fault { IoError, DiskFull };

    explicit FaultVfs(const QString &watchedFolder);
    ~FaultVfs();
    FaultVfs(const FaultVfs &) = delete;
    FaultVfs &operator=(const FaultVfs &) = delete;

    // IoError: the n-th counted call (1-based) from now fails once. DiskFull: the n-th write
    // that grows a file fails, and so does every later one, until disarm().
    void arm(int n, Fault fault);
    void disarm();
    // The armed fault happened.
    bool fired() const;

    void setRecording(bool recording);
    const QList<IoEvent> &events() const;

    struct State;

private:
    State *m_state;
};

// The files below a folder as a power cut would leave them: each file as of its last sync,
// a file created or deleted only when that was flushed. The starting contents are given.
class DiskModel
{
public:
    void setInitial(const QString &path, const QByteArray &contents);
    void apply(const IoEvent &event);
    // Durable contents by path; files that would not exist after the cut are left out.
    QList<QPair<QString, QByteArray>> durableFiles() const;

private:
    struct File
    {
        QByteArray current, durable;
        bool exists = false, existsDurably = false;
    };
    QList<QPair<QString, File>> m_files;
    File &file(const QString &path);
};

} // namespace quillora::test
