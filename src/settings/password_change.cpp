#include "settings/password_change.h"

#include "data/database.h"
#include "data/password_store.h"

namespace quillora {

QString PasswordChange::refusal(const QString &typedNew)
{
    const QString wanted = typedNew.trimmed();
    if (wanted.isEmpty())
        return QStringLiteral("请输入新密码！");
    if (wanted.toUcs4().size() > kMaxLength)
        return QStringLiteral("新密码太长，最多能保存%1个字符。").arg(kMaxLength);
    return QString();
}

PasswordChange::Result PasswordChange::change(Database &archive, const QString &typedOld, const QString &typedNew)
{
    if (const QString refused = refusal(typedNew); !refused.isEmpty())
        return {Outcome::Refused, refused};
    const QString wanted = typedNew.trimmed();
    const Result changed{Outcome::Changed, QStringLiteral("修改密码成功，请牢记新密码！")};
    PasswordStore store(archive);
    std::optional<QString> stored;
    try {
        stored = store.fetch();
    } catch (const DbError &e) {
        return {Outcome::Unreadable, QStringLiteral("密码无法读取：%1").arg(e.message())};
    }
    if (!stored)
        return {Outcome::Unreadable, QStringLiteral("密码无法读取：档案中没有登录密码。")};
    if (*stored != typedOld.trimmed())
        return {Outcome::WrongOldPassword, QStringLiteral("原密码不正确，无法修改密码！")};
    try {
        store.write(wanted);
    } catch (const DbError &e) {
        // A failed commit may still have stored it: only the table can say.
        if (store.read() == wanted)
            return changed;
        return {Outcome::NotSaved, QStringLiteral("密码无法保存：%1\n原密码仍然有效。").arg(e.message())};
    }
    return changed;
}

} // namespace quillora
