// The server backup at the generated 1x data (10,000 drugs, 50,000 patients, 200,000 visits)
// in one database, archive and settings side by side, as a clinic's rooms share it: the dump
// the last room takes when it closes (written, listed, renamed), the background check of one
// dump, and the whole restore the doctor waits for (the database set aside in a dump first,
// then replaced in one transaction, the connections opened again). The server flushes every
// commit, as a real one does.
#include "scale_data.h"

#include "app/backup_copies.h"
#include "app/server_backup.h"
#include "app/server_restore.h"
#include "data/data_files.h"
#include "data/database.h"
#include "data/workspace.h"
#include "support/pg_cluster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace quillora;

namespace {

struct ClinicServer
{
    std::unique_ptr<test::PgCluster> cluster;
    QTemporaryDir dir;
    std::unique_ptr<Workspace> workspace;
    BackupCopy dump;
    QString failure;
};

std::unique_ptr<ClinicServer> makeClinicServer()
{
    auto clinic = std::make_unique<ClinicServer>();
    clinic->cluster = test::PgCluster::startDurable(clinic->failure);
    if (!clinic->cluster)
        return clinic;
    QElapsedTimer timer;
    timer.start();
    const QString conninfo = clinic->cluster->conninfo(clinic->cluster->createDatabase());
    clinic->workspace = std::make_unique<Workspace>(AppPaths::locate(clinic->dir.path(), clinic->dir.filePath(QStringLiteral("quillora"))));
    DataFiles &files = clinic->workspace->files();
    files.useServer(conninfo, conninfo);
    files.createMissing();
    files.open();
    bench::fillScaledStores(files.settings(), files.archive(), bench::Scale{1}, QDate::currentDate());
    const QStringList problems = serverBackupNow(*clinic->workspace, QDate(2026, 12, 8));
    if (!problems.isEmpty())
        clinic->failure = problems.join(QLatin1Char(' '));
    clinic->dump = listServerDumps(clinic->workspace->paths().backupRoot).value(0);
    std::fprintf(stderr, "the 1x clinic database was filled and dumped in %.1f s; the dump has %.1f MB\n",
                 timer.elapsed() / 1000.0, double(clinic->dump.size) / (1024.0 * 1024.0));
    return clinic;
}

ClinicServer *clinic(benchmark::State &state)
{
    static const std::unique_ptr<ClinicServer> server = makeClinicServer();
    if (!server->workspace || !server->failure.isEmpty()) {
        state.SkipWithError(("no clinic server: " + server->failure).toStdString().c_str());
        return nullptr;
    }
    return server.get();
}

void BM_ServerDayDump(benchmark::State &state)
{
    ClinicServer *server = clinic(state);
    if (!server)
        return;
    for (auto _ : state) {
        if (!serverBackupNow(*server->workspace, QDate(2026, 12, 9)).isEmpty())
            state.SkipWithError("the dump failed");
    }
}
BENCHMARK(BM_ServerDayDump)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ServerDumpCheck(benchmark::State &state)
{
    ClinicServer *server = clinic(state);
    if (!server)
        return;
    for (auto _ : state) {
        if (!checkBackupCopy(server->dump).restorable())
            state.SkipWithError("the dump did not pass its check");
    }
}
BENCHMARK(BM_ServerDumpCheck)->Unit(benchmark::kMillisecond);

void BM_ServerRestore(benchmark::State &state)
{
    ClinicServer *server = clinic(state);
    if (!server)
        return;
    QDateTime moment(QDate(2026, 12, 9), QTime(9, 0));
    for (auto _ : state) {
        const RestoreResult result = restoreServerDump(*server->workspace, server->dump, moment);
        state.PauseTiming();
        if (!result.restored)
            state.SkipWithError(("the restore failed: " + result.problem).toStdString().c_str());
        QDir(result.asideFolder).removeRecursively();
        moment = moment.addSecs(1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ServerRestore)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
