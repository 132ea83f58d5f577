#pragma once

#include "data/visit_store.h"

#include <QList>
#include <QString>
#include <array>
#include <stdexcept>

namespace quillora {

// A workbook that could not be written; the reason is told to the doctor.
class WorkbookError : public std::runtime_error
{
public:
    explicit WorkbookError(const QString &reason) : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

// The outpatient log as a spreadsheet workbook: sheet 1, a bold header row, one row per visit.
namespace LogWorkbook {
constexpr int kColumns = 6;
// 姓名, 性别, 年龄, 诊断, 地址（电话）, 就诊日期
const std::array<QString, kColumns> &headers();

// The file a chosen name becomes: ".xlsx" added when missing, a ".xls" name made ".xlsx"
// (the file is an .xlsx workbook whatever it is called).
QString fileName(const QString &chosen);

// Column widths in the spreadsheet's character units, each wide enough for its longest text
// (a double-byte character takes two units, the bold header a little more).
std::array<double, kColumns> columnWidths(const QList<LogEntry> &visits);

// Writes the workbook next to `path` under a temporary name and puts it in place only when it
// is complete, so a failure leaves no half-written file (and an older file at `path` as it was).
// Throws WorkbookError.
void write(const QString &path, const QList<LogEntry> &visits);
} // namespace LogWorkbook

} // namespace quillora
