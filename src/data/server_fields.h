#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// What the doctor types to name the clinic's server: where it is, the database, the user and
// the password (kept only in memory), and how the connection is encrypted (libpq's sslmode).
struct ServerFields
{
    QString host;
    QString port = QStringLiteral("5432");
    QString database;
    QString user;
    QString password;
    QString sslMode = QStringLiteral("prefer");
};

// The encryption modes libpq knows, the default first.
QStringList serverSslModes();

// What is wrong with the fields, for the doctor; empty when they can be used.
QString serverFieldsProblem(const ServerFields &fields);

// libpq's connection string of the fields, the password included.
QString conninfoOf(const ServerFields &fields);

// The connection file's text for the fields: every field but the password, which is never
// written down (it is asked for at login).
QString serverFileText(const ServerFields &fields);

// Writes the connection file into the data folder; the reason when it cannot, else empty.
QString writeServerFile(const QString &dataFolder, const ServerFields &fields);

} // namespace quillora
