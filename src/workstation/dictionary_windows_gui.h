#pragma once

#include "workstation/workstation_areas.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace quillora {

class DrugCatalogueWindow;
class HistoryTemplateWindow;
class NameListWindow;
class OrderSetWindow;
class Workspace;

// The dictionary windows of the main window: each made once and kept for the run, opened from
// the menu or by the two "add to" actions, brought to the front when already open; their
// changes show at once in the main window's lists.
class DictionaryWindows : public QObject
{
    Q_OBJECT

public:
    DictionaryWindows(Workspace &workspace, const WorkstationAreas &areas, QWidget *owner);

    DrugCatalogueWindow *openDrugCatalogue();
    NameListWindow *openDiagnoses();
    NameListWindow *openAddresses();
    OrderSetWindow *openOrderSets();
    HistoryTemplateWindow *openTemplates();
    // The body's selected text as a new order set, or a formula on a TCM prescription.
    void addSelectionToOrderSets(const QString &selectedText);
    // The whole history notes as a new template.
    void addHistoryToTemplates();
    void closeAll();

private:
    template <typename Window, typename... Args>
    Window *open(QPointer<Window> &window, Args &&...args);
    void wire(DrugCatalogueWindow *window);
    void wire(OrderSetWindow *window);
    void wire(HistoryTemplateWindow *window);
    void wire(NameListWindow *) {}
    void reloadTemplates();

    Workspace &m_workspace;
    WorkstationAreas m_areas;
    QWidget *m_owner;
    QPointer<DrugCatalogueWindow> m_drugs;
    QPointer<NameListWindow> m_diagnoses;
    QPointer<NameListWindow> m_addresses;
    QPointer<OrderSetWindow> m_orderSets;
    QPointer<HistoryTemplateWindow> m_templates;
};

} // namespace quillora
