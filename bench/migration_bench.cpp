// Moving a clinic onto a server: the generated 1x files (10,000 drugs, 50,000 patients, 200,000
// visits), and an archive of their first 10,000 visits beside the same settings, copied into a
// fresh database of a server that flushes every commit, then read back and checked table by
// table. Each iteration migrates into a new empty database.
#include "scale_data.h"

#include "data/data_files.h"
#include "data/server_migration.h"
#include "support/pg_cluster.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace quillora;

namespace {

struct MigrationSetup
{
    std::unique_ptr<test::PgCluster> cluster;
    std::unique_ptr<DataFiles> files;
    std::unique_ptr<QTemporaryDir> smallFolder;
    std::unique_ptr<Database> smallArchive;  // the first 10,000 visits of the 1x archive
    QString failure;
};

std::unique_ptr<Database> firstVisitsOf(Database &archive, int count, const QString &path)
{
    createArchiveFile(path);
    auto small = std::make_unique<Database>();
    small->open(path, kArchiveKey);
    const QStringList columns = archive.columnsOf(QStringLiteral("档案"));
    QStringList quoted, marks;
    for (const QString &c : columns) {
        quoted << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    Transaction transaction(*small);
    Statement read(archive, QStringLiteral("SELECT %1 FROM [档案] ORDER BY rowid LIMIT %2").arg(quoted.join(','), QString::number(count)));
    Statement write(*small, QStringLiteral("INSERT INTO [档案] (%1) VALUES (%2)").arg(quoted.join(','), marks.join(',')));
    while (read.next()) {
        write.reset();
        for (int c = 0; c < columns.size(); ++c)
            write.bindValue(c + 1, read.value(c));
        write.run();
    }
    transaction.commit();
    return small;
}

MigrationSetup &setup()
{
    static MigrationSetup s = [] {
        MigrationSetup made;
        made.cluster = test::PgCluster::startDurable(made.failure);
        made.files = std::make_unique<DataFiles>(bench::scaleProgramFolder(bench::Scale{1}) + QStringLiteral("/档案数据库"));
        made.files->open();
        made.smallFolder = std::make_unique<QTemporaryDir>();
        made.smallArchive = firstVisitsOf(made.files->archive(), 10000, made.smallFolder->filePath(kArchiveFileName));
        return made;
    }();
    return s;
}

void migrate(benchmark::State &state, Database &archive)
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
        const MigrationResult result = migrateToServer(archive, s.files->settings(), s.cluster->conninfo(database),
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

void BM_MigrateOneX(benchmark::State &state) { migrate(state, setup().files->archive()); }
BENCHMARK(BM_MigrateOneX)->Unit(benchmark::kSecond)->Iterations(2);

void BM_MigrateTenThousandVisits(benchmark::State &state) { migrate(state, *setup().smallArchive); }
BENCHMARK(BM_MigrateTenThousandVisits)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
