#include "bench_support.h"
#include "data/settings_columns.h"
#include "data/settings_record.h"
#include "printing/recording_printer.h"
#include "settings/calibration_page.h"
#include "settings/settings_save.h"

#include <benchmark/benchmark.h>

using namespace quillora;

namespace {

bench::BenchFolder &settingsData()
{
    static bench::BenchFolder data;
    return data;
}

SettingsValues calibrationSettings()
{
    SettingsValues v = SettingsValues::builtIn();
    v.overlayLeft = v.overlayTop = QStringLiteral("0");
    for (int i = 0; i < kOverlayItemCount; ++i) {
        const OverlayItemDefault &d = overlayItemDefaults()[i];
        v.overlay[i] = {d.caption, true, QString::number(d.left), QString::number(d.top)};
    }
    return v;
}

} // namespace

// The first print or new visit after a save reads the whole row into the record.
static void BM_SettingsRecordLoad(benchmark::State &state)
{
    SettingsRecord record(settingsData().files->settings());
    for (auto _ : state) {
        record.discard();
        benchmark::DoNotOptimize(record.values().institution);
    }
}
BENCHMARK(BM_SettingsRecordLoad)->Unit(benchmark::kMicrosecond);

// "保  存": the length checks and every column written in one transaction, synced to disk.
static void BM_SettingsSave(benchmark::State &state)
{
    SettingsRecord record(settingsData().files->settings());
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        record.values().doctor = QStringLiteral("医生%1").arg(++n % 100);
        state.ResumeTiming();
        if (!SettingsSave::save(record).isEmpty())
            state.SkipWithError("save refused");
    }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond);

static void BM_CalibrationPageRecording(benchmark::State &state)
{
    const SettingsValues settings = calibrationSettings();
    RecordingPrinter printer;
    for (auto _ : state) {
        printer.clear();
        printCalibrationPage(printer, settings);
        benchmark::DoNotOptimize(printer.events().size());
    }
}
BENCHMARK(BM_CalibrationPageRecording)->Unit(benchmark::kMicrosecond);

static void BM_CalibrationPagePdf(benchmark::State &state)
{
    if (!bench::ensureGuiApplication()) {
        state.SkipWithError("no GUI application");
        return;
    }
    const SettingsValues settings = calibrationSettings();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = bench::pdfSize([&](Printer &printer) { printCalibrationPage(printer, settings); });
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_CalibrationPagePdf)->Unit(benchmark::kMillisecond);
