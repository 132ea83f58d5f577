#include "support/pg_cluster.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVersionNumber>
#include <cstdlib>
#include <libpq-fe.h>
#include <memory>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

namespace quillora::test {

namespace {

// The newest installed server: /usr/lib/postgresql/<version>/bin, or the folder
// QUILLORA_PG_ROOT names instead of /usr/lib/postgresql (a missing one tries the skipping).
QString serverBinaries()
{
    const QByteArray rootOverride = qgetenv("QUILLORA_PG_ROOT");
    QDir root(rootOverride.isEmpty() ? QStringLiteral("/usr/lib/postgresql") : QString::fromLocal8Bit(rootOverride));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return QVersionNumber::fromString(a) > QVersionNumber::fromString(b); });
    for (const QString &version : versions) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return {};
}

bool run(const QString &commandLine) { return std::system(commandLine.toLocal8Bit().constData()) == 0; }

} // namespace

PgCluster *PgCluster::instance(QString *reason)
{
    static QString whyNot;
    static std::unique_ptr<PgCluster> cluster = [] {
        std::unique_ptr<PgCluster> c(new PgCluster);
        if (!c->start(false, whyNot))
            c.reset();
        return c;
    }();
    if (reason)
        *reason = whyNot;
    return cluster.get();
}

std::unique_ptr<PgCluster> PgCluster::startDurable(QString &reason)
{
    std::unique_ptr<PgCluster> cluster(new PgCluster);
    if (!cluster->start(true, reason))
        cluster.reset();
    return cluster;
}

QString PgCluster::command(const QString &program, const QString &arguments) const
{
    const QString tool = m_bin + QLatin1Char('/') + program + QLatin1Char(' ') + arguments;
    return m_asPostgresUser ? QStringLiteral("runuser -u postgres -- ") + tool : tool;
}

bool PgCluster::start(bool durable, QString &reason)
{
    m_bin = serverBinaries();
    if (m_bin.isEmpty()) {
        reason = QStringLiteral("no PostgreSQL server binaries under %1/*/bin")
                     .arg(qEnvironmentVariableIsEmpty("QUILLORA_PG_ROOT") ? QStringLiteral("/usr/lib/postgresql")
                                                                          : qEnvironmentVariable("QUILLORA_PG_ROOT"));
        return false;
    }
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quillora-pg-XXXXXX"));
    dir.setAutoRemove(false);
    m_folder = dir.path();
    if (geteuid() == 0) {
        // initdb refuses root: the cluster belongs to the postgres system user.
        const passwd *postgres = getpwnam("postgres");
        if (!postgres || chown(QFile::encodeName(m_folder).constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
            reason = QStringLiteral("running as root and there is no postgres user to run the server");
            return false;
        }
        m_asPostgresUser = true;
    }
    const QString log = m_folder + QStringLiteral("/server.log");
    const QString data = m_folder + QStringLiteral("/data");
    if (!run(command(QStringLiteral("initdb"),
                     QStringLiteral("-D %1 -U postgres -A trust -E UTF8 --locale=C --no-sync >%2/initdb.log 2>&1").arg(data, m_folder)))) {
        reason = QStringLiteral("initdb failed, see %1/initdb.log").arg(m_folder);
        return false;
    }
    // The clinic's role signs in with its password, as on a clinic's server; the superuser the
    // tests administer with is trusted on the socket.
    QFile hba(data + QStringLiteral("/pg_hba.conf"));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || hba.write(QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n").arg(QLatin1String(kPasswordRole)).toUtf8()) < 0) {
        reason = QStringLiteral("cannot write %1").arg(hba.fileName());
        return false;
    }
    hba.close();
    // A test cluster keeps nothing after a crash, so it need not flush to disk.
    QString options = QStringLiteral("-k %1 -c listen_addresses=''").arg(m_folder);
    if (!durable)
        options += QStringLiteral(" -c fsync=off -c synchronous_commit=off -c full_page_writes=off");
    if (!run(command(QStringLiteral("pg_ctl"), QStringLiteral("-D %1 -l %2 -w -o \"%3\" start >/dev/null 2>&1").arg(data, log, options)))) {
        reason = QStringLiteral("the server did not start, see %1").arg(log);
        return false;
    }
    m_running = true;
    stopWhenThisProcessEnds();
    m_admin = PQconnectdb(conninfo(QStringLiteral("postgres")).toUtf8().constData());
    if (PQstatus(m_admin) != CONNECTION_OK) {
        reason = QStringLiteral("cannot connect to the test server: %1").arg(QString::fromUtf8(PQerrorMessage(m_admin)));
        return false;
    }
    return true;
}

// A test process killed before its exit handlers run (a signal, a closed pipe) would leave the
// server running: a watcher stops it and removes the folder once this process is gone.
void PgCluster::stopWhenThisProcessEnds() const
{
    const QString stop = command(QStringLiteral("pg_ctl"), QStringLiteral("-D %1/data -m immediate -w stop").arg(m_folder));
    run(QStringLiteral("nohup sh -c 'while kill -0 %1 2>/dev/null; do sleep 1; done; %2; rm -rf %3' >/dev/null 2>&1 &")
            .arg(getpid())
            .arg(stop, m_folder));
}

PgCluster::~PgCluster()
{
    PQfinish(m_admin);
    if (m_running)
        run(command(QStringLiteral("pg_ctl"), QStringLiteral("-D %1/data -m immediate -w stop >/dev/null 2>&1").arg(m_folder)));
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

QString PgCluster::conninfo(const QString &database) const
{
    return QStringLiteral("host=%1 port=5432 user=postgres dbname=%2").arg(m_folder, database);
}

void PgCluster::admin(const QString &sql)
{
    PGresult *result = PQexec(m_admin, sql.toUtf8().constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    const QString error = QString::fromUtf8(PQresultErrorMessage(result));
    PQclear(result);
    if (!ok)
        throw std::runtime_error((sql + QStringLiteral(": ") + error).toStdString());
}

QString PgCluster::createDatabase(const QString &options)
{
    const QString name = QStringLiteral("test_%1").arg(++m_made);
    admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 %2").arg(name, options));
    return name;
}

void PgCluster::dropDatabase(const QString &name) { admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name)); }

} // namespace quillora::test
