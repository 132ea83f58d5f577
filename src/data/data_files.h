#pragma once

#include "data/database.h"

#include <QString>
#include <functional>
#include <QStringList>

namespace quillora {

// Keys of the two files: they encrypt every page on disk.
inline const QString kArchiveKey = QStringLiteral("tb384hvx");
inline const QString kSettingsKey = QStringLiteral("kq7315");
inline const QString kArchiveFileName = QStringLiteral("档案.dat");
inline const QString kSettingsFileName = QStringLiteral("设置.dat");

// The two database files of a data folder, each with one connection kept open for the run.
class DataFiles
{
public:
    explicit DataFiles(const QString &dataFolder) : m_folder(dataFolder) {}

    QString folder() const { return m_folder; }
    QString archivePath() const;
    QString settingsPath() const;

    // Creates a file that is missing (schema and first rows); an existing file is never touched.
    // On a server, makes the tables and first rows a database lacks. Returns the names of the
    // files (or their server counterparts) it created.
    QStringList createMissing();
    // Opens both files with their keys; throws WrongKeyError or DbError naming the file.
    // With server databases set, connects to them instead.
    void open();
    // Told what a long step of opening is about before it starts, and an empty text after it.
    void setLongStepNotice(std::function<void(const QString &)> notice) { m_notice = std::move(notice); }
    // Keeps the two stores in PostgreSQL databases (libpq connection strings) instead of files.
    // `shown` names the server for the doctor (never with a password).
    void useServer(const QString &archiveConninfo, const QString &settingsConninfo, const QString &shown = QString());
    // Where the archive is, as the About window tells it: the file's path or the server's name.
    QString archiveShown() const;
    bool usesServer() const { return !m_archiveServer.isEmpty(); }
    // The connection string of the archive's server database (empty for the files).
    QString archiveServer() const { return m_archiveServer; }
    void close();
    bool isOpen() const { return m_archive.isOpen() && m_settings.isOpen(); }

    Database &archive() { return m_archive; }
    Database &settings() { return m_settings; }

private:
    QString m_folder;
    QString m_archiveServer;
    QString m_settingsServer;
    QString m_serverShown;
    Database m_archive;
    Database m_settings;
    std::function<void(const QString &)> m_notice;
};

// Registers the compiled-in files (seed data, help page) of the static library.
void ensureResources();

// Builds a new archive or settings file at the path (which must not exist yet).
void createArchiveFile(const QString &path);
void createSettingsFile(const QString &path);

// Fills an empty database (inside the caller's transaction) as a new archive or settings file is filled.
void fillArchive(Database &db);
void fillSettings(Database &db);

} // namespace quillora
