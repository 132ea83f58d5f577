#include "report_window_fixture.h"

#include "reports/workload_window.h"

using namespace quillora;
using namespace quillora::test;

namespace {

class WorkloadWindowTest : public ReportWindowTest
{
protected:
    QWidget *button(const char *name) const { return find(window.get(), QString::fromUtf8(name)); }
    std::unique_ptr<WorkloadWindow> window;
};

TEST_F(WorkloadWindowTest, TodayCountsTodaysPrescriptionsAndTakings)
{
    saveVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("12.5"), QStringLiteral("3"));
    saveVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"), QStringLiteral("0.1"), QStringLiteral("0.2"));
    saveVisit(QStringLiteral("王五"), QStringLiteral("2026-12-01"), QStringLiteral("12元"));
    window = open<WorkloadWindow>();
    EXPECT_EQ(window->objectName(), QStringLiteral("Form6"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("工作量统计"));
    EXPECT_EQ(window->fromBox()->text(), QStringLiteral("2026-11-08"));
    EXPECT_EQ(window->toBox()->text(), QStringLiteral("2026-12-08"));
    EXPECT_TRUE(window->resultLabel()->text().isEmpty()) << "nothing is counted before asked";

    click(button("todayButton"));
    EXPECT_EQ(window->fromBox()->text(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(window->resultLabel()->text(), QStringLiteral("门诊处方数：2张，业务额：15.8元"));

    retype(window->fromBox(), QStringLiteral("2026-12-1"));
    QTest::keyClick(window->fromBox(), Qt::Key_Return);
    EXPECT_EQ(window->fromBox()->text(), QStringLiteral("2026-12-01"));
    EXPECT_EQ(window->resultLabel()->text(), QStringLiteral("门诊处方数：3张，业务额：27.8元"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(WorkloadWindowTest, EmptyOrReversedRangesHaveNoFiguresAndBadDatesWarn)
{
    saveVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("5"));
    window = open<WorkloadWindow>();
    retype(window->fromBox(), QStringLiteral("2026-12-09"));
    click(button("countButton"));
    EXPECT_EQ(window->resultLabel()->text(), QStringLiteral("无统计数字"));

    click(button("todayButton"));
    const QString counted = window->resultLabel()->text();
    EXPECT_EQ(counted, QStringLiteral("门诊处方数：1张，业务额：5元"));
    retype(window->toBox(), QStringLiteral("2016-01-32"));
    click(button("countButton"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kDateFormatMessage);
    EXPECT_EQ(messages()[0].icon, MessageDialog::Icon::Exclamation);
    EXPECT_EQ(window->resultLabel()->text(), counted) << "the last figures stay";
}

TEST_F(WorkloadWindowTest, AnArchiveThatCannotBeReadIsToldAndTheFiguresStay)
{
    saveVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("5"));
    window = open<WorkloadWindow>();
    click(button("todayButton"));
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案] RENAME TO [档案旧]"));
    click(button("countButton"));
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案旧] RENAME TO [档案]"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("档案读取失败："))) << messages()[0].text.toStdString();
    EXPECT_EQ(window->resultLabel()->text(), QStringLiteral("门诊处方数：1张，业务额：5元"));
}

} // namespace
