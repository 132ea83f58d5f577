#include "workstation/dictionary_windows_gui.h"

#include "data/workspace.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/drug_catalogue_window.h"
#include "dictionaries/history_template_window.h"
#include "dictionaries/name_list_window.h"
#include "dictionaries/order_set_window.h"
#include "text/text_lines.h"
#include "workstation/drug_entry_widget.h"
#include "workstation/header_entry_gui.h"
#include "workstation/history_area_widget.h"
#include "workstation/sheet_widget.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace quillora {

DictionaryWindows::DictionaryWindows(Workspace &workspace, const WorkstationAreas &areas, QWidget *owner)
    : QObject(owner), m_workspace(workspace), m_areas(areas), m_owner(owner)
{
}

template <typename Window, typename... Args>
Window *DictionaryWindows::open(QPointer<Window> &window, Args &&...args)
{
    if (!window) {
        window = new Window(m_workspace.settings(), std::forward<Args>(args)..., m_owner);
        wire(window);
    }
    window->open();
    return window;
}

// What the main window redoes after a window's change: the drug entry lists again what it
// shows; a saved template reloads the template list.
void DictionaryWindows::wire(DrugCatalogueWindow *window)
{
    connect(window, &DrugCatalogueWindow::catalogueChanged, m_areas.drugs, &DrugEntryWidget::refresh);
}

void DictionaryWindows::wire(OrderSetWindow *window)
{
    connect(window, &OrderSetWindow::orderSetsChanged, m_areas.drugs, &DrugEntryWidget::refresh);
}

void DictionaryWindows::wire(HistoryTemplateWindow *window)
{
    connect(window, &HistoryTemplateWindow::templateSaved, this, &DictionaryWindows::reloadTemplates);
}

DrugCatalogueWindow *DictionaryWindows::openDrugCatalogue() { return open(m_drugs); }

NameListWindow *DictionaryWindows::openDiagnoses() { return open(m_diagnoses, NameListKind::diagnoses()); }

NameListWindow *DictionaryWindows::openAddresses() { return open(m_addresses, NameListKind::addresses()); }

OrderSetWindow *DictionaryWindows::openOrderSets() { return open(m_orderSets); }

HistoryTemplateWindow *DictionaryWindows::openTemplates() { return open(m_templates); }

void DictionaryWindows::addSelectionToOrderSets(const QString &selectedText)
{
    openOrderSets()->startEntry(orderSetOptionForKind(m_areas.sheet->kind()), selectedText);
}

void DictionaryWindows::addHistoryToTemplates()
{
    openTemplates()->startEntry(toCrLf(m_areas.history->history()->toPlainText()));
}

void DictionaryWindows::reloadTemplates()
{
    // An emptied filter lists every template, the new one included.
    QLineEdit *filter = m_areas.templates->filter();
    const QSignalBlocker quiet(filter);
    filter->clear();
    m_areas.header->refreshTemplates();
}

void DictionaryWindows::closeAll()
{
    for (QWidget *window : std::initializer_list<QWidget *>{m_drugs, m_diagnoses, m_addresses, m_orderSets, m_templates}) {
        if (window)
            window->close();
    }
}

} // namespace quillora
