#include "app/backup_list_model.h"

#include <QBrush>
#include <QColor>
#include <QDir>

namespace quillora {

namespace {

QString copyTime(const BackupCopy &copy)
{
    return copy.copiedAt.isValid() ? copy.copiedAt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QStringLiteral("—");
}

} // namespace

QString backupCopyTitle(const BackupCopy &copy)
{
    if (copy.kind == BackupCopy::Kind::Day)
        return QStringLiteral("%1的备份").arg(copy.name);
    return QStringLiteral("恢复前留存的数据（%1）").arg(copy.name);
}

void BackupListModel::setCopies(const QList<BackupCopy> &copies)
{
    beginResetModel();
    m_copies = copies;
    m_checks = QList<BackupCheck>(copies.size());
    m_checkedCount = 0;
    endResetModel();
}

void BackupListModel::setCheck(int row, const BackupCheck &check)
{
    if (row < 0 || row >= m_checks.size())
        return;
    if (m_checks[row].state == BackupCheck::State::Unchecked && check.state != BackupCheck::State::Unchecked)
        ++m_checkedCount;
    m_checks[row] = check;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int BackupListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_copies.size()); }

int BackupListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant BackupListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_copies.size())
        return {};
    const BackupCheck &check = m_checks[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return backupCellText(m_copies[index.row()], check, index.column());
    case Qt::ToolTipRole:
        return index.column() == StateColumn && !check.problem.isEmpty() ? QVariant(check.problem) : QVariant();
    case Qt::ForegroundRole:
        if (index.column() == StateColumn && check.state != BackupCheck::State::Unchecked)
            return QBrush(check.restorable() ? QColor(0x2e, 0x7d, 0x32) : QColor(0xc6, 0x28, 0x28));
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn || index.column() == VisitsColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BackupListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const captions[ColumnCount] = {"备份", "备份时间", "大小", "病历数", "最近就诊日期", "检查结果"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section]) : QString();
}

QString backupCellText(const BackupCopy &copy, const BackupCheck &check, int column)
{
    const bool counted = check.state == BackupCheck::State::Good && check.visits >= 0;
    switch (column) {
    case BackupListModel::NameColumn:
        return copy.name;
    case BackupListModel::TimeColumn:
        return copyTime(copy);
    case BackupListModel::SizeColumn:
        return fileSizeText(copy.size);
    case BackupListModel::VisitsColumn:
        return counted ? QString::number(check.visits) : QString();
    case BackupListModel::NewestColumn:
        if (!counted)
            return {};
        return check.visits == 0 ? QStringLiteral("无病历") : check.newestVisit;
    case BackupListModel::StateColumn:
        return checkStateText(check);
    default:
        return {};
    }
}

QString restoreButtonCaption(const BackupCheck &check)
{
    if (check.restorable())
        return QStringLiteral("恢复");
    if (check.state == BackupCheck::State::Unchecked)
        return QStringLiteral("恢复（检查完才能恢复）");
    return QStringLiteral("不能恢复：") + checkStateText(check);
}

QString restoreQuestion(const BackupCopy &copy, const BackupCheck &check, const QString &asideFolder)
{
    if (!copy.dumpPath.isEmpty())
        return QStringLiteral("确定用%1恢复服务器数据库吗？\n备份时间：%2\n\n"
                              "恢复后所有诊室都将看不到这份备份之后保存的病历和改动的设置。\n现在的服务器数据库会先备份到：\n%3\n"
                              "窗口中尚未保存的病历将会丢失。")
            .arg(backupCopyTitle(copy), copyTime(copy), QDir::toNativeSeparators(asideFolder));
    const QString newest = check.visits > 0
                               ? QStringLiteral("其中共有 %1 份病历，最近一次就诊在 %2。").arg(check.visits).arg(check.newestVisit)
                               : QStringLiteral("其中没有病历。");
    return QStringLiteral("确定用%1恢复数据吗？\n备份时间：%2\n%3\n\n"
                          "恢复后将看不到这份备份之后保存的病历和改动的设置。\n现在的数据文件会先移到：\n%4\n"
                          "窗口中尚未保存的病历将会丢失。")
        .arg(backupCopyTitle(copy), copyTime(copy), newest, QDir::toNativeSeparators(asideFolder));
}

} // namespace quillora
