#include "data/data_files.h"

#include "data/dictionary_store.h"
#include "data/drug_store.h"
#include "data/password_store.h"
#include "data/pg_connection.h"
#include "data/schema.h"
#include "data/seed_data.h"
#include "data/server_schema.h"
#include "data/settings_columns.h"

#include <QDir>
#include <QFile>
#include <functional>

static void initSeedResources() { Q_INIT_RESOURCE(resources); }

void quillora::ensureResources() { initSeedResources(); }

namespace quillora {

namespace {

void seedArchive(Database &db)
{
    Schema::createArchive(db);
    Statement q(db, QStringLiteral("INSERT INTO [密码] ([密码]) VALUES (?)"));
    q.bind(1, kInitialPassword);
    q.run();
}

void seedSettingsRow(Database &db)
{
    QStringList names, marks;
    for (const SettingsColumn &column : settingsColumns()) {
        names << quoteIdentifier(column.name);
        marks << QStringLiteral("?");
    }
    Statement q(db, QStringLiteral("INSERT INTO [设置] (%1) VALUES (%2)").arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    int index = 1;
    for (const SettingsColumn &column : settingsColumns())
        q.bind(index++, column.initial);
    q.run();
}

void seedDictionaries(Database &db)
{
    initSeedResources();
    DrugStore drugs(db);
    for (const DrugRow &row : SeedData::parseDrugs(SeedData::resourceText(QStringLiteral("drugs.tsv"))))
        drugs.insert(row);
    for (const QString &name : SeedData::parseLines(SeedData::resourceText(QStringLiteral("diagnoses.txt"))))
        DictionaryStore::insertNameListEntry(db, QStringLiteral("诊断"), name);
    for (const QString &name : SeedData::parseLines(SeedData::resourceText(QStringLiteral("addresses.txt"))))
        DictionaryStore::insertNameListEntry(db, QStringLiteral("地址"), name);
    for (const SeedBlock &block : SeedData::parseBlocks(SeedData::resourceText(QStringLiteral("order_sets.txt"))))
        DictionaryStore::insertOrderSet(db, block.name, block.kind, block.content);
    for (const SeedBlock &block : SeedData::parseBlocks(SeedData::resourceText(QStringLiteral("history_templates.txt"))))
        DictionaryStore::insertHistoryTemplate(db, block.name, block.content);
}

void seedSettings(Database &db)
{
    Schema::createSettings(db);
    seedSettingsRow(db);
    seedDictionaries(db);
}

// Builds the file under a temporary name and renames it into place, so that a start
// interrupted half-way never leaves a half-made file that later starts would keep.
void buildFile(const QString &path, const QString &key, const std::function<void(Database &)> &fill)
{
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    {
        Database db;
        db.open(partial, key);
        Transaction transaction(db);
        fill(db);
        transaction.commit();
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw DbError(0, QStringLiteral("无法创建数据库文件 %1").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace

QString DataFiles::archivePath() const { return QDir(m_folder).filePath(kArchiveFileName); }

QString DataFiles::settingsPath() const { return QDir(m_folder).filePath(kSettingsFileName); }

namespace {

// Makes the tables and first rows in a server database that lacks them, in one transaction.
// Rooms starting at once take turns through an advisory lock, so that one of them makes them
// and the others find them made.
bool fillServerWhenEmpty(const QString &conninfo, const QString &table, void (*fill)(Database &))
{
    constexpr qint64 kSchemaLock = 5318008;
    Database db;
    db.openServer(conninfo);
    db.server()->query(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kSchemaLock));
    bool made = false;
    try {
        Transaction t(db);
        if (!db.hasTable(table)) {
            fill(db);
            t.commit();
            made = true;
        }
    } catch (...) {
        db.server()->query(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLock));
        throw;
    }
    db.server()->query(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLock));
    return made;
}

} // namespace

QStringList DataFiles::createMissing()
{
    if (!m_archiveServer.isEmpty()) {
        QStringList created;
        if (fillServerWhenEmpty(m_archiveServer, QStringLiteral("档案"), seedArchive))
            created << kArchiveFileName;
        if (fillServerWhenEmpty(m_settingsServer, QStringLiteral("设置"), seedSettings))
            created << kSettingsFileName;
        return created;
    }
    QDir().mkpath(m_folder);
    QStringList created;
    if (!QFile::exists(archivePath())) {
        createArchiveFile(archivePath());
        created << kArchiveFileName;
    }
    if (!QFile::exists(settingsPath())) {
        createSettingsFile(settingsPath());
        created << kSettingsFileName;
    }
    return created;
}

void DataFiles::useServer(const QString &archiveConninfo, const QString &settingsConninfo, const QString &shown)
{
    m_archiveServer = archiveConninfo;
    m_settingsServer = settingsConninfo;
    m_serverShown = shown.isEmpty() ? QStringLiteral("PostgreSQL /%1").arg(PgConnection::databaseNameOf(archiveConninfo)) : shown;
}

QString DataFiles::archiveShown() const
{
    if (usesServer())
        return QStringLiteral("数据库服务器 %1（各诊室共用）").arg(m_serverShown);
    return QStringLiteral("本机加密文件 %1").arg(QDir::toNativeSeparators(archivePath()));
}

void DataFiles::open()
{
    const auto openOne = [this](Database &db, const QString &path, const QString &key) {
        const QString server = &db == &m_archive ? m_archiveServer : m_settingsServer;
        const QString shown = server.isEmpty() ? QDir::toNativeSeparators(path)
                                               : QStringLiteral("服务器数据库 %1").arg(PgConnection::databaseNameOf(server));
        try {
            if (!server.isEmpty())
                db.openServer(server);
            else
                db.open(path, key);
        } catch (const PasswordNeeded &) {
            throw;
        } catch (const WrongKeyError &e) {
            throw WrongKeyError(e.code(), QStringLiteral("%1 无法解密（密码不符或文件已损坏）").arg(shown));
        } catch (const DbError &e) {
            throw DbError(e.code(), QStringLiteral("%1 无法打开：%2").arg(shown, e.message()));
        }
    };
    openOne(m_archive, archivePath(), kArchiveKey);
    openOne(m_settings, settingsPath(), kSettingsKey);
    const bool longStep = m_notice && (Schema::lacksLaterIndexes(m_archive) || Schema::lacksLaterIndexes(m_settings));
    if (longStep)
        m_notice(QStringLiteral("正在为病历档案和药品目录建立查询索引（只需一次），请稍候……"));
    try {
        Schema::ensureArchiveIndexes(m_archive);
    } catch (const DbError &) {
        // An archive that cannot take the index now (read-only, busy) still opens; reports read slower.
    }
    for (Database *db : {&m_archive, &m_settings}) {
        try {
            ServerSchema::announceRowChanges(*db);
        } catch (const DbError &) {
            // A server database made before its rows were announced, by a role that may not add
            // the triggers: its searches run their statements.
        }
    }
    // The dictionaries are read at every keystroke: a page cache that holds the whole settings
    // file keeps them decrypted in memory (SQLite's 2 MB default is outgrown by a large
    // catalogue). Pages are only taken as they are read, so a small file costs no more.
    m_settings.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(128 * 1024));  // KiB
    try {
        Schema::addLaterSettingsColumns(m_settings);
        Schema::ensureSettingsIndexes(m_settings);
    } catch (const DbError &) {
        // A file that cannot take the new columns or index (read-only) still works without them.
    }
    if (longStep)
        m_notice(QString());
}

void DataFiles::close()
{
    m_archive.close();
    m_settings.close();
}

void createArchiveFile(const QString &path) { buildFile(path, kArchiveKey, seedArchive); }

void createSettingsFile(const QString &path) { buildFile(path, kSettingsKey, seedSettings); }

void fillArchive(Database &db) { seedArchive(db); }

void fillSettings(Database &db) { seedSettings(db); }

} // namespace quillora
