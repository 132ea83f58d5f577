#include "main_window_fixture.h"

#include "base/screen_fit.h"
#include "text/captions.h"
#include "text/soft_keyboard_window.h"
#include "workstation/press_button_widget.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>

using namespace quillora;
using namespace quillora::test;

namespace {

TEST(AccessKeys, ACaptionEndingInALetterInBracketsNamesItsKey)
{
    const struct { const char *caption, *shown; } cases[] = {
        {"文件(F)", "文件(&F)"}, {"剪切(T)", "剪切(&T)"}, {"新建", "新建"},
        {"个人组套/中医验方维护", "个人组套/中医验方维护"}, {"A&B", "A&&B"}, {"(）", "(）"}, {"打印(预览)", "打印(预览)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(withAccessKey(QString::fromUtf8(c.caption)), QString::fromUtf8(c.shown)) << c.caption;
}

TEST(ScreenFit, AWindowPastTheEdgeMovesBackInside)
{
    const QRect screen(0, 0, 1600, 900);
    EXPECT_EQ(fitInside(QRect(1300, 100, 388, 200), screen), QRect(1212, 100, 388, 200));  // 88 px off the right
    EXPECT_EQ(fitInside(QRect(-20, 850, 300, 200), screen), QRect(0, 700, 300, 200));
    EXPECT_EQ(fitInside(QRect(10, 10, 300, 200), screen), QRect(10, 10, 300, 200));
    EXPECT_EQ(fitInside(QRect(500, 500, 2000, 1000), screen).topLeft(), QPoint(0, 0));  // too big: corner shown
}

using KeyboardAccessTest = MainWindowTest;

TEST_F(KeyboardAccessTest, AltFOpensTheFileMenuInsteadOfTyping)
{
    QLineEdit *name = field(FieldName);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_F, Qt::AltModifier);
    QMenu *file = find<QMenu>(QStringLiteral("fileMenu"));
    EXPECT_TRUE(file->isVisible());
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(file->title(), QStringLiteral("文件(&F)"));
    file->close();
}

TEST_F(KeyboardAccessTest, DrawnButtonsArePushButtonsForAccessibilityAndTheKeyboard)
{
    for (const char *caption : {"打印注射卡", "输液执行卡", "新建", "保存"}) {
        PressButton *button = window->toolButton(QString::fromUtf8(caption));
        if (!button) {
            for (PressButton *b : window->findChildren<PressButton *>())
                if (b->caption() == QString::fromUtf8(caption))
                    button = b;
        }
        ASSERT_NE(button, nullptr) << caption;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::Button) << caption;
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(caption));
        ASSERT_NE(accessible->actionInterface(), nullptr);
        EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // Space and Enter on a focused button act as a click; the press action too.
    PressButton *save = window->toolButton(QStringLiteral("保存"));
    QSignalSpy activated(save, &PressButton::activated);
    save->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Space);
    QTest::keyClick(save, Qt::Key_Return);
    QAccessible::queryAccessibleInterface(save)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(activated.count(), 3);
}

TEST_F(KeyboardAccessTest, SoftKeyboardOpensWhollyOnScreen)
{
    window->move(window->screen()->availableGeometry().topLeft());
    window->openSoftKeyboard();
    SoftKeyboardWindow *keyboard = window->softKeyboard();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(window->screen()->availableGeometry().contains(keyboard->frameGeometry()))
        << keyboard->frameGeometry().x() << "," << keyboard->frameGeometry().width();
}

TEST_F(KeyboardAccessTest, ClickIntoAnEmptyDateBoxPutsTheCaretAfterToday)
{
    QLineEdit *from = find<QLineEdit>(QStringLiteral("Text3"));
    from->clear();
    QTest::mouseClick(from, Qt::LeftButton, Qt::NoModifier, QPoint(12, from->height() / 2));
    EXPECT_EQ(from->text(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(from->cursorPosition(), from->text().size());
    EXPECT_TRUE(from->hasFocus());
}

} // namespace
