#pragma once

#include "base/clock.h"
#include "base/fonts.h"
#include "base/message_dialog.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/settings_row.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "printing/print_job_gui.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "support/typing.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// Real data files in a temporary program folder, today fixed at 2026-12-08, messages scripted.
class ReportWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)));
        workspace = std::make_unique<Workspace>(folder.paths());
        workspace->files().createMissing();
        workspace->files().open();
    }
    void TearDown() override
    {
        PrintJob::setOutputFile(QString());
        workspace->files().close();
        Clock::reset();
    }

    template <typename Window>
    std::unique_ptr<Window> open()
    {
        auto window = std::make_unique<Window>(*workspace);
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
    // Saves a visit as the main window would; returns it.
    VisitRecord saveVisit(const QString &name, const QString &date, const QString &drugFee = QString(), const QString &otherFee = QString())
    {
        VisitRecord v = sampleVisit(name, date, QStringLiteral("%1 09:%2:00").arg(date).arg(m_saved++ % 60, 2, 10, QLatin1Char('0')));
        v.header[FieldDiagnosis] = QStringLiteral("上呼吸道感染");
        v.header[FieldAddress] = QStringLiteral("东风村一组");
        v.header[FieldDrugFee] = drugFee;
        v.header[FieldOtherFee] = otherFee;
        VisitStore(workspace->archive()).save(v, 2026);
        return v;
    }
    QString setting(const QString &column) { return SettingsRow(workspace->settings()).value(column).value_or(QString()); }
    void setSettings(const QList<QPair<QString, QString>> &values) { SettingsRow(workspace->settings()).write(values); }
    // Replaces a box's text the way the doctor would: select all, type.
    static void retype(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, text);
    }
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }
    static QList<MessageDialog::Shown> messages() { return MessageDialog::shown(); }

    TempProgramFolder folder;
    std::unique_ptr<Workspace> workspace;
    QTemporaryDir out;
    int m_saved = 0;
};

} // namespace quillora::test
