#include "data/settings_row.h"

#include "data/database.h"

namespace quillora {

const QStringList &SettingsRow::columns()
{
    if (m_columns.isEmpty())
        m_columns = m_db.columnsOf(QStringLiteral("设置"));
    return m_columns;
}

bool SettingsRow::hasColumn(const QString &column) { return columns().contains(column); }

std::optional<QString> SettingsRow::value(const QString &column)
{
    if (!hasColumn(column))
        return std::nullopt;
    Statement q(m_db, QStringLiteral("SELECT %1 FROM [设置] ORDER BY rowid LIMIT 1").arg(quoteIdentifier(column)));
    if (!q.next())
        return std::nullopt;
    return q.text(0);
}

QStringList SettingsRow::write(const QList<QPair<QString, QString>> &values)
{
    QStringList skipped;
    Transaction transaction(m_db);
    for (const auto &[column, text] : values) {
        if (!hasColumn(column)) {
            skipped << column;
            continue;
        }
        Statement q(m_db, QStringLiteral("UPDATE [设置] SET %1 = ? WHERE rowid = (SELECT min(rowid) FROM [设置])")
                              .arg(quoteIdentifier(column)));
        q.bind(1, text);
        q.run();
    }
    transaction.commit();
    return skipped;
}

} // namespace quillora
