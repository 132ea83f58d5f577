#include "support/fault_vfs.h"

#include <QFileInfo>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace quillora::test {

struct FaultVfs::State
{
    sqlite3_vfs vfs;
    sqlite3_vfs *real = nullptr;
    QByteArray folder;
    bool armed = false;
    Fault fault = Fault::IoError;
    int failAt = 0;
    int calls = 0;
    int growingWrites = 0;
    bool fired = false;
    bool recording = false;
    QList<IoEvent> events;

    // Counts a call and says whether it fails.
    bool failsNow()
    {
        if (!armed || fault != Fault::IoError)
            return false;
        if (++calls != failAt)
            return false;
        fired = true;
        return true;
    }
    bool growingWriteFails()
    {
        if (!armed || fault != Fault::DiskFull)
            return false;
        if (++growingWrites < failAt)
            return false;
        fired = true;
        return true;
    }
    void record(IoEvent event)
    {
        if (recording)
            events << std::move(event);
    }
};

namespace {

FaultVfs::State *s_state = nullptr;

// Our part of an open file; SQLite's own file object follows it in the same allocation.
struct File
{
    sqlite3_file base;
    bool watched;
    char path[1024];
};
constexpr int kRealOffset = (sizeof(File) + 15) / 16 * 16;

sqlite3_file *realOf(sqlite3_file *file) { return reinterpret_cast<sqlite3_file *>(reinterpret_cast<char *>(file) + kRealOffset); }
File *ours(sqlite3_file *file) { return reinterpret_cast<File *>(file); }
bool watched(sqlite3_file *file) { return ours(file)->watched; }
QString pathOf(sqlite3_file *file) { return QString::fromUtf8(ours(file)->path); }

int fileClose(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}

int fileRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    if (watched(file) && s_state->failsNow())
        return SQLITE_IOERR_READ;
    sqlite3_file *real = realOf(file);
    return real->pMethods->xRead(real, buffer, amount, offset);
}

int fileWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    sqlite3_file *real = realOf(file);
    if (watched(file)) {
        if (s_state->failsNow())
            return SQLITE_IOERR_WRITE;
        sqlite3_int64 size = 0;
        real->pMethods->xFileSize(real, &size);
        if (offset + amount > size && s_state->growingWriteFails())
            return SQLITE_FULL;
    }
    const int rc = real->pMethods->xWrite(real, data, amount, offset);
    if (rc == SQLITE_OK && watched(file))
        s_state->record({IoEvent::Write, pathOf(file), offset, QByteArray(static_cast<const char *>(data), amount)});
    return rc;
}

int fileTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    if (watched(file) && s_state->failsNow())
        return SQLITE_IOERR_TRUNCATE;
    sqlite3_file *real = realOf(file);
    const int rc = real->pMethods->xTruncate(real, size);
    if (rc == SQLITE_OK && watched(file))
        s_state->record({IoEvent::Truncate, pathOf(file), size, {}});
    return rc;
}

int fileSync(sqlite3_file *file, int flags)
{
    sqlite3_file *real = realOf(file);
    if (!watched(file))
        return real->pMethods->xSync(real, flags);
    if (s_state->failsNow())
        return SQLITE_IOERR_FSYNC;
    s_state->record({IoEvent::Sync, pathOf(file), 0, {}});
    return SQLITE_OK;
}

int fileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    if (watched(file) && s_state->failsNow())
        return SQLITE_IOERR_FSTAT;
    sqlite3_file *real = realOf(file);
    return real->pMethods->xFileSize(real, size);
}

int fileLock(sqlite3_file *file, int level)
{
    if (watched(file) && s_state->failsNow())
        return SQLITE_IOERR_LOCK;
    sqlite3_file *real = realOf(file);
    return real->pMethods->xLock(real, level);
}

int fileUnlock(sqlite3_file *file, int level)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xUnlock(real, level);
}

int fileCheckReserved(sqlite3_file *file, int *result)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xCheckReservedLock(real, result);
}

int fileControl(sqlite3_file *file, int op, void *arg)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xFileControl(real, op, arg);
}

int fileSectorSize(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xSectorSize(real);
}

int fileCharacteristics(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xDeviceCharacteristics(real);
}

// Version 1: no shared memory and no memory mapping, which a rollback journal does not need.
const sqlite3_io_methods kMethods = {1, fileClose, fileRead, fileWrite, fileTruncate, fileSync, fileSize, fileLock,
                                     fileUnlock, fileCheckReserved, fileControl, fileSectorSize, fileCharacteristics,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

bool isWatched(const char *path) { return path && s_state && std::strncmp(path, s_state->folder.constData(), s_state->folder.size()) == 0; }

int vfsOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    File *f = ours(file);
    f->base.pMethods = nullptr;
    f->watched = isWatched(name);
    f->path[0] = '\0';
    sqlite3_file *real = realOf(file);
    real->pMethods = nullptr;
    bool created = false;
    if (f->watched) {
        if (s_state->failsNow())
            return SQLITE_CANTOPEN;
        std::strncpy(f->path, name, sizeof f->path - 1);
        f->path[sizeof f->path - 1] = '\0';
        created = !QFileInfo::exists(QString::fromUtf8(name));
    }
    const int rc = s_state->real->xOpen(s_state->real, name, real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (real->pMethods)
            real->pMethods->xClose(real);
        return rc;
    }
    f->base.pMethods = &kMethods;
    if (created)
        s_state->record({IoEvent::Create, QString::fromUtf8(name), 0, {}});
    return SQLITE_OK;
}

int vfsDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    if (!isWatched(name))
        return s_state->real->xDelete(s_state->real, name, syncDir);
    if (s_state->failsNow())
        return SQLITE_IOERR_DELETE;
    const int rc = s_state->real->xDelete(s_state->real, name, 0);
    if (rc == SQLITE_OK)
        s_state->record({IoEvent::Delete, QString::fromUtf8(name), 0, {}, syncDir != 0});
    return rc;
}

int vfsAccess(sqlite3_vfs *, const char *name, int flags, int *result)
{
    if (isWatched(name) && s_state->failsNow())
        return SQLITE_IOERR_ACCESS;
    return s_state->real->xAccess(s_state->real, name, flags, result);
}

} // namespace

FaultVfs::FaultVfs(const QString &watchedFolder) : m_state(new State)
{
    m_state->real = sqlite3_vfs_find(nullptr);
    m_state->folder = QFileInfo(watchedFolder).absoluteFilePath().toUtf8();
    // The rest (paths, randomness, time) is SQLite's own layer, which ignores which object calls it.
    sqlite3_vfs &v = m_state->vfs;
    v = *m_state->real;
    v.pNext = nullptr;
    v.szOsFile = kRealOffset + m_state->real->szOsFile;
    v.zName = "quillora-fault";
    v.pAppData = nullptr;
    v.xOpen = vfsOpen;
    v.xDelete = vfsDelete;
    v.xAccess = vfsAccess;
    s_state = m_state;
    sqlite3_vfs_register(&v, 1);
}

FaultVfs::~FaultVfs()
{
    sqlite3_vfs_unregister(&m_state->vfs);
    sqlite3_vfs_register(m_state->real, 1);
    s_state = nullptr;
    delete m_state;
}

void FaultVfs::arm(int n, Fault fault)
{
    m_state->armed = true;
    m_state->fault = fault;
    m_state->failAt = n;
    m_state->calls = 0;
    m_state->growingWrites = 0;
    m_state->fired = false;
}

void FaultVfs::disarm() { m_state->armed = false; }

bool FaultVfs::fired() const { return m_state->fired; }

void FaultVfs::setRecording(bool recording) { m_state->recording = recording; }

const QList<IoEvent> &FaultVfs::events() const { return m_state->events; }

DiskModel::File &DiskModel::file(const QString &path)
{
    for (auto &[name, f] : m_files) {
        if (name == path)
            return f;
    }
    m_files.append({path, File{}});
    return m_files.last().second;
}

void DiskModel::setInitial(const QString &path, const QByteArray &contents)
{
    File &f = file(path);
    f.current = f.durable = contents;
    f.exists = f.existsDurably = true;
}

void DiskModel::apply(const IoEvent &event)
{
    File &f = file(event.path);
    switch (event.kind) {
    case IoEvent::Create:
        f.current.clear();
        f.exists = true;
        break;
    case IoEvent::Write:
        if (f.current.size() < event.offset + event.data.size())
            f.current.resize(event.offset + event.data.size(), '\0');
        std::memcpy(f.current.data() + event.offset, event.data.constData(), event.data.size());
        break;
    case IoEvent::Truncate:
        f.current.resize(event.offset);
        break;
    case IoEvent::Sync:
        // A new file's name is flushed with its first sync, as SQLite's own layer does for journals.
        f.durable = f.current;
        f.existsDurably = f.exists;
        break;
    case IoEvent::Delete:
        f.current.clear();
        f.exists = false;
        if (event.dirSync) {
            f.durable.clear();
            f.existsDurably = false;
        }
        break;
    }
}

QList<QPair<QString, QByteArray>> DiskModel::durableFiles() const
{
    QList<QPair<QString, QByteArray>> files;
    for (const auto &[name, f] : m_files) {
        if (f.existsDurably)
            files.append({name, f.durable});
    }
    return files;
}

} // namespace quillora::test
