#include "workstation/main_window.h"

#include "app/workspace.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace quillora {

MainWindow::MainWindow(Workspace &workspace, QWidget *parent) : QMainWindow(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillora V5.0"));
    resize(1280, 720);
    buildMenus();
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("文件(F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction *exit = file->addAction(QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("exitAction"));
    connect(exit, &QAction::triggered, this, [this] {
        m_exiting = true;
        close();
        Q_EMIT exitRequested();
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_exiting)
        Q_EMIT closed();
}

} // namespace quillora
