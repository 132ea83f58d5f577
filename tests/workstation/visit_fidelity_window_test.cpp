#include "main_window_fixture.h"

#include "data/database.h"
#include "data/settings_row.h"
#include "data/visit_store.h"
#include "workstation/prescription_editor_gui.h"
#include "forms/form_parts_widget.h"
#include "workstation/sheet_widget.h"
#include "workstation/visit_browser_widget.h"
#include "workstation/visit_session_gui.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include "support/list_lines.h"
#include <QMenu>

using namespace quillora;
using namespace quillora::test;

namespace {

// What the screen shows is what was stored, and what the doctor confirms is what happens.
class VisitFidelityTest : public MainWindowTest
{
protected:
    QListView *results() const { return find<QListView>(QStringLiteral("List4")); }
    QLineEdit *gridCell(const char *array, int row) const
    {
        return find<QLineEdit>(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(row));
    }
    // Every column of the stored row as text, in column order.
    QStringList storedRow(const QString &key) const
    {
        Statement q(workspace->archive(), QStringLiteral("SELECT * FROM [档案] WHERE [名称] = ?"));
        q.bind(1, key);
        QStringList row;
        if (q.next()) {
            for (int c = 0; c < q.columnCount(); ++c)
                row << (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
        }
        return row;
    }
    void store(const VisitRecord &visit) { VisitStore(workspace->archive()).save(visit, 2026); }
    void listAndClick(int row)
    {
        window->areas().browser->query();
        ASSERT_GT(lineCount(results()), row);
        QTest::mouseClick(results()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          lineRect(results(), row).center());
    }
    void pressCtrlS() { QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier); }
};

TEST_F(VisitFidelityTest, ProgramSetTextIsNeverCutToTheTypingLimit)
{
    // Defaults from the settings row longer than the typing limits of their fields.
    SettingsRow(workspace->settings()).write({{QStringLiteral("科别"), QStringLiteral("中西医结合科")},
                                             {QStringLiteral("医生"), QStringLiteral("司马欧阳建国")}});
    workspace->settingsRecord().discard();
    window->session().newVisit();
    EXPECT_EQ(field(FieldDepartment)->text(), QStringLiteral("中西医结合科"));
    EXPECT_EQ(field(FieldDoctor)->text(), QStringLiteral("司马欧阳建国"));

    // Three diagnosis picks run past the 20 characters a doctor may type.
    for (const char *name : {"高血压病", "脑供血不足", "冠状动脉粥样硬化性心脏病"}) {
        typeInto(field(FieldDiagnosis), field(FieldDiagnosis)->text().isEmpty() ? QString() : QStringLiteral(" "));
        window->areas().sheet->diagnosisList()->fill({{1, QString::fromUtf8(name)}});
        Q_EMIT window->areas().sheet->diagnosisList()->picked(0);
    }
    EXPECT_EQ(field(FieldDiagnosis)->text(), QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病"));

    // Typing stays limited: the name field takes five characters, a paste is cut to fit.
    QLineEdit *name = field(FieldName);
    name->clear();
    typeInto(name, QStringLiteral("欧阳司马建国"));
    EXPECT_EQ(name->text(), QStringLiteral("欧阳司马建"));
    name->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("上官司马建国"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QStringLiteral("上官司马建"));
    // A long name the program put there can still be shortened and corrected by hand.
    name->setText(QStringLiteral("欧阳司马建国"));
    name->setFocus();
    name->end(false);
    QTest::keyClick(name, Qt::Key_Backspace);
    typeInto(name, QStringLiteral("华"));
    EXPECT_EQ(name->text(), QStringLiteral("欧阳司马建华"));
    typeInto(name, QStringLiteral("甲"));
    EXPECT_EQ(name->text(), QStringLiteral("欧阳司马建华"));  // but not lengthened
}

TEST_F(VisitFidelityTest, ALoadedVisitSavedUnchangedKeepsItsRowByteForByte)
{
    VisitRecord v = window->session().currentVisit();
    v.header[FieldName] = QStringLiteral("欧阳司马建国");
    v.header[FieldSex] = QStringLiteral("女");
    v.header[FieldAge] = QStringLiteral("2岁3个月零5天");
    v.header[FieldAddress] = QStringLiteral("青山镇东村三组一百二十三号 O'Neil 100% @家");
    v.header[FieldDiagnosis] = QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病");
    v.header[FieldDate] = QStringLiteral("2026-12-08");
    v.header[FieldDrugFee] = QStringLiteral("30.00");  // a fee that the empty grid does not explain
    v.header[FieldOtherFee] = QStringLiteral("12元");
    v.header[FieldDoctor] = QStringLiteral("司马欧阳建国");
    v.body = QStringLiteral("青霉素钠注射液 160万单位\r\n    用法：静脉滴注  每日2次\r\n\r\n");
    v.injectionCard = QStringLiteral("手写的注射卡 \"引号\"");
    v.history = QStringLiteral("主诉：咳嗽三天\r\n");
    v.grid[GridName][0] = QStringLiteral("青霉素钠注射液");
    v.grid[GridQuantity][0] = QStringLiteral("2");
    v.grid[GridPrice][0] = QStringLiteral("0.80");
    v.grid[GridAmount][0] = QStringLiteral("9.99");  // as stored, not as re-totalled
    v.total = QStringLiteral("9.99");
    v.key = QStringLiteral("2026-12-08 08:00:00");
    store(v);
    const QStringList before = storedRow(v.key);

    listAndClick(0);
    EXPECT_EQ(field(FieldName)->text(), QStringLiteral("欧阳司马建国"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("30.00"));
    EXPECT_EQ(gridCell("Text13", 0)->text(), QStringLiteral("9.99"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label16"))->text(), QStringLiteral("9.99"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text6_2"))->text(), QStringLiteral("2岁3个月零5天"));  // card header
    pressCtrlS();
    EXPECT_EQ(storedRow(v.key), before);

    // The doctor's own edit of the grid re-totals again.
    gridCell("Text10", 0)->setFocus();
    gridCell("Text10", 0)->selectAll();
    type(gridCell("Text10", 0), QStringLiteral("3"));
    EXPECT_EQ(gridCell("Text13", 0)->text(), QStringLiteral("2.40"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("2.40"));
}

TEST_F(VisitFidelityTest, DeleteNamesTheVisitOnTheSheetAndRightClickMovesNothing)
{
    VisitRecord a = window->session().currentVisit();
    a.header[FieldName] = QStringLiteral("删甲");
    a.header[FieldDate] = QStringLiteral("2026-12-08");
    a.key = QStringLiteral("2026-12-08 08:00:00");
    store(a);
    VisitRecord b = a;
    b.header[FieldName] = QStringLiteral("删乙");
    b.key = QStringLiteral("2026-12-08 08:10:00");
    store(b);
    listAndClick(1);  // newest first: row 1 is 删甲
    ASSERT_EQ(field(FieldName)->text(), QStringLiteral("删甲"));

    // A right-click on 删乙 opens the menu but leaves the highlight on the visit shown.
    const QPoint onB = lineRect(results(), 0).center();
    QTest::mousePress(results()->viewport(), Qt::RightButton, Qt::NoModifier, onB);
    QTest::mouseRelease(results()->viewport(), Qt::RightButton, Qt::NoModifier, onB);
    EXPECT_EQ(currentLine(results()), 1);
    if (QMenu *menu = window->findChild<QMenu *>(QStringLiteral("mu")))
        menu->hide();

    MessageDialog::setNextAnswer(false);
    window->findChild<QAction *>(QStringLiteral("muDelete"))->trigger();
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("确实要永久删除该病人档案吗？\n\n删甲  2026-12-08"));
    EXPECT_FALSE(storedRow(a.key).isEmpty());

    // With an unsaved visit on the sheet nothing can go, and the doctor is told so.
    window->session().newVisit();
    field(FieldName)->setText(QStringLiteral("未保存"));
    const int shown = MessageDialog::shown().size();
    window->findChild<QAction *>(QStringLiteral("muDelete"))->trigger();
    ASSERT_EQ(MessageDialog::shown().size(), shown + 1);
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("当前处方尚未保存，档案中没有可删除的病历。"));
    EXPECT_EQ(field(FieldName)->text(), QStringLiteral("未保存"));  // no new visit started
    EXPECT_EQ(lineCount(results()), 2);
}

TEST_F(VisitFidelityTest, AnAbsurdAmountIsRefusedAndTheGridKeepsItsLastTotal)
{
    gridCell("Text10", 0)->setText(QStringLiteral("2"));
    gridCell("Text12", 0)->setText(QStringLiteral("3.50"));
    gridCell("Text10", 1)->setText(QStringLiteral("10000000"));
    ASSERT_EQ(find<QLabel>(QStringLiteral("Label16"))->text(), QStringLiteral("7.00"));
    gridCell("Text12", 1)->setFocus();
    type(gridCell("Text12", 1), QStringLiteral("99"));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("第2行")));
    EXPECT_EQ(gridCell("Text12", 1)->text(), QStringLiteral("9"));  // the keystroke that overflowed is taken back
    EXPECT_EQ(gridCell("Text13", 1)->text(), QStringLiteral("90000000.00"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label16"))->text(), QStringLiteral("90000007.00"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("90000007.00"));
}

} // namespace
