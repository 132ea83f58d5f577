#include "data/order_set_store.h"

#include "support/data_fixture.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

class OrderSetStoreTest : public EngineTest
{
protected:
    int rowCount() { return scalar(settings(), u("SELECT count(*) FROM [个人组套]")).toInt(); }
};

QUILLORA_ON_BOTH_ENGINES(OrderSetStoreTest);

TEST_P(OrderSetStoreTest, WritesAddressTheirRowByIdentity)
{
    OrderSetStore store(settings());
    const OrderSetRow row{0, u("四物汤"), kFormulaKind, u("swt"), u("熟地黄 12g  当归 10g\r\n白芍 12g  川芎 8g")};
    const qint64 a = store.insert(row);
    const qint64 b = store.insert(row);
    reopen();
    OrderSetStore again(settings());
    const auto back = again.byRowId(a);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(QStringList({back->name, back->kind, back->code, back->content}),
              QStringList({row.name, row.kind, row.code, row.content}));
    EXPECT_TRUE(again.update({b, u("乙"), kOrderSetKind, u("y"), u("乙内容")}));
    EXPECT_EQ(again.byRowId(a)->content, row.content);
    EXPECT_TRUE(again.remove(a));
    EXPECT_FALSE(again.byRowId(a).has_value());
    EXPECT_FALSE(again.remove(a));
    EXPECT_FALSE(again.update({a, u("丙"), kOrderSetKind, u("b"), u("x")}));
    EXPECT_EQ(again.byRowId(b)->name, u("乙"));
}

TEST_P(OrderSetStoreTest, RefusedWritesChangeNothing)
{
    OrderSetStore store(settings());
    const int before = rowCount();
    EXPECT_THROW(store.insert({0, QString(), kOrderSetKind, u("x"), u("内容")}), DbError);
    EXPECT_THROW(store.insert({0, u("名称"), kOrderSetKind, u("x"), QString()}), DbError);
    EXPECT_THROW(store.insert({0, QString(51, QChar(u'名')), kOrderSetKind, u("x"), u("内容")}), DbError);
    EXPECT_EQ(rowCount(), before);
    const qint64 id = store.insert({0, u("名称"), kOrderSetKind, u("x"), u("内容")});
    EXPECT_THROW(store.update({id, u("名称"), kOrderSetKind, QString(), u("内容")}), DbError);
    EXPECT_EQ(store.byRowId(id)->code, u("x"));
}

TEST_P(OrderSetStoreTest, KindContainmentExactKindAndCodeSearch)
{
    OrderSetStore store(settings());
    const qint64 odd = store.insert({0, u("旧组套"), u("旧个人组套"), u("gmzt"), u("内容")});
    store.insert({0, u("感冒验方"), kFormulaKind, u("gmyf"), u("内容")});
    const auto ids = [](const QList<ListedRow> &rows) {
        QList<qint64> out;
        for (const ListedRow &row : rows)
            out << row.rowId;
        return out;
    };
    const QList<qint64> containing = ids(store.byKind(kOrderSetKind));
    EXPECT_TRUE(std::is_sorted(containing.begin(), containing.end()));
    EXPECT_TRUE(containing.contains(odd));
    EXPECT_FALSE(ids(store.ofKindExactly(kOrderSetKind)).contains(odd));
    EXPECT_EQ(ids(store.searchByCode(u("MZ"), kOrderSetKind)), QList<qint64>{odd});
    EXPECT_TRUE(store.searchByCode(u("%"), kOrderSetKind).isEmpty());
}

TEST(OrderSetContent, OneFinalLineBreakIsDropped)
{
    const std::pair<const char *, const char *> cases[] = {
        {"AB\r\n", "AB"}, {"\r\n", "\r\n"}, {"A\r\n", "A"}, {"AB\r\n\r\n", "AB\r\n"}, {"AB", "AB"}, {"AB\n", "AB\n"}};
    for (const auto &[in, out] : cases)
        EXPECT_EQ(orderSetContentToStore(u(in)), u(out)) << in;
}

} // namespace
