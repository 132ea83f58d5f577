#pragma once

#include <QObject>

class QLineEdit;

namespace quillora {

// Limits what the user types or pastes into a one-line box to a number of characters, and
// never cuts what the program puts there (a box's own maximum length would).
class TypingLimit : public QObject
{
    Q_OBJECT

public:
    // The filter lives as long as the box.
    static void apply(QLineEdit *box, int maxCharacters);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TypingLimit(QLineEdit *box, int maxCharacters);
    // Characters that can still be typed in place of the selection.
    int room() const;

    QLineEdit *m_box;
    int m_max;
};

} // namespace quillora
