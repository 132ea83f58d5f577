#include "workstation/pricing.h"

#include "data/drug_store.h"
#include "text/numbers.h"
#include "text/text_lines.h"

namespace quillora {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Spaces only, as the body is written; a tab or an ideographic space is text.
QString trimSpaces(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

// The segment without its number: digits go, and so does a decimal point standing next to a
// digit, so 1.5g of a herb leaves the bare name rather than a name ending in ".".
QString herbNameOf(const QString &segment)
{
    QString name;
    name.reserve(segment.size());
    const qsizetype n = segment.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = segment.at(i);
        if (isDigit(c))
            continue;
        if (c == QLatin1Char('.') && ((i > 0 && isDigit(segment.at(i - 1))) || (i + 1 < n && isDigit(segment.at(i + 1)))))
            continue;
        if (c == QLatin1Char(' ') || c == QLatin1Char('g'))
            continue;
        name.append(c);
    }
    name.remove(QStringLiteral("\r\n"));
    return name;
}

} // namespace

QString &PriceRow::operator[](GridColumn column)
{
    switch (column) {
    case GridName:
        return name;
    case GridQuantity:
        return quantity;
    case GridUnit:
        return unit;
    case GridPrice:
        return price;
    default:
        return amount;
    }
}

const QString &PriceRow::operator[](GridColumn column) const
{
    return const_cast<PriceRow &>(*this)[column];
}

bool amountOutOfRange(const QString &quantity, const QString &price)
{
    return leadingNumber(quantity) * leadingNumber(price) > kMaxRowAmount;
}

QString amountOutOfRangeMessage(int row)
{
    return QStringLiteral("价格表第%1行的数量乘单价超过%2元，这个金额不予接受，请检查数量和单价。")
        .arg(row + 1)
        .arg(format00(kMaxRowAmount));
}

QString rowAmount(const QString &quantity, const QString &price)
{
    if (amountOutOfRange(quantity, price))
        return QString();
    // The product is first written as plain text (15 digits), then rounded to cents from that
    // text, so 3 × 0.335 gives 1.01 and not the 1.00 its binary value would round to.
    const double product = leadingNumber(plainNumber(leadingNumber(quantity) * leadingNumber(price)));
    const QString amount = format00(product);
    return amount == QLatin1String("0.00") ? QString() : amount;
}

void PriceGrid::retotal()
{
    Money sum;
    for (PriceRow &row : rows) {
        row.amount = rowAmount(row.quantity, row.price);
        sum += Money::fromDouble(leadingNumber(row.amount));
    }
    total = sum.format00();
    if (leadingNumber(total) == 0)
        total.clear();
}

QList<int> PriceGrid::rowsOutOfRange() const
{
    QList<int> out;
    for (int r = 0; r < kGridRows; ++r) {
        if (amountOutOfRange(rows[r].quantity, rows[r].price))
            out << r;
    }
    return out;
}

void PriceGrid::clear()
{
    rows.fill(PriceRow{});
    total.clear();
}

std::array<QStringList, GridColumnCount> PriceGrid::columns() const
{
    std::array<QStringList, GridColumnCount> out;
    for (int c = 0; c < GridColumnCount; ++c) {
        out[c].reserve(kGridRows);
        for (const PriceRow &row : rows)
            out[c] << row[GridColumn(c)];
    }
    return out;
}

PriceGrid PriceGrid::fromColumns(const std::array<QStringList, GridColumnCount> &columns, const QString &total)
{
    PriceGrid grid;
    for (int c = 0; c < GridColumnCount; ++c) {
        const QStringList &column = columns[c];
        for (int r = 0; r < kGridRows && r < column.size(); ++r)
            grid.rows[r][GridColumn(c)] = column[r];
    }
    grid.total = total;
    return grid;
}

QList<PricedLine> drugLinesForPricing(const QString &body)
{
    QList<PricedLine> lines;
    for (const QString &line : splitScratchLines(body)) {
        if (lines.size() == kGridRows)
            break;
        if (trimSpaces(line).isEmpty() || line.contains(QStringLiteral("用法")))
            continue;
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space < 0)
            continue;  // an empty name would match every drug in the catalogue
        const QString name = trimSpaces(line.left(space + 1));
        if (!name.isEmpty())
            lines << PricedLine{name, trimSpaces(line)};
    }
    return lines;
}

QStringList drugNamesForPricing(const QString &body)
{
    QStringList names;
    for (const PricedLine &line : drugLinesForPricing(body))
        names << line.name;
    return names;
}

std::optional<DrugRow> drugForLine(const QString &line, const QString &name, DrugStore &drugs)
{
    if (auto exact = drugs.firstByWholeName(line))
        return exact;
    return drugs.firstByNamePrefix(name);
}

std::optional<DrugRow> herbForName(const QString &name, DrugStore &drugs)
{
    const QString herbs = QStringLiteral("中药");
    if (auto exact = drugs.firstByWholeName(name, herbs))
        return exact;
    return drugs.firstByNameContaining(name, herbs);
}

PriceGrid priceWestern(const QString &body, DrugStore &drugs)
{
    PriceGrid grid;
    const QList<PricedLine> lines = drugLinesForPricing(body);
    for (int r = 0; r < lines.size(); ++r) {
        PriceRow &row = grid.rows[r];
        row.name = lines[r].name;
        if (const auto drug = drugForLine(lines[r].line, row.name, drugs)) {
            row.quantity = drug->quantity;
            row.unit = drug->unit;
            row.price = format00(drug->price);
        }
    }
    grid.retotal();
    return grid;
}

QList<HerbSegment> herbSegments(const QString &body)
{
    QList<HerbSegment> segments;
    qsizetype p = 0;
    for (;;) {
        const qsizetype g = body.indexOf(QLatin1Char('g'), p);
        if (g < 0)
            break;
        const QString segment = body.mid(p, g - p);
        segments << HerbSegment{herbNameOf(segment), gm(segment)};
        p = g + 1;
    }
    return segments;
}

PriceGrid priceHerbs(const QString &body, const QString &doses, DrugStore &drugs)
{
    PriceGrid grid;
    const double doseCount = leadingNumber(doses);
    int r = 0;
    for (const HerbSegment &segment : herbSegments(body)) {
        if (r == kGridRows)
            break;
        if (segment.name.isEmpty())
            continue;  // an empty name would match the first drug of the catalogue
        const auto drug = herbForName(segment.name, drugs);
        if (!drug)
            continue;
        PriceRow &row = grid.rows[r++];
        row.name = segment.name;
        if (!segment.grams.isEmpty())
            row.quantity = plainNumber(doseCount * leadingNumber(segment.grams));
        row.unit = drug->unit;
        row.price = format00(drug->price);
    }
    grid.retotal();
    return grid;
}

} // namespace quillora
