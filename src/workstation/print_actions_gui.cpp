#include "workstation/print_actions_gui.h"

#include "data/workspace.h"
#include "printing/injection_card_print.h"
#include "printing/overlay_print.h"
#include "printing/print_job_gui.h"
#include "printing/sheet_print.h"
#include "text/text_lines.h"
#include "workstation/injection_card_widget.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/sheet_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quillora {

namespace {
const QString kSheetName = QStringLiteral("处方笺");
const QString kOverlayName = QStringLiteral("处方套打");
const QString kCardName = QStringLiteral("门诊注射卡");
} // namespace

PrintActions::PrintActions(Workspace &workspace, const WorkstationAreas &areas, PrescriptionEditor &editor, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_areas(areas), m_editor(editor)
{
}

QString PrintActions::scratchPath() const { return m_workspace.scratchPath(QStringLiteral("print.txt")); }

PaperSize PrintActions::paper() const { return paperSizeFor(m_workspace.settingsRecord().values().paper); }

SheetContent PrintActions::sheetContent() const
{
    SheetContent content;
    for (int i = 0; i < SheetLayout::kCaptionCount; ++i)
        content.captions[i] = m_areas.sheet->caption(i)->text();
    for (int i = 0; i < SheetLayout::kFieldCount; ++i)
        content.fields[i] = m_areas.sheet->field(i)->text();
    content.body = m_editor.bodyText();
    return content;
}

InjectionCardContent PrintActions::injectionCardContent() const
{
    InjectionCardContent content;
    for (int i = 0; i < InjectionCardLayout::kBoxCount; ++i)
        content.boxes[i] = m_areas.card->box(i)->text();
    content.usage = toCrLf(m_areas.card->usage()->toPlainText());
    return content;
}

bool PrintActions::printSheet()
{
    const SheetContent content = sheetContent();
    return PrintJob::print(m_areas.sheet, kSheetName, [&](Printer &printer) {
        quillora::printSheet(printer, content, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

bool PrintActions::printOverlay()
{
    const SheetContent content = sheetContent();
    return PrintJob::print(m_areas.sheet, kOverlayName, [&](Printer &printer) {
        quillora::printOverlay(printer, content.fields, content.body, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

bool PrintActions::printInjectionCard()
{
    const InjectionCardContent content = injectionCardContent();
    return PrintJob::print(m_areas.sheet, kCardName, [&](Printer &printer) {
        quillora::printInjectionCard(printer, content, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

void PrintActions::previewSheet()
{
    const SheetContent content = sheetContent();
    PrintJob::preview(m_areas.sheet, kSheetName, [&](Printer &printer) {
        quillora::printSheet(printer, content, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

void PrintActions::previewOverlay()
{
    const SheetContent content = sheetContent();
    PrintJob::preview(m_areas.sheet, kOverlayName, [&](Printer &printer) {
        quillora::printOverlay(printer, content.fields, content.body, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

void PrintActions::previewInjectionCard()
{
    const InjectionCardContent content = injectionCardContent();
    PrintJob::preview(m_areas.sheet, kCardName, [&](Printer &printer) {
        quillora::printInjectionCard(printer, content, m_workspace.settingsRecord().values(), scratchPath());
    }, paper());
}

} // namespace quillora
