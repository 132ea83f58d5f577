#pragma once

#include <QValidator>

class QLineEdit;

namespace quillora {

// Limits what the user types or pastes into a one-line box to a number of characters, while
// text that the program puts there (a default, a pick, a loaded visit) is kept whole.
// QLineEdit::setMaxLength would cut both.
class TypingLimit : public QValidator
{
    Q_OBJECT

public:
    TypingLimit(QLineEdit *edit, int limit);
    State validate(QString &input, int &pos) const override;

private:
    QLineEdit *m_edit;
    int m_limit;
    mutable QString m_last;   // the text as it stood before the edit being validated
    mutable qsizetype m_room;  // the typing limit, or the length of a longer text the program set
};

// Installs a TypingLimit on the box; a limit of 0 or less leaves the box unlimited.
void limitTyping(QLineEdit *edit, int limit);

} // namespace quillora
