#include "workstation/header_entry_gui.h"

#include "base/clock.h"
#include "data/workspace.h"
#include "data/patient_store.h"
#include "data/visit_record.h"
#include "dictionaries/name_list_store.h"
#include "text/soft_keyboard_window.h"
#include "forms/form_parts_widget.h"
#include "workstation/header_rules.h"
#include "workstation/history_area_widget.h"
#include "workstation/injection_card_widget.h"
#include "workstation/sheet_widget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace quillora {

HeaderEntry::HeaderEntry(Workspace &workspace, SheetWidget &sheet, InjectionCardWidget &card, HistoryAreaWidget &history,
                         TemplatePickerWidget &templates, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_sheet(sheet), m_card(card), m_history(history), m_templates(templates)
{
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        connect(field(i), &QLineEdit::textChanged, this, [this, i] { fieldChanged(i); });
        field(i)->installEventFilter(this);
    }
    connect(sheet.diagnosisList(), &RowList::picked, this, &HeaderEntry::pickDiagnosis);
    connect(sheet.addressList(), &RowList::picked, this, &HeaderEntry::pickAddress);
    connect(sheet.patientList(), &RowList::picked, this, &HeaderEntry::pickPatient);
    connect(templates.filter(), &QLineEdit::textChanged, this, &HeaderEntry::refreshTemplates);
    connect(templates.list(), &RowList::lineClicked, this, &HeaderEntry::insertTemplate);
}

QLineEdit *HeaderEntry::field(int index) const { return m_sheet.field(index); }

void HeaderEntry::hidePickLists() { m_sheet.hidePickLists(); }

void HeaderEntry::guarded(const std::function<void()> &lookup)
{
    // A lookup that fails leaves its list empty and hidden.
    try {
        lookup();
    } catch (const std::exception &) {
    }
}

void HeaderEntry::fieldChanged(int index)
{
    QLineEdit *box = field(index);
    if (index == FieldSex) {
        if (const auto sex = HeaderRules::sexShorthand(box->text())) {
            box->setText(*sex);
            box->end(false);
        }
    }
    if (index == FieldDrugFee || index == FieldOtherFee) {
        const QString fee = HeaderRules::feeText(box->text());
        if (fee != box->text()) {
            const int caret = box->cursorPosition();
            box->setText(fee);
            box->setCursorPosition(caret);
        }
    }
    if (index == FieldDiagnosis && !m_loading)
        searchDiagnoses(HeaderRules::diagnosisSearchText(box->text()), false);
    if (index == FieldAddress && !m_loading)
        searchAddresses(box->text(), false);
    if (index == FieldName && !m_loading)
        searchPatients(box->text());
    mirrorToCard();
}

void HeaderEntry::mirrorToCard()
{
    for (int i = 0; i < InjectionCardLayout::kBoxCount; ++i)
        m_card.box(i)->setText(field(InjectionCardLayout::kMirroredFields[i])->text());
}

void HeaderEntry::searchNameList(RowList *list, const QString &table, const QString &text, bool byCode)
{
    list->clear();
    list->hide();
    guarded([&] {
        NameListStore store(m_workspace.settings(), table);
        list->fill(byCode ? store.searchByCode(text) : store.searchByKey(text));
    });
    list->setVisible(list->count() > 0);
    list->raise();
}

void HeaderEntry::searchDiagnoses(const QString &text, bool byCode)
{
    searchNameList(m_sheet.diagnosisList(), QStringLiteral("诊断"), text, byCode);
}

void HeaderEntry::searchAddresses(const QString &text, bool byCode)
{
    searchNameList(m_sheet.addressList(), QStringLiteral("地址"), text, byCode);
}

void HeaderEntry::searchPatients(const QString &name)
{
    RowList *list = m_sheet.patientList();
    list->hide();
    if (!HeaderRules::searchesPatients(name))
        return;
    list->clear();
    guarded([&] {
        list->fill(PatientStore(m_workspace.archive()).pickList(name, Clock::today().year()));
    });
    list->setVisible(list->count() > 0);
    list->raise();
}

void HeaderEntry::fieldEntered(int index)
{
    if (index == FieldDiagnosis) {
        m_sheet.addressList()->hide();
        searchDiagnoses(field(index)->text(), true);
    } else if (index == FieldAddress) {
        m_sheet.diagnosisList()->hide();
        searchAddresses(field(index)->text(), true);
    } else {
        m_sheet.diagnosisList()->hide();
        m_sheet.addressList()->hide();
    }
    SoftKeyboardTarget::set(field(index));
    // After the focus-in handling of the box itself, which may select its text.
    QLineEdit *box = field(index);
    QTimer::singleShot(0, box, [box] { box->end(false); });
    box->end(false);
}

bool HeaderEntry::fieldKey(int index, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter moves on as Tab does; the Enter itself goes no further.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(field(index), &tab);
        return true;
    }
    if (event->key() != Qt::Key_Down)
        return false;
    RowList *list = index == FieldName ? m_sheet.patientList()
                     : index == FieldAddress ? m_sheet.addressList()
                     : index == FieldDiagnosis ? m_sheet.diagnosisList()
                                              : nullptr;
    if (list && list->isVisible()) {
        list->setFocus();
        if (list->count() > 0)
            list->setCurrentRow(0);
    }
    return true;  // the arrow never moves the caret of a header field
}

bool HeaderEntry::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        if (watched != field(i))
            continue;
        if (event->type() == QEvent::FocusIn)
            fieldEntered(i);
        else if (event->type() == QEvent::KeyPress && fieldKey(i, static_cast<QKeyEvent *>(event)))
            return true;
        else if (event->type() == QEvent::MouseButtonRelease && i == FieldSex
                 && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            field(i)->setText(HeaderRules::toggledSex(field(i)->text()));
            field(i)->end(false);
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}

void HeaderEntry::pickDiagnosis(int index)
{
    if (index < 0 || index >= m_sheet.diagnosisList()->count())
        return;
    QLineEdit *box = field(FieldDiagnosis);
    box->setText(HeaderRules::pickedDiagnosis(box->text(), m_sheet.diagnosisList()->textAt(index)));
    box->setFocus();
    box->end(false);
    m_sheet.diagnosisList()->hide();
}

void HeaderEntry::pickAddress(int index)
{
    if (index < 0 || index >= m_sheet.addressList()->count())
        return;
    QLineEdit *box = field(FieldAddress);
    box->setText(m_sheet.addressList()->textAt(index));
    box->setFocus();
    box->end(false);
    m_sheet.addressList()->hide();
}

void HeaderEntry::pickPatient(int index)
{
    const qint64 rowId = m_sheet.patientList()->rowIdAt(index);
    std::optional<PatientRow> row;
    guarded([&] { row = PatientStore(m_workspace.archive()).byRowId(rowId); });
    if (!row)
        return;
    m_loading = true;
    field(FieldName)->setText(row->name);
    field(FieldSex)->setText(row->sex);
    field(FieldAge)->setText(HeaderRules::ageFromBirthYear(row->birthYear, Clock::today().year()));
    field(FieldFeeClass)->setText(row->feeClass);
    field(FieldCardNumber)->setText(row->cardNumber);
    field(FieldAddress)->setText(row->address);
    field(FieldDiagnosis)->setText(row->diagnosis);
    field(FieldAllergy)->setText(row->allergy);
    field(FieldPastHistory)->setText(row->pastHistory);
    field(FieldPhone)->setText(row->phone);
    m_loading = false;
    m_sheet.patientList()->hide();
    field(FieldDiagnosis)->setFocus();
    field(FieldDiagnosis)->end(false);
}

void HeaderEntry::refreshTemplates()
{
    m_templates.list()->clear();
    guarded([&] { m_templates.list()->fill(HistoryTemplateStore(m_workspace.settings()).searchByKey(m_templates.filter()->text())); });
}

void HeaderEntry::insertTemplate(int index)
{
    std::optional<HistoryTemplate> entry;
    guarded([&] { entry = HistoryTemplateStore(m_workspace.settings()).byRowId(m_templates.list()->rowIdAt(index)); });
    if (entry)
        m_history.history()->insertPlainText(QString(entry->content).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

} // namespace quillora
