#include "text/text_lines.h"

#include <gtest/gtest.h>

using namespace quillora;

namespace {

struct SplitCase {
    const char *text;
    QStringList lines;
};

class SplitScratchLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitScratchLinesTest, YieldsLinesOfFile)
{
    EXPECT_EQ(splitScratchLines(QString::fromUtf8(GetParam().text)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitScratchLinesTest,
    ::testing::Values(SplitCase{"", {""}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\nb", {"a", "b"}},
                      SplitCase{"a\r\n", {"a", ""}}, SplitCase{"a\nb", {"a", "b"}},
                      SplitCase{"a\rb", {"a", "b"}}, SplitCase{"a\r", {"a", ""}},
                      SplitCase{"a\n\nb", {"a", "", "b"}}, SplitCase{"a\r\n\r\n", {"a", "", ""}},
                      SplitCase{"\n\r", {"", "", ""}},
                      SplitCase{"阿莫西林片 0.25g×24片\r\n    用法：0.5g 口服\r\n",
                                {"阿莫西林片 0.25g×24片", "    用法：0.5g 口服", ""}}));

TEST(ReadLines, LastLineWithoutEnding)
{
    EXPECT_EQ(readLines(QStringLiteral("a\r\nb")), (QStringList{"a", "b"}));
    EXPECT_EQ(readLines(QStringLiteral("a\r\n")), (QStringList{"a"}));
    EXPECT_TRUE(readLines(QString()).isEmpty());
}

TEST(LineEndings, ConvertBothWays)
{
    const struct {
        const char *in;
        const char *crlf;
        const char *lf;
    } cases[] = {{"", "", ""},
                 {"a\nb", "a\r\nb", "a\nb"},
                 {"a\r\nb", "a\r\nb", "a\nb"},
                 {"a\rb", "a\r\nb", "a\rb"},
                 {"a\n\r\n\rb\n", "a\r\n\r\n\r\nb\r\n", "a\n\n\rb\n"},
                 {"\r\r\n", "\r\n\r\n", "\r\n"}};
    for (const auto &c : cases) {
        EXPECT_EQ(toCrLf(QString::fromLatin1(c.in)), QLatin1String(c.crlf)) << c.in;
        EXPECT_EQ(fromCrLf(QString::fromLatin1(c.in)), QLatin1String(c.lf)) << c.in;
    }
}

TEST(LineEndings, RoundTripKeepsLines)
{
    const QString widget = QStringLiteral("头孢\n\n用法：口服\n");
    EXPECT_EQ(fromCrLf(toCrLf(widget)), widget);
    EXPECT_EQ(splitScratchLines(toCrLf(widget)), splitScratchLines(widget));
}

} // namespace
