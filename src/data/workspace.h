#pragma once

#include "base/app_paths.h"
#include "data/data_files.h"
#include "data/settings_record.h"

namespace quillora {

// What every window of a run shares: the folders, the two open files and the settings in memory.
class Workspace
{
public:
    explicit Workspace(const AppPaths &paths)
        : m_paths(paths), m_files(paths.dataFolder), m_settingsRecord(m_files.settings()) {}

    const AppPaths &paths() const { return m_paths; }
    DataFiles &files() { return m_files; }
    Database &archive() { return m_files.archive(); }
    Database &settings() { return m_files.settings(); }
    SettingsRecord &settingsRecord() { return m_settingsRecord; }
    QString scratchPath(const QString &name) const { return m_paths.dataFolder + QLatin1Char('/') + name; }

private:
    AppPaths m_paths;
    DataFiles m_files;
    SettingsRecord m_settingsRecord;
};

} // namespace quillora
