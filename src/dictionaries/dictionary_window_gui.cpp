#include "dictionaries/dictionary_window_gui.h"

#include "base/message_dialog.h"
#include "data/database.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace quillora {

namespace {

QLineEdit *lineEditOf(QObject *box)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->lineEdit();
    return nullptr;
}

// The key and focus rules of the edit boxes, one shared filter for every box that has them.
class BoxKeys : public QObject
{
public:
    static BoxKeys &instance()
    {
        static BoxKeys *keys = new BoxKeys(QCoreApplication::instance());
        return *keys;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched->property("enterMovesOn").toBool()) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched, &tab);
                return true;
            }
        }
        if (event->type() == QEvent::FocusIn && watched->property("caretToEnd").toBool()) {
            if (QLineEdit *edit = lineEditOf(watched)) {
                edit->end(false);
                // Again after the box's own focus handling, which may select its text.
                QTimer::singleShot(0, edit, [edit] { edit->end(false); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
};

} // namespace

DictionaryWindow::DictionaryWindow(QWidget *parent, double reservedTwips)
    : QWidget(parent, Qt::Window), m_reservedTwips(reservedTwips)
{
}

void DictionaryWindow::open()
{
    if (!isVisible()) {
        load();
        m_centrePending = true;
        show();
    }
    raise();
    activateWindow();
}

void DictionaryWindow::showEvent(QShowEvent *event)
{
    if (m_centrePending) {
        m_centrePending = false;
        centreOnScreen(this, m_reservedTwips);
    }
    QWidget::showEvent(event);
}

void DictionaryWindow::tellFailure(const QString &what, const std::exception &failure)
{
    const auto *db = dynamic_cast<const DbError *>(&failure);
    const QString reason = db ? db->message() : QString::fromUtf8(failure.what());
    MessageDialog::inform(this, QStringLiteral("%1：%2").arg(what, reason), MessageDialog::Icon::Exclamation);
}

qint64 DictionaryWindow::selectedRowOrTell(const DictionaryListWidget *list)
{
    const qint64 rowId = list->currentRowId();
    if (rowId == 0)
        MessageDialog::inform(this, QStringLiteral("请先在列表中选择要修改的一条，或点“添  加”新增，未保存。"));
    return rowId;
}

void DictionaryWindow::tellRowGone()
{
    MessageDialog::inform(this, QStringLiteral("这一条已不在数据库中（可能已被删除），未保存。"), MessageDialog::Icon::Exclamation);
}

void moveOnWithEnter(QWidget *box)
{
    box->setProperty("enterMovesOn", true);
    box->installEventFilter(&BoxKeys::instance());
}

void caretToEndOnFocus(QWidget *box)
{
    box->setProperty("caretToEnd", true);
    box->installEventFilter(&BoxKeys::instance());
}

} // namespace quillora
