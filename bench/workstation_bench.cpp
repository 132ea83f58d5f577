#include "bench_support.h"
#include "data/data_files.h"
#include "data/database.h"
#include "data/drug_store.h"
#include "text/pinyin.h"
#include "workstation/drug_search.h"
#include "workstation/pricing.h"
#include "clinical/usage_classifier.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace quillora;
using quillora::bench::catalogueName;

namespace {

constexpr int kCatalogueSize = 10000;

Database &workstationSettings()
{
    static bench::BenchFolder folder;
    static const bool filled = (bench::fillDrugCatalogue(folder.files->settings(), kCatalogueSize), true);
    Q_UNUSED(filled);
    return folder.files->settings();
}

QString twoHundredLineBody()
{
    QString body;
    int lines = 0;
    for (int g = 0; lines < 200; ++g) {
        const bool infusion = g % 3 == 0;
        for (int d = 0; d < 3 && lines < 200; ++d, ++lines)
            body += catalogueName(g * 3 + d) + QStringLiteral("\r\n");
        if (lines < 200) {
            body += infusion ? QStringLiteral("    用法：静脉滴注 每日1次\r\n") : QStringLiteral("    用法：0.5g 口服  每日3次\r\n");
            ++lines;
        }
        if (lines < 200) {
            body += QStringLiteral("\r\n");
            ++lines;
        }
    }
    return body;
}

// 24 drug lines spread over the catalogue, each with its usage line; unknown names scan it all.
QString twentyFourDrugBody(bool known)
{
    QString body;
    for (int i = 0; i < 24; ++i) {
        const QString line = known ? catalogueName(i * 397 + 11) : QStringLiteral("未知药%1 1盒").arg(i);
        body += line + QStringLiteral("\r\n    用法：0.5g 口服  每日3次\r\n\r\n");
    }
    return body;
}

void BM_DrugSearchKeystroke(benchmark::State &state)
{
    Database &settings = workstationSettings();
    for (auto _ : state) {
        auto list = pickListForSearch(settings, std::nullopt, QStringLiteral("amxl"));
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_DrugSearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_DrugSearchKeystrokeHerbs(benchmark::State &state)
{
    Database &settings = workstationSettings();
    for (auto _ : state) {
        auto list = pickListForSearch(settings, 12, QStringLiteral("p"));
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_DrugSearchKeystrokeHerbs)->Unit(benchmark::kMillisecond);

void BM_Ssy200Lines(benchmark::State &state)
{
    const QString body = twoHundredLineBody();
    for (auto _ : state) {
        QString card = ssy(body);
        benchmark::DoNotOptimize(card);
    }
}
BENCHMARK(BM_Ssy200Lines)->Unit(benchmark::kMicrosecond);

void BM_PricingWestern24Lines(benchmark::State &state)
{
    DrugStore drugs(workstationSettings());
    const QString body = twentyFourDrugBody(true);
    for (auto _ : state) {
        PriceGrid grid = priceWestern(body, drugs);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_PricingWestern24Lines)->Unit(benchmark::kMillisecond);

void BM_PricingWestern24Unknown(benchmark::State &state)
{
    DrugStore drugs(workstationSettings());
    const QString body = twentyFourDrugBody(false);
    for (auto _ : state) {
        PriceGrid grid = priceWestern(body, drugs);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_PricingWestern24Unknown)->Unit(benchmark::kMillisecond);

void BM_PricingHerbs24(benchmark::State &state)
{
    DrugStore drugs(workstationSettings());
    QString body;
    for (int i = 0; i < 24; ++i)
        body += QStringLiteral("%1 10g  ").arg(i % 2 ? QStringLiteral("当归") : QStringLiteral("川芎"));
    for (auto _ : state) {
        PriceGrid grid = priceHerbs(body, QStringLiteral("3"), drugs);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_PricingHerbs24)->Unit(benchmark::kMillisecond);

void BM_PricingRetotal(benchmark::State &state)
{
    PriceGrid grid;
    for (PriceRow &row : grid.rows) {
        row.quantity = QStringLiteral("3");
        row.price = QStringLiteral("0.335");
    }
    for (auto _ : state) {
        grid.retotal();
        benchmark::DoNotOptimize(grid.total);
    }
}
BENCHMARK(BM_PricingRetotal)->Unit(benchmark::kMicrosecond);

} // namespace
