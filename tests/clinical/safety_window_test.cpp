#include "workstation/main_window_fixture.h"

#include "data/settings_row.h"
#include "settings/settings_window.h"
#include "support/pdf_text.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/prescription_text.h"
#include "workstation/print_actions_gui.h"
#include "workstation/safety_guard_gui.h"
#include "workstation/safety_strip_widget.h"
#include "workstation/sheet_widget.h"
#include "workstation/visit_session_gui.h"

#include <QAction>
#include <QCheckBox>
#include <QListView>
#include "support/list_lines.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace quillora;
using namespace quillora::test;

namespace {

const QString kAmoxicillin = QStringLiteral("阿莫西林胶囊 0.25g×24粒\\0.5g 口服  每日3次");
const QString kCefixime = QStringLiteral("头孢克肟分散片 0.1g×6片\\0.1g 口服  每日2次");

class SafetyWindowTest : public MainWindowTest
{
protected:
    SafetyStripWidget *strip() const { return find<SafetyStripWidget>(QStringLiteral("safetyStrip")); }
    QLineEdit *search() const { return find<QLineEdit>(QStringLiteral("Text1")); }
    // Waits out the strip's delay.
    QString stripSoon() const
    {
        QTest::qWait(SafetyGuard::kDelayMs + 100);
        return strip()->isVisible() ? strip()->text() : QString();
    }
    void setAllergy(const QString &text) { field(FieldAllergy)->setText(text); }
    static QString westernBody(int drugs)
    {
        QString body;
        for (int i = 0; i < drugs; ++i)
            body += QStringLiteral("维生素B%1片 10mg×100片\r\n    用法：10mg 口服  每日3次\r\n\r\n").arg(i + 1);
        return body;
    }
    SettingsWindow *openSettings()
    {
        window->menuAction(QStringLiteral("综合设置"))->trigger();
        return window->settingsWindow();
    }
};

TEST_F(SafetyWindowTest, StripFollowsBodyAndHeaderAfterADelayAndStaysOffPaper)
{
    EXPECT_FALSE(strip()->isVisible());  // a new visit has nothing to say
    EXPECT_EQ(strip()->parentWidget(), window->areas().sheet->parentWidget());  // beside the form, not on it
    body()->setPlainText(QStringLiteral("甘草         海藻         "));
    EXPECT_FALSE(strip()->isVisible());  // not before the delay
    EXPECT_EQ(stripSoon(), QStringLiteral("用药安全提示：十八反：甘草 与 海藻"));

    setAllergy(QStringLiteral("青霉素"));
    window->editor().setBodyText(QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n"));
    EXPECT_EQ(stripSoon(), QStringLiteral("用药安全提示：患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突"));
    EXPECT_EQ(strip()->toolTip(), QStringLiteral("患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突"));

    // The age and the kind are read too: a 儿科 sheet without an age.
    setAllergy(QStringLiteral("未发现"));
    field(FieldAge)->clear();
    window->editor().setKind(*kindLook(QStringLiteral("儿科")));
    EXPECT_EQ(stripSoon(), QStringLiteral("用药安全提示：儿科处方未填写年龄"));
    field(FieldAge)->setText(QStringLiteral("5岁"));
    EXPECT_EQ(stripSoon(), QString());

    // Printed, the sheet carries no warning.
    setAllergy(QStringLiteral("青霉素"));
    EXPECT_FALSE(stripSoon().isEmpty());
    const QString path = out.filePath(QStringLiteral("sheet.pdf"));
    PrintJob::setOutputFile(path);
    window->printing().printSheet();
    ASSERT_TRUE(QFile::exists(path));
    const QString text = pdfText(path);
    if (!text.isEmpty()) {
        EXPECT_TRUE(text.contains(folded(QStringLiteral("阿莫西林胶囊"))));
        EXPECT_FALSE(text.contains(folded(QStringLiteral("用药安全提示"))));
    }
}

TEST_F(SafetyWindowTest, ConflictingPickAsksAndCancelLeavesTheBody)
{
    setAllergy(QStringLiteral("青霉素，头孢"));
    window->editor().setBodyText(QStringLiteral("维生素C片 0.1g×100片\r\n"));
    const QString before = body()->toPlainText();

    MessageDialog::setNextAnswer(false);
    pickEntry(kAmoxicillin);
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突"));
    EXPECT_EQ(body()->toPlainText(), before);

    MessageDialog::setNextAnswer(true);
    pickEntry(kCefixime);
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("患者过敏史：头孢 与 头孢克肟分散片 可能冲突"));
    EXPECT_TRUE(body()->toPlainText().contains(QStringLiteral("头孢克肟分散片 0.1g×6片")));

    // An order set holding a cephalosporin asks the same.
    const QString withCefixime = body()->toPlainText();
    QTest::keyClick(search(), Qt::Key_F4);
    MessageDialog::setNextAnswer(false);
    pickEntry(QStringLiteral("上感输液"));
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("患者过敏史：头孢 与 注射用头孢曲松钠 可能冲突"));
    EXPECT_EQ(body()->toPlainText(), withCefixime);

    // A drug clear of the allergies goes in without a word.
    MessageDialog::shown().clear();
    QTest::keyClick(search(), Qt::Key_F1);
    pickEntry(QStringLiteral("头孢克肟分散片 0.1g×6片\\0.1g 口服  每日2次"));  // asked again, answered yes
    setAllergy(QStringLiteral("磺胺"));
    MessageDialog::shown().clear();
    pickEntry(kAmoxicillin);
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
}

TEST_F(SafetyWindowTest, PickQuestionStopsOnEnterAndEscape)
{
    // The real message box: "取消" is the default, so a hurried Enter adds nothing.
    setAllergy(QStringLiteral("青霉素"));
    MessageDialog::setScripted(false);
    QStringList buttons;
    QString defaultButton;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    pickEntry(kAmoxicillin);
    MessageDialog::setScripted(true);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("仍然添加"), QStringLiteral("取消")}));
    EXPECT_EQ(defaultButton, QStringLiteral("取消"));
    EXPECT_TRUE(body()->toPlainText().isEmpty());
}

TEST_F(SafetyWindowTest, RepeatAsksAboutTheVisitsConflicts)
{
    setAllergy(QStringLiteral("青霉素"));
    window->editor().setBodyText(QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n"));
    const QString key = window->session().key();
    const QString before = body()->toPlainText();
    Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0)));

    MessageDialog::setNextAnswer(false);
    window->menuAction(QStringLiteral("续开"))->trigger();
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突")));
    EXPECT_EQ(body()->toPlainText(), before);
    EXPECT_EQ(window->session().key(), key);

    MessageDialog::setNextAnswer(true);
    window->menuAction(QStringLiteral("续开"))->trigger();
    EXPECT_TRUE(body()->toPlainText().isEmpty());
    EXPECT_NE(window->session().key(), key);

    // Nothing in conflict: no question.
    MessageDialog::shown().clear();
    window->menuAction(QStringLiteral("续开"))->trigger();
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
}

TEST_F(SafetyWindowTest, PrintingASheetWithWarningsAsksFirst)
{
    const QString path = out.filePath(QStringLiteral("sheet.pdf"));
    PrintJob::setOutputFile(path);
    window->editor().setBodyText(westernBody(5));
    window->menuAction(QStringLiteral("打印"))->trigger();
    EXPECT_TRUE(MessageDialog::shown().isEmpty());  // five drugs: nothing to ask
    ASSERT_TRUE(QFile::remove(path));

    window->editor().setBodyText(westernBody(6));
    MessageDialog::setNextAnswer(false);
    window->menuAction(QStringLiteral("打印"))->trigger();
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("每张处方不得超过5种药品")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(strip()->text(), QStringLiteral("用药安全提示：每张处方不得超过5种药品（本处方6种）"));  // shown at once

    MessageDialog::setNextAnswer(true);
    window->menuAction(QStringLiteral("在印刷处方上套打"))->trigger();
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(SafetyWindowTest, SwitchedOffChecksStaySilentEverywhere)
{
    SettingsWindow *settings = openSettings();
    ASSERT_NE(settings, nullptr);
    QStringList names;
    for (const SafetyCheckSwitch &s : safetyCheckSwitches()) {
        auto *box = settings->findChild<QCheckBox *>(QStringLiteral("safetyCheck_") + s.column);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isChecked());
        names << box->accessibleName();
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("过敏史冲突"), QStringLiteral("十八反/十九畏"),
                                  QStringLiteral("每张处方不超过5种药品"), QStringLiteral("儿科处方须填年龄")}));
    setAllergy(QStringLiteral("青霉素"));
    window->editor().setBodyText(QStringLiteral("阿莫西林胶囊\r\n甘草 海藻\r\n") + westernBody(5));
    EXPECT_TRUE(stripSoon().startsWith(QStringLiteral("用药安全提示（3项）：患者过敏史")));
    EXPECT_EQ(strip()->toolTip().split(QLatin1Char('\n')).size(), 3);

    // Unticked, a check goes quiet at once, before the settings are saved.
    settings->findChild<QCheckBox *>(QStringLiteral("safetyCheck_提示过敏"))->setChecked(false);
    settings->findChild<QCheckBox *>(QStringLiteral("safetyCheck_提示药品数"))->setChecked(false);
    EXPECT_EQ(strip()->text(), QStringLiteral("用药安全提示：十八反：甘草 与 海藻"));
    settings->findChild<QCheckBox *>(QStringLiteral("safetyCheck_提示十八反"))->setChecked(false);
    EXPECT_FALSE(strip()->isVisible());
    settings->save();
    EXPECT_EQ(setting(QStringLiteral("提示过敏")), QStringLiteral("0"));
    EXPECT_EQ(setting(QStringLiteral("提示十八反")), QStringLiteral("0"));
    EXPECT_EQ(setting(QStringLiteral("提示儿科年龄")), QStringLiteral("1"));
    EXPECT_FALSE(stripSoon().contains(QStringLiteral("患者过敏史")));

    MessageDialog::shown().clear();
    pickEntry(kAmoxicillin);
    window->menuAction(QStringLiteral("续开"))->trigger();
    window->editor().setBodyText(QStringLiteral("阿莫西林胶囊\r\n甘草 海藻\r\n") + westernBody(5));
    const QString path = out.filePath(QStringLiteral("quiet.pdf"));
    PrintJob::setOutputFile(path);
    window->menuAction(QStringLiteral("打印"))->trigger();
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(stripSoon().size());

    // The window opens again with the switches as saved; cancelling an edit brings them back.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settings = openSettings();
    ASSERT_NE(settings, nullptr);
    auto *allergy = settings->findChild<QCheckBox *>(QStringLiteral("safetyCheck_提示过敏"));
    EXPECT_FALSE(allergy->isChecked());
    allergy->setChecked(true);
    EXPECT_TRUE(strip()->text().contains(QStringLiteral("患者过敏史")));
    settings->close();
    EXPECT_FALSE(strip()->isVisible());
    EXPECT_EQ(setting(QStringLiteral("提示过敏")), QStringLiteral("0"));
}

} // namespace
