#pragma once

#include "reports/outpatient_log_window.h"
#include "reports/workload_window.h"

#include <QObject>
#include <QPointer>

namespace quillora {

class Workspace;

// The report windows of the main window: modeless, one of each; opening one that is already
// open brings it to the front as it stands.
class ReportWindows : public QObject
{
    Q_OBJECT

public:
    ReportWindows(Workspace &workspace, QWidget *owner);

    OutpatientLogWindow *openLog();
    WorkloadWindow *openWorkload();
    // The log book's print preview for the log window's dates, opening the window first.
    void previewLog();

    OutpatientLogWindow *log() const { return m_log; }
    WorkloadWindow *workload() const { return m_workload; }
    // Closes the open windows, so that the log keeps its margins.
    void closeAll();

private:
    template <typename Window>
    Window *open(QPointer<Window> &window);

    Workspace &m_workspace;
    QWidget *m_owner;
    QPointer<OutpatientLogWindow> m_log;
    QPointer<WorkloadWindow> m_workload;
};

} // namespace quillora
