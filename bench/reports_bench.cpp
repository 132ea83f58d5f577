#include "bench_support.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/visit_store.h"
#include "printing/recording_printer.h"
#include "reports/log_book_print.h"
#include "reports/log_workbook.h"
#include "reports/outpatient_log.h"
#include "reports/workload.h"

#include <QDate>
#include <QStringListModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillora;

namespace {

// 200,000 visits: a clinic's decade (55 a day) and a busy outpatient department's three years
// (180 a day), each in its own archive, filled once.
struct Archive
{
    bench::BenchFolder folder;
    QDate last;
};

Archive &archiveOf(int perDay)
{
    static std::map<int, std::unique_ptr<Archive>> archives;
    auto &archive = archives[perDay];
    if (archive)
        return *archive;
    archive = std::make_unique<Archive>();
    static const QStringList names{QStringLiteral("张三"), QStringLiteral("李秀英"), QStringLiteral("欧阳建国"), QStringLiteral("王小明")};
    static const QStringList diagnoses{QStringLiteral("上呼吸道感染"), QStringLiteral("高血压病 脑供血不足"), QStringLiteral("急性胃肠炎"),
                                       QStringLiteral("慢性支气管炎急性发作")};
    Database &db = archive->folder.files->archive();
    Transaction t(db);
    Statement insert(db, QStringLiteral("INSERT INTO [档案] ([0], [1], [2], [6], [8], [9], [13], [14], T1, [名称]) "
                                        "VALUES (?,?,?,?,?,?,?,?,?,?)"));
    const QDate first(2017, 1, 1);
    for (int n = 0; n < 200000; ++n) {
        const QDate day = first.addDays(n / perDay);
        archive->last = day;
        insert.bind(1, names[n % names.size()] + QString::number(n % 997))
            .bind(2, n % 2 ? QStringLiteral("男") : QStringLiteral("女"))
            .bind(3, QString::number(n % 90) + QStringLiteral("岁"))
            .bind(4, QStringLiteral("东风村%1组 138%2").arg(n % 12).arg(n, 8, 10, QLatin1Char('0')))
            .bind(5, diagnoses[n % diagnoses.size()])
            .bind(6, dateText(day))
            .bind(7, QString::number(10 + n % 90) + QStringLiteral(".50"))
            .bind(8, n % 3 ? QStringLiteral("5") : QString())
            .bind(9, QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n"))
            .bind(10, QStringLiteral("%1 %2").arg(dateText(day)).arg(n));
        insert.run();
        insert.reset();
    }
    t.commit();
    return *archive;
}

QFont windowFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    return font;
}

// "查  询" over the last year: the statement, the list lines, the list's model filled in one go.
void BM_LogQueryOneYear(benchmark::State &state)
{
    if (!bench::ensureGuiApplication()) {
        state.SkipWithError("no GUI application");
        return;
    }
    Archive &archive = archiveOf(int(state.range(0)));
    VisitStore store(archive.folder.files->archive());
    QStringListModel model;
    qsizetype rows = 0;
    for (auto _ : state) {
        const QList<LogEntry> visits = store.logRange(archive.last.addYears(-1), archive.last);
        model.setStringList(OutpatientLog::listLines(visits, windowFont()));
        rows = visits.size();
    }
    state.counters["visits"] = double(rows);
}
BENCHMARK(BM_LogQueryOneYear)->Arg(55)->Arg(180)->Unit(benchmark::kMillisecond);

void BM_WorkloadOneYear(benchmark::State &state)
{
    Archive &archive = archiveOf(int(state.range(0)));
    VisitStore store(archive.folder.files->archive());
    for (auto _ : state) {
        QString text = workloadText(sumWorkload(store.feesInRange(archive.last.addYears(-1), archive.last)));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WorkloadOneYear)->Arg(55)->Arg(180)->Unit(benchmark::kMillisecond);

QList<LogEntry> logEntries(int count)
{
    QList<LogEntry> visits;
    for (int i = 0; i < count; ++i)
        visits << LogEntry{QStringLiteral("欧阳建国%1").arg(i), QStringLiteral("男"), QStringLiteral("35岁"),
                           QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病"), QStringLiteral("东风村一组 13800000000"),
                           QStringLiteral("2026-12-08")};
    return visits;
}

void BM_ExportTenThousandRows(benchmark::State &state)
{
    const QList<LogEntry> visits = logEntries(10000);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("门诊日志.xlsx"));
    for (auto _ : state)
        LogWorkbook::write(path, visits);
}
BENCHMARK(BM_ExportTenThousandRows)->Unit(benchmark::kMillisecond);

void BM_ComposeFiftyLogPages(benchmark::State &state)
{
    const QList<LogEntry> visits = logEntries(50 * LogBook::kRowsPerPage);
    RecordingPrinter printer;
    for (auto _ : state) {
        printer.clear();
        printLogBook(printer, visits, {QStringLiteral("25"), QStringLiteral("15"), QStringLiteral("王建国")});
    }
}
BENCHMARK(BM_ComposeFiftyLogPages)->Unit(benchmark::kMillisecond);

} // namespace
