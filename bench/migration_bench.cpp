// Moving a clinic onto a server: the generated 1x files (10,000 drugs, 50,000 patients, 200,000
// visits) copied into a fresh database of a server that flushes every commit, then read back and
// checked table by table. Each iteration migrates into a new empty database.
#include "scale_data.h"

#include "data/data_files.h"
#include "data/server_migration.h"
#include "support/pg_cluster.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace quillora;

namespace {

struct MigrationSetup
{
    std::unique_ptr<test::PgCluster> cluster;
    std::unique_ptr<DataFiles> files;
    QString failure;
};

MigrationSetup &setup()
{
    static MigrationSetup s = [] {
        MigrationSetup made;
        made.cluster = test::PgCluster::startDurable(made.failure);
        made.files = std::make_unique<DataFiles>(bench::scaleProgramFolder(bench::Scale{1}) + QStringLiteral("/档案数据库"));
        made.files->open();
        return made;
    }();
    return s;
}

void BM_MigrateOneX(benchmark::State &state)
{
    MigrationSetup &s = setup();
    if (!s.cluster) {
        state.SkipWithError(("no PostgreSQL server: " + s.failure).toStdString().c_str());
        return;
    }
    qint64 rows = 0;
    QElapsedTimer copying;
    qint64 copyMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = s.cluster->createDatabase();
        state.ResumeTiming();
        copying.start();
        bool checking = false;
        const MigrationResult result = migrateToServer(s.files->archive(), s.files->settings(), s.cluster->conninfo(database),
                                                       [&](const QString &step, qint64, qint64) {
                                                           if (!checking && step.startsWith(QStringLiteral("正在核对"))) {
                                                               checking = true;
                                                               copyMs += copying.elapsed();
                                                           }
                                                       });
        state.PauseTiming();
        if (!result.succeeded())
            state.SkipWithError(migrationReport(result).toStdString().c_str());
        rows = 0;
        for (const MigratedTable &t : result.tables)
            rows += t.fileRows;
        s.cluster->dropDatabase(database);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
    state.counters["copy_ms"] = benchmark::Counter(double(copyMs), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MigrateOneX)->Unit(benchmark::kSecond)->Iterations(2);

} // namespace
