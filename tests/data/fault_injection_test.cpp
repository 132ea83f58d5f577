#include "data/database.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"
#include "support/fault_vfs.h"
#include "support/visit_compare.h"

#include <cstdio>
#include <functional>

using namespace quillora;
using namespace quillora::test;

namespace {

// Fails each I/O call of a save in turn and checks what the save said against the file:
// an acknowledged save is stored whole, a refused one leaves the old row, the file stays sound.
class FaultInjectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
        const QString path = m_folder.file(kArchiveFileName);
        createArchiveFile(path);
        m_vfs = std::make_unique<FaultVfs>(m_folder.path());
        m_archive.open(path, kArchiveKey);
        m_check.open(path, kArchiveKey);
    }
    void TearDown() override
    {
        m_check.close();
        m_archive.close();
        m_vfs.reset();
        Clock::reset();
    }

    struct Sweep
    {
        int steps = 0, acknowledged = 0, refused = 0;
        QStringList faults;
    };

    // Saves version(n) with the n-th call failing, for every n a clean save reaches.
    Sweep sweep(FaultVfs::Fault fault, const std::function<VisitRecord(int)> &version)
    {
        VisitStore program(m_archive);
        VisitStore file(m_check);
        Sweep result;
        program.save(version(0), 2026);
        // Until a save runs through without reaching its fault (saves differ in length).
        bool reached = true;
        for (int n = 1; reached && n < 1000; ++n) {
            const VisitRecord visit = version(n);
            const std::optional<VisitRecord> before = file.find(visit.key);
            m_vfs->arm(n, fault);
            bool acknowledged = true;
            try {
                program.save(visit, 2026);
            } catch (const DbError &) {
                acknowledged = false;
            }
            const bool fired = m_vfs->fired();
            reached = fired;
            m_vfs->disarm();
            ++result.steps;
            ++(acknowledged ? result.acknowledged : result.refused);
            const auto says = [&](const QString &what) { result.faults << QStringLiteral("call %1: %2").arg(n).arg(what); };
            if (!fired && !acknowledged)
                says(QStringLiteral("refused without a fault"));
            std::optional<VisitRecord> seen, stored;
            try {
                seen = program.find(visit.key);  // the program reads on after the failure
                stored = file.find(visit.key);
            } catch (const DbError &e) {
                says(QStringLiteral("read failed: ") + e.message());
                continue;
            }
            const std::optional<VisitRecord> expected = acknowledged ? std::optional(visit) : before;
            if (const QString diff = visitDifference(stored, expected); !diff.isEmpty())
                says((acknowledged ? QStringLiteral("acknowledged but lost: ") : QStringLiteral("refused but changed: ")) + diff);
            if (const QString diff = visitDifference(seen, stored); !diff.isEmpty())
                says(QStringLiteral("program sees other than the file: ") + diff);
            if (scalar(m_check, QStringLiteral("PRAGMA integrity_check")) != QLatin1String("ok"))
                says(QStringLiteral("integrity_check failed"));
        }
        return result;
    }

    void expectSound(const char *scenario, FaultVfs::Fault fault, const std::function<VisitRecord(int)> &version)
    {
        const Sweep result = sweep(fault, version);
        const char *mode = fault == FaultVfs::Fault::IoError ? "I/O error" : "disk full";
        std::printf("%s %s: %d steps, %d acknowledged, %d refused\n", scenario, mode, result.steps, result.acknowledged, result.refused);
        EXPECT_GT(result.refused, 0) << scenario << ", " << mode << ": no fault reached the save";
        EXPECT_TRUE(result.faults.isEmpty()) << scenario << ", " << mode << ", " << result.steps << " steps:\n"
                                             << result.faults.mid(0, 12).join(QLatin1Char('\n')).toStdString();
    }

    VisitRecord base() const
    {
        VisitRecord v = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00"));
        v.history = QStringLiteral("咳嗽三天。");
        for (int r = 0; r < 6; ++r) {
            v.grid[GridName][r] = QStringLiteral("药品%1").arg(r);
            v.grid[GridAmount][r] = QStringLiteral("%1.00").arg(r + 1);
        }
        return v;
    }

    TempProgramFolder m_folder;
    std::unique_ptr<FaultVfs> m_vfs;
    Database m_archive;  // the program's connection
    Database m_check;    // a second one that reads what the file holds
};

const FaultVfs::Fault kFaults[] = {FaultVfs::Fault::IoError, FaultVfs::Fault::DiskFull};

TEST_F(FaultInjectionTest, GridOnlyEdit)
{
    for (const FaultVfs::Fault fault : kFaults) {
        expectSound("grid-only edit", fault, [&](int n) {
            VisitRecord v = base();
            v.grid[GridAmount][n % kGridRows] = QStringLiteral("%1.50").arg(n);
            return v;
        });
    }
}

TEST_F(FaultInjectionTest, NewVisit)
{
    for (const FaultVfs::Fault fault : kFaults) {
        expectSound("new visit", fault, [&, fault](int n) {
            VisitRecord v = base();
            v.key = QStringLiteral("2026-12-08 1%1:%2:00").arg(int(fault)).arg(n, 3, 10, QLatin1Char('0'));
            v.header[FieldName] = QStringLiteral("患者%1").arg(n);
            return v;
        });
    }
}

TEST_F(FaultInjectionTest, EditOfBodyAndHeader)
{
    for (const FaultVfs::Fault fault : kFaults) {
        expectSound("edit", fault, [&](int n) {
            VisitRecord v = base();
            // A body over several pages, so that the save also moves overflow pages.
            v.body = QStringLiteral("复方甘草片 %1片\r\n    用法：口服 每日3次\r\n\r\n").arg(n).repeated(40 + n % 7);
            v.header[FieldDiagnosis] = QStringLiteral("诊断%1").arg(n);
            v.history = QStringLiteral("病史%1").arg(n);
            return v;
        });
    }
}

} // namespace
