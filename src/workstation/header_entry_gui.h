#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;

namespace quillora {

class HistoryAreaWidget;
class RowList;
class InjectionCardWidget;
class SheetWidget;
class TemplatePickerWidget;
class Workspace;

// Drives the patient header: typing rules, the diagnosis, address and patient pick lists,
// the injection-card mirror, keyboard flow and the history-template picker.
class HeaderEntry : public QObject
{
    Q_OBJECT

public:
    HeaderEntry(Workspace &workspace, SheetWidget &sheet, InjectionCardWidget &card, HistoryAreaWidget &history,
                TemplatePickerWidget &templates, QObject *parent = nullptr);

    // While a visit or patient is copied into the fields, the lookups stay quiet.
    void setLoading(bool loading) { m_loading = loading; }
    bool isLoading() const { return m_loading; }
    void hidePickLists();
    // Refills the template list from the filter text.
    void refreshTemplates();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fieldChanged(int index);
    void fieldEntered(int index);
    bool fieldKey(int index, QKeyEvent *event);
    void searchNameList(RowList *list, const QString &table, const QString &text, bool byCode);
    void searchDiagnoses(const QString &text, bool byCode);
    void searchAddresses(const QString &text, bool byCode);
    void searchPatients(const QString &name);
    void pickDiagnosis(int index);
    void pickAddress(int index);
    void pickPatient(int index);
    void insertTemplate(int index);
    void mirrorToCard();
    void guarded(const std::function<void()> &lookup);
    QLineEdit *field(int index) const;

    Workspace &m_workspace;
    SheetWidget &m_sheet;
    InjectionCardWidget &m_card;
    HistoryAreaWidget &m_history;
    TemplatePickerWidget &m_templates;
    bool m_loading = false;
};

} // namespace quillora
