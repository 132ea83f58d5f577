#include "main_window_fixture.h"

#include "data/settings_row.h"
#include "data/visit_store.h"
#include "printing/print_job_gui.h"
#include "reports/report_windows_gui.h"
#include "support/data_fixture.h"
#include "workstation/press_button_widget.h"

#include <QAction>
#include <QLabel>

using namespace quillora;
using namespace quillora::test;

namespace {

using ReportsWindowTest = MainWindowTest;

TEST_F(ReportsWindowTest, ToolbarAndMenuOpenOneOfEachReportWindow)
{
    for (const char *caption : {"统计", "门诊日志"})
        EXPECT_TRUE(window->menuAction(QString::fromUtf8(caption))->isEnabled()) << caption;
    for (const char *caption : {"日志", "统计"})
        EXPECT_TRUE(window->toolButton(QString::fromUtf8(caption))->isEnabled()) << caption;

    Q_EMIT window->toolButton(QStringLiteral("日志"))->activated();
    OutpatientLogWindow *log = window->reports().log();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_FALSE(log->isModal());
    // A second opening brings the same window forward, dates as the doctor left them.
    log->fromBox()->setText(QStringLiteral("2026-01-01"));
    window->activateWindow();
    window->menuAction(QStringLiteral("门诊日志"))->trigger();
    EXPECT_EQ(window->reports().log(), log);
    EXPECT_EQ(log->fromBox()->text(), QStringLiteral("2026-01-01"));
    EXPECT_EQ(window->findChildren<OutpatientLogWindow *>().size(), 1);

    Q_EMIT window->toolButton(QStringLiteral("统计"))->activated();
    WorkloadWindow *workload = window->reports().workload();
    ASSERT_NE(workload, nullptr);
    window->menuAction(QStringLiteral("统计"))->trigger();
    EXPECT_EQ(window->reports().workload(), workload);
    EXPECT_EQ(window->findChildren<WorkloadWindow *>().size(), 1);
}

TEST_F(ReportsWindowTest, SavedVisitIsLoggedAndCountedToday)
{
    VisitRecord visit = sampleVisit(QStringLiteral("赵六"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:00"));
    visit.header[FieldDrugFee] = QStringLiteral("30.00");
    visit.header[FieldOtherFee] = QStringLiteral("5");
    VisitStore(workspace->archive()).save(visit, 2026);

    OutpatientLogWindow *log = window->reports().openLog();
    ASSERT_TRUE(log->query());
    ASSERT_EQ(log->lines().size(), 1);
    EXPECT_TRUE(log->lines()[0].startsWith(QStringLiteral(" 赵六")));
    WorkloadWindow *workload = window->reports().openWorkload();
    ASSERT_TRUE(workload->countToday());
    EXPECT_EQ(workload->resultLabel()->text(), QStringLiteral("门诊处方数：1张，业务额：35元"));
}

TEST_F(ReportsWindowTest, LogPreviewFromTheMenuAndMarginsKeptWhenTheProgramCloses)
{
    VisitStore(workspace->archive())
        .save(sampleVisit(QStringLiteral("赵六"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:00")), 2026);
    EXPECT_EQ(titleOfModalOpenedBy([&] { window->menuAction(QStringLiteral("预览门诊日志"))->trigger(); }),
              QStringLiteral("打印预览 - 门诊日志"));
    ASSERT_NE(window->reports().log(), nullptr) << "the preview opens the log window for its dates";

    window->reports().log()->leftMarginBox()->setText(QStringLiteral("33"));
    window->close();
    EXPECT_EQ(SettingsRow(workspace->settings()).value(QStringLiteral("左边距6")), QStringLiteral("33"));
}

} // namespace
