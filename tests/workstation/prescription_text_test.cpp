#include "workstation/prescription_text.h"

#include "test_text.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

TEST(CaretColumn, CountsDisplayColumnsFromTheLineStart)
{
    const struct {
        const char *text;
        int caret, column;
    } cases[] = {{"", 0, 1},          {"abc", 3, 4},        {"当归", 2, 5},  // double-byte counts two
                 {"abc\r\n", 5, 1},   {"abc\r\n当归", 7, 5}, {"abc\r\nxy", 2, 3},
                 {"abc", 99, 4},      {"abc", -5, 1},       {"①x", 2, 4}};
    for (const auto &c : cases)
        EXPECT_EQ(caretColumn(u(c.text), c.caret), c.column) << c.text << " @" << c.caret;
}

TEST(HerbCell, PadsToThirteenColumnsAndLeavesWiderNamesAlone)
{
    const std::pair<const char *, QString> cases[] = {
        {"当归", u("当归") + spaces(9)},       {"熟地黄", u("熟地黄") + spaces(7)},
        {"abc", u("abc") + spaces(10)},        {"", spaces(13)},
        {"当归当归当归a", u("当归当归当归a")}, {"炙甘草炙甘草炙", u("炙甘草炙甘草炙")}};
    for (const auto &[name, cell] : cases)
        EXPECT_EQ(herbCell(u(name)), cell) << name;
}

TEST(DrugPickText, NameLinesUsageLinesAndUsagePhrases)
{
    const std::pair<const char *, const char *> cases[] = {
        {"阿莫西林片 0.25g×24片\\0.5g 口服  每日3次", "阿莫西林片 0.25g×24片\r\n    用法：0.5g 口服  每日3次\r\n\r\n"},
        {"a\\b\\c", "a\r\n    用法：b\r\n    用法：c\r\n\r\n"},  // every backslash opens a usage line
        {"用法：口服 每日3次", "    用法：口服 每日3次\r\n\r\n"},
        {"青霉素注射液 960万单位", "青霉素注射液 960万单位\r\n"}};
    for (const auto &[item, text] : cases)
        EXPECT_EQ(drugPickText(u(item)), u(text)) << item;
}

TEST(Picks, FourHerbsMakeOneRowOfThreeThenAnEmptyLine)
{
    BodyEdit edit;
    for (const char *herb : {"当归", "川芎", "白芍", "熟地黄"})
        edit = pickIntoBody(kHerbCategory, edit.text, edit.caret, edit.caret, u(herb));
    const QString firstRow = u("当归") + spaces(9) + u("川芎") + spaces(9) + u("白芍") + spaces(9);
    EXPECT_EQ(caretColumn(firstRow, int(firstRow.size())), 40);
    EXPECT_EQ(edit.text, firstRow + u("\r\n\r\n熟地黄") + spaces(7));
    EXPECT_EQ(edit.caret, edit.text.size());
    EXPECT_EQ(herbInsertion(u("当归"), 31), u("当归") + spaces(9));
    EXPECT_EQ(herbInsertion(u("当归"), 32), u("\r\n\r\n当归") + spaces(9));
}

TEST(Picks, HerbReplacesTheSelection)
{
    const BodyEdit edit = pickIntoBody(kHerbCategory, u("甲乙丙"), 1, 2, u("当归"));
    EXPECT_EQ(edit.text, u("甲当归") + spaces(9) + u("丙"));
    EXPECT_EQ(edit.caret, 12);
}

TEST(Picks, OrderSetStartsOnTheEmptyLastLineOrOnANewLine)
{
    const QString set = u("5%葡萄糖注射液 250ml\r\n    用法：静脉滴注  每日1次");
    const std::pair<const char *, QString> cases[] = {{"", set + u("\r\n\r\n")},
                                                      {"阿莫西林\r\n", u("阿莫西林\r\n") + set + u("\r\n\r\n")},
                                                      {"阿莫西林", u("阿莫西林\r\n") + set + u("\r\n\r\n")}};
    for (const auto &[body, expected] : cases) {
        const BodyEdit edit = pickIntoBody(kOrderSetCategory, u(body), 0, 0, set);  // caret goes to the end first
        EXPECT_EQ(edit.text, expected) << body;
        EXPECT_EQ(edit.caret, edit.text.size());
    }
}

TEST(Picks, DrugsAndFormulasAppendAtTheEndWhereverTheCaretIs)
{
    for (const CurrentCategory k : {CurrentCategory{}, CurrentCategory{0}, CurrentCategory{11}}) {
        const BodyEdit edit = pickIntoBody(k, u("甲\r\n乙"), 0, 1, u("青霉素注射液 960万单位"));
        EXPECT_EQ(edit.text, u("甲\r\n乙青霉素注射液 960万单位\r\n"));
        EXPECT_EQ(edit.caret, edit.text.size());
    }
    EXPECT_EQ(pickIntoBody(kFormulaCategory, u("x"), 0, 1, u("金银花 15g")).text, u("x金银花 15g"));
}

TEST(InsertAt, ReplacesTheSelectionAndClampsIndexes)
{
    EXPECT_EQ(insertAt(u("abcd"), 1, 3, u("X")).text, u("aXd"));
    EXPECT_EQ(insertAt(u("abcd"), 3, 1, u("X")).caret, 2);  // backwards selection
    EXPECT_EQ(insertAt(u("ab"), 9, 9, u("X")).text, u("abX"));
    EXPECT_EQ(insertAt(u("ab"), -1, 0, u("X")).text, u("Xab"));
}

TEST(Kinds, APickSetsTheKindByCategoryWhateverWasShown)
{
    const std::pair<CurrentCategory, KindLook> cases[] = {
        {std::nullopt, {u("普通"), u("普通处方笺"), false}}, {3, {u("普通"), u("普通处方笺"), false}},
        {12, {u("中医"), u("中医处方笺"), true}},            {13, {u("普通"), u("普通处方笺"), false}},
        {14, {u("中医"), u("中医处方笺"), true}}};
    for (const auto &[category, look] : cases)
        EXPECT_EQ(kindAfterPick(category), look) << category.value_or(-1);
    EXPECT_EQ(*kindLook(u("儿科")), (KindLook{u("儿科"), u("儿科处方笺"), false}));
    EXPECT_FALSE(kindLook(u("急诊")).has_value());
}

TEST(Kinds, ThreeClicksFromGeneralComeBackWithDosesHidden)
{
    QString kind = u("普通");
    QStringList titles;
    for (int i = 0; i < 3; ++i) {
        const auto next = kindAfterClick(kind);
        ASSERT_TRUE(next.has_value());
        kind = next->kind;
        titles << next->title + (next->dosesShown ? u("+付数") : QString());
    }
    EXPECT_EQ(titles, (QStringList{u("中医处方笺+付数"), u("儿科处方笺"), u("普通处方笺")}));
    EXPECT_FALSE(kindAfterClick(u("")).has_value());
    EXPECT_FALSE(kindAfterClick(u("普通 ")).has_value());
}

TEST(UsagePresets, IndexesAndWhatAClickInserts)
{
    QList<int> indexes;
    for (const UsagePreset &p : usagePresets())
        indexes << p.index;
    EXPECT_EQ(indexes, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 17, 21}));
    EXPECT_FALSE(usagePresetCaption(13).has_value());
    const std::pair<const char *, const char *> cases[] = {
        {"ml", "ml"},
        {"    用法：肌肉注射 每日1次", "    用法：肌肉注射 每日1次\r\n\r\n"},
        {"用法：", "用法："},  // the bare label goes in alone
        {"拼音码查询：", "拼音码查询："}};
    for (const auto &[caption, inserted] : cases)
        EXPECT_EQ(usagePresetInsertion(u(caption)), u(inserted)) << caption;
    EXPECT_EQ(usagePresetInsertion(*usagePresetCaption(7)), u("    用法：静脉滴注 每日1次\r\n\r\n"));
}

TEST(UsageMenu, FourItemsEachFollowedByTwoLineBreaks)
{
    QStringList inserted;
    for (const UsageMenuItem &item : usageMenuItems())
        inserted << item.caption + u("=") + usageMenuInsertion(item);
    EXPECT_EQ(inserted, (QStringList{u("静脉滴注=    用法：静脉滴注 每日1次\r\n\r\n"),
                                     u("肌肉注射=    用法：肌肉注射 每日1次\r\n\r\n"),
                                     u("静脉推注=    用法：静脉推注 每日1次\r\n\r\n"),
                                     u("加滴管=    用法：加滴管 每日1次\r\n\r\n")}));
}

} // namespace
