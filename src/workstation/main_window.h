#pragma once

#include <QMainWindow>

namespace quillora {

class Workspace;

// The prescription workstation: one visit at a time, drawn as a prescription sheet.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Workspace &workspace, QWidget *parent = nullptr);

Q_SIGNALS:
    // "退出": the program ends at once, without the backup.
    void exitRequested();
    // The window was closed by its close box or by the system: the backup runs.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    Workspace &m_workspace;
    bool m_exiting = false;
};

} // namespace quillora
