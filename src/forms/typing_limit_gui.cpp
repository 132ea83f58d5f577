#include "forms/typing_limit_gui.h"

#include <QLineEdit>
#include <algorithm>

namespace quillora {

TypingLimit::TypingLimit(QLineEdit *edit, int limit) : QValidator(edit), m_edit(edit), m_limit(limit), m_last(edit->text()),
      m_room(std::max<qsizetype>(limit, m_last.size()))
{
}

QValidator::State TypingLimit::validate(QString &input, int &pos) const
{
    // setText clears the undo history before it validates, so a box without history holds
    // what the program put there: never cut it.
    if (!m_edit->isUndoAvailable()) {
        // A longer text from the program may be corrected by hand within its own length.
        m_room = std::max<qsizetype>(m_limit, input.size());
        m_last = input;
        return Acceptable;
    }
    const qsizetype room = m_room;
    if (input.size() <= room) {
        m_last = input;
        return Acceptable;
    }
    // The edit grew the text past the limit: keep as much of the inserted part as fits.
    qsizetype prefix = 0;
    const qsizetype common = std::min(input.size(), m_last.size());
    while (prefix < common && input[prefix] == m_last[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && input[input.size() - 1 - suffix] == m_last[m_last.size() - 1 - suffix])
        ++suffix;
    const qsizetype inserted = input.size() - prefix - suffix;
    const qsizetype kept = inserted - (input.size() - room);
    if (kept <= 0)
        return Invalid;  // nothing of it fits: the key press is refused
    input = input.left(prefix + kept) + input.right(suffix);
    pos = int(prefix + kept);
    m_last = input;
    return Acceptable;
}

void limitTyping(QLineEdit *edit, int limit)
{
    if (limit > 0)
        edit->setValidator(new TypingLimit(edit, limit));
}

} // namespace quillora
