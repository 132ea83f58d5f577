#pragma once

#include "app/backup_copies.h"

#include <QAbstractTableModel>

namespace quillora {

// The rows of the backup window: one backup copy each, with what its check found.
class BackupListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, TimeColumn, SizeColumn, VisitsColumn, NewestColumn, StateColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // A new list; every copy is unchecked until setCheck.
    void setCopies(const QList<BackupCopy> &copies);
    void setCheck(int row, const BackupCheck &check);

    const BackupCopy &copy(int row) const { return m_copies.at(row); }
    const BackupCheck &check(int row) const { return m_checks.at(row); }
    const QList<BackupCopy> &copies() const { return m_copies; }
    int checkedCount() const { return m_checkedCount; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<BackupCopy> m_copies;
    QList<BackupCheck> m_checks;
    int m_checkedCount = 0;
};

// The text of one cell, as the list shows it.
QString backupCellText(const BackupCopy &copy, const BackupCheck &check, int column);

// "8日的备份" for a day folder, "恢复前留存的数据（恢复前-…）" for a set-aside folder.
QString backupCopyTitle(const BackupCopy &copy);

// The restore button's caption for a chosen copy: "恢复" when it can be restored, otherwise why not.
QString restoreButtonCaption(const BackupCheck &check);

// The question asked before a restore: the copy's day and time, its newest visit, and where the
// current files go.
QString restoreQuestion(const BackupCopy &copy, const BackupCheck &check, const QString &asideFolder);

} // namespace quillora
