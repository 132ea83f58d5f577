#include "dictionaries/entry_window.h"

#include "base/message_dialog.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "text/pinyin.h"
#include "text/text_lines.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillora {

namespace {

using namespace EntryWindowLayout;

const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
const FontSpec kContentFont{QStringLiteral("宋体"), 10.5, false};
constexpr int kListWidth = 2880, kRightLeft = 3120, kRowHeight = 330;

QLineEdit *boxWithCaption(QWidget *window, const QString &name, const QString &caption, int left, int top, int width)
{
    auto *label = new QLabel(caption, window);
    label->adjustSize();
    label->move(Twips::toPixels(left), Twips::toPixels(top) + (Twips::toPixels(kRowHeight) - label->height()) / 2);
    auto *edit = new QLineEdit(window);
    edit->setObjectName(name);
    edit->setAccessibleName(QString(caption).remove(QChar(u'：')));
    const int boxLeft = left + int(Twips::fromPixels(label->width())) + 90;
    placeAt(edit, boxLeft, top, width - (boxLeft - left), kRowHeight);
    return edit;
}

// Shows a stored CR LF text and keeps it, so an unchanged box saves it back as it was.
void showStoredText(QPlainTextEdit *box, const QString &stored, KeptText &kept)
{
    box->setPlainText(fromCrLf(stored));
    kept.keep(stored, box->toPlainText());
}

} // namespace

EntryWindow::EntryWindow(QWidget *parent, const QString &title, const QString &nameCaption, const QString &codeCaption,
                         const QString &contentName, int top)
    : DictionaryWindow(parent, kReservedBelow)
{
    setWindowTitle(title);
    setFont(kControlFont.font());
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));
    const int bottom = kHeight - 120;
    const int buttonTop = bottom - 420;
    m_list = new DictionaryListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(title);
    placeAt(m_list, 120, top, kListWidth, bottom - top);

    const int rightWidth = kWidth - kRightLeft - 120;
    const int nameWidth = rightWidth * 3 / 5 - 60;
    m_name = boxWithCaption(this, QStringLiteral("Text1"), nameCaption, kRightLeft, top, nameWidth);
    m_code = boxWithCaption(this, QStringLiteral("Text3"), codeCaption, kRightLeft + nameWidth + 120, top,
                            rightWidth - nameWidth - 120);
    m_content = new QPlainTextEdit(this);
    m_content->setObjectName(contentName);
    m_content->setAccessibleName(QStringLiteral("内容"));
    m_content->setFont(kContentFont.font());
    m_content->setTabChangesFocus(true);
    const int contentTop = top + kRowHeight + 120;
    placeAt(m_content, kRightLeft, contentTop, rightWidth, buttonTop - 150 - contentTop);

    const QString captions[] = {QStringLiteral("添  加"), QStringLiteral("删  除"), QStringLiteral("保  存"), QStringLiteral("退 出")};
    QPushButton *buttons[4];
    const int step = (rightWidth + 120) / 4;
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(captions[i], this);
        buttons[i]->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        placeAt(buttons[i], kRightLeft + i * step, buttonTop, step - 120, 420);
    }
    m_save = buttons[2];
    setTabOrder(m_name, m_code);
    setTabOrder(m_code, m_content);

    connect(m_list, &DictionaryListWidget::lineSelected, this, &EntryWindow::showLine);
    connect(m_name, &QLineEdit::textChanged, this, [this] {
        if (!m_loading)
            m_code->setText(pinyinCode(m_name->text().trimmed()));
    });
    connect(buttons[0], &QPushButton::clicked, this, &EntryWindow::add);
    connect(buttons[1], &QPushButton::clicked, this, &EntryWindow::removeSelected);
    connect(m_save, &QPushButton::clicked, this, &EntryWindow::save);
    connect(buttons[3], &QPushButton::clicked, this, &QWidget::close);
}

void EntryWindow::clearBoxes()
{
    // The code box follows the name box.
    m_name->clear();
    m_content->clear();
    m_shownContent.forget();
}

void EntryWindow::load()
{
    m_save->setEnabled(true);
    clearBoxes();
    fill();
    m_list->selectLine(0);
}

void EntryWindow::fill()
{
    m_list->clearLines();
    try {
        m_list->fill(listedRows());
    } catch (const std::exception &) {
        // An unreadable table leaves the list empty.
    }
}

void EntryWindow::startNewEntry(const QString &content)
{
    m_adding = true;
    // The doctor came here to file a new entry, whatever the last save left disabled.
    m_save->setEnabled(true);
    m_name->clear();
    m_content->setPlainText(fromCrLf(content));
    m_shownContent.forget();
    m_name->setFocus();
}

void EntryWindow::showLine(int line)
{
    m_save->setEnabled(true);
    m_loading = true;
    std::optional<Entry> shown;
    try {
        shown = entry(m_list->rows()->rowIdAt(line));
    } catch (const std::exception &) {
    }
    if (shown) {
        m_name->setText(shown->name);
        m_code->setText(shown->code);
        showStoredText(m_content, shown->content, m_shownContent);
    }
    if (m_showingEndsAdding)
        m_adding = false;
    m_loading = false;
}

void EntryWindow::add()
{
    m_save->setEnabled(true);
    clearBoxes();
    m_adding = true;
    m_name->setFocus();
}

void EntryWindow::save()
{
    if (!hasNameAndContent(m_name->text(), m_content->toPlainText())) {
        MessageDialog::inform(this, kNameAndContentMissing, MessageDialog::Icon::None, QString());
        return;
    }
    const Entry typed{m_name->text(), m_code->text(), contentToStore(m_shownContent.toStore(m_content->toPlainText()))};
    if (const QString why = problem(typed); !why.isEmpty()) {
        MessageDialog::inform(this, why, MessageDialog::Icon::Exclamation);
        return;
    }
    const qint64 rowId = m_adding ? 0 : selectedRowOrTell(m_list);
    if (!m_adding && rowId == 0)
        return;
    try {
        if (m_adding) {
            insert(typed);
        } else if (!update(rowId, typed)) {
            tellRowGone();
            return;
        }
    } catch (const std::exception &failure) {
        tellFailure(subject(typed.name) + QStringLiteral("未能保存"), failure);
        return;
    }
    if (m_adding)
        m_save->setEnabled(false);
    // The box shows what was stored (a save may drop a final line break).
    if (typed.content != m_shownContent.toStore(m_content->toPlainText()))
        showStoredText(m_content, typed.content, m_shownContent);
    fill();
    m_adding = false;
    saved();
}

void EntryWindow::removeSelected()
{
    const qint64 rowId = m_list->currentRowId();
    if (rowId == 0)
        return;
    try {
        removeRow(rowId);
    } catch (const std::exception &failure) {
        tellFailure(subject(m_list->lineText(m_list->currentLine())) + QStringLiteral("未能删除"), failure);
        return;
    }
    fill();
    clearBoxes();
    removed();
}

} // namespace quillora
