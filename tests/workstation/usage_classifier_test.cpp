#include "clinical/usage_classifier.h"

#include "test_text.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QString lines(std::initializer_list<const char *> list)
{
    QString text;
    for (const char *line : list)
        text += u(line) + u("\r\n");
    return text;
}

TEST(Ssy, WorkedExampleKeepsOnlyTheInfusionGroup)
{
    const QString body = lines({"青霉素注射液 960万单位", "    用法：静脉滴注 每日1次", "",
                                "阿莫西林片 0.25g×24片", "    用法：0.5g 口服  每日3次", ""});
    EXPECT_EQ(ssy(body), lines({"青霉素注射液 960万单位", "    用法：静脉滴注 每日1次"}));
    EXPECT_EQ(ssy(QString()), QString());
    EXPECT_EQ(ssy(u("\r\n   \r\n")), QString());
}

TEST(Ssy, BlankLinesInsideAGroupAreDroppedOthersKeptUntrimmed)
{
    const QString body = lines({"  0.9%氯化钠注射液 250ml ", "", "   ", "\t", "维生素C注射液 1.0g",
                                "    用法：静脉滴注 每日1次"});
    // Only spaces make a line blank; a tab line stays with its group.
    EXPECT_EQ(ssy(body), lines({"  0.9%氯化钠注射液 250ml ", "\t", "维生素C注射液 1.0g", "    用法：静脉滴注 每日1次"}));
}

TEST(Ssy, LinesAfterTheLastUsageLineNeverReachTheCard)
{
    const QString body = lines({"青霉素注射液 960万单位", "    用法：肌肉注射 每日1次", "", "头孢唑林钠 1.0g"});
    EXPECT_EQ(ssy(body), lines({"青霉素注射液 960万单位", "    用法：肌肉注射 每日1次"}));
    // A later usage line takes the waiting drug line into its group.
    EXPECT_EQ(ssy(body + lines({"    用法：静滴"})), ssy(body) + lines({"头孢唑林钠 1.0g", "    用法：静滴"}));
}

TEST(Ssy, AnOralGroupEmptiesThePendingLines)
{
    EXPECT_EQ(ssy(lines({"甲 1盒", "    用法：口服", "乙 1支", "    用法：皮下"})), lines({"乙 1支", "    用法：皮下"}));
}

TEST(Ssy, FourInfusionGroupsOfThreeDrugsMakeSixteenLines)
{
    QString body;
    QString expected;
    for (int g = 0; g < 4; ++g) {
        QString group;
        for (int d = 0; d < 3; ++d)
            group += u("药%1-%2 1支\r\n").arg(g).arg(d);
        group += u("    用法：静脉滴注 每日1次\r\n");
        body += group + u("\r\n口服药 1盒\r\n    用法：口服\r\n\r\n");
        expected += group;
    }
    EXPECT_EQ(ssy(body), expected);
    EXPECT_EQ(ssy(body).count(u("\r\n")), 16);
}

TEST(Ssy, UsageLinesAndInjectionRoutes)
{
    const struct {
        const char *line;
        bool usage, injection;
    } cases[] = {{"Sig: 1 tab tid", true, false},        {"sig: im qd", true, true},
                 {"SIG: IM QD", true, true},             {"sIg 1 tab q8h", true, true},  // through "H"
                 {"    用法：0.5g 口服  每日3次", true, false},
                 {"    用法：IVGTT qd", true, true},     {"    用法：皮试(-)后静脉滴注", true, true},
                 {"    用法：外用 tid", true, false},    {"静脉滴注 每日1次", false, false},
                 {"用 法：im", false, false}};
    for (const auto &c : cases) {
        const QString line = u(c.line);
        EXPECT_EQ(isUsageLine(line), c.usage) << c.line;
        EXPECT_EQ(ssy(u("药 1支\r\n") + line).isEmpty(), !c.injection) << c.line;
    }
    EXPECT_EQ(injectionKeywords().size(), 19);
    for (const QString &word : injectionKeywords())
        EXPECT_TRUE(namesInjection(u("用法：") + word.toUpper())) << word.toStdString();
}

} // namespace
