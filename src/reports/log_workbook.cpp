#include "reports/log_workbook.h"

#include "base/file_error.h"
#include "text/display_width.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace quillora {

namespace {

constexpr double kMinimumWidth = 8.43;  // the spreadsheet's own default
constexpr double kMaximumWidth = 255;

// The visit's cells in column order.
std::array<const QString *, LogWorkbook::kColumns> cellsOf(const LogEntry &v)
{
    return {&v.name, &v.sex, &v.age, &v.diagnosis, &v.address, &v.date};
}

QString reasonFor(lxw_error error, int errorNumber)
{
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED)
        return QStringLiteral("内存不足");
    if (errorNumber != 0)
        return fileErrorReason(errorNumber);
    return QString::fromUtf8(lxw_strerror(error));
}

// A temporary file beside the target that is removed unless it was put in place.
class TemporaryBeside
{
public:
    explicit TemporaryBeside(const QString &target)
    {
        const QFileInfo info(target);
        m_path = QFile::encodeName(QDir(info.absolutePath()).filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
        const int fd = ::mkstemp(m_path.data());
        if (fd < 0)
            throw WorkbookError(fileErrorReason(errno));
        ::close(fd);
        // mkstemp makes the file private; the workbook gets the permissions of any new file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(m_path.constData(), 0666 & ~mask);
    }
    ~TemporaryBeside()
    {
        if (!m_placed)
            ::unlink(m_path.constData());
    }
    const QByteArray &path() const { return m_path; }

    // Flushes the file to the disk and renames it over the target.
    void place(const QString &target)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        if (fd < 0 || ::fsync(fd) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            throw WorkbookError(fileErrorReason(error));
        }
        ::close(fd);
        if (::rename(m_path.constData(), QFile::encodeName(target).constData()) != 0)
            throw WorkbookError(fileErrorReason(errno));
        m_placed = true;
    }

private:
    QByteArray m_path;
    bool m_placed = false;
};

// The workbook writer's handle, closed once whatever happens.
struct Workbook
{
    lxw_workbook *book = nullptr;
    ~Workbook()
    {
        if (book)
            workbook_close(book);
    }
    lxw_error close()
    {
        errno = 0;
        const lxw_error result = workbook_close(book);
        book = nullptr;
        return result;
    }
};

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw WorkbookError(reasonFor(error, 0));
}

} // namespace

const std::array<QString, LogWorkbook::kColumns> &LogWorkbook::headers()
{
    static const std::array<QString, kColumns> texts{QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("年龄"),
                                                     QStringLiteral("诊断"), QStringLiteral("地址（电话）"), QStringLiteral("就诊日期")};
    return texts;
}

QString LogWorkbook::fileName(const QString &chosen)
{
    if (chosen.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return chosen;
    if (chosen.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        return chosen + QLatin1Char('x');
    return chosen + QStringLiteral(".xlsx");
}

std::array<double, LogWorkbook::kColumns> LogWorkbook::columnWidths(const QList<LogEntry> &visits)
{
    std::array<double, kColumns> widths{};
    for (int c = 0; c < kColumns; ++c)
        widths[c] = displayColumns(headers()[c]) * 1.1;  // bold
    for (const LogEntry &visit : visits) {
        const auto cells = cellsOf(visit);
        for (int c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], double(displayColumns(*cells[c])));
    }
    for (double &w : widths)
        w = std::clamp(w + 2, kMinimumWidth, kMaximumWidth);  // a little room either side
    return widths;
}

void LogWorkbook::write(const QString &path, const QList<LogEntry> &visits)
{
    if (visits.size() >= LXW_ROW_MAX)
        throw WorkbookError(QStringLiteral("记录太多，一个工作表最多容纳%1条，请缩小日期范围").arg(LXW_ROW_MAX - 1));
    TemporaryBeside file(path);
    lxw_workbook_options options{};
    Workbook workbook;
    workbook.book = workbook_new_opt(file.path().constData(), &options);
    if (!workbook.book)
        throw WorkbookError(QStringLiteral("内存不足"));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.book, nullptr);
    lxw_format *bold = workbook_add_format(workbook.book);
    if (!sheet || !bold)
        throw WorkbookError(QStringLiteral("内存不足"));
    format_set_bold(bold);
    format_set_font_size(bold, 11);

    check(worksheet_set_row(sheet, 0, LXW_DEF_ROW_HEIGHT, bold));
    for (int c = 0; c < kColumns; ++c)
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), headers()[c].toUtf8().constData(), bold));
    lxw_row_t row = 1;
    for (const LogEntry &visit : visits) {
        const auto cells = cellsOf(visit);
        for (int c = 0; c < kColumns; ++c) {
            // Every value goes in as text, the date included, exactly as stored.
            if (!cells[c]->isEmpty())
                check(worksheet_write_string(sheet, row, lxw_col_t(c), cells[c]->toUtf8().constData(), nullptr));
        }
        ++row;
    }
    const auto widths = columnWidths(visits);
    for (int c = 0; c < kColumns; ++c)
        check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr));

    const lxw_error closed = workbook.close();
    const int errorNumber = errno;
    if (closed != LXW_NO_ERROR)
        throw WorkbookError(reasonFor(closed, errorNumber));
    file.place(path);
}

} // namespace quillora
