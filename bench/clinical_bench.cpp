#include "clinical/rule_tables.h"
#include "clinical/safety_checks.h"

#include <benchmark/benchmark.h>

using namespace quillora;

namespace {

// A full western sheet of 24 lines: eight groups of a drug, its usage and an empty line.
QString westernBody()
{
    const char *drugs[] = {"阿莫西林胶囊 0.25g×24粒", "头孢克肟分散片 0.1g×6片", "左氧氟沙星片 0.1g×10片",
                           "复方磺胺甲噁唑片 0.48g×100片", "布洛芬缓释胶囊 0.3g×20粒", "维生素C片 0.1g×100片",
                           "注射用头孢曲松钠 1.0g", "0.9%氯化钠注射液 250ml"};
    QString body;
    for (const char *drug : drugs)
        body += QString::fromUtf8(drug) + QStringLiteral("\r\n    用法：0.5g 口服  每日3次\r\n\r\n");
    return body;
}

// A TCM sheet of 24 lines: twelve rows of three herb cells with their doses, each after an empty line.
QString herbBody()
{
    const char *herbs[] = {"黄芪", "党参", "白术", "茯苓", "炙甘草", "当归", "川芎", "白芍", "熟地黄", "陈皮", "法半夏", "柴胡",
                           "黄芩", "桂枝", "干姜", "大枣", "附子", "细辛", "麻黄", "杏仁", "石膏", "知母", "桔梗", "枳壳",
                           "厚朴", "木香", "砂仁", "丹参", "郁金", "丁香", "山药", "泽泻", "牡丹皮", "山茱萸", "五味子", "麦冬"};
    QString body;
    for (int row = 0; row < 12; ++row) {
        for (int cell = 0; cell < 3; ++cell)
            body += QString::fromUtf8(herbs[row * 3 + cell]).append(QStringLiteral("10g")).leftJustified(8, QLatin1Char(' '));
        body += QStringLiteral("\r\n\r\n");
    }
    return body;
}

void allChecks(benchmark::State &state, const SheetFacts &sheet)
{
    const RuleTables &tables = RuleTables::standard();
    for (auto _ : state) {
        const QList<SafetyWarning> warnings = sheetWarnings(sheet, kAllChecksOn, tables);
        benchmark::DoNotOptimize(warnings);
    }
}

void BM_AllChecksWestern24Lines(benchmark::State &state)
{
    allChecks(state, {QStringLiteral("普通"), QString(), QStringLiteral("青霉素、磺胺，布洛芬过敏；庆大霉素"), westernBody()});
}
BENCHMARK(BM_AllChecksWestern24Lines)->Unit(benchmark::kMicrosecond);

void BM_AllChecksHerb24Lines(benchmark::State &state)
{
    allChecks(state, {QStringLiteral("中医"), QStringLiteral("45岁"), QStringLiteral("青霉素、人参"), herbBody()});
}
BENCHMARK(BM_AllChecksHerb24Lines)->Unit(benchmark::kMicrosecond);

} // namespace
