#pragma once

#include "app/backup_copies.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace quillora {

class BackupChecker;
class BackupListModel;
class Workspace;

// "数据备份与恢复": the backup copies with what their checks found, today's backup made now,
// and a restore of a chosen copy.
class BackupWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BackupWindow(Workspace &workspace, QWidget *parent = nullptr);
    ~BackupWindow() override;

    // Asked before a restore replaces the files: empty to go on, else why not (told to the doctor).
    void setBeforeRestore(std::function<QString()> ask) { m_beforeRestore = std::move(ask); }

    BackupListModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }
    bool isChecking() const;

    // Lists the copies again and checks them in the background.
    void refresh();
    // "立即备份".
    void backUpNow();
    // "恢复": the chosen copy, after the doctor confirms.
    void restoreChosen();

Q_SIGNALS:
    // The data files were replaced: whatever shows their data must read them again.
    void restored();
    // Every copy of the list has been checked.
    void checkingFinished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The clinic's data is a server database: its dumps are listed and restored.
    bool onServer() const;
    void stopChecking();
    void showChecked(int generation, int row, const BackupCheck &check);
    void showProgress();
    void updateRestoreButton();
    int chosenRow() const;

    Workspace &m_workspace;
    std::function<QString()> m_beforeRestore;
    BackupListModel *m_model;
    QTableView *m_table;
    QProgressBar *m_progress;
    QLabel *m_progressLabel;
    QLabel *m_reason;
    QPushButton *m_backupNow;
    QPushButton *m_restore;
    QPointer<BackupChecker> m_checker;
    int m_generation = 0;
    bool m_centred = false;
};

} // namespace quillora
