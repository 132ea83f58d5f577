// The PostgreSQL engine over the local socket at the generated 1x data (10,000 drugs, 50,000
// patients, 200,000 visits): the drug-code search, the catalogue list in pinyin order, the
// patient search, a visit save and a year's outpatient log, the statements alone (no key
// indexes), and the patient search from the key index a room keeps in memory. The server flushes every commit, as a real one does. The year's log is also
// read from the 1x file, for comparison.
#include "scale_data.h"

#include "data/data_files.h"
#include "data/database.h"
#include "data/drug_store.h"
#include "data/key_indexes.h"
#include "data/patient_store.h"
#include "data/visit_store.h"
#include "support/pg_cluster.h"

#include <QDate>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace quillora;

namespace {

struct ServerStores
{
    std::unique_ptr<test::PgCluster> cluster;
    std::unique_ptr<DataFiles> files;
    QString failure;
};

void fillNew(const QString &conninfo, void (*fill)(Database &))
{
    Database db;
    db.openServer(conninfo);
    Transaction transaction(db);
    fill(db);
    transaction.commit();
}

ServerStores makeServerStores()
{
    ServerStores stores;
    stores.cluster = test::PgCluster::startDurable(stores.failure);
    if (!stores.cluster)
        return stores;
    QElapsedTimer timer;
    timer.start();
    const QString archive = stores.cluster->conninfo(stores.cluster->createDatabase());
    const QString settings = stores.cluster->conninfo(stores.cluster->createDatabase());
    fillNew(archive, fillArchive);
    fillNew(settings, fillSettings);
    stores.files = std::make_unique<DataFiles>(QString());
    stores.files->useServer(archive, settings);
    stores.files->open();
    bench::fillScaledStores(stores.files->settings(), stores.files->archive(), bench::Scale{1}, QDate::currentDate());
    stores.files->settings().exec(QStringLiteral("ANALYZE"));
    stores.files->archive().exec(QStringLiteral("ANALYZE"));
    std::fprintf(stderr, "the 1x server stores were filled in %.1f s\n", timer.elapsed() / 1000.0);
    return stores;
}

DataFiles *server(benchmark::State &state)
{
    static ServerStores stores = makeServerStores();
    if (!stores.files) {
        state.SkipWithError(("no PostgreSQL server: " + stores.failure).toStdString().c_str());
        return nullptr;
    }
    stores.files->settings().keyIndexes().setUsed(false);
    stores.files->archive().keyIndexes().setUsed(false);
    return stores.files.get();
}

void BM_ServerDrugCode(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    const QStringList typed{QStringLiteral("a"), QStringLiteral("am"), QStringLiteral("amx"), QStringLiteral("amxl"), QStringLiteral("zzqqx")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(DrugStore(files->settings()).searchByCode(typed[i++ % typed.size()]));
}
BENCHMARK(BM_ServerDrugCode)->Unit(benchmark::kMicrosecond);

// A whole category in pinyin order: every name's sort key made by the server.
void BM_ServerDrugCategory(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(DrugStore(files->settings()).byCategory(QStringLiteral("西药")));
}
BENCHMARK(BM_ServerDrugCategory)->Unit(benchmark::kMillisecond);

void BM_ServerPatientName(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    const QStringList typed{QStringLiteral("王"), QStringLiteral("王伟"), QStringLiteral("zw"), QStringLiteral("qqxxzz"), QStringLiteral("鑫鑫鑫")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PatientStore(files->archive()).pickList(typed[i++ % typed.size()], 2026));
}
BENCHMARK(BM_ServerPatientName)->Unit(benchmark::kMicrosecond);

// The patient search as a room runs it: from the key index in memory, after taking the
// rows the server announced since the last search (none here: the cost is the look).
void BM_ServerPatientNameIndexed(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    KeyIndexes &indexes = files->archive().keyIndexes();
    if (!indexes.isLoaded())
        indexes.loadNow();
    indexes.setUsed(true);
    const QStringList typed{QStringLiteral("王"), QStringLiteral("王伟"), QStringLiteral("zw"), QStringLiteral("qqxxzz"), QStringLiteral("鑫鑫鑫")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PatientStore(files->archive()).pickList(typed[i++ % typed.size()], 2026));
    indexes.setUsed(false);
}
BENCHMARK(BM_ServerPatientNameIndexed)->Unit(benchmark::kMicrosecond);

// A room's start on the server: every key index of both stores read into memory (the
// statements answer the searches meanwhile).
void BM_ServerKeyIndexLoad(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    for (auto _ : state) {
        files->settings().keyIndexes().loadNow();
        files->archive().keyIndexes().loadNow();
    }
}
BENCHMARK(BM_ServerKeyIndexLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

// A new visit with a new patient, committed, then taken out again so the stores stay as filled.
void BM_ServerSave(benchmark::State &state)
{
    DataFiles *files = server(state);
    if (!files)
        return;
    int i = 0;
    for (auto _ : state) {
        const VisitRecord visit = bench::benchmarkVisit(i);
        VisitStore(files->archive()).save(visit, 2026);
        state.PauseTiming();
        bench::takeOutBenchmarkVisit(files->archive(), visit);
        ++i;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ServerSave)->Unit(benchmark::kMillisecond)->Iterations(40);

void yearLog(benchmark::State &state, Database &archive)
{
    const QDate today = QDate::currentDate();
    qsizetype rows = 0;
    for (auto _ : state)
        rows = VisitStore(archive).logRange(today.addYears(-1), today).size();
    state.counters["rows"] = double(rows);
}

void BM_ServerYearLog(benchmark::State &state)
{
    if (DataFiles *files = server(state))
        yearLog(state, files->archive());
}
BENCHMARK(BM_ServerYearLog)->Unit(benchmark::kMillisecond);

void BM_FileYearLog(benchmark::State &state)
{
    static DataFiles files(bench::scaleProgramFolder(bench::Scale{1}) + QStringLiteral("/档案数据库"));
    if (!files.isOpen())
        files.open();
    yearLog(state, files.archive());
}
BENCHMARK(BM_FileYearLog)->Unit(benchmark::kMillisecond);

} // namespace
