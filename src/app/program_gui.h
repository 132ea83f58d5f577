#pragma once

#include "app/startup.h"
#include "base/app_paths.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QLabel;

namespace quillora {

class BackupWindow;
struct ServerAddress;
class InstanceLock;
class LoginWindow;
class MainWindow;
class TerminationSignals;
class Workspace;

// One run of the program: start-up, login, the main window, and the end with or without backup.
class Program : public QObject
{
    Q_OBJECT

public:
    Program(const QString &programFolder, const QString &executablePath, QObject *parent = nullptr);
    // The folders already chosen, as a test sets them up.
    explicit Program(const AppPaths &paths, QObject *parent = nullptr);
    ~Program() override;

    // Prepares the data and shows the login window; false (after saying why) when the
    // data folder is in use by another instance or the doctor chose to quit.
    bool start();
    // The session or the system is ending the program: close the main window the normal
    // way, so the backup runs; before the login there is nothing to back up.
    void endSession();

    const AppPaths &paths() const { return m_paths; }
    Workspace *workspace() const { return m_workspace.get(); }
    LoginWindow *loginWindow() const { return m_login.get(); }
    MainWindow *mainWindow() const { return m_main.get(); }
    // "数据备份与恢复", from the main window's menu or from a login that cannot read the archive.
    void openBackupWindow();
    BackupWindow *backupWindow() const;

Q_SIGNALS:
    // The run is over; the event loop may end with this code.
    void finished(int code);

private:
    void openMainWindow();
    void end(bool withBackup);
    bool offerHiddenArchive();
    // Starts up, asking for the server's password while the server wants one; nothing when
    // the doctor cancelled.
    std::optional<StartupState> startUpAskingServerPassword(const ServerAddress &server);
    void showRestoredData();
    // A small window saying what a long step of opening the data is doing; gone with an empty text.
    void showLongStep(const QString &text);

    AppPaths m_paths;
    std::unique_ptr<InstanceLock> m_lock;
    std::unique_ptr<TerminationSignals> m_signals;
    std::unique_ptr<Workspace> m_workspace;
    std::unique_ptr<LoginWindow> m_login;
    std::unique_ptr<MainWindow> m_main;
    QPointer<BackupWindow> m_backup;
    std::unique_ptr<QLabel> m_longStep;
    bool m_ended = false;
};

} // namespace quillora
