#include "reports/log_workbook.h"
#include "support/workbook_reader.h"
#include "text/display_width.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace quillora;
using namespace quillora::test;

namespace {

LogEntry entry(const QString &name, const QString &diagnosis, const QString &date)
{
    return LogEntry{name, QStringLiteral("男"), QStringLiteral("35岁"), diagnosis, QStringLiteral("东风村一组"), date};
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

TEST(LogWorkbookName, XlsxAddedOrPutInPlaceOfXls)
{
    const struct { const char *chosen, *written; } cases[] = {
        {"/tmp/门诊日志", "/tmp/门诊日志.xlsx"}, {"/tmp/a.xlsx", "/tmp/a.xlsx"}, {"/tmp/a.XLSX", "/tmp/a.XLSX"},
        {"/tmp/a.xls", "/tmp/a.xlsx"}, {"/tmp/日志.2016", "/tmp/日志.2016.xlsx"}, {"/tmp/a.txt", "/tmp/a.txt.xlsx"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LogWorkbook::fileName(QString::fromUtf8(c.chosen)), QString::fromUtf8(c.written)) << c.chosen;
}

TEST(LogWorkbook, HeaderRowBoldEveryVisitInOrderTextsIntact)
{
    if (!canReadWorkbook())
        GTEST_SKIP() << "unzip is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("日志.xlsx"));
    const QString longDiagnosis = QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病 慢性支气管炎急性发作期 腰椎间盘突出");
    const QList<LogEntry> visits{
        entry(QStringLiteral("O'Neil"), QStringLiteral("\"引号\" & <尖括号>"), QStringLiteral("2016-01-03")),
        entry(QStringLiteral("张@三"), longDiagnosis, QStringLiteral("2016-01-03")),
        entry(QStringLiteral("=1+1"), QStringLiteral("  前后空格  "), QStringLiteral("2016-01-04")),
        LogEntry{QStringLiteral("李四"), QString(), QStringLiteral("007"), QString(), QString(), QStringLiteral("2016-01-05")},
    };
    LogWorkbook::write(path, visits);

    const WorkbookContent book = readWorkbook(path);
    ASSERT_EQ(book.rows.size(), 5);
    EXPECT_EQ(book.rows[0], (QStringList{QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("年龄"), QStringLiteral("诊断"),
                                         QStringLiteral("地址（电话）"), QStringLiteral("就诊日期")}));
    EXPECT_TRUE(book.boldRows[0]);
    for (int i = 0; i < visits.size(); ++i) {
        const LogEntry &v = visits[i];
        QStringList expected{v.name, v.sex, v.age, v.diagnosis, v.address, v.date};
        while (!expected.isEmpty() && expected.last().isEmpty())
            expected.removeLast();
        QStringList row = book.rows[i + 1];
        while (row.size() < expected.size())
            row << QString();
        EXPECT_EQ(row, expected) << "row " << i + 2;
        EXPECT_FALSE(book.boldRows[i + 1]);
    }
    // Every column is at least as wide as its longest text counts.
    for (int c = 0; c < LogWorkbook::kColumns; ++c) {
        int longest = 0;
        for (const QStringList &row : book.rows)
            longest = std::max(longest, displayColumns(row.value(c)));
        EXPECT_GE(book.columnWidths.value(c), longest) << "column " << c;
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("日志.xlsx")}) << "no working file left beside it";
}

TEST(LogWorkbook, AFileThatCannotBeWrittenSaysWhyAndLeavesNothing)
{
    QTemporaryDir dir;
    const QList<LogEntry> visits{entry(QStringLiteral("张三"), QStringLiteral("感冒"), QStringLiteral("2016-01-03"))};
    QFile blocker(dir.filePath(QStringLiteral("一个文件")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QDir(dir.path()).mkdir(QStringLiteral("同名文件夹.xlsx"));

    const struct { QString path; QString reason; } cases[] = {
        {dir.filePath(QStringLiteral("没有的文件夹/日志.xlsx")), QStringLiteral("文件夹不存在")},
        {dir.filePath(QStringLiteral("一个文件/日志.xlsx")), QStringLiteral("文件夹不存在")},
        {dir.filePath(QStringLiteral("同名文件夹.xlsx")), QStringLiteral("已有同名的文件夹")},
    };
    for (const auto &c : cases) {
        try {
            LogWorkbook::write(c.path, visits);
            ADD_FAILURE() << "written: " << c.path.toStdString();
        } catch (const WorkbookError &error) {
            EXPECT_EQ(error.reason(), c.reason) << c.path.toStdString();
        }
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("一个文件")});
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("同名文件夹.xlsx"))).isEmpty());

    // A folder the user may not write to (root may write anywhere, so only as a user).
    if (::geteuid() != 0) {
        QDir(dir.path()).mkdir(QStringLiteral("只读"));
        QFile::setPermissions(dir.filePath(QStringLiteral("只读")), QFile::ReadOwner | QFile::ExeOwner);
        try {
            LogWorkbook::write(dir.filePath(QStringLiteral("只读/日志.xlsx")), visits);
            ADD_FAILURE() << "written into a read-only folder";
        } catch (const WorkbookError &error) {
            EXPECT_EQ(error.reason(), QStringLiteral("没有写入该位置的权限"));
        }
        EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("只读"))).isEmpty());
    }
}

TEST(LogWorkbook, AWriteThatFailsHalfwayKeepsTheOlderFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("日志.xlsx"));
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older workbook");
    older.close();
    QList<LogEntry> visits;
    for (int i = 0; i < 2000; ++i)
        visits << entry(QStringLiteral("张三%1").arg(i), QStringLiteral("感冒"), QStringLiteral("2016-01-03"));

    // The disk fills up after a few kilobytes: the workbook fails after its file was begun.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString reason;
    try {
        LogWorkbook::write(path, visits);
    } catch (const WorkbookError &error) {
        reason = error.reason();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(reason, QStringLiteral("文件超出了允许的大小"));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("older workbook"));
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("日志.xlsx")});
}

} // namespace
