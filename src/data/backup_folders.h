#pragma once

#include <QDate>
#include <QString>

namespace quillora {

// The day folder of a date below the backup root: the day of the month without a leading zero and 日.
QString backupDayFolderName(const QDate &day);

// The day folder whose archive copy was written last, or empty when there is none. Copies are
// checked before they replace an older one, so the newest copy is the latest good one.
QString latestBackupFolder(const QString &backupRoot);

} // namespace quillora
