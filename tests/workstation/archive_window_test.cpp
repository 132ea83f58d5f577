#include "main_window_fixture.h"

#include "data/database.h"
#include "data/visit_record.h"
#include "data/visit_store.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/visit_session_gui.h"

#include <QLabel>
#include <QListView>
#include "support/list_lines.h"
#include <QPushButton>

using namespace quillora;
using namespace quillora::test;

namespace {

class ArchiveWindowTest : public MainWindowTest
{
protected:
    QListView *results() const { return find<QListView>(QStringLiteral("List4")); }
    QLineEdit *box(const char *name) const { return find<QLineEdit>(QString::fromUtf8(name)); }
    int visitRows() const
    {
        Statement q(workspace->archive(), QStringLiteral("SELECT count(*) FROM [档案]"));
        q.next();
        return int(q.int64(0));
    }
    void fillPatient(const QString &name)
    {
        field(FieldName)->setText(name);
        field(FieldSex)->setText(QStringLiteral("女"));
        field(FieldAge)->setText(QStringLiteral("60岁"));
    }
    void clickEntry(int row)
    {
        QTest::mouseClick(results()->viewport(), Qt::LeftButton, Qt::NoModifier, lineRect(results(), row).center());
    }
};

TEST_F(ArchiveWindowTest, SaveRepeatAndListToday)
{
    fillPatient(QStringLiteral("王秀兰"));
    window->editor().setBodyText(QStringLiteral("复方丹参滴丸 27mg×180丸\r\n"));
    box("Text2")->setText(QStringLiteral("某"));
    ASSERT_TRUE(window->session().saveVisit());
    ASSERT_TRUE(window->session().saveVisit());
    EXPECT_EQ(visitRows(), 1);
    EXPECT_TRUE(box("Text2")->text().isEmpty());
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("2026-12-08"));
    ASSERT_EQ(lineCount(results()), 1);
    EXPECT_EQ(lineText(results(), 0), QStringLiteral("王秀兰[女,60岁,2026-12-08]"));

    Clock::advance(60);
    window->menuAction(QStringLiteral("续开"))->trigger();
    EXPECT_TRUE(body()->toPlainText().isEmpty());
    EXPECT_EQ(field(FieldName)->text(), QStringLiteral("王秀兰"));
    EXPECT_TRUE(find<QLineEdit>(QStringLiteral("Text1"))->hasFocus());
    ASSERT_TRUE(window->session().saveVisit());
    EXPECT_EQ(visitRows(), 2);
    EXPECT_EQ(lineCount(results()), 2);
}

TEST_F(ArchiveWindowTest, RefusedSaveSaysWhatToFix)
{
    field(FieldName)->clear();
    EXPECT_FALSE(window->session().saveVisit());
    EXPECT_EQ(MessageDialog::shown().last().title, QStringLiteral("提示"));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("姓名")));
    fillPatient(QStringLiteral("李四"));
    field(FieldDate)->setText(QStringLiteral("2026-02-30"));
    EXPECT_FALSE(window->session().saveVisit());
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("2026-02-30")));
    EXPECT_EQ(visitRows(), 0);
    field(FieldDate)->setText(QStringLiteral("2026/12/8"));
    field(FieldSex)->clear();
    EXPECT_TRUE(window->session().saveVisit());
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("未登记")));
}

TEST_F(ArchiveWindowTest, RoundTripRestoresEveryFieldExactly)
{
    fillPatient(QStringLiteral("O'Neil"));
    field(FieldDiagnosis)->setText(QStringLiteral("上感 100%@"));
    find<QLabel>(QStringLiteral("kindTarget"))->setFocus();
    QTest::mouseClick(find(QStringLiteral("kindTarget")), Qt::LeftButton);  // 中医
    const QString longBody = QString(QStringLiteral("当归 10g 川芎 6g \"quote\" 'x' @\r\n")).repeated(300);
    window->editor().setBodyText(longBody);
    find<QPlainTextEdit>(QStringLiteral("R2"))->setPlainText(QStringLiteral("手写的注射卡"));
    find<QPlainTextEdit>(QStringLiteral("R3"))->setPlainText(QStringLiteral("主诉：咳嗽\n查体：无"));
    for (int r = 0; r < kGridRows; ++r)
        find<QLineEdit>(QStringLiteral("Text11_%1").arg(r))->setText(QStringLiteral("单位%1").arg(r));
    find<QLineEdit>(QStringLiteral("Text8_23"))->setText(QStringLiteral("末行@药"));
    find<QLineEdit>(QStringLiteral("Text9"))->setText(QStringLiteral("3"));
    const VisitRecord saved = window->session().currentVisit();
    ASSERT_TRUE(window->session().saveVisit());

    window->session().newVisit();
    EXPECT_TRUE(field(FieldName)->text().isEmpty());
    ASSERT_EQ(lineCount(results()), 1);
    clickEntry(0);
    VisitRecord loaded = window->session().currentVisit();
    VisitRecord expected = saved;
    expected.grid[GridName][23] = QStringLiteral("末行＠药");
    EXPECT_EQ(loaded.header, expected.header);
    EXPECT_EQ(loaded.body, longBody);
    EXPECT_EQ(loaded.injectionCard, QStringLiteral("手写的注射卡"));  // as saved, not classified again
    EXPECT_EQ(loaded.history, expected.history);
    EXPECT_EQ(loaded.grid, expected.grid);
    EXPECT_EQ(loaded.kind, QStringLiteral("中医"));
    EXPECT_EQ(loaded.title, QStringLiteral("中医处方笺"));
    EXPECT_EQ(loaded.doses, QStringLiteral("3"));
    EXPECT_EQ(loaded.key, saved.key);
    EXPECT_FALSE(find(QStringLiteral("List2"))->isVisible());
}

TEST_F(ArchiveWindowTest, BrowsingByDayAndName)
{
    for (const char *date : {"2016-02-28", "2016-02-29", "2016-03-01"}) {
        VisitRecord v = window->session().currentVisit();
        v.header[FieldName] = QStringLiteral("甲");
        v.header[FieldDate] = QString::fromUtf8(date);
        v.key = QString::fromUtf8(date) + QStringLiteral(" 08:00:00");
        VisitStore(workspace->archive()).save(v, 2016);
    }
    box("Text4")->setText(QStringLiteral("2016-03-01"));
    find<QPushButton>(QStringLiteral("Command5"))->click();
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("2016-02-29"));
    EXPECT_EQ(box("Text4")->text(), QStringLiteral("2016-02-29"));
    ASSERT_EQ(lineCount(results()), 1);
    EXPECT_TRUE(lineText(results(), 0).contains(QStringLiteral("2016-02-29")));
    find<QPushButton>(QStringLiteral("Command6"))->click();
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("2016-03-01"));

    box("Text3")->setText(QStringLiteral("2016-13-01"));
    find<QPushButton>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("请填写正确格式的起止日期！日期格式为“2016-01-03”。"));
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Exclamation);

    typeInto(box("Text2"), QStringLiteral("甲"));
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("2016-12-08"));  // ten years back from today
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_EQ(lineCount(results()), 0);  // 2016-02 lies before the ten years
    box("Text3")->setText(QStringLiteral("2016-02-28"));
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_EQ(lineCount(results()), 3);

    box("Text3")->clear();
    QTest::mouseClick(box("Text3"), Qt::LeftButton);
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("2026-12-08"));
}

TEST_F(ArchiveWindowTest, DeleteAsksAndCancelKeepsTheVisit)
{
    fillPatient(QStringLiteral("赵六"));
    ASSERT_TRUE(window->session().saveVisit());
    clickEntry(0);
    MessageDialog::setNextAnswer(false);
    window->findChild<QAction *>(QStringLiteral("muDelete"))->trigger();
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("确实要永久删除该病人档案吗？")));
    EXPECT_EQ(visitRows(), 1);
    EXPECT_EQ(lineCount(results()), 1);
    MessageDialog::setNextAnswer(true);
    window->findChild<QAction *>(QStringLiteral("muDelete"))->trigger();
    EXPECT_EQ(visitRows(), 0);
    EXPECT_EQ(lineCount(results()), 0);
    EXPECT_TRUE(field(FieldName)->text().isEmpty());
}

} // namespace
