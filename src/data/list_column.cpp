#include "data/list_column.h"

namespace quillora {

QString ListColumn::encode(const QStringList &entries)
{
    QString stored;
    for (QString entry : entries) {
        entry.replace(QChar(u'@'), QChar(u'＠'));
        stored += entry;
        stored += QLatin1Char('@');
    }
    return stored;
}

QStringList ListColumn::decode(const QString &stored)
{
    QStringList entries = stored.split(QLatin1Char('@'));
    // The separator follows every entry, so the piece after the last one is no entry.
    if (!entries.isEmpty() && entries.last().isEmpty())
        entries.removeLast();
    return entries;
}

QStringList ListColumn::fitted(QStringList entries, int count)
{
    while (entries.size() < count)
        entries << QString();
    if (entries.size() > count)
        entries.erase(entries.begin() + count, entries.end());
    return entries;
}

} // namespace quillora
