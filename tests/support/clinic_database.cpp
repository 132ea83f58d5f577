#include "support/clinic_database.h"

#include "data/database.h"
#include "data/pg_connection.h"

namespace quillora::test {

ClinicDatabase::ClinicDatabase(PgCluster &cluster) : m_cluster(cluster)
{
    static int made = 0;
    m_name = QStringLiteral("clinic_%1").arg(++made);
    QString password = kPassword;
    password.replace(QLatin1Char('\''), QStringLiteral("''"));
    admin(QStringLiteral("postgres"), QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN PASSWORD '%2'; "
                                                     "EXCEPTION WHEN duplicate_object THEN NULL; END $$").arg(kRole, password));
    admin(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 OWNER %2 TEMPLATE template0").arg(m_name, kRole));
    // Installed by the administrator, so the clinic's role does not own it.
    admin(m_name, QStringLiteral("CREATE EXTENSION pg_trgm"));
}

ClinicDatabase::~ClinicDatabase() { admin(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)); }

QString ClinicDatabase::conninfo() const
{
    QString text = m_cluster.conninfo(m_name);
    QString password = kPassword;
    password.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return text.replace(QStringLiteral("user=postgres"), QStringLiteral("user=%1 password='%2'").arg(kRole, password));
}

void ClinicDatabase::admin(const QString &database, const QString &sql) const
{
    Database db;
    db.openServer(m_cluster.conninfo(database));
    db.server()->exec(sql);
}

} // namespace quillora::test
