#pragma once

#include <QString>

namespace quillora {

class Database;

// Replacing the login password from the settings window. The comparison with the old password
// is exact here (the login itself ignores letter case); blanks at either end never count.
namespace PasswordChange {

enum class Outcome { Refused, Unreadable, WrongOldPassword, NotSaved, Changed };

// The longest password the table holds.
constexpr int kMaxLength = 50;

struct Result
{
    Outcome outcome;
    QString message;  // what the user is told
};

// Empty when the new password can be stored; "请输入新密码！" when it is empty once its blanks
// are gone, or the message that it is too long.
QString refusal(const QString &typedNew);

// Reads the stored password, compares it with the old one and stores the new one. A password
// that cannot be read or stored changes nothing and is reported with its cause.
Result change(Database &archive, const QString &typedOld, const QString &typedNew);

} // namespace PasswordChange

} // namespace quillora
