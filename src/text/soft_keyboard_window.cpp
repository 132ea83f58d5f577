#include "text/soft_keyboard_window.h"

#include "base/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace quillora {

QPointer<QLineEdit> SoftKeyboardTarget::s_target;

void SoftKeyboardTarget::set(QLineEdit *box) { s_target = box; }

QLineEdit *SoftKeyboardTarget::get() { return s_target.data(); }

SoftKeyboardWindow::SoftKeyboardWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("软键盘"));
    // A tool window that never takes the focus, so the target box keeps it while typing.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    auto *grid = new QGridLayout(this);
    grid->setSpacing(3);
    grid->setContentsMargins(6, 6, 6, 6);
    const auto make = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumSize(34, 30);
        return b;
    };
    // QWERTY rows read faster than an alphabetical block; the buttons keep their letter index.
    const QString rows[3] = {QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKL"), QStringLiteral("ZXCVBNM")};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString letter = rows[r].mid(c, 1);
            QPushButton *b = make(QStringLiteral("Command1_%1").arg(letter[0].unicode() - 'A'), letter);
            grid->addWidget(b, r, c * 2 + r, 1, 2);
            connect(b, &QPushButton::clicked, this, [this, letter] { typeLetter(letter); });
        }
    }
    QPushButton *back = make(QStringLiteral("backspaceButton"), QStringLiteral("退格"));
    QPushButton *clear = make(QStringLiteral("clearButton"), QStringLiteral("清空"));
    grid->addWidget(back, 2, 16, 1, 2);
    grid->addWidget(clear, 2, 18, 1, 2);
    connect(back, &QPushButton::clicked, this, &SoftKeyboardWindow::backspace);
    connect(clear, &QPushButton::clicked, this, &SoftKeyboardWindow::clearTarget);
}

void SoftKeyboardWindow::openAt(const QPoint &topLeft)
{
    move(topLeft);
    show();
    // Beside the main window may lie past the screen's edge; every key must stay in reach.
    if (const QScreen *screen = QGuiApplication::screenAt(topLeft) ? QGuiApplication::screenAt(topLeft) : QGuiApplication::primaryScreen()) {
        const QRect frame(topLeft, frameGeometry().size());
        move(fitInside(frame, screen->availableGeometry()).topLeft());
    }
    raise();
}

void SoftKeyboardWindow::typeLetter(const QString &letter)
{
    QLineEdit *target = SoftKeyboardTarget::get();
    if (!target)
        return;  // nothing to type into before the main window has named a box
    target->insert(letter);
    target->end(false);
    target->setFocus();
}

void SoftKeyboardWindow::backspace()
{
    QLineEdit *target = SoftKeyboardTarget::get();
    if (!target || target->text().isEmpty())
        return;
    target->setText(target->text().chopped(1));
    target->end(false);
}

void SoftKeyboardWindow::clearTarget()
{
    if (QLineEdit *target = SoftKeyboardTarget::get())
        target->clear();
}

} // namespace quillora
