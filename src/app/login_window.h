#pragma once

#include "app/login_gate.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillora {

// The small window that asks for the login password before the main window opens.
class LoginWindow : public QWidget
{
    Q_OBJECT

public:
    LoginWindow(const LoginGate &gate, QWidget *parent = nullptr);

    QLineEdit *passwordBox() const { return m_password; }
    // The files were read again (after a restore): the new password and hint take over.
    void setGate(const LoginGate &gate);

Q_SIGNALS:
    // The password was right; the window has hidden itself.
    void loggedIn();
    // The window was cancelled or closed: the program ends.
    void cancelled();
    // The archive cannot be read and the doctor chose to restore it from a backup.
    void backupRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void confirm();
    LoginGate m_gate;
    QLabel *m_hint;
    QLineEdit *m_password;
    bool m_passed = false;
};

} // namespace quillora
