#pragma once

#include <QString>

#include <array>
#include <optional>

namespace quillora {

// What a category button lists, and so what a pick from its list inserts.
enum class CategorySource {
    Drugs,      // catalogue rows, picked as drug lines
    Herbs,      // catalogue rows of 中药, picked as herb cells
    OrderSets,  // 个人组套 rows, picked as their content
    Formulas,   // 中医验方 rows (same table), picked as their content
};

// One of the fifteen category buttons of the drug entry.
struct DrugCategory
{
    int index = 0;
    QString caption;  // also the text matched against 分类
    CategorySource source = CategorySource::Drugs;
};

constexpr int kDrugCategoryCount = 15;
constexpr int kHerbCategory = 12;
constexpr int kOrderSetCategory = 13;
constexpr int kFormulaCategory = 14;

// The category last chosen by a button or function key; unset until the first choice.
using CurrentCategory = std::optional<int>;

const std::array<DrugCategory, kDrugCategoryCount> &drugCategories();
// The caption of button k; empty outside 0–14.
QString categoryCaption(int k);

// Unset, and anything that is not 12, 13 or 14, lists and picks like a drug category.
CategorySource categorySource(CurrentCategory k);
bool isDrugCategory(CurrentCategory k);
bool isHerbCategory(CurrentCategory k);
bool isOrderSetCategory(CurrentCategory k);
bool isFormulaCategory(CurrentCategory k);
// 13 and 14 both list rows of 个人组套, whose picks insert the stored content.
bool listsOrderSetTable(CurrentCategory k);

// The category a function key in the search box chooses (F1 抗生素, F2 中药, F3 中医验方,
// F4 个人组套); nullopt for any other key.
std::optional<int> categoryForKey(int qtKey);

} // namespace quillora
