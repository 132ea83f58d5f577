#pragma once

#include "base/clock.h"
#include "base/fonts.h"
#include "base/message_dialog.h"
#include "data/settings_row.h"
#include "data/workspace.h"
#include "printing/print_job_gui.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "support/typing.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// Real data files in a throw-away program folder, messages answered by the test, today fixed
// at 2026-12-08 09:30 and prints going nowhere unless a test says where. Window tests only.
class WindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
        workspace = std::make_unique<Workspace>(folder.paths());
        createDataFiles(workspace->files());
        workspace->files().open();
    }
    void TearDown() override
    {
        PrintJob::setOutputFile(QString());
        workspace->files().close();
        Clock::reset();
    }

    // Shows a window and waits until it has the keyboard.
    template <typename Window>
    static std::unique_ptr<Window> shown(std::unique_ptr<Window> window)
    {
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
    QTemporaryDir out;
};

// Runs an action that opens a modal dialog (a print preview), closes the dialog and returns
// its title; empty when no dialog opened.
inline QString titleOfModalOpenedBy(const std::function<void()> &action)
{
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget *dialog = QApplication::activeModalWidget();
        title = dialog ? dialog->windowTitle() : QString();
        if (dialog)
            dialog->close();
    });
    action();
    return title;
}

} // namespace quillora::test
