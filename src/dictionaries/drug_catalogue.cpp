#include "dictionaries/drug_catalogue.h"

#include "data/drug_category_names.h"

#include "dictionaries/dictionary_entries.h"
#include "text/numbers.h"

namespace quillora {

namespace {

const QString kAll = QStringLiteral("全部");
const QChar kUsageMark = QLatin1Char('\\');

DrugListFilter searchFilter(const QString &search) { return {DrugListFilter::CodeContains, search}; }

} // namespace

QStringList DrugViews::categoryNames() { return catalogueCategoryNames(); }

QString DrugViews::caption(int view)
{
    if (view == kSearchView)
        return kAll;
    return view >= 0 && view < kCategoryCount ? categoryNames().at(view) : QString();
}

std::optional<int> DrugViews::categoryView(const QString &category)
{
    const qsizetype index = categoryNames().indexOf(category);
    return index < 0 ? std::nullopt : std::optional<int>(int(index));
}

QStringList DrugViews::unitNames()
{
    return {QStringLiteral("粒"), QStringLiteral("片"), QStringLiteral("支"), QStringLiteral("瓶"),
            QStringLiteral("包"), QStringLiteral("袋"), QStringLiteral("个"), QStringLiteral("g")};
}

QStringList DrugViews::quickInserts()
{
    return {QStringLiteral("支"),   QStringLiteral("片"),   QStringLiteral("粒"), QStringLiteral("×"),
            QStringLiteral("每日3次"), QStringLiteral("口服"), QStringLiteral("*"),  QStringLiteral("静脉滴注"),
            QStringLiteral("g"),    QStringLiteral("mg")};
}

QString DrugViews::helpText()
{
    return QStringLiteral("1、静脉药品仅填写名称，不需填写用法用量。\n\n"
                          "如：药品名称：青霉素注射液 960万单位\n\n"
                          "2、口服及其他药品填写格式：\n\n"
                          "如：药品名称：阿莫西林片 0.25g×24片\n\n"
                          "     用法用量：0.5g 口服  每日3次");
}

DrugListFilter DrugListFilter::opening(int view, const QString &search)
{
    // The search view has no category to open on; it opens on its search.
    return view == DrugViews::kSearchView ? searchFilter(search) : DrugListFilter{CategoryIs, DrugViews::caption(view)};
}

DrugListFilter DrugListFilter::button(int view, const QString &search)
{
    return view == DrugViews::kSearchView ? searchFilter(search) : DrugListFilter{CategoryEndsWith, DrugViews::caption(view)};
}

DrugListFilter DrugListFilter::afterSave(int view, const QString &search)
{
    return view == DrugViews::kSearchView ? searchFilter(search) : DrugListFilter{CategoryContains, DrugViews::caption(view)};
}

QList<ListedRow> listDrugs(DrugStore &drugs, const DrugListFilter &filter)
{
    switch (filter.kind) {
    case DrugListFilter::CategoryIs:
        return drugs.byCategory(filter.text, DrugStore::Match::Equal);
    case DrugListFilter::CategoryEndsWith:
        return drugs.byCategory(filter.text, DrugStore::Match::EndsWith);
    case DrugListFilter::CategoryContains:
        return drugs.byCategory(filter.text, DrugStore::Match::Contains);
    case DrugListFilter::CodeContains:
        break;
    }
    return drugs.searchByCode(filter.text, -1);
}

QString joinDrugName(const QString &name, const QString &usage)
{
    return usage.isEmpty() ? name : name + kUsageMark + usage;
}

DrugFields drugFieldsOf(const DrugRow &row)
{
    DrugFields f;
    const qsizetype mark = row.name.indexOf(kUsageMark);
    f.name = mark < 0 ? row.name : row.name.left(mark);
    f.usage = mark < 0 ? QString() : row.name.mid(mark + 1);
    f.code = row.code;
    f.category = row.category;
    f.quantity = quantityShown(row.quantity);
    f.unit = row.unit;
    f.price = priceShown(Money::fromDouble(row.price).toPlain());
    return f;
}

DrugRow drugRowToSave(const DrugFields &fields)
{
    DrugRow row;
    const QString code = fields.code.trimmed();
    row.code = code.isEmpty() ? fields.name.trimmed() : code;
    row.name = joinDrugName(fields.name, fields.usage);
    row.category = fields.category.trimmed();
    row.quantity = plainNumber(leadingNumber(fields.quantity.trimmed()));
    row.unit = fields.unit.trimmed();
    // Prices are kept to the ten-thousandth, as a money column holds them.
    row.price = Money::fromDouble(leadingNumber(fields.price.trimmed())).toDouble();
    return row;
}

QString drugSaveProblem(const DrugFields &fields)
{
    if (fields.name.trimmed().isEmpty())
        return QStringLiteral("请填写药品名称，药品未保存。");
    const DrugRow row = drugRowToSave(fields);
    return firstProblem({lengthProblem(QStringLiteral("药品名称"), row.name, 200),
                         lengthProblem(QStringLiteral("拼音代码"), row.code, 50),
                         lengthProblem(QStringLiteral("药品分类"), row.category, 50),
                         lengthProblem(QStringLiteral("常用数量"), row.quantity, 50),
                         lengthProblem(QStringLiteral("单位"), row.unit, 50)});
}

QString normaliseDrugName(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case u'（':
        case u'[':
            c = QLatin1Char('(');
            break;
        case u'）':
        case u']':
            c = QLatin1Char(')');
            break;
        case u'*':
            c = QChar(u'×');
            break;
        default:
            break;
        }
    }
    return out;
}

QString normalisePriceText(const QString &text)
{
    return QString(text).replace(QChar(u'。'), QLatin1Char('.'));
}

QString priceShown(const QString &priceText)
{
    if (priceText == QLatin1String("0"))
        return {};
    return priceText.startsWith(QLatin1Char('.')) ? QLatin1Char('0') + priceText : priceText;
}

QString quantityShown(const QString &quantity)
{
    return quantity == QLatin1String("0") ? QString() : quantity;
}

} // namespace quillora
