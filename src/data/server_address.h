#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// Where a clinic's shared archive lives when the consulting rooms work on one PostgreSQL
// database instead of the files beside the program.
struct ServerAddress
{
    QString conninfo;  // libpq's connection string or URI; empty: the files beside the program
    QString shown;     // how the About window names the archive: "PostgreSQL 192.168.1.10:5432/门诊"
    QString problem;   // why the connection file or argument cannot be used; empty when it can

    bool chosen() const { return !conninfo.isEmpty(); }
};

// The connection file in the data folder; it names the server the rooms share.
inline constexpr const char *kServerFileName = "服务器.conf";

// The server the program should use: "--server postgresql://…" on the command line first, else
// the connection file (lines "键 = 值" with the keys host, port, database, user, sslmode; "#"
// begins a comment). Neither: the embedded files. A value that cannot be right is refused with
// the line named, never passed on half-read.
ServerAddress chooseServer(const QStringList &arguments, const QString &dataFolder);
// The connection file's text turned into an address (the file name is used in messages).
ServerAddress readServerFile(const QString &text, const QString &fileName);
// The connection string with the password the doctor typed (it wins over one the string has).
QString withPassword(const QString &conninfo, const QString &password);

// What the password prompt says: which server and user want it, and after a password the
// server refused, that it was refused, in the server's words.
QString serverPasswordPrompt(const ServerAddress &server, const QString &serverWords, bool refusedBefore);
// The URI given on the command line, checked for its scheme.
ServerAddress serverFromUri(const QString &uri);

} // namespace quillora
