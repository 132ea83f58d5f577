#pragma once

#include "data/drug_store.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillora {

// The views of the drug catalogue window: thirteen categories and the search view.
namespace DrugViews {
constexpr int kCategoryCount = 13;
constexpr int kSearchView = 13;  // "全部": the drugs whose code contains the search text
constexpr int kViewCount = 14;
// The caption of view 0–13; empty outside.
QString caption(int view);
// The thirteen category names, in the order of the category combo.
QStringList categoryNames();
// The view (0–12) of a category name; nullopt for any other text.
std::optional<int> categoryView(const QString &category);
// The unit combo's choices.
QStringList unitNames();
// The quick-insert captions, in their order on the window.
QStringList quickInserts();
// The help text beside the edit fields, line by line.
QString helpText();
} // namespace DrugViews

// Which rows fill the catalogue list: how the category must match, or the code search.
struct DrugListFilter
{
    enum Kind { CategoryIs, CategoryEndsWith, CategoryContains, CodeContains };
    Kind kind = CategoryIs;
    QString text;

    // Opening the window: the category equal to the view's caption (the search view searches).
    static DrugListFilter opening(int view, const QString &search);
    // A category button; the search view searches.
    static DrugListFilter button(int view, const QString &search);
    // After a save: the category containing the view's caption; the search view searches.
    static DrugListFilter afterSave(int view, const QString &search);
};

// The rows of a filter, in name order, with their identities.
QList<ListedRow> listDrugs(DrugStore &drugs, const DrugListFilter &filter);

// The edit fields of the catalogue window, as texts.
struct DrugFields
{
    QString name;
    QString usage;
    QString code;
    QString category;
    QString quantity;
    QString unit;
    QString price;
    friend bool operator==(const DrugFields &, const DrugFields &) = default;
};

// A stored row as the edit fields show it: the name split at its first backslash, a quantity
// or price of 0 left empty, a price written with its leading 0.
DrugFields drugFieldsOf(const DrugRow &row);
// The stored name: the name, and after a backslash the usage when there is one.
QString joinDrugName(const QString &name, const QString &usage);
// What a save writes: an empty code takes the name, trimmed code, category and unit, the
// quantity and price as their leading numbers (0 without one). The row id is left to the caller.
DrugRow drugRowToSave(const DrugFields &fields);
// Why the fields cannot be saved (no name, texts longer than their columns); empty when they can.
QString drugSaveProblem(const DrugFields &fields);

// The name box as it is kept: full-width and square brackets become "(" ")", "*" becomes "×".
// Every replacement is one character for one, so the caret keeps its place.
QString normaliseDrugName(const QString &text);
// The price box as it is kept: a full stop typed in Chinese becomes ".".
QString normalisePriceText(const QString &text);
// The price as the box shows it: "0" before a leading ".", empty when it reads 0.
QString priceShown(const QString &priceText);
// The quantity as the box shows it: empty when it reads "0".
QString quantityShown(const QString &quantity);

} // namespace quillora
