#include "app/server_rooms.h"

#include "data/data_files.h"
#include "data/pg_connection.h"

#include <QElapsedTimer>
#include <QThread>

namespace quillora {

namespace {

// What a room's connections call themselves once it is closing.
constexpr const char *kLeavingApplicationName = "Quillora-closing";
// How long a connection that is going away may still be listed.
constexpr int kSettleMs = 1500;

QList<PgConnection *> ownConnections(DataFiles &files)
{
    QList<PgConnection *> own;
    for (Database *db : {&files.archive(), &files.settings()}) {
        if (db->isOpen() && db->server())
            own << db->server();
    }
    return own;
}

qint64 backendOf(PgConnection &connection)
{
    return connection.query(QStringLiteral("SELECT pg_backend_pid()")).bytes(0, 0).toLongLong();
}

int countOthers(PgConnection &asking, const QList<PgConnection *> &own)
{
    QStringList pids{QString::number(backendOf(asking))};
    for (PgConnection *connection : own)
        pids << QString::number(backendOf(*connection));
    const PgResult rows = asking.query(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                                                      "AND application_name = $1 AND pid <> ALL ($2::int[])"),
                                       {QByteArray(kServerApplicationName), (QLatin1Char('{') + pids.join(QLatin1Char(',')) + QLatin1Char('}')).toUtf8()});
    return rows.bytes(0, 0).toInt();
}

} // namespace

int otherRoomConnections(DataFiles &files)
{
    const QList<PgConnection *> own = ownConnections(files);
    if (!own.isEmpty())
        return countOthers(*own.first(), own);
    Database probe;
    probe.openServer(files.archiveServer());
    return countOthers(*probe.server(), {});
}

bool isLastRoomLeaving(DataFiles &files)
{
    try {
        // Marked before counting: of two rooms closing at once, the one that counts second
        // no longer sees the first, so at least one of them takes the backup.
        for (PgConnection *connection : ownConnections(files))
            connection->query(QStringLiteral("SELECT set_config('application_name', $1, false)"), {QByteArray(kLeavingApplicationName)});
        return otherRoomConnections(files) == 0;
    } catch (const DbError &) {
        return true;
    }
}

QString otherRoomsRefusal(DataFiles &files)
{
    try {
        // A room that has just closed is still listed for a moment while its server process ends.
        int others = otherRoomConnections(files);
        QElapsedTimer waited;
        waited.start();
        while (others > 0 && waited.elapsed() < kSettleMs) {
            QThread::msleep(100);
            others = otherRoomConnections(files);
        }
        if (others > 0)
            // Each room holds a connection per store: the count is of connections, not of rooms.
            return QStringLiteral("其他诊室的程序还连接着服务器数据库（%1 个连接），现在不能恢复。\n请先让其他诊室退出程序，再恢复数据。")
                .arg(others);
    } catch (const DbError &e) {
        return QStringLiteral("无法向服务器询问还有哪些诊室在使用数据库，现在不能恢复：%1").arg(e.message());
    }
    return {};
}

} // namespace quillora
