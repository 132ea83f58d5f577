#include "data/database.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"
#include "support/fault_vfs.h"
#include "support/visit_compare.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace quillora;
using namespace quillora::test;

namespace {

bool writeAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// One save as it happened: the events it caused and the visit it stored.
struct Save
{
    qsizetype from, to;  // its events are [from, to)
    VisitRecord visit;
};

// Records the writes and syncs of a few saves, then rebuilds the archive as a power cut at
// each sync would leave it (only what was synced) and opens it as the next start would:
// every acknowledged save is there whole, a save under way is there whole or not at all.
TEST(PowerLoss, NothingAcknowledgedIsLostAndNothingPartial)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
    TempProgramFolder folder;
    const QString archivePath = QFileInfo(folder.file(kArchiveFileName)).absoluteFilePath();
    createArchiveFile(archivePath);
    const QByteArray initial = readFile(archivePath);

    VisitRecord a = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00"));
    VisitRecord b = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:40:00"));
    b.body = QStringLiteral("当归 10g  川芎 6g  白芍 12g\r\n").repeated(200);  // many overflow pages
    QList<VisitRecord> versions{a, b};
    a.grid[GridAmount][0] = QStringLiteral("8.00");
    versions << a;
    b.body = QStringLiteral("熟地黄 15g\r\n").repeated(30);  // shrinks: pages freed
    b.history = QStringLiteral("复诊");
    versions << b;

    QList<Save> saves;
    QList<IoEvent> events;
    {
        FaultVfs vfs(folder.path());
        vfs.setRecording(true);
        Database archive;
        archive.open(archivePath, kArchiveKey);
        VisitStore store(archive);
        for (const VisitRecord &v : versions) {
            const qsizetype from = vfs.events().size();
            store.save(v, 2026);
            saves << Save{from, vfs.events().size(), v};
        }
        archive.close();
        events = vfs.events();
    }
    Clock::reset();

    QList<qsizetype> cuts;
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (events[i].kind == IoEvent::Sync || events[i].kind == IoEvent::Delete)
            cuts << i;
    }
    cuts << events.size();
    ASSERT_GE(cuts.size(), 3 * versions.size());

    DiskModel disk;
    disk.setInitial(archivePath, initial);
    qsizetype applied = 0;
    for (const qsizetype cut : cuts) {
        while (applied < cut)
            disk.apply(events[applied++]);
        QTemporaryDir after;
        for (const auto &[path, contents] : disk.durableFiles()) {
            if (QFileInfo(path).fileName().startsWith(kArchiveFileName))
                ASSERT_TRUE(writeAll(after.filePath(QFileInfo(path).fileName()), contents));
        }
        Database db;
        ASSERT_NO_THROW(db.open(after.filePath(kArchiveFileName), kArchiveKey)) << "cut at event " << cut;
        EXPECT_EQ(scalar(db, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << "cut at event " << cut;
        VisitStore store(db);
        for (const QString &key : {a.key, b.key}) {
            // What the doctor was told is stored, and the save under way, if any.
            std::optional<VisitRecord> acknowledged, underWay;
            for (const Save &save : saves) {
                if (save.visit.key != key)
                    continue;
                if (save.to <= cut)
                    acknowledged = save.visit;
                else if (save.from < cut)
                    underWay = save.visit;
            }
            const std::optional<VisitRecord> stored = store.find(key);
            const QString asAcknowledged = visitDifference(stored, acknowledged);
            const bool asUnderWay = underWay && visitDifference(stored, underWay).isEmpty();
            EXPECT_TRUE(asAcknowledged.isEmpty() || asUnderWay)
                << "cut at event " << cut << ", visit " << key.toStdString() << ": " << asAcknowledged.toStdString();
        }
    }
    std::printf("power loss: %lld events, %lld cuts\n", qlonglong(events.size()), qlonglong(cuts.size()));
}

} // namespace
