#include "workstation/safety_guard_gui.h"

#include "base/message_dialog.h"
#include "data/settings_record.h"
#include "data/settings_row.h"
#include "data/visit_record.h"
#include "data/workspace.h"
#include "workstation/drug_entry_widget.h"
#include "workstation/prescription_text.h"
#include "workstation/safety_strip_widget.h"
#include "workstation/sheet_widget.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace quillora {

SafetyGuard::SafetyGuard(Workspace &workspace, const WorkstationAreas &areas, SafetyStripWidget *strip, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_areas(areas),
      m_tables(RuleTables::withLocalRules(workspace.paths().dataFolder)), m_strip(strip), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDelayMs);
    connect(m_timer, &QTimer::timeout, this, &SafetyGuard::refresh);
    connect(m_areas.sheet->body(), &QPlainTextEdit::textChanged, this, &SafetyGuard::schedule);
    for (const int field : {FieldAge, FieldAllergy})
        connect(m_areas.sheet->field(field), &QLineEdit::textChanged, this, &SafetyGuard::schedule);
    connect(m_areas.sheet, &SheetWidget::kindChanged, this, &SafetyGuard::schedule);
}

SafetySwitches SafetyGuard::switches() const
{
    // The settings being edited count at once; otherwise the row is read without loading the
    // settings record, which stays absent until something else needs it.
    SettingsRecord &record = m_workspace.settingsRecord();
    if (record.isLoaded())
        return record.values().safetyChecks;
    try {
        SettingsRow row(m_workspace.settings());
        return readSafetyChecks(row);
    } catch (const std::exception &) {
        return kAllChecksOn;  // settings that cannot be read leave every check on
    }
}

QString SafetyGuard::allergies() const { return m_areas.sheet->field(FieldAllergy)->text(); }

QList<SafetyWarning> SafetyGuard::warnings() const
{
    const SheetFacts sheet{m_areas.sheet->kind(), m_areas.sheet->field(FieldAge)->text(), allergies(),
                           m_areas.sheet->body()->toPlainText()};
    return sheetWarnings(sheet, switches(), m_tables);
}

void SafetyGuard::schedule() { m_timer->start(); }

void SafetyGuard::refresh()
{
    m_timer->stop();
    const QList<SafetyWarning> found = warnings();
    m_strip->setWarnings(warningStripText(found), warningLines(found).join(QLatin1Char('\n')));
}

bool SafetyGuard::allowPick(const DrugPick &pick)
{
    if (!on(SafetyCheck::Allergy))
        return true;
    const auto conflicts = allergyConflicts(allergies(), pickedLines(pick.category, pick.text), m_tables.classes);
    if (conflicts.isEmpty())
        return true;
    return MessageDialog::askToProceed(m_areas.sheet, allergyTexts(conflicts).join(QLatin1Char('\n')),
                                       QStringLiteral("仍然添加"), QStringLiteral("取消"));
}

bool SafetyGuard::allowRepeat()
{
    if (!on(SafetyCheck::Allergy))
        return true;
    const auto conflicts = allergyConflicts(allergies(), m_areas.sheet->body()->toPlainText(), m_tables.classes);
    if (conflicts.isEmpty())
        return true;
    return MessageDialog::askToProceed(m_areas.sheet, repeatQuestion(conflicts), QStringLiteral("仍然续开"), QStringLiteral("取消"));
}

bool SafetyGuard::allowPrint()
{
    const QList<SafetyWarning> found = warnings();
    refresh();
    if (found.isEmpty())
        return true;
    return MessageDialog::askToProceed(m_areas.sheet, printQuestion(found), QStringLiteral("仍然打印"), QStringLiteral("取消"));
}

} // namespace quillora
