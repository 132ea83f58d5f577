#include "app/backup_window.h"

#include "app/backup_checker.h"
#include "app/backup_list_model.h"
#include "app/backup_restore.h"
#include "app/server_restore.h"
#include "app/server_rooms.h"
#include "app/shutdown_backup.h"
#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "forms/form_parts_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace quillora {

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(96);
    return b;
}

// The wait cursor for the length of a file operation that runs on the window's thread.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

BackupWindow::BackupWindow(Workspace &workspace, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace), m_model(new BackupListModel(this))
{
    setObjectName(QStringLiteral("backupWindow"));
    setWindowTitle(QStringLiteral("数据备份与恢复"));

    auto *where = new QLabel(QStringLiteral("备份文件夹：%1").arg(QDir::toNativeSeparators(workspace.paths().backupRoot)), this);
    where->setObjectName(QStringLiteral("backupRootLabel"));
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    where->setWordWrap(true);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("backupTable"));
    m_table->setAccessibleName(QStringLiteral("备份列表"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setStyleSheet(QStringLiteral("QTableView::item { padding: 0 8px; }"));
    m_table->verticalHeader()->hide();
    // Every column as wide as its longest text; the room left goes to the check's result.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(BackupListModel::StateColumn, QHeaderView::Stretch);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->setMinimumSize(720, 300);
    // A dump is checked by its table of contents: its visits are not counted.
    m_table->setColumnHidden(BackupListModel::VisitsColumn, onServer());
    m_table->setColumnHidden(BackupListModel::NewestColumn, onServer());

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("checkProgress"));
    m_progress->setAccessibleName(QStringLiteral("检查进度"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(220);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("checkLabel"));
    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("reasonLabel"));
    m_reason->setWordWrap(true);
    m_reason->setStyleSheet(QStringLiteral("color: #c62828;"));

    m_backupNow = button(QStringLiteral("立即备份"), "backupNowButton", this);
    m_restore = button(QStringLiteral("恢复"), "restoreButton", this);
    m_restore->setMinimumWidth(180);
    auto *close = button(QStringLiteral("关闭"), "closeButton", this);

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress);
    progressRow->addWidget(m_progressLabel, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_backupNow);
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(8);
    layout->addWidget(where);
    layout->addWidget(m_table, 1);
    layout->addLayout(progressRow);
    layout->addWidget(m_reason);
    layout->addLayout(buttons);

    connect(m_backupNow, &QPushButton::clicked, this, &BackupWindow::backUpNow);
    connect(m_restore, &QPushButton::clicked, this, &BackupWindow::restoreChosen);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &BackupWindow::updateRestoreButton);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &BackupWindow::updateRestoreButton);
    refresh();
}

BackupWindow::~BackupWindow() { stopChecking(); }

bool BackupWindow::onServer() const { return m_workspace.files().usesServer(); }

bool BackupWindow::isChecking() const { return m_checker && m_checker->isRunning(); }

void BackupWindow::stopChecking()
{
    // Its connections to the copies are closed before any file below the backup root changes.
    ++m_generation;
    if (m_checker) {
        m_checker->stop();
        delete m_checker;
    }
}

void BackupWindow::refresh()
{
    stopChecking();
    const QString root = m_workspace.paths().backupRoot;
    m_model->setCopies(onServer() ? listServerDumps(root) : listBackupCopies(root));
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    updateRestoreButton();
    m_progress->setRange(0, std::max(1, m_model->rowCount()));
    showProgress();
    if (m_model->rowCount() == 0)
        return;
    const int generation = m_generation;
    m_checker = new BackupChecker(m_model->copies(), this);
    connect(m_checker, &BackupChecker::checked, this,
            [this, generation](int row, const BackupCheck &check) { showChecked(generation, row, check); });
    connect(m_checker, &QThread::finished, this, [this, generation] {
        if (generation == m_generation)
            Q_EMIT checkingFinished();
    });
    m_checker->start(QThread::LowPriority);
}

void BackupWindow::showChecked(int generation, int row, const BackupCheck &check)
{
    if (generation != m_generation)
        return;  // a check of a list that has been replaced since
    m_model->setCheck(row, check);
    showProgress();
}

void BackupWindow::showProgress()
{
    const int total = m_model->rowCount();
    const int done = m_model->checkedCount();
    m_progress->setValue(done);
    m_progress->setVisible(done < total);
    if (total == 0) {
        m_progressLabel->setText(onServer() ? QStringLiteral("还没有服务器数据库的备份。最后一个诊室关闭主窗口时会自动备份，也可以点“立即备份”。")
                                            : QStringLiteral("还没有备份。关闭主窗口时会自动备份，也可以点“立即备份”。"));
    } else if (done < total) {
        m_progressLabel->setText(QStringLiteral("正在检查备份 %1/%2，检查期间可以继续使用…").arg(done).arg(total));
    } else {
        int good = 0;
        for (int row = 0; row < total; ++row)
            good += m_model->check(row).restorable() ? 1 : 0;
        m_progressLabel->setText(good == total ? QStringLiteral("检查完毕：%1 份备份都完好。").arg(total)
                                               : QStringLiteral("检查完毕：%1 份完好，%2 份不能恢复。").arg(good).arg(total - good));
    }
}

int BackupWindow::chosenRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void BackupWindow::updateRestoreButton()
{
    const int row = chosenRow();
    if (row < 0) {
        m_restore->setText(QStringLiteral("恢复"));
        m_restore->setEnabled(false);
        m_reason->clear();
        return;
    }
    const BackupCheck &check = m_model->check(row);
    m_restore->setText(restoreButtonCaption(check));
    m_restore->setEnabled(check.restorable());
    m_restore->setToolTip(check.problem);
    m_reason->setText(check.problem.isEmpty() ? QString() : QStringLiteral("这份备份不能恢复：") + check.problem);
}

void BackupWindow::backUpNow()
{
    stopChecking();
    const QDate today = Clock::today();
    QStringList problems;
    {
        BusyCursor busy;
        problems = onServer() ? serverBackupNow(m_workspace, today) : quillora::backupNow(m_workspace, today);
    }
    refresh();  // the new copy is listed behind the message
    if (problems.isEmpty())
        MessageDialog::inform(this, QStringLiteral("今日备份已完成：\n%1")
                                        .arg(QDir::toNativeSeparators(ShutdownBackup(m_workspace.paths()).dayFolder(today))),
                              MessageDialog::Icon::Information);
    else
        MessageDialog::inform(this, QStringLiteral("今日数据备份未能完成：\n") + problems.join(QLatin1Char('\n')),
                              MessageDialog::Icon::Critical);
}

void BackupWindow::restoreChosen()
{
    const int row = chosenRow();
    if (row < 0 || !m_model->check(row).restorable())
        return;
    const BackupCopy copy = m_model->copy(row);
    if (onServer()) {
        // The restore replaces what every room works on.
        if (const QString refusal = otherRoomsRefusal(m_workspace.files()); !refusal.isEmpty()) {
            MessageDialog::inform(this, refusal, MessageDialog::Icon::Exclamation);
            return;
        }
    }
    const QDateTime moment = Clock::now();
    const QString aside = QDir(m_workspace.paths().backupRoot).filePath(beforeRestoreFolderName(moment));
    if (!MessageDialog::choose(this, restoreQuestion(copy, m_model->check(row), aside), QStringLiteral("恢复"),
                               QStringLiteral("取消")))
        return;
    if (m_beforeRestore) {
        if (const QString refusal = m_beforeRestore(); !refusal.isEmpty()) {
            MessageDialog::inform(this, refusal, MessageDialog::Icon::Exclamation);
            return;
        }
    }
    stopChecking();
    RestoreResult result;
    {
        BusyCursor busy;
        result = onServer() ? restoreServerDump(m_workspace, copy, moment) : restoreBackupCopy(m_workspace, copy, moment);
    }
    refresh();
    if (!result.restored) {
        const QString unchanged = onServer() ? QStringLiteral("数据未能恢复，服务器数据库没有改动。\n")
                                             : QStringLiteral("数据未能恢复，现在的数据文件没有改动。\n");
        MessageDialog::inform(this, unchanged + result.problem, MessageDialog::Icon::Critical);
    } else {
        QString text = QStringLiteral("已用%1恢复数据。\n%2\n%3")
                           .arg(backupCopyTitle(copy),
                                onServer() ? QStringLiteral("恢复前的服务器数据库已备份在：") : QStringLiteral("原来的数据文件保存在："),
                                QDir::toNativeSeparators(result.asideFolder));
        if (!result.problem.isEmpty())
            text += QStringLiteral("\n\n") + result.problem;
        // The restored data is on screen behind the message.
        Q_EMIT restored();
        MessageDialog::inform(this, text, result.problem.isEmpty() ? MessageDialog::Icon::Information
                                                                   : MessageDialog::Icon::Critical);
    }
}

void BackupWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    centreOnScreen(this);
}

void BackupWindow::closeEvent(QCloseEvent *event)
{
    stopChecking();
    QWidget::closeEvent(event);
}

} // namespace quillora
