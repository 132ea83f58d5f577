#include "data/password_store.h"

#include "data/database.h"

namespace quillora {

std::optional<QString> PasswordStore::fetch()
{
    Statement q(m_db, QStringLiteral("SELECT [密码] FROM [密码] ORDER BY rowid LIMIT 1"));
    if (!q.next())
        return std::nullopt;
    return q.text(0);
}

std::optional<QString> PasswordStore::read()
{
    try {
        return fetch();
    } catch (const DbError &) {
        return std::nullopt;
    }
}

void PasswordStore::write(const QString &password)
{
    Transaction transaction(m_db);
    Statement update(m_db, QStringLiteral("UPDATE [密码] SET [密码] = ? WHERE rowid = (SELECT min(rowid) FROM [密码])"));
    update.bind(1, password);
    update.run();
    if (m_db.changes() == 0) {
        Statement insert(m_db, QStringLiteral("INSERT INTO [密码] ([密码]) VALUES (?)"));
        insert.bind(1, password);
        insert.run();
    }
    transaction.commit();
}

bool passwordMatches(const QString &typed, const QString &stored)
{
    return typed.trimmed().toLower() == stored.trimmed().toLower();
}

} // namespace quillora
