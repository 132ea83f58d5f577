#include "dictionaries/history_template_window.h"

#include "dictionaries/dictionary_entries.h"
#include "dictionaries/name_list_store.h"

namespace quillora {

HistoryTemplateWindow::HistoryTemplateWindow(Database &settings, QWidget *parent)
    : EntryWindow(parent, QStringLiteral("病史模板"), QStringLiteral("名称："), QStringLiteral("拼音："),
                  QStringLiteral("text2"), 120),
      m_settings(settings)
{
    setObjectName(QStringLiteral("Form15"));
    // Clicking a template ends adding: a save then overwrites the template shown.
    m_showingEndsAdding = true;
}

void HistoryTemplateWindow::load()
{
    m_adding = false;
    EntryWindow::load();
}

QList<ListedRow> HistoryTemplateWindow::listedRows() { return HistoryTemplateStore(m_settings).all(); }

std::optional<EntryWindow::Entry> HistoryTemplateWindow::entry(qint64 rowId)
{
    const auto row = HistoryTemplateStore(m_settings).byRowId(rowId);
    return row ? std::optional<Entry>(Entry{row->name, row->code, row->content}) : std::nullopt;
}

QString HistoryTemplateWindow::problem(const Entry &entry) const
{
    return historyTemplateProblem(entry.name, entry.code, entry.content);
}

void HistoryTemplateWindow::insert(const Entry &entry) { HistoryTemplateStore(m_settings).insert(entry.name, entry.code, entry.content); }

bool HistoryTemplateWindow::update(qint64 rowId, const Entry &entry)
{
    return HistoryTemplateStore(m_settings).update(rowId, entry.name, entry.code, entry.content);
}

void HistoryTemplateWindow::removeRow(qint64 rowId) { HistoryTemplateStore(m_settings).remove(rowId); }

QString HistoryTemplateWindow::subject(const QString &name) const { return QStringLiteral("模板“%1”").arg(name); }

} // namespace quillora
