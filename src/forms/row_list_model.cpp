#include "forms/row_list_model.h"

#include "text/display_width.h"

#include <algorithm>

namespace quillora {

int RowListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

QVariant RowListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_rows.at(index.row()).text;
    if (role == Qt::UserRole)
        return m_rows.at(index.row()).rowId;
    if (role == WidestColumnsRole)
        return m_widestColumns;
    return {};
}

void RowListModel::setRows(QList<ListedRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_widestColumns = 0;
    for (const ListedRow &row : std::as_const(m_rows))
        widenFor(row);
    endResetModel();
}

int RowListModel::append(const ListedRow &row)
{
    const int line = int(m_rows.size());
    beginInsertRows({}, line, line);
    m_rows.append(row);
    widenFor(row);
    endInsertRows();
    return line;
}

void RowListModel::widenFor(const ListedRow &row) { m_widestColumns = std::max(m_widestColumns, displayColumns(row.text)); }

qint64 RowListModel::rowIdAt(int line) const { return line >= 0 && line < m_rows.size() ? m_rows.at(line).rowId : 0; }

QString RowListModel::textAt(int line) const { return line >= 0 && line < m_rows.size() ? m_rows.at(line).text : QString(); }

int RowListModel::lineOf(qint64 rowId) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).rowId == rowId)
            return i;
    }
    return -1;
}

} // namespace quillora
