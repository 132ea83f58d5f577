#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillora {

class Database;

// The one row of the settings table, read and written column by column.
// A column the table lacks is tolerated: reading it gives nothing, writing it is skipped.
class SettingsRow
{
public:
    explicit SettingsRow(Database &settings) : m_db(settings) {}

    bool hasColumn(const QString &column);
    std::optional<QString> value(const QString &column);
    // Writes the columns that exist in one transaction and returns the names it skipped.
    // A value the table refuses throws DbError and nothing is written.
    QStringList write(const QList<QPair<QString, QString>> &values);

private:
    const QStringList &columns();
    Database &m_db;
    QStringList m_columns;
};

} // namespace quillora
