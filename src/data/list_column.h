#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// The list columns of a visit: every entry followed by "@".
namespace ListColumn {
// Entries as stored; an "@" typed into an entry becomes "＠" so the list never splits.
QString encode(const QStringList &entries);
// Entries of a stored list; a text without a final "@" still yields its last entry.
QStringList decode(const QString &stored);
// Exactly `count` entries: missing ones empty, extra ones dropped.
QStringList fitted(QStringList entries, int count);
} // namespace ListColumn

} // namespace quillora
