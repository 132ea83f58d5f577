#include "workstation/visit_list_model.h"

namespace quillora {

int VisitListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_shown; }

QVariant VisitListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    const VisitListEntry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.text();
    case KeyRole:
        return entry.key;
    case RowIdRole:
        return entry.rowId;
    default:
        return {};
    }
}

bool VisitListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && (m_shown < m_entries.size() || m_nextPage);
}

void VisitListModel::readNextPage()
{
    const QList<VisitListEntry> page = m_entries.isEmpty() ? QList<VisitListEntry>() : m_nextPage(m_entries.constLast());
    if (page.size() < kBatch)
        m_nextPage = {};
    m_entries += page;
}

void VisitListModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    if (m_shown == m_entries.size())
        readNextPage();
    if (m_shown == m_entries.size())
        return;
    const int more = std::min(kBatch, int(m_entries.size()) - m_shown);
    beginInsertRows({}, m_shown, m_shown + more - 1);
    m_shown += more;
    endInsertRows();
}

void VisitListModel::setEntries(QList<VisitListEntry> entries, NextPage nextPage)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_nextPage = m_entries.size() < kBatch ? NextPage() : std::move(nextPage);
    m_shown = std::min(kBatch, int(m_entries.size()));
    endResetModel();
}

QString VisitListModel::keyAt(int line) const { return line >= 0 && line < m_shown ? m_entries.at(line).key : QString(); }

void VisitListModel::removeAt(int line)
{
    if (line < 0 || line >= m_shown)
        return;
    beginRemoveRows({}, line, line);
    m_entries.removeAt(line);
    --m_shown;
    endRemoveRows();
}

void VisitListModel::removeKey(const QString &key)
{
    for (int i = int(m_entries.size()) - 1; i >= 0; --i) {
        if (m_entries.at(i).key != key)
            continue;
        if (i < m_shown)
            removeAt(i);
        else
            m_entries.removeAt(i);
    }
}

} // namespace quillora
