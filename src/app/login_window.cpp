#include "app/login_window.h"

#include "base/message_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quillora {

namespace {

QLabel *label(const QString &text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(96);
    return b;
}

} // namespace

LoginWindow::LoginWindow(const LoginGate &gate, QWidget *parent) : QWidget(parent), m_gate(gate)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("登录"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *product = label(QStringLiteral("Quillora"), "productLabel", this);
    QFont productFont(QStringLiteral("黑体"), 20, QFont::Bold);
    product->setFont(productFont);
    product->setAlignment(Qt::AlignCenter);
    auto *prompt = label(QStringLiteral("请输入登录密码"), "promptLabel", this);
    m_hint = label(QStringLiteral("(原始密码：816)"), "hintLabel", this);
    m_hint->setStyleSheet(QStringLiteral("color: #a05a00;"));
    m_hint->setVisible(m_gate.showsInitialHint());

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordBox"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_password->setMinimumWidth(220);

    auto *ok = button(QStringLiteral("确  定"), "okButton", this);
    auto *cancel = button(QStringLiteral("取  消"), "cancelButton", this);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);

    auto *prompts = new QHBoxLayout;
    prompts->addWidget(prompt);
    prompts->addStretch();
    prompts->addWidget(m_hint);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    layout->addWidget(product);
    layout->addLayout(prompts);
    layout->addWidget(m_password);
    layout->addLayout(buttons);

    // Enter in the password box is the OK button; the key goes no further.
    connect(m_password, &QLineEdit::returnPressed, this, &LoginWindow::confirm);
    connect(ok, &QPushButton::clicked, this, &LoginWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    m_password->setFocus();
}

void LoginWindow::confirm()
{
    const QString problem = m_gate.check(m_password->text());
    if (m_gate.archiveUnreadable()) {
        if (MessageDialog::choose(this, problem + QStringLiteral("\n\n可以在“数据备份与恢复”中用一份完好的备份恢复数据。"),
                                  QStringLiteral("数据备份与恢复"), QStringLiteral("关闭"), MessageDialog::Icon::Critical))
            Q_EMIT backupRequested();
        return;
    }
    if (!problem.isEmpty()) {
        MessageDialog::inform(this, problem);
        m_password->setFocus();
        return;
    }
    m_passed = true;
    hide();
    Q_EMIT loggedIn();
}

void LoginWindow::setGate(const LoginGate &gate)
{
    m_gate = gate;
    m_hint->setVisible(m_gate.showsInitialHint());
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_passed)
        Q_EMIT cancelled();
}

void LoginWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    m_password->setFocus();
}

} // namespace quillora
