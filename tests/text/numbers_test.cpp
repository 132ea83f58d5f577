#include "text/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillora;

namespace {

struct ParseCase {
    const char *text;
    double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LeadingNumberTest, ReadsLeadingNumber)
{
    EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumberTest,
                         ::testing::Values(ParseCase{"12.5mm", 12.5}, ParseCase{"", 0}, ParseCase{"abc", 0},
                                           ParseCase{" 1 2.5x", 12.5}, ParseCase{"-5", 0},
                                           ParseCase{"\t3", 3}, ParseCase{".5", 0.5},
                                           ParseCase{"1.2.3", 1.2}, ParseCase{"12元", 12},
                                           ParseCase{"5.", 5}, ParseCase{".", 0},
                                           ParseCase{"1 . 5", 1.5}, ParseCase{"１２", 0},
                                           ParseCase{"1e3", 1}, ParseCase{"007", 7}));

class SignedLeadingNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(SignedLeadingNumberTest, ReadsSignedNumber)
{
    EXPECT_DOUBLE_EQ(signedLeadingNumber(QString::fromUtf8(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, SignedLeadingNumberTest,
                         ::testing::Values(ParseCase{"-3.5元", -3.5}, ParseCase{"12元", 12},
                                           ParseCase{"+7", 7}, ParseCase{" - 2", -2}, ParseCase{"-", 0},
                                           ParseCase{"--1", 0}, ParseCase{"1-2", 1}, ParseCase{"", 0},
                                           ParseCase{"12.5", 12.5}, ParseCase{" 1 2.5x", 12.5}));

TEST(SignedLeadingNumber, MinusZeroIsZero)
{
    EXPECT_FALSE(std::signbit(signedLeadingNumber(QStringLiteral("-0"))));
}

struct TextCase {
    const char *in;
    const char *out;
};

class GmTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(GmTest, FindsFirstNumber)
{
    EXPECT_EQ(gm(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out)) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(Texts, GmTest,
                         ::testing::Values(TextCase{"青霉素 960万单位", "960"}, TextCase{"0.25g×24片", "0.25"},
                                           TextCase{"当归 10g", "10"}, TextCase{"1.50g", "1.5"},
                                           TextCase{"无", ""}, TextCase{"", ""},
                                           TextCase{"ab.5", "5"},        // the point before the digit is not read
                                           TextCase{"1 0g", "10"}, TextCase{"10.g", "10"},
                                           TextCase{"x1.2.3", "1.2"}, TextCase{"007", "7"},
                                           TextCase{"0.0", "0"}, TextCase{"  \r\n黄芪 20", "20"},
                                           TextCase{"-3", "3"}));

class DelNumberRegTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DelNumberRegTest, RemovesAsciiDigits)
{
    EXPECT_EQ(DelNumberReg(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Texts, DelNumberRegTest,
                         ::testing::Values(TextCase{"当归10g", "当归g"}, TextCase{"0.25g×24片", ".g×片"},
                                           TextCase{"１２", "１２"}, TextCase{"", ""},
                                           TextCase{"0123456789", ""}));

struct FormatCase {
    double value;
    const char *text;
};

class PlainNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PlainNumberTest, WritesPlainDecimal)
{
    EXPECT_EQ(plainNumber(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, PlainNumberTest,
                         ::testing::Values(FormatCase{15.5, "15.5"}, FormatCase{30.0, "30"},
                                           FormatCase{0.1 + 0.2, "0.3"}, FormatCase{-0.0, "0"},
                                           FormatCase{0.0, "0"}, FormatCase{100, "100"},
                                           FormatCase{1e20, "100000000000000000000"},
                                           FormatCase{1e-7, "0.0000001"}, FormatCase{-2.5, "-2.5"},
                                           FormatCase{123456789012345678.0, "123456789012346000"},
                                           FormatCase{1.0 / 3, "0.333333333333333"},
                                           FormatCase{2.675, "2.675"}, FormatCase{0.5, "0.5"},
                                           FormatCase{999999999999999.9, "1000000000000000"}));

class Format00Test : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Format00Test, RoundsToCents)
{
    EXPECT_EQ(format00(GetParam().value), QString::fromLatin1(GetParam().text)) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, Format00Test,
                         ::testing::Values(FormatCase{2.675, "2.68"}, FormatCase{0, "0.00"},
                                           FormatCase{12.5, "12.50"}, FormatCase{1.005, "1.01"},
                                           FormatCase{0.125, "0.13"}, FormatCase{-2.675, "-2.68"},
                                           FormatCase{-0.001, "0.00"}, FormatCase{0.004999, "0.00"},
                                           FormatCase{0.005, "0.01"}, FormatCase{0.995, "1.00"},
                                           FormatCase{99.995, "100.00"}, FormatCase{1234567.891, "1234567.89"},
                                           FormatCase{1e-10, "0.00"}, FormatCase{25, "25.00"},
                                           FormatCase{1e20, "100000000000000000000.00"}));

TEST(Money, AddsWithoutDrift)
{
    Money sum;
    for (int i = 0; i < 10; ++i)
        sum += Money::fromDouble(0.1);
    EXPECT_EQ(sum, Money::fromDouble(1.0));
    EXPECT_EQ(Money::fromDouble(0.1) + Money::fromDouble(0.2), Money::fromDouble(0.3));
    EXPECT_DOUBLE_EQ(sum.toDouble(), 1.0);
}

TEST(Money, RoundsToTenThousandths)
{
    const struct {
        double value;
        std::int64_t units;
    } cases[] = {{0.00005, 1}, {0.00004, 0}, {-1.23456, -12346}, {2.675, 26750}, {0, 0}, {1e300, INT64_MAX}};
    for (const auto &c : cases)
        EXPECT_EQ(Money::fromDouble(c.value).units(), c.units) << c.value;
}

TEST(Money, Formats)
{
    const struct {
        std::int64_t units;
        const char *format00;
        const char *plain;
    } cases[] = {{26750, "2.68", "2.675"},  {-26750, "-2.68", "-2.675"}, {49, "0.00", "0.0049"},
                 {50, "0.01", "0.005"},     {-50, "-0.01", "-0.005"},    {-49, "0.00", "-0.0049"},
                 {155000, "15.50", "15.5"}, {0, "0.00", "0"},            {1000000, "100.00", "100"}};
    for (const auto &c : cases) {
        const Money m = Money::fromUnits(c.units);
        EXPECT_EQ(m.format00(), QLatin1String(c.format00)) << c.units;
        EXPECT_EQ(m.toPlain(), QLatin1String(c.plain)) << c.units;
    }
}

TEST(Money, Compares)
{
    EXPECT_LT(Money::fromDouble(1.5), Money::fromDouble(2));
    EXPECT_GT(Money::fromDouble(0), Money::fromDouble(-0.01));
    EXPECT_TRUE(Money().isZero());
}

// The takings of two visits: fees "12.5" and "0", other charges "3" and "".
TEST(Money, SumsFeeTexts)
{
    Money sum;
    for (const char *text : {"12.5", "0", "3", ""})
        sum += Money::fromDouble(signedLeadingNumber(QString::fromLatin1(text)));
    EXPECT_EQ(sum.toPlain(), QStringLiteral("15.5"));
}

} // namespace
