#pragma once

#include "support/pg_cluster.h"

#include <QString>

namespace quillora::test {

// A database of the test cluster as a clinic has it: owned by a plain login role (no superuser),
// which is the role the rooms connect as, with the trigram extension the administrator installed.
// The server asks the role for its password, which the connection string carries.
class ClinicDatabase
{
public:
    explicit ClinicDatabase(PgCluster &cluster);
    ~ClinicDatabase();
    ClinicDatabase(const ClinicDatabase &) = delete;
    ClinicDatabase &operator=(const ClinicDatabase &) = delete;

    QString name() const { return m_name; }
    // As the clinic's role, with its password.
    QString conninfo() const;
    // As the cluster's superuser.
    QString adminConninfo() const { return m_cluster.conninfo(m_name); }
    // Runs a statement as the cluster's superuser in the given database.
    void admin(const QString &database, const QString &sql) const;

    static inline const QString kRole = QString::fromLatin1(kPasswordRole);  // signs in with its password
    static inline const QString kPassword = QStringLiteral("诊室 pass'1");

private:
    PgCluster &m_cluster;
    QString m_name;
};

} // namespace quillora::test
