#include "text/display_width.h"
#include "text/pinyin.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillora;

namespace {

struct CodeCase {
    const char *name;
    const char *code;
};

class PinyinCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(PinyinCodeTest, EncodesName)
{
    const CodeCase &c = GetParam();
    EXPECT_EQ(pinyinCode(QString::fromUtf8(c.name)), QString::fromUtf8(c.code)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, PinyinCodeTest,
                         ::testing::Values(CodeCase{"阿莫西林胶囊", "amxljn"},
                                           CodeCase{"维生素B6", "wssb6"},
                                           CodeCase{"0.9%氯化钠", "09lhn"},
                                           CodeCase{"阿莫西林 胶囊", "amxl"},    // stops at the space
                                           CodeCase{"VitB1片", "vitb1p"},
                                           CodeCase{"Z", "z"},
                                           CodeCase{"（复方）甘草片", "ffgcp"}, // full-width brackets vanish
                                           CodeCase{" 阿莫西林", ""},           // leading space cuts everything
                                           CodeCase{"", ""},
                                           CodeCase{"医用棉签", "yymq"},
                                           CodeCase{"的士", "ds"},
                                           CodeCase{"绿豆", "ld"},               // lü files under l
                                           CodeCase{"疟疾", "nj"},
                                           CodeCase{"ＡＢ１２", ""},             // full-width letters and digits
                                           CodeCase{"a\tb", "ab"},               // only a space cuts
                                           CodeCase{"复方甘草口服溶液10ml", "ffgckfry10ml"},
                                           // Medical readings of characters with more than one.
                                           CodeCase{"川芎", "cx"},
                                           CodeCase{"颈椎病", "jzb"},
                                           CodeCase{"腰椎间盘突出症", "yzjptcz"},
                                           CodeCase{"颠茄片", "dqp"},
                                           CodeCase{"淡豆豉", "ddc"},
                                           CodeCase{"复方丹参滴丸", "ffdsdw"},
                                           CodeCase{"小儿止咳糖浆", "xezktj"},
                                           CodeCase{"长春西汀注射液", "ccxtzsy"},
                                           CodeCase{"月经不调", "yjbt"},
                                           CodeCase{"阿胶", "ej"},
                                           CodeCase{"阿莫西林", "amxl"},             // 阿 alone stays a
                                           CodeCase{"枸橼酸铋钾胶囊", "jysbjjn"},
                                           CodeCase{"枸杞子", "gqz"},
                                           CodeCase{"白术", "bz"},
                                           CodeCase{"咯血", "kx"},
                                           CodeCase{"酮咯酸氨丁三醇", "tlsadsc"},
                                           CodeCase{"长期", "zq"},                   // only the listed terms
                                           CodeCase{"白术 10g", "bz"},
                                           CodeCase{"白 术", "b"}));                 // a term never spans the space

struct InitialCase {
    char16_t ch;
    const char *initial;
};

class PinyinInitialTest : public ::testing::TestWithParam<InitialCase> {};

TEST_P(PinyinInitialTest, GivesInitial)
{
    const InitialCase &c = GetParam();
    EXPECT_EQ(pinyinInitial(QChar(c.ch)), QString::fromLatin1(c.initial)) << int(c.ch);
}

INSTANTIATE_TEST_SUITE_P(Characters, PinyinInitialTest,
                         ::testing::Values(InitialCase{u'大', "d"},    // dà before tài
                                           InitialCase{u'医', "y"},
                                           InitialCase{u'一', "y"},    // first ideograph of the block
                                           InitialCase{u'龥', "y"},    // last ideograph of the block
                                           InitialCase{u'龘', "d"},    // rare
                                           InitialCase{u'齉', "n"},    // rare
                                           InitialCase{u'靐', "b"},    // rare
                                           InitialCase{u'嗯', "n"},    // syllabic n
                                           InitialCase{u'呣', "m"},    // syllabic m
                                           InitialCase{u'0', "0"},
                                           InitialCase{u'9', "9"},
                                           InitialCase{u'A', "a"},
                                           InitialCase{u'z', "z"},
                                           InitialCase{u' ', ""},
                                           InitialCase{u'%', ""},
                                           InitialCase{u'。', ""},     // double-byte punctuation
                                           InitialCase{u'Ａ', ""},     // full-width letter
                                           InitialCase{u'兙', ""},     // ideograph without a reading
                                           InitialCase{u'é', ""},      // GBK pinyin letter, in no list
                                           InitialCase{u'㐀', ""},     // extension A, not GBK
                                           InitialCase{0xD840, ""}));  // half of a surrogate pair

TEST(PinyinInitialMap, FirstListWins)
{
    InitialLists lists{};
    const std::u16string d = u"大代";
    const std::u16string t = u"大太";
    const std::u16string a = u"\r\n阿";
    const std::u16string z = u"阿在A"; // A is no ideograph and must be ignored
    lists[kInitialLetters.find('d')] = d;
    lists[kInitialLetters.find('t')] = t;
    lists[kInitialLetters.find('a')] = a;
    lists[kInitialLetters.find('z')] = z;
    const InitialMap map = buildInitialMap(lists);
    auto at = [&](char16_t ch) { return map[ch - kFirstIdeograph]; };
    EXPECT_EQ(at(u'大'), 'd');
    EXPECT_EQ(at(u'太'), 't');
    EXPECT_EQ(at(u'阿'), 'a');
    EXPECT_EQ(at(u'在'), 'z');
    EXPECT_EQ(at(u'一'), 0);
}

TEST(PinyinTable, ListsHoldGbkIdeographsOnceEach)
{
    const InitialLists &lists = initialLists();
    std::set<char16_t> seen;
    std::size_t entries = 0;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        EXPECT_GT(lists[i].size(), 20u) << kInitialLetters[i];
        for (const char16_t u : lists[i]) {
            ASSERT_GE(u, kFirstIdeograph);
            ASSERT_LE(u, kLastIdeograph);
            ASSERT_TRUE(isDoubleByte(QChar(u))) << int(u);
            seen.insert(u);
            ++entries;
        }
    }
    EXPECT_EQ(seen.size(), entries);
    // Nearly the whole block has a reading; only a handful of unit ideographs lack one.
    EXPECT_GT(seen.size(), kIdeographCount - 20);
}

TEST(PinyinTable, WholeIdeographBlockIsDoubleByte)
{
    for (char16_t u = kFirstIdeograph; u <= kLastIdeograph; ++u)
        ASSERT_TRUE(isDoubleByte(QChar(u))) << int(u);
}

} // namespace
