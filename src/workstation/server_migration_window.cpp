#include "workstation/server_migration_window.h"

#include "base/message_dialog.h"
#include "data/server_address.h"
#include "data/server_migration.h"
#include "data/workspace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillora {

ServerMigrationWindow::ServerMigrationWindow(Workspace &workspace, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace)
{
    setObjectName(QStringLiteral("serverMigrationWindow"));
    setWindowTitle(QStringLiteral("迁移到服务器"));
    // Visits saved into the files while they are copied would not reach the server.
    setWindowModality(Qt::ApplicationModal);

    auto *intro = new QLabel(QStringLiteral("把本机的病历档案和各项字典复制到一个空的 PostgreSQL 数据库，供各诊室共用。"
                                            "复制后逐表核对行数和校验和；本机的文件不会改动。"),
                             this);
    intro->setWordWrap(true);
    auto *form = new QFormLayout;
    m_host = addField(form, QStringLiteral("服务器地址"), "serverHost");
    m_port = addField(form, QStringLiteral("端口"), "serverPort");
    m_port->setText(ServerFields().port);
    m_database = addField(form, QStringLiteral("数据库"), "serverDatabase");
    m_user = addField(form, QStringLiteral("用户名"), "serverUser");
    m_password = addField(form, QStringLiteral("密码"), "serverPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_sslMode = new QComboBox(this);
    m_sslMode->setObjectName(QStringLiteral("serverSslMode"));
    m_sslMode->setAccessibleName(QStringLiteral("加密方式"));
    m_sslMode->addItems(serverSslModes());
    form->addRow(QStringLiteral("加密方式："), m_sslMode);

    m_start = new QPushButton(QStringLiteral("开始迁移"), this);
    m_start->setObjectName(QStringLiteral("startMigrationButton"));
    m_start->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("取消迁移"), this);
    m_cancel->setObjectName(QStringLiteral("cancelMigrationButton"));
    m_cancel->setAutoDefault(false);
    m_cancel->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("migrationProgress"));
    m_progress->setAccessibleName(QStringLiteral("迁移进度"));
    m_progress->setTextVisible(false);
    m_step = new QLabel(this);
    m_step->setObjectName(QStringLiteral("migrationStep"));
    m_result = new QPlainTextEdit(this);
    m_result->setObjectName(QStringLiteral("migrationResult"));
    m_result->setAccessibleName(QStringLiteral("迁移结果"));
    m_result->setReadOnly(true);
    m_result->setMinimumSize(560, 220);

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress);
    progressRow->addWidget(m_step, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addLayout(progressRow);
    layout->addWidget(m_result, 1);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &ServerMigrationWindow::startMigration);
    connect(m_cancel, &QPushButton::clicked, this, &ServerMigrationWindow::cancelMigration);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QLineEdit *ServerMigrationWindow::addField(QFormLayout *form, const QString &label, const char *name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(label);
    form->addRow(label + QStringLiteral("："), edit);
    return edit;
}

ServerFields ServerMigrationWindow::fields() const
{
    return ServerFields{m_host->text().trimmed(), m_port->text().trimmed(), m_database->text().trimmed(),
                        m_user->text().trimmed(), m_password->text(),   m_sslMode->currentText()};
}

void ServerMigrationWindow::startMigration()
{
    const ServerFields entered = fields();
    if (const QString problem = serverFieldsProblem(entered); !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    m_running = true;
    m_cancelRequested = false;
    m_start->setEnabled(false);
    m_cancel->setEnabled(true);
    m_result->setPlainText(QStringLiteral("正在迁移，请稍候……"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MigrationResult result = migrateToServer(
        m_workspace.archive(), m_workspace.settings(), conninfoOf(entered),
        [this](const QString &step, qint64 done, qint64 total) { showProgress(step, done, total); }, [this] { return m_cancelRequested; });
    QApplication::restoreOverrideCursor();
    m_running = false;
    m_start->setEnabled(true);
    m_cancel->setEnabled(false);
    m_step->setText(result.succeeded() ? QStringLiteral("完成") : result.cancelled ? QStringLiteral("已取消") : QStringLiteral("未完成"));
    m_result->setPlainText(migrationReport(result));
    if (result.succeeded())
        offerServerFile(entered);
    else if (result.cancelled)
        MessageDialog::inform(this, result.problem, MessageDialog::Icon::Information);
    else
        MessageDialog::inform(this, QStringLiteral("迁移未完成：%1").arg(result.problem), MessageDialog::Icon::Critical);
}

void ServerMigrationWindow::cancelMigration()
{
    if (!m_running)
        return;
    m_cancelRequested = true;
    m_cancel->setEnabled(false);
    m_step->setText(QStringLiteral("正在取消……"));
}

void ServerMigrationWindow::showProgress(const QString &step, qint64 done, qint64 total)
{
    // A progress bar holds an int: very large counts are shown in steps of several rows.
    const qint64 unit = std::max<qint64>(1, total / 1000000);
    m_progress->setMaximum(int(std::max<qint64>(1, total / unit)));
    m_progress->setValue(int(done / unit));
    if (!m_cancelRequested)
        m_step->setText(step);
    // The window is modal: only its own cancel button (the others are off) can be pressed.
    QApplication::processEvents();
}

void ServerMigrationWindow::offerServerFile(const ServerFields &fields)
{
    const QString folder = m_workspace.paths().dataFolder;
    const QString question = QStringLiteral("迁移完成，核对一致。\n是否在数据文件夹写入 %1，让程序下次启动时使用这个服务器？\n"
                                            "（密码不写入文件，登录时询问。）")
                                 .arg(QString::fromUtf8(kServerFileName));
    if (!MessageDialog::confirm(this, question))
        return;
    if (const QString problem = writeServerFile(folder, fields); !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Critical);
        return;
    }
    MessageDialog::inform(this, QStringLiteral("已写入 %1。下次启动时程序使用服务器数据库，本机文件保留不动。")
                                    .arg(QDir::toNativeSeparators(QDir(folder).filePath(QString::fromUtf8(kServerFileName)))));
}

void ServerMigrationWindow::closeEvent(QCloseEvent *event)
{
    // The copy runs on this thread: the window stays until it has finished.
    if (m_running)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace quillora
