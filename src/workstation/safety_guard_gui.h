#pragma once

#include "clinical/safety_checks.h"
#include "workstation/workstation_areas.h"

#include <QObject>

class QTimer;

namespace quillora {

class SafetyStripWidget;
class Workspace;
struct DrugPick;

// The prescription checks on the sheet on screen: the warning strip, refreshed a moment after
// the body or the header changes, and the questions before a pick, a repeat and a print.
// A check switched off in the settings says nothing anywhere; no check ever blocks.
class SafetyGuard : public QObject
{
    Q_OBJECT

public:
    SafetyGuard(Workspace &workspace, const WorkstationAreas &areas, SafetyStripWidget *strip, QObject *parent = nullptr);

    // The warnings of the sheet as it is now.
    QList<SafetyWarning> warnings() const;
    // Runs the checks again soon; changes in quick succession run them once.
    void schedule();
    void refresh();

    // Before a pick goes into the body: false when the doctor answers "取消" to an allergy conflict.
    bool allowPick(const DrugPick &pick);
    // Before "续开": false when the doctor cancels after the visit's allergy conflicts.
    bool allowRepeat();
    // Before a sheet with warnings is printed: false for "取消".
    bool allowPrint();

    static constexpr int kDelayMs = 200;

private:
    SafetySwitches switches() const;
    bool on(SafetyCheck check) const { return switches()[static_cast<int>(check)]; }
    QString allergies() const;

    Workspace &m_workspace;
    WorkstationAreas m_areas;
    RuleTables m_tables;
    SafetyStripWidget *m_strip;
    QTimer *m_timer;
};

} // namespace quillora
