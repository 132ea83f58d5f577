#include "app/login_gate.h"

#include "data/password_store.h"

namespace quillora {

bool LoginGate::showsInitialHint() const { return m_stored && *m_stored == kInitialPassword; }

QString LoginGate::check(const QString &typed) const
{
    // Without a readable password nothing may open the program, an empty typed text least of all.
    if (!m_stored) {
        QString message = QStringLiteral("档案数据库无法读取，不能登录。");
        if (!m_problem.isEmpty())
            message += QLatin1Char('\n') + m_problem;
        return message;
    }
    return passwordMatches(typed, *m_stored) ? QString() : QStringLiteral("密码错误！");
}

} // namespace quillora
