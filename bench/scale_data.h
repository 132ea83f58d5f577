#pragma once

#include "data/visit_record.h"

#include <QDate>
#include <QString>

namespace quillora {
class Database;
}

namespace quillora::bench {

// The size of a generated archive: 1 is a busy clinic's decade (10,000 drugs, 50,000
// patients, 200,000 visits), 10 ten times that.
struct Scale
{
    int factor = 1;
    int drugs() const { return 10000 * factor; }
    int patients() const { return 50000 * factor; }
    int visits() const { return 200000 * factor; }
    int nameListEntries() const { return 2000 * factor; }
    int orderSets() const { return 300 * factor; }
    int templates() const { return 300 * factor; }
};

// The program folder of a generated archive at this scale, below the folder the benchmark runs
// from (the build folder): made on first use, in one transaction per file, and reused after.
// The visits run up to `today`, about as many each day; the data folder is 档案数据库 inside.
QString scaleProgramFolder(const Scale &scale);

// Fills an empty settings and archive store (schema made, first rows in) to the scale, as the
// generated files are filled: one transaction per store, visits up to `today`.
void fillScaledStores(Database &settings, Database &archive, const Scale &scale, const QDate &today);

// The patient name of generated patient i (two or three common characters), and the
// typed texts the harness searches with.
QString generatedPatientName(int i);

// The i-th visit a save benchmark writes: a new patient on a day no generated visit has.
VisitRecord benchmarkVisit(int i);
// Takes the benchmark's visit and its register row out again, so the stores stay as generated.
void takeOutBenchmarkVisit(Database &archive, const VisitRecord &visit);

} // namespace quillora::bench
