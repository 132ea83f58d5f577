#include "workstation/drug_categories.h"

#include "data/drug_category_names.h"

#include <Qt>

namespace quillora {

const std::array<DrugCategory, kDrugCategoryCount> &drugCategories()
{
    using S = CategorySource;
    static const std::array<DrugCategory, kDrugCategoryCount> categories = [] {
        std::array<DrugCategory, kDrugCategoryCount> all{};
        const QStringList &names = catalogueCategoryNames();
        for (int k = 0; k < names.size(); ++k)
            all[k] = {k, names[k], k == kHerbCategory ? S::Herbs : S::Drugs};
        all[kOrderSetCategory] = {kOrderSetCategory, QStringLiteral("个人组套"), S::OrderSets};
        all[kFormulaCategory] = {kFormulaCategory, QStringLiteral("中医验方"), S::Formulas};
        return all;
    }();
    return categories;
}

QString categoryCaption(int k)
{
    if (k < 0 || k >= kDrugCategoryCount)
        return {};
    return drugCategories()[k].caption;
}

CategorySource categorySource(CurrentCategory k)
{
    if (!k || *k < 0 || *k >= kDrugCategoryCount)
        return CategorySource::Drugs;
    return drugCategories()[*k].source;
}

bool isDrugCategory(CurrentCategory k) { return categorySource(k) == CategorySource::Drugs; }
bool isHerbCategory(CurrentCategory k) { return categorySource(k) == CategorySource::Herbs; }
bool isOrderSetCategory(CurrentCategory k) { return categorySource(k) == CategorySource::OrderSets; }
bool isFormulaCategory(CurrentCategory k) { return categorySource(k) == CategorySource::Formulas; }

bool listsOrderSetTable(CurrentCategory k)
{
    const CategorySource s = categorySource(k);
    return s == CategorySource::OrderSets || s == CategorySource::Formulas;
}

std::optional<int> categoryForKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F1:
        return 0;
    case Qt::Key_F2:
        return kHerbCategory;
    case Qt::Key_F3:
        return kFormulaCategory;
    case Qt::Key_F4:
        return kOrderSetCategory;
    default:
        return std::nullopt;
    }
}

} // namespace quillora
