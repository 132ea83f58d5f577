#include "main_window_fixture.h"

#include "data/visit_record.h"
#include "dictionaries/name_list_store.h"
#include "text/pinyin.h"
#include "text/soft_keyboard_window.h"
#include "workstation/header_rules.h"
#include "forms/sheet_layout.h"
#include "forms/twips.h"
#include "workstation/visit_session_gui.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/press_button_widget.h"
#include "data/visit_store.h"

#include <QFile>
#include <QScrollBar>

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include "support/list_lines.h"
#include <QMenu>
#include <QPushButton>

using namespace quillora;
using namespace quillora::test;

namespace {

using SheetWindowTest = MainWindowTest;

TEST_F(SheetWindowTest, ElementsSitAtTheirTwipPositions)
{
    QWidget *sheet = find(QStringLiteral("Picture9"));
    EXPECT_EQ(sheet->geometry(), Twips::toPixels(3660, 810, 6293, 8970));
    for (int i = 0; i < SheetLayout::kCaptionCount; ++i) {
        const CaptionSpec &spec = SheetLayout::captions()[i];
        QLabel *label = find<QLabel>(QStringLiteral("Label3_%1").arg(i));
        EXPECT_EQ(label->y(), Twips::toPixels(spec.top)) << i;
        const int left = spec.centred ? Twips::toPixels(SheetLayout::centredLeft(Twips::textWidth(label->text(), label->font())))
                                      : Twips::toPixels(spec.left);
        EXPECT_EQ(label->x(), left) << i;
        EXPECT_EQ(label->font().pointSizeF(), spec.font.points) << i;
    }
    for (int i = 0; i < SheetLayout::kRuleCount; ++i) {
        const TwipLine &line = SheetLayout::rules()[i];
        QWidget *rule = find(QStringLiteral("Line1_%1").arg(i));
        EXPECT_EQ(rule->pos(), Twips::toPixels(std::min(line.x1, line.x2), std::min(line.y1, line.y2))) << i;
    }
    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        const auto &box = SheetLayout::fieldBoxes()[i];
        QWidget *picture = find(QStringLiteral("Picture6_%1").arg(i));
        EXPECT_EQ(picture->geometry(), Twips::toPixels(box.left, box.top, box.width, 315)) << i;
        EXPECT_EQ(picture->isVisible(), box.visible) << i;
        QLabel *caption = find<QLabel>(QStringLiteral("Label1_%1").arg(i));
        EXPECT_EQ(caption->pos(), Twips::toPixels(60, 60));
        const double captionWidth = Twips::textWidth(caption->text(), caption->font());
        EXPECT_EQ(field(i)->x(), Twips::toPixels(captionWidth + 75)) << i;
        EXPECT_EQ(field(i)->y(), Twips::toPixels(30));
        EXPECT_EQ(find(QStringLiteral("Line2_%1").arg(i))->y(), Twips::toPixels(240));
    }
    EXPECT_EQ(body()->geometry(), Twips::toPixels(1440, 3120, 4275, 4335));
    EXPECT_EQ(find(QStringLiteral("List6"))->geometry(), Twips::toPixels(1080, 1740, 1395, 1290));
    EXPECT_EQ(find(QStringLiteral("visitBrowser"))->geometry(), Twips::toPixels(60, 6900, 3555, 3315));
    EXPECT_EQ(find(QStringLiteral("injectionCardPanel"))->size(), Twips::toPixels(0, 0, 4965, 3345).size());
    EXPECT_EQ(find(QStringLiteral("Text6_3"))->geometry(), Twips::toPixels(3720, 540, 975, 270));
    EXPECT_EQ(find(QStringLiteral("Text8_23"))->geometry(), Twips::toPixels(60, 60 + 300 * 23, 1995, 285));
    EXPECT_EQ(find(QStringLiteral("Text13_0"))->geometry(), Twips::toPixels(3900, 60, 735, 285));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillora V5.0"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label3_2"))->text(), QStringLiteral("青山镇中心卫生院"));
}

TEST_F(SheetWindowTest, GridPanelScrollsWithItsBar)
{
    QScrollBar *bar = find<QScrollBar>(QStringLiteral("VScroll1"));
    QWidget *panel = find(QStringLiteral("gridPanel"));
    window->editor().applyAutoPricing(true);
    bar->setValue(bar->maximum());
    EXPECT_EQ(panel->y(), Twips::toPixels(-(7215 - 3615)));
    bar->setValue(bar->maximum() / 2);
    EXPECT_EQ(panel->y(), Twips::toPixels(PriceGridLayout::panelTop(bar->maximum() / 2, bar->maximum())));
}

TEST_F(SheetWindowTest, KindCyclesAndShowsTheDosesBoxForTcm)
{
    QWidget *target = find(QStringLiteral("kindTarget"));
    QLabel *kind = find<QLabel>(QStringLiteral("Label3_3"));
    QLabel *title = find<QLabel>(QStringLiteral("Label3_0"));
    window->editor().applyAutoPricing(true);
    const struct { const char *kind, *title; bool doses; } cycle[] = {
        {"中医", "中医处方笺", true}, {"儿科", "儿科处方笺", false}, {"普通", "普通处方笺", false}};
    for (const auto &step : cycle) {
        click(target);
        EXPECT_EQ(kind->text(), QString::fromUtf8(step.kind));
        EXPECT_EQ(title->text(), QString::fromUtf8(step.title));
        EXPECT_EQ(find(QStringLiteral("Text9"))->isVisible(), step.doses);
        EXPECT_EQ(find(QStringLiteral("Label17"))->isVisible(), step.doses);
    }
}

TEST_F(SheetWindowTest, SexAndFeeShorthands)
{
    typeInto(field(FieldSex), QStringLiteral("1"));
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("男"));
    type(field(FieldSex), QStringLiteral("2"));  // the limit of one refuses more
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("男"));
    click(field(FieldSex));
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("女"));
    click(field(FieldSex));
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("男"));
    field(FieldSex)->clear();
    typeInto(field(FieldSex), QStringLiteral("2"));
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("女"));

    typeInto(field(FieldDrugFee), QStringLiteral("12。5"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("12.5"));
    // The injection card mirrors name, sex, age, date and doctor.
    typeInto(field(FieldName), QStringLiteral("李"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text6_0"))->text(), QStringLiteral("李"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text6_1"))->text(), QStringLiteral("女"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text6_3"))->text(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text6_4"))->text(), QStringLiteral("王建国"));
}

TEST_F(SheetWindowTest, DiagnosisSearchesTheLastWordAndPickReplacesIt)
{
    NameListStore::diagnoses(workspace->settings()).insert(QStringLiteral("冠心病"), pinyinCode(QStringLiteral("冠心病")));
    QListView *list = find<QListView>(QStringLiteral("List2"));
    typeInto(field(FieldDiagnosis), QStringLiteral("高血压 冠"));
    ASSERT_TRUE(list->isVisible());
    QStringList shown;
    for (int i = 0; i < lineCount(list); ++i)
        shown << lineText(list, i);
    EXPECT_TRUE(shown.contains(QStringLiteral("冠心病")));
    EXPECT_FALSE(shown.contains(QStringLiteral("高血压病")));  // only the word after the space
    const int row = int(shown.indexOf(QStringLiteral("冠心病")));
    list->setFocus();
    selectLine(list, row);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(field(FieldDiagnosis)->text(), QStringLiteral("高血压 冠心病"));
    EXPECT_FALSE(list->isVisible());

    // Entering the address field looks its code up; Enter moves on like Tab.
    field(FieldAddress)->clear();
    field(FieldAddress)->setFocus();
    EXPECT_FALSE(list->isVisible());
    QTest::keyClick(field(FieldAddress), Qt::Key_Return);
    EXPECT_FALSE(field(FieldAddress)->hasFocus());
}

TEST_F(SheetWindowTest, PatientListNeedsTwoCharactersAndAPickDoesNotSearchAgain)
{
    VisitRecord visit;
    visit.header = HeaderRules::newVisitHeader(workspace->settingsRecord().values(), Clock::now());
    visit.header[FieldName] = QStringLiteral("张三");
    visit.header[FieldSex] = QStringLiteral("男");
    visit.header[FieldAge] = QStringLiteral("35岁");
    visit.header[FieldAddress] = QStringLiteral("东风村一组");
    visit.header[FieldDiagnosis] = QStringLiteral("上呼吸道感染");
    visit.key = QStringLiteral("2026-01-01 08:00:00");
    VisitStore(workspace->archive()).save(visit, 2026);

    QListView *patients = find<QListView>(QStringLiteral("List6"));
    typeInto(field(FieldName), QStringLiteral("张"));
    EXPECT_FALSE(patients->isVisible());
    type(field(FieldName), QStringLiteral("三"));
    ASSERT_TRUE(patients->isVisible());
    ASSERT_EQ(lineCount(patients), 1);
    EXPECT_EQ(lineText(patients, 0), QStringLiteral("张三[35岁]"));
    QTest::keyClick(field(FieldName), Qt::Key_Down);
    EXPECT_TRUE(patients->hasFocus());
    QTest::keyClick(patients, Qt::Key_Return);
    EXPECT_FALSE(patients->isVisible());
    EXPECT_EQ(field(FieldSex)->text(), QStringLiteral("男"));
    EXPECT_EQ(field(FieldAge)->text(), QStringLiteral("35岁"));
    EXPECT_EQ(field(FieldAddress)->text(), QStringLiteral("东风村一组"));
    EXPECT_EQ(field(FieldDiagnosis)->text(), QStringLiteral("上呼吸道感染"));
    EXPECT_TRUE(field(FieldDiagnosis)->hasFocus());
    EXPECT_FALSE(find(QStringLiteral("List5"))->isVisible());  // no address search while loading
}

TEST_F(SheetWindowTest, BodyMenuEnablesByClipboardAndSelection)
{
    QMenu *menu = find<QMenu>(QStringLiteral("右键菜单"));
    const auto enabled = [&](const char *caption) {
        for (QAction *a : menu->actions())
            if (a->property("caption").toString() == QString::fromUtf8(caption))
                return a->isEnabled();
        ADD_FAILURE() << caption;
        return false;
    };
    QGuiApplication::clipboard()->clear();
    // The menu waits for the release of the right button.
    QTest::mousePress(body()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseRelease(body()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(window->findChild<QAction *>(QStringLiteral("bodyMenu_剪切(T)"))->text(), QStringLiteral("剪切(&T)"));
    EXPECT_FALSE(enabled("粘贴(P)"));
    EXPECT_FALSE(enabled("剪切(T)"));
    EXPECT_FALSE(enabled("复制到注射卡"));
    EXPECT_TRUE(enabled("静脉滴注"));
    EXPECT_TRUE(enabled("加滴管"));
    menu->hide();

    body()->setPlainText(QStringLiteral("青霉素 80万单位\n    用法：皮试\n阿莫西林"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    QTextCursor cursor = body()->textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    body()->setTextCursor(cursor);
    Q_EMIT body()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(enabled("粘贴(P)"));
    EXPECT_TRUE(enabled("复制(C)"));
    EXPECT_TRUE(enabled("复制到注射卡"));
    menu->hide();
    window->findChild<QAction *>(QStringLiteral("bodyMenu_复制到注射卡"))->trigger();
    EXPECT_EQ(card()->toPlainText(), QStringLiteral("青霉素 80万单位\n    用法：皮试"));

    // Toolbar 粘贴 with an empty clipboard empties the body.
    QGuiApplication::clipboard()->clear();
    window->pasteBody();
    EXPECT_TRUE(body()->toPlainText().isEmpty());
}

TEST_F(SheetWindowTest, SoftKeyboardTypesIntoTheLastFocusedBox)
{
    window->openSoftKeyboard();
    SoftKeyboardWindow *keyboard = window->softKeyboard();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(keyboard->windowFlags() & Qt::WindowStaysOnTopHint);
    QLineEdit *search = find<QLineEdit>(QStringLiteral("Text1"));
    EXPECT_EQ(SoftKeyboardTarget::get(), search);
    search->setText(QStringLiteral("ABC"));
    search->setCursorPosition(1);
    keyboard->findChild<QPushButton *>(QStringLiteral("Command1_23"))->click();  // X
    EXPECT_EQ(search->text(), QStringLiteral("AXBC"));
    EXPECT_EQ(search->cursorPosition(), 4);
    search->setSelection(0, 2);
    keyboard->typeLetter(QStringLiteral("Z"));
    EXPECT_EQ(search->text(), QStringLiteral("ZBC"));
    search->setCursorPosition(0);
    keyboard->findChild<QPushButton *>(QStringLiteral("backspaceButton"))->click();
    EXPECT_EQ(search->text(), QStringLiteral("ZB"));
    keyboard->findChild<QPushButton *>(QStringLiteral("clearButton"))->click();
    EXPECT_TRUE(search->text().isEmpty());
    keyboard->backspace();
    EXPECT_TRUE(search->text().isEmpty());

    // A header field becomes the target when it takes the focus; its lookups react.
    field(FieldDiagnosis)->setFocus();
    EXPECT_EQ(SoftKeyboardTarget::get(), field(FieldDiagnosis));
    keyboard->typeLetter(QStringLiteral("G"));
    EXPECT_EQ(field(FieldDiagnosis)->text(), QStringLiteral("G"));
    EXPECT_TRUE(find(QStringLiteral("List2"))->isVisible());
}

TEST_F(SheetWindowTest, NewVisitTakesDefaultsAndADistinctKey)
{
    VisitSession &session = window->session();
    const QString first = session.key();
    EXPECT_EQ(first, QStringLiteral("2026-12-08 09:30:00"));
    EXPECT_EQ(field(FieldCardNumber)->text(), QStringLiteral("20261208093000"));
    EXPECT_EQ(field(FieldDate)->text(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(field(FieldDepartment)->text(), QStringLiteral("内科"));
    EXPECT_EQ(field(FieldFeeClass)->text(), QStringLiteral("自费"));
    EXPECT_EQ(field(FieldDoctor)->text(), QStringLiteral("王建国"));
    EXPECT_EQ(field(FieldAllergy)->text(), QStringLiteral("未发现"));
    EXPECT_EQ(field(FieldPastHistory)->text(), QStringLiteral("无"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text9"))->text(), QStringLiteral("1"));
    EXPECT_TRUE(find<QLineEdit>(QStringLiteral("Text8_0"))->isReadOnly());
    // The settings record in memory, edited or not saved, gives the defaults.
    workspace->settingsRecord().values().doctor = QStringLiteral("赵医生");
    field(FieldName)->setText(QStringLiteral("张三"));
    body()->setPlainText(QStringLiteral("x"));
    window->menuAction(QStringLiteral("新建"))->trigger();
    EXPECT_EQ(session.key(), QStringLiteral("2026-12-08 09:30:01"));  // same second, next key
    EXPECT_TRUE(field(FieldName)->text().isEmpty());
    EXPECT_TRUE(body()->toPlainText().isEmpty());
    EXPECT_EQ(field(FieldDoctor)->text(), QStringLiteral("赵医生"));
    EXPECT_EQ(window->menuAction(QStringLiteral("新建"))->shortcut(), QKeySequence(QKeySequence::New));
    QTest::mouseClick(window->toolButton(QStringLiteral("新建")), Qt::LeftButton);
    EXPECT_EQ(session.key(), QStringLiteral("2026-12-08 09:30:02"));  // one press, one new visit
}

TEST_F(SheetWindowTest, TemplatesFilterAndInsertAtTheCaret)
{
    QListView *list = find<QListView>(QStringLiteral("List3"));
    EXPECT_EQ(lineCount(list), 3);
    typeInto(find(QStringLiteral("Text5")), QStringLiteral("gxy"));
    ASSERT_EQ(lineCount(list), 1);
    auto *history = find<QPlainTextEdit>(QStringLiteral("R3"));
    history->setPlainText(QStringLiteral("AB"));
    QTextCursor cursor = history->textCursor();
    cursor.setPosition(1);
    history->setTextCursor(cursor);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, lineRect(list, 0).center());
    EXPECT_TRUE(history->toPlainText().startsWith(QStringLiteral("A")));
    EXPECT_TRUE(history->toPlainText().endsWith(QStringLiteral("B")));
    EXPECT_GT(history->toPlainText().size(), 10);
}

TEST_F(SheetWindowTest, HelpAndAboutOpen)
{
    window->toolButton(QStringLiteral("帮助"))->activated();
    ASSERT_EQ(MessageDialog::openedUrls().size(), 1);
    EXPECT_TRUE(QFile::exists(MessageDialog::openedUrls()[0].toLocalFile()));
    window->menuAction(QStringLiteral("关于"))->trigger();
    QLabel *folderLabel = window->findChild<QLabel *>(QStringLiteral("dataFolderLabel"));
    ASSERT_NE(folderLabel, nullptr);
    EXPECT_TRUE(folderLabel->text().contains(QStringLiteral("档案数据库")));
}

} // namespace
