#include "support/data_fixture.h"

#include "data/database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quillora::test {

void createDataFiles(DataFiles &files)
{
    static QTemporaryDir made;
    static DataFiles first(made.filePath(QStringLiteral("档案数据库")));
    static const bool ready = !first.createMissing().isEmpty();
    Q_UNUSED(ready);
    QDir().mkpath(files.folder());
    for (const QString &name : {kArchiveFileName, kSettingsFileName}) {
        const QString target = QDir(files.folder()).filePath(name);
        if (!QFile::exists(target))
            QFile::copy(QDir(first.folder()).filePath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
}

std::string engineName(const ::testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::SqlCipher ? "SqlCipher" : "PostgreSql";
}

void fillServerDatabase(const QString &conninfo, void (*fill)(Database &))
{
    Database db;
    db.openServer(conninfo);
    Transaction transaction(db);
    fill(db);
    transaction.commit();
}

void DataTest::SetUp()
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
    m_files = std::make_unique<DataFiles>(QDir(m_folder.path()).filePath(QStringLiteral("档案数据库")));
    if (onServer())
        return setUpServer();
    createDataFiles(*m_files);
    m_files->open();
}

void DataTest::setUpServer()
{
    QString reason;
    PgCluster *cluster = PgCluster::instance(&reason);
    if (!cluster) {
        // The files stand in, so that a fixture's own SetUp still finds its stores; the test is skipped.
        createDataFiles(*m_files);
        m_files->open();
        GTEST_SKIP() << "PostgreSQL: " << reason.toStdString();
    }
    m_archiveServer = std::make_unique<PgDatabase>(*cluster);
    m_settingsServer = std::make_unique<PgDatabase>(*cluster);
    fillServerDatabase(m_archiveServer->conninfo(), fillArchive);
    fillServerDatabase(m_settingsServer->conninfo(), fillSettings);
    m_files->useServer(m_archiveServer->conninfo(), m_settingsServer->conninfo());
    m_files->open();
}

void DataTest::TearDown()
{
    m_files->close();
    m_archiveServer.reset();
    m_settingsServer.reset();
    Clock::reset();
}

void DataTest::reopen()
{
    m_files->close();
    m_files->open();
}

VisitRecord sampleVisit(const QString &name, const QString &date, const QString &key)
{
    VisitRecord v;
    v.header[FieldName] = name;
    v.header[FieldSex] = QStringLiteral("男");
    v.header[FieldAge] = QStringLiteral("35岁");
    v.header[FieldFeeClass] = QStringLiteral("自费");
    v.header[FieldCardNumber] = QStringLiteral("20261208093000");
    v.header[FieldDate] = date;
    v.header[FieldDoctor] = QStringLiteral("王建国");
    v.header[FieldAllergy] = QStringLiteral("未发现");
    v.header[FieldPastHistory] = QStringLiteral("无");
    v.title = QStringLiteral("普通处方笺");
    v.kind = QStringLiteral("普通");
    v.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n");
    v.doses = QStringLiteral("1");
    v.key = key;
    v.fitGrid();
    return v;
}

QString scalar(Database &db, const QString &sql)
{
    Statement q(db, sql);
    return q.next() ? q.text(0) : QString();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void damageFile(const QString &path, qint64 offset, int count)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(offset));
    QByteArray bytes = file.read(count);
    for (char &c : bytes)
        c = char(~c);
    ASSERT_TRUE(file.seek(offset));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace quillora::test
