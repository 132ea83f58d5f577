#pragma once

#include "data/dates.h"

#include <exception>
#include <optional>

class QLineEdit;
class QWidget;

namespace quillora {

// Steps the two report windows share.
namespace ReportSteps {

// The two date boxes as a range, each written back in its stored form (2016-1-3 becomes
// 2016-01-03); when either is not a date the doctor is warned and nothing is returned.
std::optional<DateRange> readDateBoxes(QWidget *window, QLineEdit *from, QLineEdit *to);

// Tells the doctor that the archive could not be read, and why (with the latest backup to
// restore when the file is damaged).
void reportReadFailure(QWidget *window, const std::exception &failure, const QString &backupRoot);

} // namespace ReportSteps

} // namespace quillora
