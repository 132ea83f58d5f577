#pragma once

#include "data/drug_store.h"

#include <QAbstractListModel>
#include <QList>

namespace quillora {

// The lines of a dictionary list, each keeping the identity of the row it shows.
// A whole fill is one reset, so ten thousand lines cost one layout, not ten thousand.
class RowListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // The display columns of the widest line (a double-byte character takes two), asked of
    // any line: views of lines of one height size every line by it.
    static constexpr int WidestColumnsRole = Qt::UserRole + 1;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void setRows(QList<ListedRow> rows);
    void clear() { setRows({}); }
    // Adds one line at the end; returns its position.
    int append(const ListedRow &row);
    const QList<ListedRow> &rows() const { return m_rows; }
    // The row id of a line; 0 outside the list.
    qint64 rowIdAt(int line) const;
    QString textAt(int line) const;
    // The first line showing the row; -1 when none does.
    int lineOf(qint64 rowId) const;

private:
    void widenFor(const ListedRow &row);

    QList<ListedRow> m_rows;
    int m_widestColumns = 0;
};

} // namespace quillora
