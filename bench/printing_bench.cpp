#include "bench_support.h"
#include "data/settings_columns.h"
#include "data/settings_record.h"
#include "printing/history_card_print.h"
#include "printing/infusion_card_print.h"
#include "printing/injection_card_print.h"
#include "printing/overlay_print.h"
#include "printing/recording_printer.h"
#include "printing/sheet_print.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>

using namespace quillora;

namespace {

// One visit's worth of every document, with the settings of a new installation.
struct Documents
{
    QTemporaryDir dir;
    QString scratch = dir.filePath(QStringLiteral("print.txt"));
    SettingsValues settings;
    SheetContent sheet;
    InjectionCardContent injection;
    InfusionCardContent infusion;
    HistoryCardContent history;

    Documents()
    {
        settings.sheetLeft = settings.sheetTop = settings.cardLeft = settings.cardTop = QStringLiteral("10");
        settings.portrait = true;
        settings.font = QStringLiteral("宋体");
        settings.size = QStringLiteral("12");
        for (int i = 0; i < kOverlayItemCount; ++i) {
            const OverlayItemDefault &d = overlayItemDefaults()[i];
            settings.overlay[i] = {d.caption, true, QString::number(d.left), QString::number(d.top)};
        }
        VisitRecord visit;
        visit.title = QStringLiteral("普通处方笺");
        visit.kind = QStringLiteral("普通");
        const QStringList header{QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("自费"),
                                 QStringLiteral("20261208093000"), QStringLiteral("内科"), QStringLiteral("青山镇 13800000000"),
                                 QString(), QStringLiteral("上呼吸道感染"), QStringLiteral("2026-12-08"), QStringLiteral("王建国"),
                                 QStringLiteral("李秀英"), QStringLiteral("张明"), QStringLiteral("36.50"), QStringLiteral("5.00"),
                                 QStringLiteral("青霉素"), QString()};
        for (int i = 0; i < kHeaderFieldCount; ++i)
            visit.header[i] = header[i];
        QStringList body;
        for (int i = 0; i < 8; ++i)
            body << QStringLiteral("阿莫西林胶囊 0.25g×24粒") << QStringLiteral("    用法：0.5g 口服  每日3次") << QString();
        visit.body = body.join(QStringLiteral("\r\n"));
        sheet = sheetContentFor(visit, QStringLiteral("青山镇中心卫生院"));

        injection.boxes = {visit.header[0], visit.header[1], visit.header[2], visit.header[9], visit.header[10]};
        injection.usage = QStringLiteral("0.9%氯化钠注射液 250ml\r\n注射用头孢曲松钠 2g\r\n    用法：静脉滴注 每日1次\r\n");

        infusion.institution = QStringLiteral("青山镇中心卫生院");
        for (int i = 0; i < 6; ++i)
            infusion.header[i] = visit.header[i];
        for (int row = 0; row < 14; ++row) {
            infusion.names[row] = QStringLiteral("0.9%氯化钠注射液 250ml");
            infusion.speeds[row] = QStringLiteral("60滴/分");
            infusion.times[row] = QStringLiteral("09:30");
            infusion.nurses[row] = QStringLiteral("李护士");
        }

        history.institution = infusion.institution;
        history.fields = {visit.header[0], visit.header[1], visit.header[2], visit.header[9], visit.header[6], visit.header[10]};
        history.historyLines = {QStringLiteral("咳嗽三天，伴低热，无胸痛。"), QStringLiteral("查体：咽部充血，双肺呼吸音清。")};
        history.body = visit.body;
    }

    void sheetOn(Printer &p) const { printSheet(p, sheet, settings, scratch); }
    void overlayOn(Printer &p) const { printOverlay(p, sheet.fields, sheet.body, settings, scratch); }
    void injectionOn(Printer &p) const { printInjectionCard(p, injection, settings, scratch); }
    void infusionOn(Printer &p) const { printInfusionCard(p, infusion, CardMargins{}); }
    void historyOn(Printer &p) const { printHistoryCard(p, history, CardMargins{}, scratch); }
};

Documents &documents()
{
    static Documents d;
    return d;
}

using Compose = void (Documents::*)(Printer &) const;

void onRecorder(benchmark::State &state, Compose compose)
{
    if (!bench::ensureGuiApplication()) {
        state.SkipWithError("no GUI application");
        return;
    }
    const Documents &d = documents();
    RecordingPrinter printer;
    for (auto _ : state) {
        printer.clear();
        (d.*compose)(printer);
        benchmark::DoNotOptimize(printer.events().size());
    }
}

// The whole job to PDF in memory: writer, fonts, drawing and the finished file.
void onPdf(benchmark::State &state, Compose compose)
{
    if (!bench::ensureGuiApplication()) {
        state.SkipWithError("no GUI application");
        return;
    }
    const Documents &d = documents();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = bench::pdfSize([&](Printer &printer) { (d.*compose)(printer); });
    state.counters["pdf_bytes"] = double(bytes);
}

} // namespace

static void BM_PrintSheetRecording(benchmark::State &state) { onRecorder(state, &Documents::sheetOn); }
BENCHMARK(BM_PrintSheetRecording)->Unit(benchmark::kMicrosecond);
static void BM_PrintOverlayRecording(benchmark::State &state) { onRecorder(state, &Documents::overlayOn); }
BENCHMARK(BM_PrintOverlayRecording)->Unit(benchmark::kMicrosecond);
static void BM_PrintInjectionCardRecording(benchmark::State &state) { onRecorder(state, &Documents::injectionOn); }
BENCHMARK(BM_PrintInjectionCardRecording)->Unit(benchmark::kMicrosecond);
static void BM_PrintInfusionCardRecording(benchmark::State &state) { onRecorder(state, &Documents::infusionOn); }
BENCHMARK(BM_PrintInfusionCardRecording)->Unit(benchmark::kMicrosecond);
static void BM_PrintHistoryCardRecording(benchmark::State &state) { onRecorder(state, &Documents::historyOn); }
BENCHMARK(BM_PrintHistoryCardRecording)->Unit(benchmark::kMicrosecond);

static void BM_PrintSheetPdf(benchmark::State &state) { onPdf(state, &Documents::sheetOn); }
BENCHMARK(BM_PrintSheetPdf)->Unit(benchmark::kMillisecond);
static void BM_PrintOverlayPdf(benchmark::State &state) { onPdf(state, &Documents::overlayOn); }
BENCHMARK(BM_PrintOverlayPdf)->Unit(benchmark::kMillisecond);
static void BM_PrintInjectionCardPdf(benchmark::State &state) { onPdf(state, &Documents::injectionOn); }
BENCHMARK(BM_PrintInjectionCardPdf)->Unit(benchmark::kMillisecond);
static void BM_PrintInfusionCardPdf(benchmark::State &state) { onPdf(state, &Documents::infusionOn); }
BENCHMARK(BM_PrintInfusionCardPdf)->Unit(benchmark::kMillisecond);
static void BM_PrintHistoryCardPdf(benchmark::State &state) { onPdf(state, &Documents::historyOn); }
BENCHMARK(BM_PrintHistoryCardPdf)->Unit(benchmark::kMillisecond);
