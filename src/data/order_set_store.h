#pragma once

#include "data/drug_store.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillora {

class Database;

inline const QString kOrderSetKind = QStringLiteral("个人组套");
inline const QString kFormulaKind = QStringLiteral("中医验方");

// One row of 个人组套: an order set or a TCM formula.
struct OrderSetRow
{
    qint64 rowId = 0;
    QString name;     // 名称
    QString kind;     // 分类: 个人组套 / 中医验方
    QString code;     // 拼音
    QString content;  // 内容, lines separated by CR LF
};

// The order sets and TCM formulas of the settings file, always listed in insertion order.
class OrderSetStore
{
public:
    explicit OrderSetStore(Database &settings) : m_db(settings) {}

    // Rows whose 分类 contains the kind text (how the drug entry lists a kind).
    QList<ListedRow> byKind(const QString &kind);
    // Rows whose 分类 is exactly the kind (how the maintenance window lists it).
    QList<ListedRow> ofKindExactly(const QString &kind);
    // Rows whose code contains the typed text (literally, ASCII case ignored) and whose 分类
    // contains the kind text.
    QList<ListedRow> searchByCode(const QString &text, const QString &kind);
    std::optional<OrderSetRow> byRowId(qint64 rowId);

    // Writes are refused with DbError (empty name, code or content, over-long texts).
    qint64 insert(const OrderSetRow &row);
    // Rewrites name, kind, code and content of the row; false when the row is gone.
    bool update(const OrderSetRow &row);
    bool remove(qint64 rowId);

private:
    QList<ListedRow> listed(const QString &where, const QStringList &values);
    Database &m_db;
};

// The content as the maintenance window stores it: one final CR LF dropped from a text
// longer than two characters.
QString orderSetContentToStore(const QString &content);

} // namespace quillora
