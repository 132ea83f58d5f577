#pragma once

#include <QWidget>
#include <exception>

class QLineEdit;

namespace quillora {

class DictionaryListWidget;

// A dictionary window: modeless, loaded afresh and centred each time it opens, brought to the
// front when it is already open. Closing only hides it, so what it keeps lasts for the run.
class DictionaryWindow : public QWidget
{
    Q_OBJECT

public:
    // `reservedTwips`: room left below the window when it centres itself.
    DictionaryWindow(QWidget *parent, double reservedTwips);
    void open();

protected:
    // Fills the window from the database when it opens.
    virtual void load() = 0;
    void showEvent(QShowEvent *event) override;
    // Tells the user that `what` did not happen and why.
    void tellFailure(const QString &what, const std::exception &failure);
    // The row id of the selected line for a save that changes it; 0, and the user is told,
    // when no line is selected.
    qint64 selectedRowOrTell(const DictionaryListWidget *list);
    // A save found its row deleted meanwhile.
    void tellRowGone();

private:
    double m_reservedTwips = 0;
    bool m_centrePending = false;
};

// Enter in the box moves on as Tab does; the Enter itself goes no further.
void moveOnWithEnter(QWidget *box);
// The caret goes to the end of the text whenever the box receives the focus.
void caretToEndOnFocus(QWidget *box);

} // namespace quillora
