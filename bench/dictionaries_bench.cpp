#include "bench_support.h"
#include "data/database.h"
#include "dictionaries/drug_catalogue.h"
#include "forms/row_list_model.h"

#include <benchmark/benchmark.h>

using namespace quillora;

namespace {

// A settings file whose catalogue holds 10,000 drugs, made once.
Database &catalogueSettings()
{
    static bench::BenchFolder data;
    static const bool filled = (bench::fillDrugCatalogue(data.files->settings(), 10000), true);
    Q_UNUSED(filled);
    return data.files->settings();
}

// What the catalogue window does to fill its list: the query and one model reset.
void fillList(RowListModel &model, const DrugListFilter &filter)
{
    DrugStore drugs(catalogueSettings());
    model.setRows(listDrugs(drugs, filter));
}

void BM_CatalogueAllViewEmptySearch(benchmark::State &state)
{
    catalogueSettings();
    RowListModel model;
    for (auto _ : state)
        fillList(model, DrugListFilter::button(DrugViews::kSearchView, QString()));
    state.counters["lines"] = model.rowCount();
}
BENCHMARK(BM_CatalogueAllViewEmptySearch)->Unit(benchmark::kMillisecond);

void BM_CatalogueSearchKeystroke(benchmark::State &state)
{
    RowListModel model;
    const QString typed = QString::fromLatin1(state.range(0) ? "amxlp" : "a");
    for (auto _ : state)
        fillList(model, DrugListFilter::button(DrugViews::kSearchView, typed));
    state.counters["lines"] = model.rowCount();
}
BENCHMARK(BM_CatalogueSearchKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CatalogueCategoryButton(benchmark::State &state)
{
    RowListModel model;
    for (auto _ : state)
        fillList(model, DrugListFilter::button(0, QString()));
    state.counters["lines"] = model.rowCount();
}
BENCHMARK(BM_CatalogueCategoryButton)->Unit(benchmark::kMillisecond);

DrugFields sampleFields()
{
    return {QStringLiteral("基准测试片 0.1g×10片"), QStringLiteral("0.1g 口服  每日3次"), QStringLiteral("jzcsp"),
            QStringLiteral("抗生素"), QStringLiteral("2"), QStringLiteral("盒"), QStringLiteral("12.5")};
}

// A new drug written; with argument 1 also the list refilled as the window does after a save
// (its category holds 8,000 of the 10,000 drugs).
void BM_CatalogueSaveNew(benchmark::State &state)
{
    DrugStore drugs(catalogueSettings());
    RowListModel model;
    const DrugRow row = drugRowToSave(sampleFields());
    for (auto _ : state) {
        const qint64 id = drugs.insert(row);
        if (state.range(0))
            fillList(model, DrugListFilter::afterSave(0, QString()));
        state.PauseTiming();
        drugs.remove(id);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CatalogueSaveNew)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CatalogueSaveChanged(benchmark::State &state)
{
    DrugStore drugs(catalogueSettings());
    DrugRow row = drugRowToSave(sampleFields());
    row.rowId = drugs.insert(row);
    int n = 0;
    for (auto _ : state) {
        row.price = 10 + (++n % 7);
        drugs.update(row);
    }
    drugs.remove(row.rowId);
}
BENCHMARK(BM_CatalogueSaveChanged)->Unit(benchmark::kMillisecond);

// A delete; with argument 1 also the refill of the list it was deleted from.
void BM_CatalogueDelete(benchmark::State &state)
{
    DrugStore drugs(catalogueSettings());
    RowListModel model;
    const DrugRow row = drugRowToSave(sampleFields());
    for (auto _ : state) {
        state.PauseTiming();
        const qint64 id = drugs.insert(row);
        state.ResumeTiming();
        drugs.remove(id);
        if (state.range(0))
            fillList(model, DrugListFilter::button(0, QString()));
    }
}
BENCHMARK(BM_CatalogueDelete)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
