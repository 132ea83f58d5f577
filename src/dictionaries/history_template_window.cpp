#include "dictionaries/history_template_window.h"

#include "base/message_dialog.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/dictionary_list_widget.h"
#include "dictionaries/entry_window_parts_gui.h"
#include "dictionaries/name_list_store.h"
#include "text/pinyin.h"
#include "text/text_lines.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillora {

HistoryTemplateWindow::HistoryTemplateWindow(Database &settings, QWidget *parent)
    : DictionaryWindow(parent, EntryWindowLayout::kReservedBelow), m_settings(settings)
{
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("病史模板"));
    const EntryWindowParts parts = buildEntryWindow(this, QStringLiteral("名称："), QStringLiteral("拼音："), 120);
    m_list = parts.list;
    m_name = parts.name;
    m_code = parts.code;
    m_content = parts.content;
    m_content->setObjectName(QStringLiteral("text2"));
    m_save = parts.save;
    connect(m_list, &DictionaryListWidget::lineSelected, this, &HistoryTemplateWindow::showLine);
    connect(m_name, &QLineEdit::textChanged, this, [this] {
        if (!m_b16)
            m_code->setText(pinyinCode(m_name->text().trimmed()));
    });
    connect(parts.add, &QPushButton::clicked, this, &HistoryTemplateWindow::add);
    connect(parts.remove, &QPushButton::clicked, this, &HistoryTemplateWindow::removeSelected);
    connect(m_save, &QPushButton::clicked, this, &HistoryTemplateWindow::save);
    connect(parts.close, &QPushButton::clicked, this, &QWidget::close);
}

void HistoryTemplateWindow::load()
{
    fill();
    m_list->selectLine(0);
}

void HistoryTemplateWindow::fill()
{
    m_list->clearLines();
    try {
        m_list->fill(HistoryTemplateStore(m_settings).all());
    } catch (const std::exception &) {
        // An unreadable table leaves the list empty.
    }
}

void HistoryTemplateWindow::startEntry(const QString &content)
{
    m_name->clear();
    m_b15 = true;
    // The doctor came here to file a new template, whatever the last save left disabled.
    m_save->setEnabled(true);
    m_content->setPlainText(fromCrLf(content));
    m_shownContent.forget();
    m_name->setFocus();
}

void HistoryTemplateWindow::showLine(int line)
{
    m_save->setEnabled(true);
    m_b16 = true;
    std::optional<HistoryTemplate> entry;
    try {
        entry = HistoryTemplateStore(m_settings).byRowId(m_list->rows()->rowIdAt(line));
    } catch (const std::exception &) {
    }
    if (entry) {
        m_name->setText(entry->name);
        showStoredText(m_content, entry->content, m_shownContent);
        m_code->setText(entry->code);
    }
    m_b15 = false;
    m_b16 = false;
}

void HistoryTemplateWindow::add()
{
    m_save->setEnabled(true);
    m_content->clear();
    m_shownContent.forget();
    m_name->clear();
    m_b15 = true;
    m_name->setFocus();
}

void HistoryTemplateWindow::save()
{
    const QString name = m_name->text();
    if (!hasNameAndContent(name, m_content->toPlainText())) {
        MessageDialog::inform(this, kNameAndContentMissing, MessageDialog::Icon::None, QString());
        return;
    }
    const QString content = m_shownContent.toStore(m_content->toPlainText());
    const QString code = m_code->text();
    if (const QString problem = historyTemplateProblem(name, code, content); !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    qint64 rowId = 0;
    if (!m_b15) {
        rowId = selectedRowOrTell(m_list);
        if (rowId == 0)
            return;
    }
    try {
        HistoryTemplateStore store(m_settings);
        if (m_b15) {
            store.insert(name, code, content);
        } else if (!store.update(rowId, name, code, content)) {
            tellRowGone();
            return;
        }
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("模板“%1”未能保存").arg(name), failure);
        return;
    }
    if (m_b15)
        m_save->setEnabled(false);
    fill();
    m_b15 = false;
    Q_EMIT templateSaved();
}

void HistoryTemplateWindow::removeSelected()
{
    const qint64 rowId = m_list->currentRowId();
    if (rowId == 0)
        return;
    try {
        HistoryTemplateStore(m_settings).remove(rowId);
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("模板“%1”未能删除").arg(m_list->lineText(m_list->currentLine())), failure);
        return;
    }
    fill();
    m_name->clear();
    m_content->clear();
    m_shownContent.forget();
}

} // namespace quillora
