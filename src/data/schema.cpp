#include "data/schema.h"

#include "data/database.h"
#include "data/server_schema.h"
#include "data/settings_columns.h"

#include <QStringList>

namespace quillora {

namespace {

// Column definition builders: the schema enforces required columns, empty texts and lengths.
QString textColumn(const QString &name, int maxLength, bool required = false, bool noEmpty = false)
{
    const QString id = quoteIdentifier(name);
    QString def = id + QLatin1String(" TEXT");
    if (required)
        def += QLatin1String(" NOT NULL");
    const int min = noEmpty ? 1 : 0;
    if (maxLength > 0)
        def += QStringLiteral(" CHECK(length(%1) BETWEEN %2 AND %3)").arg(id).arg(min).arg(maxLength);
    else if (noEmpty)
        def += QStringLiteral(" CHECK(length(%1) >= 1)").arg(id);
    return def;
}

QString memoColumn(const QString &name, bool noEmpty = false)
{
    const QString id = quoteIdentifier(name);
    return id + QStringLiteral(" TEXT CHECK(length(%1) BETWEEN %2 AND %3)").arg(id).arg(noEmpty ? 1 : 0).arg(kMemoMaxLength);
}

QString currencyColumn(const QString &name)
{
    const QString id = quoteIdentifier(name);
    return id + QStringLiteral(" REAL CHECK(typeof(%1) IN ('real','integer','null'))").arg(id);
}

void createTable(Database &db, const QString &table, const QStringList &columns)
{
    db.exec(QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(quoteIdentifier(table), columns.join(QLatin1String(",\n  "))));
}

void createIndex(Database &db, const QString &table, const QString &column)
{
    db.exec(QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                .arg(quoteIdentifier(table + QLatin1Char('_') + column), quoteIdentifier(table), quoteIdentifier(column)));
}

QString s(const char *utf8) { return QString::fromUtf8(utf8); }

QStringList visitColumns()
{
    QStringList columns;
    columns << textColumn(QStringLiteral("0"), 50, true, true);
    for (int i = 1; i <= 8; ++i)
        columns << textColumn(QString::number(i), 50);
    // A visit date is a real calendar day written yyyy-mm-dd: 2024-02-30 and '' are refused.
    columns << QStringLiteral("[9] TEXT NOT NULL CHECK([9] IS date([9], '+0 days'))");
    for (int i = 10; i <= 29; ++i)
        columns << textColumn(QString::number(i), 50);
    for (int i = 1; i <= 8; ++i)
        columns << memoColumn(QStringLiteral("T%1").arg(i));
    columns << textColumn(QStringLiteral("C1"), 50) << textColumn(QStringLiteral("C2"), 50) << textColumn(s("名称"), 50);
    for (int i = 9; i <= 15; ++i)
        columns << memoColumn(QStringLiteral("T%1").arg(i));
    return columns;
}

QStringList patientColumns()
{
    QStringList columns;
    const char *required[] = {"序号", "出生年月", "姓名", "性别"};
    for (const char *name : required)
        columns << textColumn(s(name), 50, true, true);
    const char *optional[] = {"费别", "医疗证号", "诊断", "住址", "过敏史", "既往史", "电话", "备用1", "备用2", "备用3"};
    for (const char *name : optional)
        columns << textColumn(s(name), 50);
    return columns;
}

QString settingsColumnDefinition(const SettingsColumn &column)
{
    if (column.maxLength == 0)
        return memoColumn(column.name);
    return textColumn(column.name, column.maxLength, column.noEmptyText, column.noEmptyText);
}

QStringList settingsRowColumns()
{
    QStringList columns;
    for (const SettingsColumn &column : settingsColumns())
        columns << settingsColumnDefinition(column);
    return columns;
}

QString sqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// Name lists share one shape: a name, its code and the combined search key.
QStringList nameListColumns()
{
    return {textColumn(s("名称"), 50, false, true), textColumn(s("拼音"), 50, false, true),
            textColumn(s("序号"), 50, true, true)};
}

} // namespace

void Schema::createArchive(Database &db)
{
    ServerSchema::createFunctions(db);
    createTable(db, s("档案"), visitColumns());
    createIndex(db, s("档案"), s("名称"));
    // The date index also carries what the result list shows, so listing a range never
    // reads the (large) visit rows themselves.
    db.exec(QStringLiteral("CREATE INDEX [档案_9] ON [档案]([9], [0], [1], [2], [名称])"));
    ensureArchiveIndexes(db);
    createTable(db, s("患者信息"), patientColumns());
    createIndex(db, s("患者信息"), s("序号"));
    createTable(db, s("密码"), {textColumn(s("密码"), 50)});
    ServerSchema::createSearchSupport(db);
}

void Schema::ensureArchiveIndexes(Database &db)
{
    // The outpatient log and the workload count read these columns of a date range: an index
    // that holds them answers a year of visits without reading the (large) visit rows.
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS [档案_日志] ON [档案]([9], [名称], [0], [1], [2], [8], [6], [13], [14])"));
    // A name search reads the visits of the matching names only, whatever the archive's size.
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS [档案_姓名] ON [档案]([0], [9], [1], [2], [名称])"));
}

void Schema::ensureSettingsIndexes(Database &db)
{
    // A catalogue button lists one category in name order: this index hands its rows over in
    // that order without reading or sorting the rest of the catalogue, and names the distinct
    // categories one step each.
    if (db.hasTable(s("药品")))
        db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS [药品_分类] ON [药品]([分类], [名称] COLLATE PINYIN)"));
}

bool Schema::lacksLaterIndexes(Database &db)
{
    if (db.server())
        return false;  // a server database is made with every index at once
    // Each index with the table it belongs to: a file without the table never gets it.
    Statement q(db, QStringLiteral("SELECT count(*) FROM (SELECT '档案_日志' AS i, '档案' AS t UNION ALL "
                                   "SELECT '档案_姓名', '档案' UNION ALL SELECT '药品_分类', '药品') AS later "
                                   "WHERE EXISTS (SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = later.t) "
                                   "AND NOT EXISTS (SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = later.i)"));
    return q.next() && q.int64(0) > 0;
}

void Schema::createSettings(Database &db)
{
    ServerSchema::createFunctions(db);
    createTable(db, s("设置"), settingsRowColumns());
    createTable(db, s("药品"),
                {textColumn(s("拼音"), 50, false, true), textColumn(s("名称"), 200, false, true), textColumn(s("分类"), 50),
                 textColumn(s("数量"), 50), textColumn(s("单位"), 50), currencyColumn(s("单价")), textColumn(s("备用"), 50)});
    createIndex(db, s("药品"), s("名称"));
    createTable(db, s("个人组套"),
                {textColumn(s("名称"), 50, true, true), textColumn(s("分类"), 50, true, true),
                 textColumn(s("拼音"), 50, true, true), memoColumn(s("内容"), true)});
    createTable(db, s("病史模板"),
                {textColumn(s("名称"), 200, true, true), memoColumn(s("内容")), textColumn(s("序号"), 50, true, true),
                 textColumn(s("拼音"), 50)});
    createTable(db, s("诊断"), nameListColumns());
    createIndex(db, s("诊断"), s("序号"));
    createTable(db, s("地址"), nameListColumns());
    createIndex(db, s("地址"), s("序号"));
    ServerSchema::createSearchSupport(db);
    ensureSettingsIndexes(db);
}

void Schema::addLaterSettingsColumns(Database &db)
{
    const QStringList present = db.columnsOf(s("设置"));
    if (present.isEmpty())
        return;  // no settings table: nothing to bring up to date
    for (const SettingsColumn &column : laterSettingsColumns()) {
        if (present.contains(column.name))
            continue;
        // The row takes the column's initial value; the other columns are not touched.
        db.exec(QStringLiteral("ALTER TABLE [设置] ADD COLUMN %1 DEFAULT %2")
                    .arg(settingsColumnDefinition(column), sqlText(column.initial)));
    }
}

} // namespace quillora
