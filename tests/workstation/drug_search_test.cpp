#include "workstation/drug_search.h"

#include "data/drug_store.h"
#include "data/order_set_store.h"
#include "support/data_fixture.h"
#include "text/pinyin_order.h"

#include "test_text.h"

#include <Qt>
#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

TEST(DrugCategories, CaptionsSourcesAndFunctionKeys)
{
    const char *captions[] = {"抗生素", "输液",       "心血管", "呼吸", "消化",   "神经",     "内分泌",  "解热镇痛",
                              "维生素激素", "其他", "中成药", "用法", "中药", "个人组套", "中医验方"};
    for (int k = 0; k < kDrugCategoryCount; ++k) {
        EXPECT_EQ(categoryCaption(k), u(captions[k]));
        EXPECT_EQ(isDrugCategory(k), k < 12) << k;
    }
    for (const CurrentCategory k : {CurrentCategory{}, CurrentCategory{-1}, CurrentCategory{15}})
        EXPECT_EQ(categorySource(k), CategorySource::Drugs);
    EXPECT_TRUE(isHerbCategory(12) && isOrderSetCategory(13) && isFormulaCategory(14));
    EXPECT_TRUE(listsOrderSetTable(13) && listsOrderSetTable(14) && !listsOrderSetTable(12));
    EXPECT_EQ(categoryForKey(Qt::Key_F1), 0);
    EXPECT_EQ(categoryForKey(Qt::Key_F2), 12);
    EXPECT_EQ(categoryForKey(Qt::Key_F3), 14);
    EXPECT_EQ(categoryForKey(Qt::Key_F4), 13);
    EXPECT_EQ(categoryForKey(Qt::Key_F5), std::nullopt);
}

class DrugSearchTest : public EngineTest
{
protected:
    qint64 addDrug(const QString &name, const QString &code, const QString &category)
    {
        return DrugStore(settings()).insert({0, code, name, category, u("1"), u("盒"), 1});
    }
    qint64 addOrderSet(const QString &name, const QString &code, const QString &kind)
    {
        return OrderSetStore(settings()).insert({0, name, kind, code, name + u("\r\n    用法：口服")});
    }
    static QStringList texts(const PickList &list)
    {
        QStringList out;
        for (const ListedRow &row : list.rows)
            out << row.text;
        return out;
    }
    static bool inNameOrder(const QStringList &names)
    {
        return std::is_sorted(names.begin(), names.end(),
                              [](const QString &a, const QString &b) { return pinyinCompare(a, b) < 0; });
    }
};

QUILLORA_ON_BOTH_ENGINES(DrugSearchTest);

TEST_P(DrugSearchTest, CategoryClickListsEveryDrugContainingTheCaptionInNameOrder)
{
    for (int i = 0; i < 230; ++i)
        addDrug(u("抗菌药%1").arg(229 - i, 3, 10, QLatin1Char('0')), u("kjy"), u("抗生素"));
    const qint64 odd = addDrug(u("自配抗生素"), u("zp"), u("特殊抗生素类"));
    const PickList list = pickListForCategory(settings(), 0);
    EXPECT_FALSE(list.rowsAreOrderSets());
    EXPECT_EQ(list.rows.size(), 46 + 231);  // no cap on a category click
    EXPECT_TRUE(inNameOrder(texts(list)));
    EXPECT_TRUE(std::any_of(list.rows.begin(), list.rows.end(), [&](const ListedRow &r) { return r.rowId == odd; }));
    EXPECT_EQ(DrugStore(settings()).byRowId(list.rows[5].rowId)->name, list.rows[5].text);
    EXPECT_EQ(pickListForCategory(settings(), 12).source, CategorySource::Herbs);
    EXPECT_TRUE(pickListForCategory(settings(), 15).rows.isEmpty());
}

TEST_P(DrugSearchTest, OrderSetsAndFormulasInInsertionOrder)
{
    const qint64 b = addOrderSet(u("乙组套"), u("yzt"), kOrderSetKind);
    const qint64 a = addOrderSet(u("甲组套"), u("jzt"), kOrderSetKind);
    addOrderSet(u("四物汤"), u("swt"), kFormulaKind);
    const PickList sets = pickListForCategory(settings(), 13);
    EXPECT_TRUE(sets.rowsAreOrderSets());
    EXPECT_EQ(texts(sets), (QStringList{u("上感输液"), u("急性胃肠炎"), u("乙组套"), u("甲组套")}));
    EXPECT_EQ(sets.rows[2].rowId, b);
    EXPECT_EQ(sets.rows[3].rowId, a);
    EXPECT_EQ(texts(pickListForCategory(settings(), 14)), (QStringList{u("银翘散"), u("四物汤")}));
}

TEST_P(DrugSearchTest, DrugCategoriesSearchTheWholeCatalogueFirst200InNameOrder)
{
    for (int i = 0; i < 150; ++i) {
        addDrug(u("氨咪甲%1").arg(i, 3, 10, QLatin1Char('0')), u("amx%1").arg(i), u("心血管"));
        addDrug(u("氨咪乙%1").arg(i, 3, 10, QLatin1Char('0')), u("xamx"), u("中药"));
    }
    for (const CurrentCategory k : {CurrentCategory{}, CurrentCategory{0}, CurrentCategory{11}}) {
        const QStringList names = texts(pickListForSearch(settings(), k, u("AMX")));
        ASSERT_EQ(names.size(), 200);
        EXPECT_TRUE(inNameOrder(names));
        EXPECT_TRUE(names.contains(u("氨咪乙000")) && names.contains(u("氨咪甲000")));  // any category
    }
    EXPECT_EQ(pickListForSearch(settings(), std::nullopt, QString()).rows.size(), 200);
}

TEST_P(DrugSearchTest, HerbSearchStaysWithinHerbs)
{
    addDrug(u("测试归片 0.5g"), u("qqdgp"), u("中成药"));
    addDrug(u("测试归"), u("qqdg"), u("中药"));
    const PickList list = pickListForSearch(settings(), 12, u("QQDG"));
    EXPECT_EQ(list.source, CategorySource::Herbs);
    EXPECT_EQ(texts(list), QStringList{u("测试归")});
    EXPECT_EQ(texts(pickListForSearch(settings(), 0, u("qqdg"))), (QStringList{u("测试归"), u("测试归片 0.5g")}));
}

TEST_P(DrugSearchTest, StarterCatalogueIsCodedAsDoctorsTypeIt)
{
    EXPECT_TRUE(texts(pickListForSearch(settings(), 12, u("cx"))).contains(u("川芎")));
    const QStringList danshen = texts(pickListForSearch(settings(), std::nullopt, u("ffdsdw")));
    ASSERT_EQ(danshen.size(), 1);
    EXPECT_TRUE(danshen.first().startsWith(u("复方丹参滴丸")));
    EXPECT_EQ(texts(pickListForSearch(settings(), 12, u("ddc"))), QStringList{u("淡豆豉")});
}

TEST_P(DrugSearchTest, OrderSetSearchByCodeAndKindListsAll)
{
    for (int i = 0; i < 210; ++i)
        addOrderSet(u("组套%1").arg(i), u("zt%1").arg(i), kOrderSetKind);
    addOrderSet(u("组套验方"), u("ztyf"), kFormulaKind);
    const PickList sets = pickListForSearch(settings(), 13, u("ZT"));
    EXPECT_EQ(sets.rows.size(), 210);
    EXPECT_EQ(sets.rows.last().text, u("组套209"));
    const PickList formulas = pickListForSearch(settings(), 14, u("zt"));
    EXPECT_EQ(formulas.source, CategorySource::Formulas);
    EXPECT_EQ(texts(formulas), QStringList{u("组套验方")});
}

TEST_P(DrugSearchTest, QuotesAndWildcardsInTheSearchTextMatchLiterally)
{
    addDrug(u("百分药"), u("b%y"), u("其他"));
    addDrug(u("下划药"), u("x_y"), u("其他"));
    addDrug(u("引号药"), u("o'y"), u("其他"));
    addOrderSet(u("百分组套"), u("b%z"), kOrderSetKind);
    const std::pair<const char *, QStringList> cases[] = {
        {"%", {u("百分药")}}, {"_", {u("下划药")}}, {"'", {u("引号药")}}, {"\\", {}}};
    for (const auto &[text, names] : cases)
        EXPECT_EQ(texts(pickListForSearch(settings(), std::nullopt, u(text))), names) << text;
    EXPECT_EQ(texts(pickListForSearch(settings(), 13, u("%"))), QStringList{u("百分组套")});
    EXPECT_TRUE(pickListForSearch(settings(), 12, u("'")).rows.isEmpty());
}

} // namespace
