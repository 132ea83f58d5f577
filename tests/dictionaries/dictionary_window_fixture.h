#pragma once

#include "base/message_dialog.h"
#include "data/database.h"
#include "data/workspace.h"
#include "dictionaries/dictionary_list_widget.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "support/typing.h"
#include "workstation/test_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// Real data files in a temporary program folder, for one dictionary window at a time.
class DictionaryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageDialog::setScripted(true);
        MessageDialog::shown().clear();
        workspace = std::make_unique<Workspace>(folder.paths());
        workspace->files().createMissing();
        workspace->files().open();
    }
    void TearDown() override { workspace->files().close(); }

    Database &settings() { return workspace->settings(); }
    // Opens a window as the menu does and waits until it has the keyboard.
    template <typename Window>
    static void show(Window &window)
    {
        window.open();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    template <typename T = QWidget>
    static T *find(const QWidget *window, const QString &name)
    {
        T *widget = window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    static QAbstractButton *button(const QWidget *window, const QString &text)
    {
        for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
            if (b->text() == text)
                return b;
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    static void click(QWidget *widget, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(widget, b, Qt::NoModifier, widget->rect().center());
    }
    // Clicks a list line as the user does.
    static void clickLine(DictionaryListWidget *list, int line)
    {
        const QRect r = list->visualRect(list->rows()->index(line, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    static void typeInto(QWidget *widget, const QString &text)
    {
        widget->setFocus();
        typeText(widget, text);
    }
    static QStringList lines(const DictionaryListWidget *list)
    {
        QStringList out;
        for (const ListedRow &row : list->rows()->rows())
            out << row.text;
        return out;
    }
    // Every stored column of a row, as text, with NULL told apart.
    QStringList storedRow(const QString &table, qint64 rowId)
    {
        Statement q(settings(), QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoteIdentifier(table)));
        q.bind(1, rowId);
        QStringList out;
        if (q.next()) {
            for (int c = 0; c < q.columnCount(); ++c)
                out << (q.isNull(c) ? QStringLiteral("<null>") : q.value(c).toString());
        }
        return out;
    }
    int count(const QString &table)
    {
        return scalar(settings(), QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(table))).toInt();
    }
    qint64 lastRowId(const QString &table)
    {
        return scalar(settings(), QStringLiteral("SELECT max(rowid) FROM %1").arg(quoteIdentifier(table))).toLongLong();
    }
    // Holds a write lock on the settings file from a second connection, as another program
    // would; the window's connection gives up waiting for it after a moment.
    struct WriteLock
    {
        Database other;
        explicit WriteLock(Database &settings)
        {
            settings.exec(QStringLiteral("PRAGMA busy_timeout=50"));
            other.open(settings.path(), kSettingsKey);
            other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        }
        ~WriteLock() { other.exec(QStringLiteral("ROLLBACK")); }
    };

    TempProgramFolder folder;
    std::unique_ptr<Workspace> workspace;
};

} // namespace quillora::test
