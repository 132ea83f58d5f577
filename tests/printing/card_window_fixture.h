#pragma once

#include "base/clock.h"
#include "base/fonts.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "data/settings_row.h"
#include "data/visit_store.h"
#include "printing/print_job_gui.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "printing/visit_source.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include "support/typing.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// The visit on the main window, as much of it as the card windows read; saving stores it for real.
class ScreenVisit : public VisitSource
{
public:
    explicit ScreenVisit(Workspace &workspace)
        : m_workspace(workspace), visit(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00")))
    {
    }
    QString institution() const override { return institutionName; }
    std::array<QString, kHeaderFieldCount> headerFields() const override { return visit.header; }
    QString visitKey() const override { return visit.key; }
    QString body() const override { return visit.body; }
    QString history() const override { return visit.history; }
    bool saveVisit() override
    {
        ++saves;
        try {
            VisitStore(m_workspace.archive()).save(visit, Clock::today().year());
        } catch (const VisitRefused &refused) {
            MessageDialog::inform(nullptr, refused.message());
            return false;
        }
        return true;
    }

    Workspace &m_workspace;
    VisitRecord visit;
    QString institutionName = QStringLiteral("青山镇中心卫生院");
    int saves = 0;
};

// Real data files in a temporary program folder and the visit a card window is opened for.
class CardWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        MessageDialog::shown().clear();
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
        workspace = std::make_unique<Workspace>(folder.paths());
        createDataFiles(workspace->files());
        workspace->files().open();
        visit = std::make_unique<ScreenVisit>(*workspace);
    }
    void TearDown() override
    {
        PrintJob::setOutputFile(QString());
        workspace->files().close();
        Clock::reset();
    }

    // Shows a window and waits until it has the keyboard.
    template <typename Window>
    std::unique_ptr<Window> open()
    {
        auto window = std::make_unique<Window>(*workspace, *visit);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
    template <typename T = QWidget>
    static T *find(const QWidget *window, const QString &name)
    {
        T *widget = window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString setting(const QString &column) { return SettingsRow(workspace->settings()).value(column).value_or(QString()); }
    void setSettings(const QList<QPair<QString, QString>> &values) { SettingsRow(workspace->settings()).write(values); }

    static void type(QWidget *widget, const QString &text) { typeText(widget, text); }
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }

    TempProgramFolder folder;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<ScreenVisit> visit;
    QTemporaryDir out;
};

} // namespace quillora::test
