#include "workstation/visit_session_gui.h"

#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "data/dates.h"
#include "data/db_errors.h"
#include "data/visit_store.h"
#include "text/text_lines.h"
#include "workstation/drug_entry_widget.h"
#include "forms/form_parts_widget.h"
#include "workstation/header_entry_gui.h"
#include "workstation/history_area_widget.h"
#include "workstation/injection_card_widget.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/prescription_text.h"
#include "workstation/price_grid_widget.h"
#include "workstation/sheet_widget.h"
#include "workstation/visit_browser_widget.h"
#include "workstation/visit_texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>

namespace quillora {

VisitSession::VisitSession(Workspace &workspace, const WorkstationAreas &areas, PrescriptionEditor &editor, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_areas(areas), m_editor(editor)
{
    connect(m_areas.browser, &VisitBrowserWidget::visitClicked, this, &VisitSession::loadVisit);
    connect(m_areas.browser, &VisitBrowserWidget::deleteRequested, this, &VisitSession::deleteVisit);
}

void VisitSession::clearGrid()
{
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < GridColumnCount; ++c)
            m_areas.grid->cell(c, r)->clear();
        m_areas.grid->cell(GridName, r)->setReadOnly(true);
    }
}

void VisitSession::newVisit()
{
    SheetWidget *sheet = m_areas.sheet;
    for (int i = 0; i < kHeaderFieldCount; ++i)
        sheet->field(i)->clear();
    const QDateTime now = Clock::now();
    const auto header = HeaderRules::newVisitHeader(m_workspace.settingsRecord().values(), now);
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        if (!header[i].isEmpty())
            sheet->field(i)->setText(header[i]);
    }
    m_areas.grid->doses()->setText(QStringLiteral("1"));
    m_key = m_keys.next(now);
    m_keyStored = false;
    m_areas.grid->total()->clear();
    m_areas.card->usage()->clear();
    sheet->body()->clear();
    m_areas.history->history()->clear();
    sheet->diagnosisList()->hide();
    sheet->addressList()->hide();
    clearGrid();
    m_areas.grid->scrollToTop();
    sheet->field(FieldName)->setFocus();
}

void VisitSession::repeatVisit()
{
    m_key = m_keys.next(Clock::now());
    m_keyStored = false;
    m_areas.sheet->field(FieldDate)->setText(dateText(Clock::today()));
    m_areas.card->usage()->clear();
    m_areas.sheet->body()->clear();
    m_areas.sheet->field(FieldDrugFee)->clear();
    m_areas.sheet->field(FieldOtherFee)->clear();
    m_areas.drugs->searchBox()->setFocus();
}

QString VisitSession::institution() const { return m_areas.sheet->caption(SheetLayout::Institution)->text(); }

std::array<QString, kHeaderFieldCount> VisitSession::headerFields() const { return currentVisit().header; }

QString VisitSession::body() const { return m_editor.bodyText(); }

QString VisitSession::history() const { return toCrLf(m_areas.history->history()->toPlainText()); }

VisitRecord VisitSession::currentVisit() const
{
    VisitRecord v;
    for (int i = 0; i < kHeaderFieldCount; ++i)
        v.header[i] = m_areas.sheet->field(i)->text();
    v.title = m_areas.sheet->title();
    v.kind = m_areas.sheet->kind();
    v.body = m_editor.bodyText();
    v.injectionCard = toCrLf(m_areas.card->usage()->toPlainText());
    v.history = toCrLf(m_areas.history->history()->toPlainText());
    for (int c = 0; c < GridColumnCount; ++c) {
        for (int r = 0; r < kGridRows; ++r)
            v.grid[c] << m_areas.grid->cell(c, r)->text();
    }
    v.doses = m_areas.grid->doses()->text();
    v.total = m_areas.grid->total()->text();
    v.key = m_key;
    return v;
}

bool VisitSession::saveVisit()
{
    SaveOutcome outcome;
    try {
        outcome = VisitStore(m_workspace.archive())
                      .save(currentVisit(), Clock::today().year(), m_keyStored ? VisitStore::SaveKind::Stored : VisitStore::SaveKind::New);
    } catch (const VisitRefused &refused) {
        MessageDialog::inform(m_areas.sheet, refused.message(), MessageDialog::Icon::Exclamation);
        return false;
    } catch (const DbError &failure) {
        MessageDialog::inform(m_areas.sheet, failureMessage(QStringLiteral("病历未能保存"), failure, m_workspace.paths().backupRoot),
                              MessageDialog::Icon::Critical);
        return false;
    } catch (const std::exception &failure) {
        MessageDialog::inform(m_areas.sheet, QStringLiteral("病历未能保存：%1").arg(QString::fromUtf8(failure.what())),
                              MessageDialog::Icon::Critical);
        return false;
    }
    // A new visit whose second another visit already had is stored under the next free one.
    m_key = outcome.key;
    m_keyStored = true;
    m_areas.browser->listToday();
    if (!outcome.note.isEmpty())
        MessageDialog::inform(m_areas.sheet, QStringLiteral("病历已保存。") + outcome.note, MessageDialog::Icon::Information);
    return true;
}

void VisitSession::showVisit(const VisitRecord &v)
{
    SheetWidget *sheet = m_areas.sheet;
    for (int i = 0; i < kHeaderFieldCount; ++i)
        sheet->field(i)->setText(v.header[i]);
    sheet->setTitle(v.title);
    sheet->setKind(v.kind);
    m_editor.setBodyText(v.body);
    m_areas.card->usage()->setPlainText(fromCrLf(v.injectionCard));
    m_areas.history->history()->setPlainText(fromCrLf(v.history));
    m_key = v.key;
    m_keyStored = true;
    m_areas.grid->setDosesVisible(v.kind == kKindTcm);
    m_areas.grid->doses()->setText(v.doses);
    m_areas.grid->total()->setText(v.total);
    for (int c = 0; c < GridColumnCount; ++c) {
        for (int r = 0; r < kGridRows && r < v.grid[c].size(); ++r)
            m_areas.grid->cell(c, r)->setText(v.grid[c][r]);
    }
}

void VisitSession::loadVisit(int index, const QString &key)
{
    m_listPosition = index;
    std::optional<VisitRecord> visit;
    try {
        visit = VisitStore(m_workspace.archive()).find(key);
    } catch (const DbError &failure) {
        // A damaged or unreadable file is not a deleted visit.
        MessageDialog::inform(m_areas.sheet, failureMessage(QStringLiteral("该病历未能读取"), failure, m_workspace.paths().backupRoot),
                              MessageDialog::Icon::Critical);
        return;
    }
    if (!visit) {
        MessageDialog::inform(m_areas.sheet, QStringLiteral("该病历已不在档案中（可能已被删除），请重新查询。"),
                              MessageDialog::Icon::Exclamation);
        return;
    }
    m_areas.header->setLoading(true);
    m_editor.setLoading(true);
    showVisit(*visit);
    m_editor.setLoading(false);
    m_areas.header->setLoading(false);
    m_areas.header->hidePickLists();
}

void VisitSession::deleteVisit(int index)
{
    Q_UNUSED(index);
    // What goes is the visit on the sheet: the question names it as stored.
    const QString key = m_key;
    if (!m_keyStored) {
        // Another visit (of another room, or of another day) may hold the key of an unsaved one.
        MessageDialog::inform(m_areas.sheet, kNothingToDeleteMessage, MessageDialog::Icon::Exclamation);
        return;
    }
    std::optional<VisitRecord> stored;
    try {
        stored = VisitStore(m_workspace.archive()).find(key);
    } catch (const DbError &failure) {
        MessageDialog::inform(m_areas.sheet, failureMessage(QStringLiteral("病历未能删除"), failure, m_workspace.paths().backupRoot),
                              MessageDialog::Icon::Critical);
        return;
    }
    if (!stored) {
        MessageDialog::inform(m_areas.sheet, kNothingToDeleteMessage, MessageDialog::Icon::Exclamation);
        return;
    }
    if (!MessageDialog::confirm(m_areas.sheet, deleteQuestion(*stored)))
        return;
    try {
        VisitStore(m_workspace.archive()).remove(key);
    } catch (const DbError &failure) {
        MessageDialog::inform(m_areas.sheet, failureMessage(QStringLiteral("病历未能删除"), failure, m_workspace.paths().backupRoot),
                              MessageDialog::Icon::Critical);
        return;
    }
    // The entry of the deleted visit goes, wherever the list has it now.
    m_areas.browser->removeVisit(key);
    newVisit();
}

} // namespace quillora
