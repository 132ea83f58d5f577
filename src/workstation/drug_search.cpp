#include "workstation/drug_search.h"

#include "data/order_set_store.h"

namespace quillora {

PickList pickListForCategory(Database &settings, int category)
{
    if (category < 0 || category >= kDrugCategoryCount)
        return {};
    const DrugCategory &c = drugCategories()[category];
    PickList list{c.source, {}};
    if (list.rowsAreOrderSets())
        list.rows = OrderSetStore(settings).byKind(c.caption);
    else
        list.rows = DrugStore(settings).byCategory(c.caption);
    return list;
}

PickList pickListForSearch(Database &settings, CurrentCategory category, const QString &text)
{
    PickList list{categorySource(category), {}};
    switch (list.source) {
    case CategorySource::Drugs:
        list.rows = DrugStore(settings).searchByCode(text, kDrugSearchLimit);
        break;
    case CategorySource::Herbs:
        list.rows = DrugStore(settings).searchByCode(text, categoryCaption(kHerbCategory), kDrugSearchLimit);
        break;
    case CategorySource::OrderSets:
    case CategorySource::Formulas:
        list.rows = OrderSetStore(settings).searchByCode(text, categoryCaption(*category));
        break;
    }
    return list;
}

} // namespace quillora
