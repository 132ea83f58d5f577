// The keystroke lookups, the browse lists and a save on generated 1x and 10x archives
// (10,000 drugs / 50,000 patients / 200,000 visits, and ten times that).
#include "scale_data.h"

#include "data/data_files.h"
#include "data/database.h"
#include "data/drug_store.h"
#include "data/key_indexes.h"
#include "data/order_set_store.h"
#include "data/patient_store.h"
#include "data/visit_store.h"
#include "dictionaries/name_list_store.h"

#include <QDate>
#include <QElapsedTimer>
#include <cstdio>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace quillora;

namespace {

DataFiles &openScaled(int factor)
{
    static std::map<int, std::unique_ptr<DataFiles>> open;
    auto &files = open[factor];
    if (!files) {
        files = std::make_unique<DataFiles>(bench::scaleProgramFolder(bench::Scale{factor}) + QStringLiteral("/档案数据库"));
        QElapsedTimer timer;
        timer.start();
        files->open();  // the first open after an upgrade also builds the archive's new indexes
        std::fprintf(stderr, "the %dx archive opened in %lld ms\n", factor, qint64(timer.elapsed()));
        timer.restart();
        files->settings().keyIndexes().loadNow();
        files->archive().keyIndexes().loadNow();
        std::fprintf(stderr, "key indexes of the %dx archive read in %lld ms\n", factor, qint64(timer.elapsed()));
    }
    return *files;
}

// The second argument chooses the key indexes (1) or the statements alone (0).
DataFiles &scaled(const benchmark::State &state)
{
    DataFiles &files = openScaled(int(state.range(0)));
    files.settings().keyIndexes().setUsed(state.range(1) != 0);
    files.archive().keyIndexes().setUsed(state.range(1) != 0);
    return files;
}

void BM_ScaleDrugCode(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("a"), QStringLiteral("am"), QStringLiteral("amx"), QStringLiteral("amxl"), QStringLiteral("zzqqx")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(DrugStore(files.settings()).searchByCode(typed[i++ % typed.size()]));
}
BENCHMARK(BM_ScaleDrugCode)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

// The catalogue list the main window shows when it opens (the first category button).
void BM_ScaleDrugCategory(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(DrugStore(files.settings()).byCategory(QStringLiteral("西药")));
}
BENCHMARK(BM_ScaleDrugCategory)->Args({1, 0})->Args({10, 0})->Unit(benchmark::kMillisecond);

void BM_ScaleHerbCode(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("g"), QStringLiteral("gc"), QStringLiteral("zzq")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(DrugStore(files.settings()).searchByCode(typed[i++ % typed.size()], QStringLiteral("中药"), 200));
}
BENCHMARK(BM_ScaleHerbCode)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

void BM_ScalePatientName(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("王"), QStringLiteral("王伟"), QStringLiteral("zw"), QStringLiteral("qqxxzz"), QStringLiteral("鑫鑫鑫")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PatientStore(files.archive()).pickList(typed[i++ % typed.size()], 2026));
}
BENCHMARK(BM_ScalePatientName)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

void BM_ScaleDiagnosisKey(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("g"), QStringLiteral("急性"), QStringLiteral("zzq")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(NameListStore::diagnoses(files.settings()).searchByKey(typed[i++ % typed.size()]));
}
BENCHMARK(BM_ScaleDiagnosisKey)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

void BM_ScaleTemplateKey(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("j"), QStringLiteral("ks"), QStringLiteral("zzq")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryTemplateStore(files.settings()).searchByKey(typed[i++ % typed.size()]));
}
BENCHMARK(BM_ScaleTemplateKey)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

void BM_ScaleOrderSetCode(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QStringList typed{QStringLiteral("j"), QStringLiteral("ks"), QStringLiteral("zzq")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderSetStore(files.settings()).searchByCode(typed[i++ % typed.size()], kOrderSetKind));
}
BENCHMARK(BM_ScaleOrderSetCode)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMicrosecond);

void BM_ScaleTodaysVisits(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QDate today = QDate::currentDate();
    for (auto _ : state)
        benchmark::DoNotOptimize(VisitStore(files.archive()).list(QString(), today, today));
}
BENCHMARK(BM_ScaleTodaysVisits)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMillisecond);

void BM_ScaleLastMonth(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QDate today = QDate::currentDate();
    for (auto _ : state)
        benchmark::DoNotOptimize(VisitStore(files.archive()).list(QString(), today.addMonths(-1), today));
}
BENCHMARK(BM_ScaleLastMonth)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMillisecond);

// What the visit browser reads when it opens on the last month: its first page.
void BM_ScaleLastMonthFirstPage(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QDate today = QDate::currentDate();
    for (auto _ : state)
        benchmark::DoNotOptimize(VisitStore(files.archive()).listPage(QString(), today.addMonths(-1), today, nullptr, 200));
}
BENCHMARK(BM_ScaleLastMonthFirstPage)->Args({1, 0})->Args({10, 0})->Unit(benchmark::kMillisecond);

void BM_ScaleTenYearName(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    const QDate today = QDate::currentDate();
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(VisitStore(files.archive()).list(bench::generatedPatientName(i++ * 7919), today.addYears(-10), today));
}
BENCHMARK(BM_ScaleTenYearName)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMillisecond);

// A new visit with a new patient, saved durably, then taken out again so the archive stays as generated.
void BM_ScaleSave(benchmark::State &state)
{
    DataFiles &files = scaled(state);
    int i = 0;
    for (auto _ : state) {
        const VisitRecord visit = bench::benchmarkVisit(i);
        VisitStore(files.archive()).save(visit, 2026);
        state.PauseTiming();
        bench::takeOutBenchmarkVisit(files.archive(), visit);
        ++i;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScaleSave)->Args({1, 0})->Args({1, 1})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
