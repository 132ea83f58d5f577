#include "workstation/pricing.h"

#include "data/drug_store.h"
#include "support/data_fixture.h"

#include "test_text.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

TEST(RowAmount, QuantityTimesPriceInCentsEmptyWhenZero)
{
    const struct {
        const char *quantity, *price, *amount;
    } cases[] = {{"2", "12.50", "25.00"}, {"3", "0.335", "1.01"}, {"1", "2.675", "2.68"},
                 {"0", "5.00", ""},       {"", "", ""},           {"1", "0.004", ""},
                 {"1", "0.005", "0.01"},  {"2.5盒", "1.1元", "2.75"}, {" 1 0", "3", "30.00"},
                 {"-2", "3", ""},         {"1000", "99999.99", "99999990.00"},
                 {"1", "99999999.99", "99999999.99"}, {"100000", "99999.99", ""}, {"99999999999999999999", "2", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(rowAmount(u(c.quantity), u(c.price)), u(c.amount)) << c.quantity << " x " << c.price;
}

TEST(PriceGridTotal, SumsTheAmountsAsTheyRead)
{
    PriceGrid grid;
    for (int r = 0; r < 3; ++r)
        grid.rows[r] = {u("甲"), u("1"), u("盒"), u("0.335"), u("stale")};
    grid.retotal();
    EXPECT_EQ(grid.rows[0].amount, u("0.34"));
    EXPECT_EQ(grid.total, u("1.02"));  // three rounded amounts, not 1.005 rounded
    for (PriceRow &row : grid.rows)
        row = {u("乙"), u("1"), u("支"), u("0.10"), {}};
    grid.retotal();
    EXPECT_EQ(grid.total, u("2.40"));  // 24 dimes add up without drift
}

TEST(PriceGridTotal, TypingAQuantityRetotalsAndZeroShowsEmpty)
{
    PriceGrid grid;
    grid.rows[5].price = u("12.50");
    grid.total = u("99");
    grid.retotal();
    EXPECT_EQ(grid.rows[5].amount, QString());
    EXPECT_EQ(grid.total, QString());
    grid.rows[5].quantity = u("2");
    grid.retotal();
    EXPECT_EQ(grid.rows[5].amount, u("25.00"));
    EXPECT_EQ(grid.total, u("25.00"));
}

TEST(PriceGridColumns, RoundTripAndOddStoredColumnsStayInTwentyFourRows)
{
    PriceGrid grid;
    grid.rows[0] = {u("当归"), u("30"), u("g"), u("0.25"), u("7.50")};
    grid.rows[23].name = u("末行");
    const auto columns = grid.columns();
    EXPECT_EQ(columns[GridQuantity].size(), 24);
    EXPECT_EQ(PriceGrid::fromColumns(columns, {}).rows, grid.rows);
    std::array<QStringList, GridColumnCount> odd;
    odd[GridName] = QStringList(30, u("x"));
    odd[GridUnit] = {u("盒")};
    const PriceGrid fitted = PriceGrid::fromColumns(odd, {});
    EXPECT_EQ(fitted.rows[23].name, u("x"));
    EXPECT_EQ(fitted.rows[1].unit, QString());
}

TEST(DrugNamesForPricing, TextBeforeTheFirstSpaceOfEachDrugLine)
{
    const QString body = u("阿莫西林片 0.25g×24片\r\n    用法：0.5g 口服  每日3次\r\n\r\n   \r\n"
                           "维生素C片\r\n"        // no space: not priced
                           " 前导空格 1盒\r\n"    // nothing before the first space
                           "头孢\t0.25g 1盒\r\n"  // a tab is no separator
                           "布洛芬缓释胶囊  0.3g");
    EXPECT_EQ(drugNamesForPricing(body), (QStringList{u("阿莫西林片"), u("头孢\t0.25g"), u("布洛芬缓释胶囊")}));
    QString thirty;
    for (int i = 0; i < 30; ++i)
        thirty += u("药%1 1盒\r\n").arg(i);
    EXPECT_EQ(drugNamesForPricing(thirty).size(), 24);
    EXPECT_EQ(drugNamesForPricing(thirty).last(), u("药23"));
}

TEST(HerbSegments, EachSmallGEndsASegment)
{
    const struct {
        const char *body;
        std::vector<std::pair<const char *, const char *>> segments;
    } cases[] = {
        {"当归 10g 川芎 6g", {{"当归", "10"}, {"川芎", "6"}}},
        {"当归 10g\r\n川芎 6g\r\n", {{"当归", "10"}, {"川芎", "6"}}},
        {"当归         川芎         \r\n\r\n熟地黄 15g", {{"当归川芎熟地黄", "15"}}},  // cells without grams run on
        {"红参 5g hugo 3g", {{"红参", "5"}, {"hu", ""}, {"o", "3"}}},                // a g inside a word
        {"麝香 0.1g 冰片 .5g", {{"麝香", "0.1"}, {"冰片", "5"}}},                    // gm starts at a digit
        {"甘草 6G", {}},
        {"甘草 6g 无克数", {{"甘草", "6"}}},
        {"gg", {{"", ""}, {"", ""}}}};
    for (const auto &c : cases) {
        QList<HerbSegment> expected;
        for (const auto &[name, grams] : c.segments)
            expected << HerbSegment{u(name), u(grams)};
        EXPECT_EQ(herbSegments(u(c.body)), expected) << c.body;
    }
}

class PricingTest : public EngineTest
{
protected:
    void addDrug(const char *name, const char *quantity, const char *unit, double price, const char *category = "其他")
    {
        DrugStore(settings()).insert({0, u("zz"), u(name), u(category), u(quantity), u(unit), price});
    }
    PriceGrid western(const QString &body)
    {
        DrugStore drugs(settings());
        return priceWestern(body, drugs);
    }
    PriceGrid herbs(const QString &body, const QString &doses)
    {
        DrugStore drugs(settings());
        return priceHerbs(body, doses, drugs);
    }
};

QUILLORA_ON_BOTH_ENGINES(PricingTest);

TEST_P(PricingTest, WesternExamplePricesFromTheFirstNameMatch)
{
    addDrug("阿莫西林片 0.25g×24片\\0.5g 口服  每日3次", "2", "盒", 12.5);
    addDrug("阿莫西林片 0.5g×12片", "1", "板", 99);
    const PriceGrid grid = western(u("阿莫西林片 0.25g×24片\r\n    用法：0.5g 口服  每日3次\r\n\r\n"
                                     "不存在的药 1盒\r\n阿莫西林胶囊\r\n"));
    EXPECT_EQ(grid.rows[0], (PriceRow{u("阿莫西林片"), u("2"), u("盒"), u("12.50"), u("25.00")}));
    EXPECT_EQ(grid.rows[1], (PriceRow{u("不存在的药"), {}, {}, {}, {}}));
    EXPECT_EQ(grid.rows[2], PriceRow{});  // a line without a space prices nothing
    EXPECT_EQ(grid.total, u("25.00"));
    EXPECT_EQ(western(u("阿莫西林胶囊\r\n")).total, QString());
}

TEST_P(PricingTest, TheWholeDrugLineDecidesBeforeTheNamePrefix)
{
    // The seed catalogue holds 80万单位 before 160万单位; the prefix alone took the first.
    const PriceGrid grid = western(u("青霉素钠注射液 160万单位\r\n    用法：静脉滴注\r\n\r\n"
                                     "青霉素钠注射液 960万单位\r\n"
                                     "阿莫西林胶囊 0.25g×24粒\r\n"));
    EXPECT_EQ(grid.rows[0], (PriceRow{u("青霉素钠注射液"), u("2"), u("支"), u("0.80"), u("1.60")}));
    EXPECT_EQ(grid.rows[1].price, u("0.50"));  // no such strength: the prefix rule, first row
    EXPECT_EQ(grid.rows[2].price, u("8.50"));  // the catalogue name carries its usage after "\\"
}

TEST_P(PricingTest, HerbsArePricedOnlyFromTheHerbCatalogue)
{
    // Containment over the whole catalogue priced 甘草 as 复方甘草片 and 地黄 as 六味地黄丸.
    addDrug("地黄", "10", "g", 0.2, "中药");
    const PriceGrid grid = herbs(u("甘草 6g 地黄 10g 阿司匹林 1g 黄 3g"), u("2"));
    EXPECT_EQ(grid.rows[0], (PriceRow{u("甘草"), u("12"), u("g"), u("0.10"), u("1.20")}));
    EXPECT_EQ(grid.rows[1], (PriceRow{u("地黄"), u("20"), u("g"), u("0.20"), u("4.00")}));  // exact before 熟地黄
    // A western drug is never priced by the gram; a part of a herb name finds the first herb containing it.
    EXPECT_EQ(grid.rows[2].name, u("黄"));
    EXPECT_EQ(grid.rows[2].unit, u("g"));
    EXPECT_EQ(grid.rows[3], PriceRow{});
}

TEST(PriceGridTotal, AnAbsurdAmountIsReportedNotWrapped)
{
    PriceGrid grid;
    grid.rows[0] = {u("甲"), u("9999999999"), u("盒"), u("9999999999"), {}};
    grid.rows[1] = {u("乙"), u("9999999999"), u("盒"), u("9999999999"), {}};
    grid.rows[2] = {u("丙"), u("2"), u("盒"), u("3.50"), {}};
    grid.retotal();
    EXPECT_EQ(grid.rowsOutOfRange(), (QList<int>{0, 1}));
    EXPECT_EQ(grid.rows[0].amount, QString());
    EXPECT_EQ(grid.total, u("7.00"));
    EXPECT_TRUE(amountOutOfRangeMessage(0).contains(u("第1行")));
}

TEST_P(PricingTest, ThirtyDrugLinesPriceTwentyFour)
{
    QString body;
    for (int i = 0; i < 30; ++i)
        body += u("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n");
    const PriceGrid grid = western(body);
    EXPECT_EQ(grid.rows[23], (PriceRow{u("阿莫西林胶囊"), u("1"), u("盒"), u("8.50"), u("8.50")}));
    EXPECT_EQ(grid.total, u("204.00"));
}

TEST_P(PricingTest, QuotesPercentAndUnderscoreInNamesMatchLiterally)
{
    addDrug("37a测试液 250ml", "1", "瓶", 1);
    addDrug("37%测试液 250ml", "1", "瓶", 2);
    addDrug("Xb片 1mg", "1", "盒", 3);
    addDrug("X_片 1mg", "1", "盒", 4);
    addDrug("O'Neil片 5mg", "1", "盒", 5);
    addDrug("37%测试液", "1", "g", 2, "中药");
    const PriceGrid grid = western(u("37%测试液 250ml\r\nX_片 1mg\r\nO'Neil片 5mg\r\n"));
    EXPECT_EQ(grid.rows[0].price + grid.rows[1].price + grid.rows[2].price, u("2.004.005.00"));
    EXPECT_EQ(herbs(u("37%测试液 1g"), u("1")).rows[0].price, u("2.00"));
}

TEST_P(PricingTest, HerbExampleMultipliesGramsByDoses)
{
    const PriceGrid grid = herbs(u("当归 10g 川芎 6g"), u("3"));
    EXPECT_EQ(grid.rows[0], (PriceRow{u("当归"), u("30"), u("g"), u("0.25"), u("7.50")}));
    EXPECT_EQ(grid.rows[1], (PriceRow{u("川芎"), u("18"), u("g"), u("0.12"), u("2.16")}));
    EXPECT_EQ(grid.rows[2], PriceRow{});
    EXPECT_EQ(grid.total, u("9.66"));
}

TEST_P(PricingTest, HerbsNotFoundTakeNoRowAndAMissingNumberLeavesQuantityEmpty)
{
    const PriceGrid grid = herbs(u("不存在草 5g\r\n当归 g 10g 川芎 1.5g"), u("2付"));
    // "10g" alone gives an empty name, which must not price the catalogue's first drug.
    EXPECT_EQ(grid.rows[0], (PriceRow{u("当归"), {}, u("g"), u("0.25"), {}}));
    EXPECT_EQ(grid.rows[1], (PriceRow{u("川芎"), u("3"), u("g"), u("0.12"), u("0.36")}));
    EXPECT_EQ(grid.rows[2], PriceRow{});
    EXPECT_EQ(herbs(u("当归 10g"), QString()).rows[0].quantity, u("0"));
}

TEST_P(PricingTest, AtMostTwentyFourHerbRows)
{
    QString body;
    for (int i = 0; i < 30; ++i)
        body += i % 2 ? u("川芎 1g  ") : u("当归 1g  ");
    const PriceGrid grid = herbs(body, u("1"));
    EXPECT_EQ(grid.rows[23].name, u("川芎"));
    EXPECT_EQ(grid.total, u("4.44"));  // 12 × 0.25 + 12 × 0.12
}

} // namespace
