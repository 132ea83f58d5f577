#include "app/backup_copies.h"
#include "app/backup_restore.h"
#include "app/shutdown_backup.h"
#include "data/database.h"
#include "data/workspace.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillora;

namespace {

// A program folder whose archive holds 20,000 visits (a busy year and more), with the day's
// backup of it made once.
struct BackupBench
{
    QTemporaryDir dir;
    std::unique_ptr<Workspace> workspace;
    BackupCopy copy;

    BackupBench()
    {
        AppPaths paths = AppPaths::locate(dir.path(), dir.filePath(QStringLiteral("quillora")));
        QFile exe(paths.executablePath);
        exe.open(QIODevice::WriteOnly);
        exe.write("#!/bin/sh\n");
        exe.close();
        workspace = std::make_unique<Workspace>(paths);
        workspace->files().createMissing();
        workspace->files().open();
        Database &archive = workspace->archive();
        Transaction t(archive);
        archive.exec(QStringLiteral(
            "INSERT INTO [档案] ([0], [1], [2], [9], [8], T1, C1, C2, [名称]) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "SELECT '病人' || i, '男', (i % 90) || '岁', date('2025-01-01', '+' || (i / 50) || ' days'), '上呼吸道感染', "
            "'阿莫西林胶囊 0.25g×24粒' || char(13, 10) || '    用法：0.5g 口服  每日3次' || char(13, 10), "
            "'普通处方笺', '普通', date('2025-01-01', '+' || (i / 50) || ' days') || ' 08:00:' || i FROM n"));
        t.commit();
        backupNow(*workspace, QDate(2026, 12, 8));
        copy = listBackupCopies(paths.backupRoot).value(0);
    }
};

BackupBench &bench()
{
    static BackupBench data;
    return data;
}

// What the window does for each row in the background: both files opened with their keys,
// every page checked, the visits counted.
void BM_CheckBackupCopy(benchmark::State &state)
{
    const BackupCopy copy = bench().copy;
    for (auto _ : state) {
        const BackupCheck check = checkBackupCopy(copy);
        if (!check.restorable())
            state.SkipWithError("the copy did not pass its check");
    }
    state.counters["MB"] = double(copy.size) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CheckBackupCopy)->Unit(benchmark::kMillisecond);

// The whole restore as the doctor waits for it: connections closed, current files set aside,
// the copy checked where it lands, renamed in place, files opened again.
void BM_RestoreBackupCopy(benchmark::State &state)
{
    BackupBench &data = bench();
    QDateTime moment(QDate(2026, 12, 9), QTime(9, 0));
    for (auto _ : state) {
        const RestoreResult result = restoreBackupCopy(*data.workspace, data.copy, moment);
        state.PauseTiming();
        if (!result.restored)
            state.SkipWithError("the restore failed");
        QDir(result.asideFolder).removeRecursively();
        moment = moment.addSecs(1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RestoreBackupCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
