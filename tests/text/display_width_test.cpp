#include "text/display_width.h"

#include <gtest/gtest.h>

using namespace quillora;

namespace {

struct WidthCase {
    const char16_t *text;
    int columns;
};

class DisplayColumnsTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(DisplayColumnsTest, CountsGbkBytes)
{
    const WidthCase &c = GetParam();
    EXPECT_EQ(displayColumns(QString::fromUtf16(c.text)), c.columns);
}

INSTANTIATE_TEST_SUITE_P(Texts, DisplayColumnsTest,
                         ::testing::Values(WidthCase{u"", 0},
                                           WidthCase{u"中", 2},
                                           WidthCase{u"a", 1},
                                           WidthCase{u"Ａ", 2},     // full-width forms are GBK
                                           WidthCase{u"×", 2},      // A1C1 in GBK
                                           WidthCase{u"°", 2},
                                           WidthCase{u"€", 1},      // not in GBK
                                           WidthCase{u"é", 2},      // pinyin vowels are GBK
                                           WidthCase{u"ä", 1},
                                           WidthCase{u"㐀", 1},     // extension A is GB18030 only
                                           WidthCase{u"😀", 2},     // two units, one column each
                                           WidthCase{u"𠀀", 2},
                                           WidthCase{u"\t\r\n", 3},
                                           WidthCase{u"阿莫西林片 0.25g×24片", 22}));

struct ByteCase {
    char16_t ch;
    bool doubleByte;
};

class IsDoubleByteTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(IsDoubleByteTest, MatchesGbk)
{
    EXPECT_EQ(isDoubleByte(QChar(GetParam().ch)), GetParam().doubleByte) << int(GetParam().ch);
}

// Range edges of the table, where an off-by-one in the search would show.
INSTANTIATE_TEST_SUITE_P(Edges, IsDoubleByteTest,
                         ::testing::Values(ByteCase{0x0000, false}, ByteCase{0x007F, false},
                                           ByteCase{0x00A3, false}, ByteCase{0x00A4, true},
                                           ByteCase{0x00A5, false}, ByteCase{0x4E00, true},
                                           ByteCase{0x9FA5, true}, ByteCase{0xD800, false},
                                           ByteCase{0xDFFF, false}, ByteCase{0xE000, false},
                                           ByteCase{0xFF01, true}, ByteCase{0xFFE5, true},
                                           ByteCase{0xFFFF, false}));

} // namespace
