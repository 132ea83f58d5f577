#pragma once

#include <QString>
#include <optional>

namespace quillora {

// The login decision: the typed password against the one read at start-up.
class LoginGate
{
public:
    LoginGate(std::optional<QString> storedPassword, QString problem)
        : m_stored(std::move(storedPassword)), m_problem(std::move(problem)) {}

    // The hint "(原始密码：816)" is shown only while the initial password is in force.
    bool showsInitialHint() const;
    // No password could be read: the archive is damaged or cannot be opened, and nothing logs in.
    bool archiveUnreadable() const { return !m_stored; }
    // Empty when the password opens the program, else the message to show.
    QString check(const QString &typed) const;

private:
    std::optional<QString> m_stored;
    QString m_problem;
};

} // namespace quillora
