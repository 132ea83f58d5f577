#include "reports/workload.h"
#include "support/data_fixture.h"

using namespace quillora;
using namespace quillora::test;

namespace {

TEST(Workload, FeesAddUpByTheLeadingNumberInExactDecimals)
{
    const struct { QList<VisitFees> fees; const char *text; } cases[] = {
        {{{"12.5", "3"}, {"0", ""}}, "门诊处方数：2张，业务额：15.5元"},
        {{{"12元", ""}}, "门诊处方数：1张，业务额：12元"},
        {{{"0.1", "0.2"}}, "门诊处方数：1张，业务额：0.3元"},
        {{{"1 2.5", " 3 "}}, "门诊处方数：1张，业务额：15.5元"},
        {{{"abc", ""}, {"", ""}}, "门诊处方数：2张，业务额：0元"},
        {{{"-3", "10"}, {"+2.25", "1.2.3"}}, "门诊处方数：2张，业务额：10.45元"},
        {{{"12.50", "0.50"}}, "门诊处方数：1张，业务额：13元"},
        {{}, "无统计数字"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(workloadText(sumWorkload(c.fees)), QString::fromUtf8(c.text)) << c.text;

    // Many small fees stay exact where binary fractions would drift.
    QList<VisitFees> many(1000, VisitFees{QStringLiteral("0.1"), QStringLiteral("0.01")});
    EXPECT_EQ(sumWorkload(many).amount, QStringLiteral("110"));
}

TEST(Workload, AbsurdAmountsAreCountedNotWrapped)
{
    const QList<VisitFees> fees{{QStringLiteral("99999999999999999999"), QStringLiteral("1")},
                                {QStringLiteral("922337203685477.5807"), QStringLiteral("922337203685477.5807")}};
    const QString amount = sumWorkload(fees).amount;
    EXPECT_FALSE(amount.startsWith(QLatin1Char('-')));
    EXPECT_EQ(amount, QStringLiteral("100001844674407000000"));
}

class WorkloadRangeTest : public EngineTest
{
};

QUILLORA_ON_BOTH_ENGINES(WorkloadRangeTest);

TEST_P(WorkloadRangeTest, CountsTheVisitsOfTheRangeOnly)
{
    const struct { const char *name, *date, *drug, *other; } visits[] = {
        {"甲", "2016-01-03", "12.5", "3"}, {"乙", "2016-01-03", "0", ""}, {"丙", "2016-01-04", "100", "0"}, {"丁", "2016-01-02", "7", ""},
    };
    int n = 0;
    for (const auto &v : visits) {
        VisitRecord r = sampleVisit(QString::fromUtf8(v.name), QString::fromUtf8(v.date), QStringLiteral("2016-01-03 08:00:%1").arg(n++));
        r.header[FieldDrugFee] = QString::fromUtf8(v.drug);
        r.header[FieldOtherFee] = QString::fromUtf8(v.other);
        VisitStore(archive()).save(r, 2026);
    }
    const auto text = [&](QDate from, QDate to) { return workloadText(sumWorkload(VisitStore(archive()).feesInRange(from, to))); };
    EXPECT_EQ(text(QDate(2016, 1, 3), QDate(2016, 1, 3)), QStringLiteral("门诊处方数：2张，业务额：15.5元"));
    EXPECT_EQ(text(QDate(2016, 1, 2), QDate(2016, 1, 4)), QStringLiteral("门诊处方数：4张，业务额：122.5元"));
    EXPECT_EQ(text(QDate(2016, 1, 4), QDate(2016, 1, 3)), QStringLiteral("无统计数字"));
    EXPECT_EQ(text(QDate(2017, 1, 1), QDate(2017, 12, 31)), QStringLiteral("无统计数字"));
}

} // namespace
