#pragma once

#include "data/visit_store.h"

#include <QAbstractListModel>
#include <QList>
#include <functional>

namespace quillora {

// The entries of the visit browser's result list, handed to the view a few hundred lines at a
// time as it scrolls. A result read page by page asks for its next page only when the view
// reaches its end, so a month of a large archive lists as fast as a day of a small one.
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

    // Reads the page after the given entry (at most kBatch entries; fewer: the last page).
    using NextPage = std::function<QList<VisitListEntry>(const VisitListEntry &after)>;

    // A whole result, or its first page with the means to read the rest.
    void setEntries(QList<VisitListEntry> entries, NextPage nextPage = {});
    void clear() { setEntries({}); }
    // Every entry of the result read so far, shown yet or not.
    int entryCount() const { return int(m_entries.size()); }
    QString keyAt(int line) const;
    void removeAt(int line);
    // Takes out every entry of the visit, shown yet or not.
    void removeKey(const QString &key);

private:
    void readNextPage();

    QList<VisitListEntry> m_entries;
    int m_shown = 0;
    NextPage m_nextPage;  // empty once the last page is in
};

} // namespace quillora
