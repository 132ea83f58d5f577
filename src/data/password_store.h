#pragma once

#include <QString>
#include <optional>

namespace quillora {

class Database;

// The login password: the first row of the password table in the archive file.
class PasswordStore
{
public:
    explicit PasswordStore(Database &archive) : m_db(archive) {}
    // Nothing when the table or its row cannot be read.
    std::optional<QString> read();
    // Nothing when the table has no row; throws DbError when it cannot be read.
    std::optional<QString> fetch();
    // Stores the password in the first row (adding it when the table is empty).
    void write(const QString &password);

private:
    Database &m_db;
};

// The password of a new installation.
inline const QString kInitialPassword = QStringLiteral("816");

// The login check: both sides trimmed, letter case ignored.
bool passwordMatches(const QString &typed, const QString &stored);

} // namespace quillora
