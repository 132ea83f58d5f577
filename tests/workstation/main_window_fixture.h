#pragma once

#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "support/data_fixture.h"
#include "support/list_lines.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "workstation/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>
#include "support/typing.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// A logged-in main window on real data files in a temporary program folder.
class MainWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window = std::make_unique<MainWindow>(*workspace);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        WindowTest::TearDown();
    }

    template <typename T = QWidget>
    T *find(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit *field(int index) const { return find<QLineEdit>(QStringLiteral("Text7_%1").arg(index)); }
    QListView *drugList() const { return find<QListView>(QStringLiteral("List1")); }
    // Picks the drug-list entry with this text with Enter, as the doctor would after arrowing to it.
    void pickEntry(const QString &text)
    {
        const int line = int(lineTexts(drugList()).indexOf(text));
        ASSERT_GE(line, 0) << text.toStdString();
        drugList()->setFocus();
        selectLine(drugList(), line);
        QTest::keyClick(drugList(), Qt::Key_Return);
    }
    QPlainTextEdit *body() const { return find<QPlainTextEdit>(QStringLiteral("R1")); }
    QPlainTextEdit *card() const { return find<QPlainTextEdit>(QStringLiteral("R2")); }
    static void type(QWidget *widget, const QString &text) { typeText(widget, text); }
    void typeInto(QWidget *widget, const QString &text)
    {
        widget->setFocus();
        type(widget, text);
    }
    void click(QWidget *widget, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(widget, button, Qt::NoModifier, widget->rect().center());
    }

    std::unique_ptr<MainWindow> window;
};

} // namespace quillora::test
