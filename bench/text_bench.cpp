#include "text/display_width.h"
#include "text/pinyin.h"

#include <benchmark/benchmark.h>

using namespace quillora;

// Runs on every keystroke in a name box.
static void BM_PinyinCodeName(benchmark::State &state)
{
    const QString name = QStringLiteral("复方甘草口服溶液10ml");
    benchmark::DoNotOptimize(pinyinCode(name)); // table built outside the timing
    for (auto _ : state)
        benchmark::DoNotOptimize(pinyinCode(name));
}
BENCHMARK(BM_PinyinCodeName);

static void BM_PinyinCodeTenIdeographs(benchmark::State &state)
{
    const QString name = QStringLiteral("阿莫西林克拉维酸钾片");
    benchmark::DoNotOptimize(pinyinCode(name));
    for (auto _ : state)
        benchmark::DoNotOptimize(pinyinCode(name));
}
BENCHMARK(BM_PinyinCodeTenIdeographs);

static void BM_PinyinInitial(benchmark::State &state)
{
    const QChar c(u'阿');
    for (auto _ : state)
        benchmark::DoNotOptimize(pinyinInitial(c));
}
BENCHMARK(BM_PinyinInitial);

static void BM_DisplayColumnsLine(benchmark::State &state)
{
    const QString line = QStringLiteral("阿莫西林胶囊 0.25g×24粒    用法：0.5g 口服 每日3次 饭后服用");
    for (auto _ : state)
        benchmark::DoNotOptimize(displayColumns(line));
}
BENCHMARK(BM_DisplayColumnsLine);
