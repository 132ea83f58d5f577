#pragma once

#include <QString>
#include <memory>

struct pg_conn;

namespace quillora::test {

// The one role of the test clusters that must give its password to sign in.
inline constexpr const char *kPasswordRole = "clinic_room";

// A throw-away PostgreSQL cluster for one test executable: made with initdb in a temporary
// folder, started on a Unix socket there (no TCP), stopped and removed at exit. As root the
// server runs as the postgres system user, as the server refuses root.
class PgCluster
{
public:
    // The running cluster, started on first use; null when it cannot run here (no server
    // binaries, no postgres user), with the reason. It does not flush to disk.
    static PgCluster *instance(QString *reason = nullptr);
    // A cluster of its own that flushes every commit as a real server does (for measuring).
    static std::unique_ptr<PgCluster> startDurable(QString &reason);
    ~PgCluster();

    // A new empty database made from template0 (with further CREATE DATABASE options, such
    // as a locale); returns its name.
    QString createDatabase(const QString &options = {});
    void dropDatabase(const QString &name);
    // libpq's connection string for a database of the cluster, as its superuser.
    QString conninfo(const QString &database) const;

private:
    PgCluster() = default;
    bool start(bool durable, QString &reason);
    QString command(const QString &program, const QString &arguments) const;
    void stopWhenThisProcessEnds() const;
    void admin(const QString &sql);

    QString m_bin;
    QString m_folder;
    bool m_asPostgresUser = false;
    bool m_running = false;
    pg_conn *m_admin = nullptr;
    int m_made = 0;
};

// One fresh database of the cluster for the length of a test.
class PgDatabase
{
public:
    explicit PgDatabase(PgCluster &cluster, const QString &options = {})
        : m_cluster(cluster), m_name(cluster.createDatabase(options))
    {
    }
    ~PgDatabase() { m_cluster.dropDatabase(m_name); }
    PgDatabase(const PgDatabase &) = delete;
    PgDatabase &operator=(const PgDatabase &) = delete;
    QString conninfo() const { return m_cluster.conninfo(m_name); }

private:
    PgCluster &m_cluster;
    QString m_name;
};

} // namespace quillora::test

// In a test body or SetUp: the running test cluster as `name`, or the test skipped with the
// reason it cannot run here.
#define QUILLORA_CLUSTER_OR_SKIP(name)                                                                \
    QString name##Reason;                                                                             \
    ::quillora::test::PgCluster *name = ::quillora::test::PgCluster::instance(&name##Reason);          \
    if (!name)                                                                                        \
    GTEST_SKIP() << "PostgreSQL: " << name##Reason.toStdString()
