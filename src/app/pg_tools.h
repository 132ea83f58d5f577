#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillora {

// A connection string split for a child program: the rest goes on its command line, the
// password (when the string carries one) only into its environment.
struct ToolConnection
{
    QString conninfo;  // keyword=value form, without the password
    QString password;  // empty when the string has none
    QString problem;   // why the string cannot be read; empty when it can
};

// Reads a libpq connection string (keyword=value or a URI).
ToolConnection toolConnection(const QString &conninfo);

// What one run of a client program gave back.
struct ToolRun
{
    bool finished = false;  // started and ended by itself (not missing, not stopped for taking too long)
    int exitCode = -1;
    QByteArray output;
    QString errorLine;  // its last complaint, or why it did not run

    bool succeeded() const { return finished && exitCode == 0; }
};

// The PostgreSQL client programs the server backup needs (pg_dump, pg_restore).
class PgTools
{
public:
    // Looks in the folders of PATH, then in /usr/lib/postgresql/<version>/bin, newest version first.
    static PgTools locate();
    // The same search over the given folders.
    static PgTools locateIn(const QStringList &pathFolders, const QString &versionsRoot);

    QString dumpProgram() const { return m_dump; }
    QString restoreProgram() const { return m_restore; }
    // Why a program cannot be run ("找不到 pg_dump …"); empty when it was found.
    static QString missingText(const QString &name);

    // Runs the program with the arguments and --dbname for the connection (the password goes
    // through PGPASSWORD), never asking for a password; no connection when conninfo is empty.
    static ToolRun run(const QString &program, const QStringList &arguments, const QString &conninfo = {});

private:
    QString m_dump;
    QString m_restore;
};

} // namespace quillora
