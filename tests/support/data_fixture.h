#pragma once

#include "base/clock.h"
#include "data/data_files.h"
#include "data/visit_record.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// Both database files, freshly created in a temporary data folder and open.
class DataTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Database &archive() { return m_files->archive(); }
    Database &settings() { return m_files->settings(); }
    DataFiles &files() { return *m_files; }
    // Reopens both files, as a new start of the program would.
    void reopen();

    TempProgramFolder m_folder;
    std::unique_ptr<DataFiles> m_files;
};

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
