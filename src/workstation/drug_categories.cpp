#include "workstation/drug_categories.h"

#include <Qt>

namespace quillora {

const std::array<DrugCategory, kDrugCategoryCount> &drugCategories()
{
    using S = CategorySource;
    static const std::array<DrugCategory, kDrugCategoryCount> categories{{
        {0, QStringLiteral("抗生素"), S::Drugs},
        {1, QStringLiteral("输液"), S::Drugs},
        {2, QStringLiteral("心血管"), S::Drugs},
        {3, QStringLiteral("呼吸"), S::Drugs},
        {4, QStringLiteral("消化"), S::Drugs},
        {5, QStringLiteral("神经"), S::Drugs},
        {6, QStringLiteral("内分泌"), S::Drugs},
        {7, QStringLiteral("解热镇痛"), S::Drugs},
        {8, QStringLiteral("维生素激素"), S::Drugs},
        {9, QStringLiteral("其他"), S::Drugs},
        {10, QStringLiteral("中成药"), S::Drugs},
        {11, QStringLiteral("用法"), S::Drugs},
        {12, QStringLiteral("中药"), S::Herbs},
        {13, QStringLiteral("个人组套"), S::OrderSets},
        {14, QStringLiteral("中医验方"), S::Formulas},
    }};
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
