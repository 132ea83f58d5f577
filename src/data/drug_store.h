#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace quillora {

class Database;

// One row of the drug catalogue. The name may carry its usage after a backslash.
struct DrugRow
{
    qint64 rowId = 0;
    QString code;      // 拼音
    QString name;      // 名称
    QString category;  // 分类
    QString quantity;  // 数量: usual quantity as text
    QString unit;      // 单位
    double price = 0;  // 单价
};

// A listed row: its identity and the text the pick list shows.
struct ListedRow
{
    qint64 rowId = 0;
    QString text;
};

struct KeyHit;
// The lines of a key index's answer: each hit's row and the first column it shows.
QList<ListedRow> listedHits(const QList<KeyHit> &hits);

constexpr int kDrugSearchLimit = 200;

// The drug catalogue of the settings file.
class DrugStore
{
public:
    explicit DrugStore(Database &settings) : m_db(settings) {}

    qint64 insert(const DrugRow &row);
    // Rewrites every column but 备用; false when the row is gone. Refused writes throw DbError.
    bool update(const DrugRow &row);
    bool remove(qint64 rowId);
    std::optional<DrugRow> byRowId(qint64 rowId);
    // Drugs whose code contains the typed text (literally, ASCII case ignored), in name order.
    QList<ListedRow> searchByCode(const QString &text, int limit = kDrugSearchLimit);
    // The same within the categories containing the given text.
    QList<ListedRow> searchByCode(const QString &text, const QString &category, int limit);
    // How a category text must match 分类 (literally, ASCII case ignored).
    enum class Match { Equal, EndsWith, Contains };
    // Drugs whose category matches the text (by default: contains it), in name order.
    QList<ListedRow> byCategory(const QString &category, Match match = Match::Contains);
    // The first drug (in catalogue order) whose name begins with the text.
    std::optional<DrugRow> firstByNamePrefix(const QString &prefix);
    // The first drug (in catalogue order) whose name contains the text, within the categories
    // containing the given one when it is not empty.
    std::optional<DrugRow> firstByNameContaining(const QString &text, const QString &category = QString());
    // The first drug named exactly so, or so followed by its usage after a backslash.
    std::optional<DrugRow> firstByWholeName(const QString &name, const QString &category = QString());
    int count();

private:
    // The distinct categories of the catalogue that match the LIKE pattern.
    QStringList categoriesLike(const QString &pattern);
    QList<ListedRow> listed(const QString &sql, const QStringList &patterns, int limit);
    std::optional<DrugRow> first(const QString &where, const QStringList &values);
    Database &m_db;
};

} // namespace quillora
