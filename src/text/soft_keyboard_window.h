#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace quillora {

// The box the soft keyboard types into: the main window's search box or header field that
// last had the focus. One per program run.
class SoftKeyboardTarget
{
public:
    static void set(QLineEdit *box);
    static QLineEdit *get();

private:
    static QPointer<QLineEdit> s_target;
};

// A floating letter keyboard for typing pinyin initials with the mouse.
class SoftKeyboardWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SoftKeyboardWindow(QWidget *parent = nullptr);
    // Opens above every window at the given spot (the main window's corner + 11000, 1000 twips).
    void openAt(const QPoint &topLeft);

    // The actions of the buttons, usable without a mouse.
    void typeLetter(const QString &letter);
    void backspace();
    void clearTarget();
};

} // namespace quillora
