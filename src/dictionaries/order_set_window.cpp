#include "dictionaries/order_set_window.h"

#include "base/message_dialog.h"
#include "data/order_set_store.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/dictionary_list_widget.h"
#include "dictionaries/entry_window_parts_gui.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "text/pinyin.h"
#include "text/text_lines.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillora {

namespace {

const QString kKinds[2] = {kOrderSetKind, kFormulaKind};

} // namespace

OrderSetWindow::OrderSetWindow(Database &settings, QWidget *parent)
    : DictionaryWindow(parent, EntryWindowLayout::kReservedBelow), m_settings(settings), m_kind(kOrderSetKind)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("个人组套/中医验方维护"));
    for (int i = 0; i < 2; ++i) {
        m_options[i] = new QRadioButton(kKinds[i], this);
        m_options[i]->setObjectName(indexedName("Option1", i));
        placeAt(m_options[i], 120 + i * 1560, 120, 1440, 330);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { chooseKind(i); });
    }
    m_options[0]->setChecked(true);
    const EntryWindowParts parts = buildEntryWindow(this, QStringLiteral("名称"), QStringLiteral("拼音"), 540);
    m_list = parts.list;
    m_name = parts.name;
    m_code = parts.code;
    m_content = parts.content;
    m_content->setObjectName(QStringLiteral("Text2"));
    m_save = parts.save;
    connect(m_list, &DictionaryListWidget::lineSelected, this, &OrderSetWindow::showLine);
    connect(m_name, &QLineEdit::textChanged, this, [this] {
        if (!m_bb1)
            m_code->setText(pinyinCode(m_name->text().trimmed()));
    });
    connect(parts.add, &QPushButton::clicked, this, &OrderSetWindow::add);
    connect(parts.remove, &QPushButton::clicked, this, &OrderSetWindow::removeSelected);
    connect(m_save, &QPushButton::clicked, this, &OrderSetWindow::save);
    connect(parts.close, &QPushButton::clicked, this, &QWidget::close);
}

void OrderSetWindow::load()
{
    m_kind = kOrderSetKind;
    m_options[0]->setChecked(true);
    fill();
    m_list->selectLine(0);
    m_bb = true;
}

void OrderSetWindow::fill()
{
    m_list->clearLines();
    try {
        m_list->fill(OrderSetStore(m_settings).ofKindExactly(m_kind));
    } catch (const std::exception &) {
        // An unreadable table leaves the list empty.
    }
}

void OrderSetWindow::chooseKind(int option)
{
    m_kind = kKinds[option];
    m_options[option]->setChecked(true);
    fill();
    m_list->selectLine(0);
}

void OrderSetWindow::startEntry(int option, const QString &content)
{
    chooseKind(option);
    m_bb = true;
    // The doctor came here to file a new entry, whatever the last save left disabled.
    m_save->setEnabled(true);
    m_content->setPlainText(fromCrLf(content));
    m_shownContent.forget();
    m_name->clear();
    m_name->setFocus();
}

void OrderSetWindow::showLine(int line)
{
    m_save->setEnabled(true);
    m_bb1 = true;
    std::optional<OrderSetRow> row;
    try {
        row = OrderSetStore(m_settings).byRowId(m_list->rows()->rowIdAt(line));
    } catch (const std::exception &) {
    }
    if (row) {
        m_name->setText(row->name);
        m_code->setText(row->code);
        showStoredText(m_content, row->content, m_shownContent);
    }
    m_bb1 = false;
}

void OrderSetWindow::add()
{
    m_save->setEnabled(true);
    m_content->clear();
    m_shownContent.forget();
    m_name->clear();
    m_bb = true;
    m_name->setFocus();
}

void OrderSetWindow::save()
{
    const QString name = m_name->text();
    if (!hasNameAndContent(name, m_content->toPlainText())) {
        MessageDialog::inform(this, kNameAndContentMissing, MessageDialog::Icon::None, QString());
        return;
    }
    const QString content = orderSetContentToStore(m_shownContent.toStore(m_content->toPlainText()));
    OrderSetRow row{0, name, m_kind, m_code->text(), content};
    if (const QString problem = orderSetProblem(row.name, row.code, row.content); !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    if (!m_bb) {
        row.rowId = selectedRowOrTell(m_list);
        if (row.rowId == 0)
            return;
    }
    try {
        OrderSetStore store(m_settings);
        if (m_bb) {
            store.insert(row);
        } else if (!store.update(row)) {
            tellRowGone();
            return;
        }
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("“%1”未能保存").arg(name), failure);
        return;
    }
    if (m_bb)
        m_save->setEnabled(false);
    // The box shows what was stored: without the one line break the save drops.
    if (content != m_shownContent.toStore(m_content->toPlainText()))
        showStoredText(m_content, content, m_shownContent);
    fill();
    m_bb = false;
    Q_EMIT orderSetsChanged();
}

void OrderSetWindow::removeSelected()
{
    const qint64 rowId = m_list->currentRowId();
    if (rowId == 0)
        return;
    try {
        OrderSetStore(m_settings).remove(rowId);
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("“%1”未能删除").arg(m_list->lineText(m_list->currentLine())), failure);
        return;
    }
    fill();
    m_name->clear();
    m_content->clear();
    m_shownContent.forget();
    m_code->clear();
    Q_EMIT orderSetsChanged();
}

} // namespace quillora
