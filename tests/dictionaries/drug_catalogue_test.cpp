#include "dictionaries/drug_catalogue.h"

#include "data/database.h"
#include "support/data_fixture.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

TEST(DrugCatalogueRules, NameBoxKeepsRoundBracketsAndTheTimesSign)
{
    const std::pair<const char *, const char *> cases[] = {
        {"阿莫西林[胶囊]", "阿莫西林(胶囊)"},
        {"头孢（克肟）片", "头孢(克肟)片"},
        {"0.25g*24片", "0.25g×24片"},
        {"a[b]（c）*d*", "a(b)(c)×d×"},
        {"plain 名称 0.5g", "plain 名称 0.5g"},
    };
    for (const auto &[typed, kept] : cases) {
        const QString out = normaliseDrugName(u(typed));
        EXPECT_EQ(out, u(kept)) << typed;
        // One character for one: a caret keeps its place.
        EXPECT_EQ(out.size(), u(typed).size()) << typed;
    }
    EXPECT_EQ(normalisePriceText(u("12。5")), u("12.5"));
}

TEST(DrugCatalogueRules, ShowingAnEntry)
{
    DrugRow row{7, u("amxlp"), u("阿莫西林片 0.25g×24片\\0.5g 口服  每日3次"), u("抗生素"), u("2"), u("盒"), 0.5};
    DrugFields f = drugFieldsOf(row);
    EXPECT_EQ(f.name, u("阿莫西林片 0.25g×24片"));
    EXPECT_EQ(f.usage, u("0.5g 口服  每日3次"));
    EXPECT_EQ(f.price, u("0.5"));
    EXPECT_EQ(f.quantity, u("2"));
    // Split at the first backslash only; a second one belongs to the usage.
    row.name = u("甲\\乙\\丙");
    f = drugFieldsOf(row);
    EXPECT_EQ(QStringList({f.name, f.usage}), QStringList({u("甲"), u("乙\\丙")}));
    EXPECT_EQ(joinDrugName(f.name, f.usage), row.name);
    // Zero quantity and price show empty.
    row.quantity = u("0");
    row.price = 0;
    f = drugFieldsOf(row);
    EXPECT_TRUE(f.quantity.isEmpty());
    EXPECT_TRUE(f.price.isEmpty());
    EXPECT_EQ(priceShown(u(".5")), u("0.5"));
    EXPECT_EQ(priceShown(u("0")), QString());
    EXPECT_EQ(priceShown(u("12.35")), u("12.35"));
    EXPECT_EQ(quantityShown(u("0.5")), u("0.5"));
}

TEST(DrugCatalogueRules, WhatASaveWrites)
{
    DrugFields f{u("青霉素注射液 960万单位"), QString(), u("  "), u(" 抗生素 "), u(" 2支"), u(" 支 "), u(" 3.456789元")};
    DrugRow row = drugRowToSave(f);
    EXPECT_EQ(row.name, u("青霉素注射液 960万单位"));
    EXPECT_EQ(row.code, u("青霉素注射液 960万单位"));  // no code: the name is its own code
    EXPECT_EQ(row.category, u("抗生素"));
    EXPECT_EQ(row.quantity, u("2"));
    EXPECT_EQ(row.unit, u("支"));
    EXPECT_DOUBLE_EQ(row.price, 3.4568);
    f.usage = u("口服");
    f.code = u(" qmszsy ");
    f.quantity = u("两支");
    f.price = QString();
    row = drugRowToSave(f);
    EXPECT_EQ(row.name, u("青霉素注射液 960万单位\\口服"));
    EXPECT_EQ(row.code, u("qmszsy"));
    EXPECT_EQ(row.quantity, u("0"));
    EXPECT_DOUBLE_EQ(row.price, 0);
}

TEST(DrugCatalogueRules, SavesThatAreRefusedSayWhy)
{
    DrugFields ok{u("阿莫西林"), u("口服"), u("amxl"), u("抗生素"), u("2"), u("盒"), u("1")};
    EXPECT_TRUE(drugSaveProblem(ok).isEmpty());
    DrugFields f = ok;
    f.name = u("   ");
    EXPECT_EQ(drugSaveProblem(f), u("请填写药品名称，药品未保存。"));
    f = ok;
    f.name = QString(190, QChar(u'药'));
    f.usage = QString(10, QChar(u'服'));  // 190 + "\" + 10 = 201
    EXPECT_EQ(drugSaveProblem(f), u("“药品名称”最多200个字，现有201个字，请删减后再保存。"));
    f = ok;
    f.code = QString();
    f.name = QString(51, QChar(u'药'));  // becomes its own code, one past the code's 50
    EXPECT_TRUE(drugSaveProblem(f).contains(u("拼音代码")));
    f = ok;
    f.unit = QString(51, QLatin1Char('g'));
    EXPECT_TRUE(drugSaveProblem(f).contains(u("单位")));
}

TEST(DrugCatalogueRules, ViewsAndCategories)
{
    EXPECT_EQ(DrugViews::caption(0), u("抗生素"));
    EXPECT_EQ(DrugViews::caption(12), u("中药"));
    EXPECT_EQ(DrugViews::caption(13), u("全部"));
    EXPECT_EQ(DrugViews::caption(14), QString());
    EXPECT_EQ(DrugViews::categoryView(u("中成药")), 10);
    EXPECT_EQ(DrugViews::categoryView(u("全部")), std::nullopt);
    EXPECT_EQ(DrugViews::categoryView(u("自备药")), std::nullopt);
    EXPECT_EQ(DrugViews::categoryNames().size(), 13);
    EXPECT_EQ(DrugViews::quickInserts().size(), 10);
}

class DrugListTest : public EngineTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        settings().exec(QStringLiteral("DELETE FROM [药品]"));
    }
    qint64 add(const char *name, const char *code, const char *category)
    {
        return DrugStore(settings()).insert({0, u(code), u(name), u(category), u("1"), u("盒"), 1});
    }
    QStringList names(const DrugListFilter &filter)
    {
        DrugStore drugs(settings());
        QStringList out;
        for (const ListedRow &row : listDrugs(drugs, filter))
            out << row.text;
        return out;
    }
};

QUILLORA_ON_BOTH_ENGINES(DrugListTest);

TEST_P(DrugListTest, EachOccasionMatchesTheCategoryItsOwnWay)
{
    add("乙药", "yy", "中成药");
    add("甲药", "jy", "中成药");
    add("丙药", "by", "外用中成药");
    add("丁药", "dy", "中成药(外用)");
    add("戊药", "wy", "中药");
    const int kPatent = 10;
    // Opening: the category itself; a button: ending with it; after a save: containing it.
    EXPECT_EQ(names(DrugListFilter::opening(kPatent, QString())), QStringList({u("甲药"), u("乙药")}));
    EXPECT_EQ(names(DrugListFilter::button(kPatent, QString())), QStringList({u("丙药"), u("甲药"), u("乙药")}));
    EXPECT_EQ(names(DrugListFilter::afterSave(kPatent, QString())),
              QStringList({u("丙药"), u("丁药"), u("甲药"), u("乙药")}));
    // The search view lists by code, every row for an empty search, whatever the occasion.
    for (const DrugListFilter &f : {DrugListFilter::opening(13, QString()), DrugListFilter::button(13, QString()),
                                    DrugListFilter::afterSave(13, QString())})
        EXPECT_EQ(names(f).size(), 5);
    EXPECT_EQ(names(DrugListFilter::button(13, u("Y"))).size(), 5);
    EXPECT_EQ(names(DrugListFilter::button(13, u("jy"))), QStringList({u("甲药")}));
}

TEST_P(DrugListTest, TypedWildcardsMatchLiterally)
{
    add("百分药", "b%y", "抗_生素");
    add("下划药", "bxy", "抗生素");
    EXPECT_EQ(names(DrugListFilter::button(13, u("%"))), QStringList({u("百分药")}));
    EXPECT_EQ(names(DrugListFilter::button(13, u("b_y"))), QStringList());
    EXPECT_EQ(names({DrugListFilter::CategoryIs, u("抗_生素")}), QStringList({u("百分药")}));
    EXPECT_EQ(names({DrugListFilter::CategoryContains, u("_")}), QStringList({u("百分药")}));
    EXPECT_EQ(names({DrugListFilter::CodeContains, u("'")}), QStringList());
}

TEST_P(DrugListTest, UpdateAndRemoveAddressTheirRow)
{
    const qint64 a = add("同名药", "tmy", "抗生素");
    const qint64 b = add("同名药", "tmy", "抗生素");
    DrugStore drugs(settings());
    DrugRow changed = *drugs.byRowId(b);
    changed.price = 9.5;
    changed.name = u("改名药");
    EXPECT_TRUE(drugs.update(changed));
    EXPECT_EQ(drugs.byRowId(a)->name, u("同名药"));
    EXPECT_EQ(drugs.byRowId(b)->name, u("改名药"));
    EXPECT_TRUE(drugs.remove(a));
    EXPECT_FALSE(drugs.byRowId(a).has_value());
    EXPECT_TRUE(drugs.byRowId(b).has_value());
    EXPECT_FALSE(drugs.update({a, u("x"), u("x"), u("x"), u("1"), u("x"), 1}));
    // The schema refuses an empty name; the row keeps what it had.
    changed.name = QString();
    EXPECT_THROW(drugs.update(changed), DbError);
    EXPECT_EQ(drugs.byRowId(b)->name, u("改名药"));
}

} // namespace
