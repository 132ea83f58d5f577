#include "app/program_gui.h"

#include "base/clock.h"
#include "base/fonts.h"
#include "app/backup_window.h"
#include "app/hidden_archive.h"
#include "app/instance_lock.h"
#include "app/login_window.h"
#include "base/message_dialog.h"
#include "app/run_end_backup.h"
#include "app/startup.h"
#include "data/server_address.h"
#include "app/termination_signals.h"
#include "data/workspace.h"
#include "workstation/main_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <QSessionManager>

namespace quillora {

Program::Program(const QString &programFolder, const QString &executablePath, QObject *parent)
    : Program(AppPaths::locate(programFolder, executablePath), parent)
{
}

Program::Program(const AppPaths &paths, QObject *parent) : QObject(parent), m_paths(paths) {}

Program::~Program()
{
    delete m_backup;
    m_main.reset();
    m_login.reset();
    if (m_workspace)
        m_workspace->files().close();
}

bool Program::start()
{
    m_lock = std::make_unique<InstanceLock>(m_paths.dataFolder);
    if (!m_lock->acquire()) {
        MessageDialog::inform(nullptr,
                              QStringLiteral("Quillora 已经在运行，同一个数据文件夹只能打开一个程序。\n数据文件夹：%1")
                                  .arg(QDir::toNativeSeparators(m_paths.dataFolder)),
                              MessageDialog::Icon::Exclamation);
        return false;
    }
    const ServerAddress server = chooseServer(QCoreApplication::arguments(), m_paths.dataFolder);
    if (!server.problem.isEmpty()) {
        MessageDialog::inform(nullptr, QStringLiteral("数据库服务器的设置有误，程序将退出：\n") + server.problem,
                              MessageDialog::Icon::Critical);
        m_lock->release();
        return false;
    }
    // Files are made or copied only while this instance holds the folder.
    if (!server.chosen() && !offerHiddenArchive()) {
        m_lock->release();
        return false;
    }
    m_signals = std::make_unique<TerminationSignals>();
    connect(m_signals.get(), &TerminationSignals::received, this, &Program::endSession);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &Program::endSession);
    m_workspace = std::make_unique<Workspace>(m_paths);
    m_workspace->files().setLongStepNotice([this](const QString &text) { showLongStep(text); });
    if (server.chosen())
        m_workspace->files().useServer(server.conninfo, server.conninfo, server.shown);
    const std::optional<StartupState> state = startUpAskingServerPassword(server);
    if (!state) {
        m_lock->release();
        return false;
    }
    m_login = std::make_unique<LoginWindow>(LoginGate(state->password, state->problem));
    connect(m_login.get(), &LoginWindow::loggedIn, this, &Program::openMainWindow);
    connect(m_login.get(), &LoginWindow::cancelled, this, [this] { end(false); });
    connect(m_login.get(), &LoginWindow::backupRequested, this, &Program::openBackupWindow);
    m_login->show();
    // While the doctor types the password, the faces the main window draws with are loaded.
    QTimer::singleShot(0, this, [] { warmUpFormFonts(); });
    return true;
}

std::optional<StartupState> Program::startUpAskingServerPassword(const ServerAddress &server)
{
    StartupState state = startUp(m_workspace->files(), *m_lock);
    for (bool refused = false; state.needsServerPassword; refused = true) {
        const std::optional<QString> password = MessageDialog::askSecret(
            nullptr, serverPasswordPrompt(server, state.problem, refused), QStringLiteral("连接数据库服务器"));
        if (!password)
            return std::nullopt;
        m_workspace->files().useServer(withPassword(server.conninfo, *password), withPassword(server.conninfo, *password), server.shown);
        state = startUp(m_workspace->files(), *m_lock);
    }
    return state;
}

bool Program::offerHiddenArchive()
{
    const HiddenArchive hidden = HiddenArchive::find(m_paths);
    if (!hidden.found)
        return true;
    if (!MessageDialog::choose(nullptr, hidden.question(), QStringLiteral("复制并继续"), QStringLiteral("退出程序")))
        return false;
    const QStringList problems = hidden.copyIntoUserFolder();
    if (problems.isEmpty())
        return true;
    MessageDialog::inform(nullptr, QStringLiteral("数据文件未能复制，程序将退出：\n") + problems.join(QLatin1Char('\n')),
                          MessageDialog::Icon::Critical);
    return false;
}

void Program::showLongStep(const QString &text)
{
    if (text.isEmpty()) {
        m_longStep.reset();
        return;
    }
    m_longStep = std::make_unique<QLabel>(text);
    m_longStep->setObjectName(QStringLiteral("longStepNotice"));
    m_longStep->setWindowTitle(QStringLiteral("Quillora"));
    m_longStep->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_longStep->setMargin(24);
    m_longStep->show();
    // Drawn before the work begins, so the doctor sees why the login window is late: the window
    // system shows the window a moment after it is asked to.
    QElapsedTimer waited;
    waited.start();
    while (!(m_longStep->windowHandle() && m_longStep->windowHandle()->isExposed()) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    m_longStep->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Program::endSession()
{
    if (m_ended)
        return;
    if (m_main && m_main->isVisible())
        m_main->close();
    else if (!m_main)
        end(false);
}

void Program::openMainWindow()
{
    m_main = std::make_unique<MainWindow>(*m_workspace);
    connect(m_main.get(), &MainWindow::exitRequested, this, [this] { end(false); });
    connect(m_main.get(), &MainWindow::closed, this, [this] { end(true); });
    connect(m_main.get(), &MainWindow::backupWindowRequested, this, &Program::openBackupWindow);
    m_main->show();
}

void Program::openBackupWindow()
{
    if (!m_backup) {
        m_backup = new BackupWindow(*m_workspace);
        m_backup->setAttribute(Qt::WA_DeleteOnClose);
        m_backup->setBeforeRestore([this] {
            if (!m_main || m_main->closeDataWindows())
                return QString();
            return QStringLiteral("输液执行卡或病史卡未能关闭，数据没有恢复。请先保存或关闭它，再恢复数据。");
        });
        connect(m_backup, &BackupWindow::restored, this, &Program::showRestoredData);
    }
    m_backup->show();
    m_backup->raise();
    m_backup->activateWindow();
}

BackupWindow *Program::backupWindow() const { return m_backup.data(); }

void Program::showRestoredData()
{
    if (m_main) {
        m_main->load();
        return;
    }
    // Restored before anyone logged in: the password is the one of the restored archive.
    const StartupState state = startUp(m_workspace->files(), *m_lock);
    m_login->setGate(LoginGate(state.password, state.problem));
    m_login->raise();
}

void Program::end(bool withBackup)
{
    if (m_ended)
        return;
    m_ended = true;
    // Its checks hold connections to the copies that the backup is about to replace.
    delete m_backup;
    if (m_main)
        m_main->hide();
    if (m_login)
        m_login->hide();
    // Every connection is closed before a file is copied; on a server the last room takes the dump.
    const QStringList problems = withBackup ? backUpAtRunEnd(m_workspace->files(), m_paths, Clock::today()) : QStringList();
    m_workspace->files().close();
    if (!problems.isEmpty())
        MessageDialog::inform(nullptr, QStringLiteral("今日数据备份未能完成：\n") + problems.join(QLatin1Char('\n')),
                              MessageDialog::Icon::Critical);
    m_lock->release();
    Q_EMIT finished(0);
}

} // namespace quillora
