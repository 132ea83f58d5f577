#pragma once

#include "data/visit_store.h"

#include <QAbstractListModel>
#include <QList>

namespace quillora {

// The entries of the visit browser's result list. A whole result is taken in one go (it comes
// from the date index alone) and handed to the view a few hundred lines at a time as it
// scrolls, so a month of a large archive lists as fast as a day of a small one.
class VisitListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int kBatch = 200;
    enum Role { KeyRole = Qt::UserRole, RowIdRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    void setEntries(QList<VisitListEntry> entries);
    void clear() { setEntries({}); }
    // Every entry of the result, shown yet or not.
    int entryCount() const { return int(m_entries.size()); }
    QString keyAt(int line) const;
    void removeAt(int line);
    // Takes out every entry of the visit, shown yet or not.
    void removeKey(const QString &key);

private:
    QList<VisitListEntry> m_entries;
    int m_shown = 0;
};

} // namespace quillora
