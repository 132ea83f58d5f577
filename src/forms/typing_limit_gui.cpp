#include "forms/typing_limit_gui.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace quillora {

TypingLimit::TypingLimit(QLineEdit *box, int maxCharacters) : QObject(box), m_box(box), m_max(maxCharacters) {}

void TypingLimit::apply(QLineEdit *box, int maxCharacters)
{
    box->installEventFilter(new TypingLimit(box, maxCharacters));
}

int TypingLimit::room() const
{
    return m_max - int(m_box->text().size()) + int(m_box->selectedText().size());
}

bool TypingLimit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_box)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            QString text = QGuiApplication::clipboard()->text();
            text = text.left(text.indexOf(QLatin1Char('\n')) < 0 ? text.size() : text.indexOf(QLatin1Char('\n')));
            text.remove(QLatin1Char('\r'));
            m_box->insert(text.left(std::max(0, room())));
            return true;
        }
        const QString text = key->text();
        const bool typesCharacters = !text.isEmpty() && text.at(0).isPrint();
        return typesCharacters && text.size() > room();
    }
    if (event->type() == QEvent::InputMethod) {
        auto *input = static_cast<QInputMethodEvent *>(event);
        if (input->commitString().size() > room()) {
            input->setCommitString(input->commitString().left(std::max(0, room())));
        }
    }
    return false;
}

} // namespace quillora
