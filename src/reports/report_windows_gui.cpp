#include "reports/report_windows_gui.h"

namespace quillora {

ReportWindows::ReportWindows(Workspace &workspace, QWidget *owner) : QObject(owner), m_workspace(workspace), m_owner(owner) {}

template <typename Window>
Window *ReportWindows::open(QPointer<Window> &window)
{
    if (!window) {
        window = new Window(m_workspace, m_owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
    return window;
}

OutpatientLogWindow *ReportWindows::openLog() { return open(m_log); }

WorkloadWindow *ReportWindows::openWorkload() { return open(m_workload); }

void ReportWindows::previewLog() { openLog()->printPreview(); }

void ReportWindows::closeAll()
{
    if (m_log)
        m_log->close();
    if (m_workload)
        m_workload->close();
}

} // namespace quillora
