#pragma once

#include "data/drug_store.h"
#include "workstation/drug_categories.h"

#include <QList>
#include <QString>

namespace quillora {

class Database;

// The entries of the drug entry's pick list and the table their row ids belong to.
struct PickList
{
    CategorySource source = CategorySource::Drugs;
    QList<ListedRow> rows;

    // Drugs and herbs are 药品 rows; order sets and formulas are 个人组套 rows.
    bool rowsAreOrderSets() const
    {
        return source == CategorySource::OrderSets || source == CategorySource::Formulas;
    }
};

// A category button (or its function key): categories 0–12 list every drug whose 分类
// contains the caption in name order; 13 and 14 list their kind in insertion order.
// An index outside 0–14 gives an empty drug list.
PickList pickListForCategory(Database &settings, int category);

// A keystroke in the search box: below 12 (or unset) the whole catalogue by code, first 200 in
// name order; 12 the same within 中药; 13 and 14 their kind by code, all of them.
PickList pickListForSearch(Database &settings, CurrentCategory category, const QString &text);

} // namespace quillora
