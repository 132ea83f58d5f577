#include "bench_support.h"
#include "data/data_files.h"
#include "data/database.h"
#include "data/drug_store.h"
#include "data/visit_store.h"
#include "dictionaries/name_list_store.h"
#include "data/dictionary_store.h"
#include "data/patient_store.h"
#include "text/pinyin.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace quillora;

namespace {

bench::BenchFolder &benchData()
{
    static bench::BenchFolder data;
    return data;
}

VisitRecord visitOn(const QDate &day, int n)
{
    VisitRecord v;
    static const QStringList names{QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王小明"),
                                   QStringLiteral("赵秀英"), QStringLiteral("陈建国")};
    v.header[FieldName] = names[n % names.size()] + QString::number(n % 997);
    v.header[FieldSex] = n % 2 ? QStringLiteral("男") : QStringLiteral("女");
    v.header[FieldAge] = QString::number(n % 90) + QStringLiteral("岁");
    v.header[FieldDate] = day.toString(QStringLiteral("yyyy-MM-dd"));
    v.header[FieldDiagnosis] = QStringLiteral("上呼吸道感染");
    v.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n");
    v.title = QStringLiteral("普通处方笺");
    v.kind = QStringLiteral("普通");
    v.key = QStringLiteral("%1 %2").arg(v.header[FieldDate]).arg(QTime(8, 0).addSecs(n % 36000).toString(QStringLiteral("HH:mm:ss")));
    v.fitGrid();
    return v;
}

// 10,000 drugs in the catalogue, filled once.
void ensureDrugs()
{
    static const bool filled = (bench::fillDrugCatalogue(benchData().files->settings(), 10000), true);
    Q_UNUSED(filled);
}

// 200,000 visits over about three years, filled once (inserted directly: the save path is measured apart).
void ensureVisits()
{
    static bool done = false;
    if (done)
        return;
    Database &db = benchData().files->archive();
    Transaction t(db);
    Statement insert(db, QStringLiteral("INSERT INTO [档案] ([0], [1], [2], [9], [8], T1, C1, C2, [名称]) VALUES (?,?,?,?,?,?,?,?,?)"));
    const QDate first(2024, 1, 1);
    for (int n = 0; n < 200000; ++n) {
        const VisitRecord v = visitOn(first.addDays(n / 180), n);
        insert.bind(1, v.header[0]).bind(2, v.header[1]).bind(3, v.header[2]).bind(4, v.header[9]).bind(5, v.header[8]);
        insert.bind(6, v.body).bind(7, v.title).bind(8, v.kind).bind(9, v.key + QString::number(n));
        insert.run();
        insert.reset();
    }
    t.commit();
    done = true;
}

void BM_DrugSearchByCode(benchmark::State &state)
{
    ensureDrugs();
    DrugStore drugs(benchData().files->settings());
    for (auto _ : state) {
        auto rows = drugs.searchByCode(QStringLiteral("amxl"));
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_DrugSearchByCode)->Unit(benchmark::kMillisecond);

void BM_DrugSearchEmptyText(benchmark::State &state)
{
    ensureDrugs();
    DrugStore drugs(benchData().files->settings());
    for (auto _ : state) {
        auto rows = drugs.searchByCode(QString());
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_DrugSearchEmptyText)->Unit(benchmark::kMillisecond);

void BM_SaveVisitWithRegister(benchmark::State &state)
{
    VisitStore store(benchData().files->archive());
    int n = 0;
    for (auto _ : state) {
        VisitRecord v = visitOn(QDate(2026, 12, 8), n);
        v.key = QStringLiteral("bench-save-%1").arg(n++);
        store.save(v, 2026);
    }
}
BENCHMARK(BM_SaveVisitWithRegister)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ListOneDayOf200k(benchmark::State &state)
{
    ensureVisits();
    VisitStore store(benchData().files->archive());
    for (auto _ : state) {
        auto entries = store.list(QString(), QDate(2025, 6, 1), QDate(2025, 6, 1));
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_ListOneDayOf200k)->Unit(benchmark::kMillisecond);

void BM_OpenBothKeyedFiles(benchmark::State &state)
{
    const QString folder = benchData().files->folder();
    for (auto _ : state) {
        DataFiles files(folder);
        files.open();
        files.close();
    }
}
BENCHMARK(BM_OpenBothKeyedFiles)->Unit(benchmark::kMillisecond)->Iterations(10);

// 50,000 register patients, filled once.
void ensurePatients()
{
    static bool done = false;
    if (done)
        return;
    Database &db = benchData().files->archive();
    PatientStore patients(db);
    Transaction t(db);
    const QStringList surnames{QStringLiteral("张"), QStringLiteral("王"), QStringLiteral("李"), QStringLiteral("赵"), QStringLiteral("陈")};
    const QStringList given{QStringLiteral("建国"), QStringLiteral("秀英"), QStringLiteral("小明"), QStringLiteral("桂兰"), QStringLiteral("志强")};
    for (int n = 0; n < 50000; ++n) {
        PatientRow row;
        row.name = surnames[n % 5] + given[(n / 5) % 5] + QString::number(n);
        row.sex = QStringLiteral("男");
        row.birthYear = QString::number(1930 + n % 90);
        row.key = row.name + pinyinCode(row.name) + row.birthYear;
        patients.upsert(row);
    }
    t.commit();
    done = true;
}

void BM_NameKeystrokePatientList(benchmark::State &state)
{
    ensurePatients();
    PatientStore patients(benchData().files->archive());
    for (auto _ : state) {
        QStringList shown;
        for (const PatientRow &row : patients.search(QStringLiteral("张建")))
            shown << patientListText(row, 2026);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_NameKeystrokePatientList)->Unit(benchmark::kMillisecond);

// The worst keystroke: nothing matches, so every register row is looked at.
void BM_NameKeystrokeNoPatient(benchmark::State &state)
{
    ensurePatients();
    PatientStore patients(benchData().files->archive());
    for (auto _ : state) {
        auto rows = patients.search(QStringLiteral("无此人"));
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_NameKeystrokeNoPatient)->Unit(benchmark::kMillisecond);

void BM_DiagnosisKeystroke5000(benchmark::State &state)
{
    static bool filled = false;
    Database &db = benchData().files->settings();
    NameListStore diagnoses = NameListStore::diagnoses(db);
    if (!filled) {
        Transaction t(db);
        for (int n = 0; n < 5000; ++n) {
            const QString name = QStringLiteral("慢性疾病%1型").arg(n);
            DictionaryStore::insertNameListEntry(db, QStringLiteral("诊断"), name);
        }
        t.commit();
        filled = true;
    }
    for (auto _ : state) {
        auto rows = diagnoses.searchByKey(QStringLiteral("mx"));
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_DiagnosisKeystroke5000)->Unit(benchmark::kMillisecond);

void BM_SaveWith200kVisits(benchmark::State &state)
{
    ensureVisits();
    VisitStore store(benchData().files->archive());
    int n = 0;
    for (auto _ : state) {
        VisitRecord v = visitOn(QDate(2026, 12, 8), n);
        v.key = QStringLiteral("bench-200k-%1").arg(n++);
        store.save(v, 2026);
    }
}
BENCHMARK(BM_SaveWith200kVisits)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_TodayOf200k(benchmark::State &state)
{
    ensureVisits();
    VisitStore store(benchData().files->archive());
    for (auto _ : state) {
        auto entries = store.list(QString(), QDate(2026, 12, 8), QDate(2026, 12, 8));
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_TodayOf200k)->Unit(benchmark::kMillisecond);

void BM_NameSearchTenYearsOf200k(benchmark::State &state)
{
    ensureVisits();
    VisitStore store(benchData().files->archive());
    for (auto _ : state) {
        auto entries = store.list(QStringLiteral("王小明1"), QDate(2016, 12, 8), QDate(2026, 12, 8));
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_NameSearchTenYearsOf200k)->Unit(benchmark::kMillisecond);

void BM_LoadVisitOf200k(benchmark::State &state)
{
    ensureVisits();
    VisitStore store(benchData().files->archive());
    const QString key = store.list(QString(), QDate(2025, 6, 1), QDate(2025, 6, 1)).value(0).key;
    for (auto _ : state) {
        auto visit = store.find(key);
        benchmark::DoNotOptimize(visit);
    }
}
BENCHMARK(BM_LoadVisitOf200k)->Unit(benchmark::kMillisecond);

} // namespace
