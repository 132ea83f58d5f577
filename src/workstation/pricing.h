#pragma once

#include "data/drug_store.h"
#include "data/visit_record.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace quillora {

// One row of the price grid, every cell as the doctor sees and edits it.
struct PriceRow
{
    QString name;
    QString quantity;
    QString unit;
    QString price;   // unit price
    QString amount;

    QString &operator[](GridColumn column);
    const QString &operator[](GridColumn column) const;
    friend bool operator==(const PriceRow &, const PriceRow &) = default;
};

// The 24-row price grid and its total, as texts.
struct PriceGrid
{
    std::array<PriceRow, kGridRows> rows;
    QString total;

    // Every amount from its quantity and unit price, then the total of the amounts as they read:
    // "0.00" formats, a zero amount or total left empty.
    void retotal();
    void clear();
    // Rows whose quantity × unit price is beyond what any prescription can cost.
    QList<int> rowsOutOfRange() const;
    // The columns as a visit stores them (24 entries each) and back; missing entries read empty.
    std::array<QStringList, GridColumnCount> columns() const;
    static PriceGrid fromColumns(const std::array<QStringList, GridColumnCount> &columns, const QString &total);
};

// The largest amount a grid row may come to; beyond it a number was mistyped.
inline constexpr double kMaxRowAmount = 99999999.99;
bool amountOutOfRange(const QString &quantity, const QString &price);
QString amountOutOfRangeMessage(int row);

// The amount text of one row: quantity × unit price, two decimals, empty when it reads 0.00
// or when it is out of range.
QString rowAmount(const QString &quantity, const QString &price);

// The drug names a western body prices, in body order, at most 24: each line that is neither
// blank nor a usage line gives the text up to its first space, trimmed; a line with no name
// before a space gives none.
QStringList drugNamesForPricing(const QString &body);
// The same lines with the whole line text beside each name.
struct PricedLine
{
    QString name;
    QString line;  // trimmed of spaces
};
QList<PricedLine> drugLinesForPricing(const QString &body);
// The drug of a western body line: the catalogue drug written exactly as the line (its name
// before any usage), else the first whose name begins with the line's name.
std::optional<DrugRow> drugForLine(const QString &line, const QString &name, DrugStore &drugs);
// Each name priced from drugForLine; a name with no match keeps its row unpriced.
PriceGrid priceWestern(const QString &body, DrugStore &drugs);

// One "g"-ended segment of a TCM body: the herb name and its grams ("" without a number).
struct HerbSegment
{
    QString name;
    QString grams;
    friend bool operator==(const HerbSegment &, const HerbSegment &) = default;
};
// Every segment that ends at a "g", in body order; the text after the last "g" is none.
QList<HerbSegment> herbSegments(const QString &body);
// The herb of a TCM segment: a 中药 row named exactly so, else the first 中药 row whose name
// contains it. Western and patent drugs are never priced by the gram.
std::optional<DrugRow> herbForName(const QString &name, DrugStore &drugs);
// Herbs found by herbForName take a row each (at most 24), with doses × grams as quantity.
PriceGrid priceHerbs(const QString &body, const QString &doses, DrugStore &drugs);

} // namespace quillora
