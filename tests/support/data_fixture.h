#pragma once

#include "base/clock.h"
#include "data/data_files.h"
#include "data/visit_record.h"
#include "support/pg_cluster.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// Where the stores keep their rows in a test.
enum class Engine { SqlCipher, PostgreSql };

// "SqlCipher" / "PostgreSql", for the names of parameterised tests.
std::string engineName(const ::testing::TestParamInfo<Engine> &info);

// Both database files, freshly created in a temporary data folder and open; or, for the
// server engine, two fresh databases of the test cluster, filled as new files are.
class DataTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    virtual Engine engine() const { return Engine::SqlCipher; }
    bool onServer() const { return engine() == Engine::PostgreSql; }

    Database &archive() { return m_files->archive(); }
    Database &settings() { return m_files->settings(); }
    DataFiles &files() { return *m_files; }
    // Reopens both files, as a new start of the program would.
    void reopen();

    TempProgramFolder m_folder;
    std::unique_ptr<DataFiles> m_files;
    std::unique_ptr<PgDatabase> m_archiveServer;
    std::unique_ptr<PgDatabase> m_settingsServer;

private:
    void setUpServer();
};

// A DataTest that runs on each engine: TEST_P(…) and QUILLORA_ON_BOTH_ENGINES(fixture).
class EngineTest : public DataTest, public ::testing::WithParamInterface<Engine>
{
protected:
    Engine engine() const override { return GetParam(); }
};

#define QUILLORA_ON_BOTH_ENGINES(fixture)                                                                              \
    INSTANTIATE_TEST_SUITE_P(Engines, fixture,                                                                         \
                             ::testing::Values(::quillora::test::Engine::SqlCipher, ::quillora::test::Engine::PostgreSql), \
                             ::quillora::test::engineName)

// Fills a fresh server database as a new archive (or settings) file is filled.
void fillServerDatabase(const QString &conninfo, void (*fill)(Database &));

// Puts a new installation's two data files into the folder, as the first start makes them.
// They are made once per test run and copied, which is what makes each test cheap.
void createDataFiles(DataFiles &files);

// A filled-in visit as the window would hand it over.
VisitRecord sampleVisit(const QString &name, const QString &date, const QString &key);

// Runs one statement and returns the first column of the first row.
QString scalar(Database &db, const QString &sql);

// The whole contents of a file; empty when it cannot be read.
QByteArray readFile(const QString &path);

// Damages a file in place, as a failing disk would: the bytes from the offset are inverted.
// No connection to the file may be open.
void damageFile(const QString &path, qint64 offset, int count = 16);

} // namespace quillora::test
