#include "workstation/main_window_fixture.h"

#include "data/database.h"
#include "data/password_store.h"
#include "data/settings_row.h"
#include "forms/twips.h"
#include "printing/print_job_gui.h"
#include "printing/recording_printer.h"
#include "printing/sheet_print.h"
#include "settings/settings_layout.h"
#include "settings/settings_window.h"
#include "support/pdf_text.h"
#include "workstation/print_actions_gui.h"
#include "workstation/sheet_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>

using namespace quillora;
using namespace quillora::test;

namespace {

class SettingsWindowTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        PrintJob::setOutputFile(QString());
        MainWindowTest::TearDown();
    }

    SettingsWindow *open()
    {
        window->menuAction(QStringLiteral("综合设置"))->trigger();
        SettingsWindow *settings = window->settingsWindow();
        EXPECT_NE(settings, nullptr);
        EXPECT_TRUE(settings && settings->isVisible());
        return settings;
    }
    // The settings window of the main window, once closed windows are gone.
    SettingsWindow *settingsWindow()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window->settingsWindow();
    }
    template <typename T = QWidget>
    T *in(SettingsWindow *settings, const QString &name) const
    {
        T *widget = settings->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit *box(SettingsWindow *s, const QString &name) const { return in<QLineEdit>(s, name); }
    void retype(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        type(edit, text);
    }
    void clickButton(SettingsWindow *s, const QString &name) { click(in<QPushButton>(s, name)); }

    QString stored(const QString &column) { return SettingsRow(workspace->settings()).value(column).value_or(QStringLiteral("<none>")); }
    // Stores a row as if the program had started with it.
    void store(const QList<QPair<QString, QString>> &values)
    {
        SettingsRow(workspace->settings()).write(values);
        workspace->settingsRecord().discard();
    }
    QStringList row()
    {
        QStringList texts;
        Statement q(workspace->settings(), QStringLiteral("SELECT * FROM [设置]"));
        while (q.next()) {
            for (int c = 0; c < q.columnCount(); ++c)
                texts << q.columnName(c) + QLatin1Char('=') + q.text(c);
        }
        return texts;
    }
    // The whole sheet as it would print now, on the recorder.
    std::unique_ptr<RecordingPrinter> printedSheet()
    {
        auto printer = std::make_unique<RecordingPrinter>();
        printSheet(*printer, window->printing().sheetContent(), workspace->settingsRecord().values(),
                   workspace->scratchPath(QStringLiteral("print.txt")));
        return printer;
    }

    QTemporaryDir out;
};

TEST_F(SettingsWindowTest, OpensFromTheMenuLaidOutAsTheForm)
{
    SettingsWindow *settings = open();
    EXPECT_EQ(settings->objectName(), QStringLiteral("Form5"));
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("基本设置"));
    QStringList frames;
    for (const QGroupBox *frame : settings->findChildren<QGroupBox *>())
        frames << frame->title();
    for (const char *title : {"基本设置", "修改登录密码", "打印设置(单位：毫米)", "处方套打设置"})
        EXPECT_TRUE(frames.contains(QString::fromUtf8(title))) << title;
    EXPECT_EQ(in<QLabel>(settings, QStringLiteral("hintText"))->text(), SettingsLayout::hintText());

    // The overlay rows stand top to bottom in the form's order.
    QList<QCheckBox *> ticks = in<QGroupBox>(settings, QStringLiteral("overlayFrame"))->findChildren<QCheckBox *>();
    std::sort(ticks.begin(), ticks.end(), [](QCheckBox *a, QCheckBox *b) { return a->y() < b->y(); });
    QStringList rows;
    for (QCheckBox *tick : ticks) {
        rows << tick->text();
        const QString index = tick->objectName().section(QLatin1Char('_'), 1);
        EXPECT_EQ(box(settings, QStringLiteral("Text10_") + index)->y(), tick->y());
        EXPECT_EQ(tick->text(), overlayItemDefaults()[index.toInt()].caption);
    }
    EXPECT_EQ(rows.join(QLatin1Char(' ')), QStringLiteral("姓名 性别 男(划掉女) 女(划掉男) 年龄 费别 医疗证号 科别 住址|电话 临床诊断 日期 "
                                                        "日期(年) 日期(月) 日期(日) 过敏史 既往史 电话 医生 配药 复核 药费 其他收费 处方正文"));

    // A second menu click shows the same window with the values being edited, not the table's.
    retype(box(settings, QStringLiteral("doctorBox")), QStringLiteral("赵医生"));
    window->menuAction(QStringLiteral("综合设置"))->trigger();
    EXPECT_EQ(window->settingsWindow(), settings);
    EXPECT_EQ(box(settings, QStringLiteral("doctorBox"))->text(), QStringLiteral("赵医生"));
}

TEST_F(SettingsWindowTest, WithoutARowTheBuiltInTextsStay)
{
    workspace->settings().exec(QStringLiteral("DELETE FROM [设置]"));
    workspace->settingsRecord().discard();  // the new visit on screen has read it already
    SettingsWindow *settings = open();
    EXPECT_EQ(box(settings, QStringLiteral("nameBox"))->text(), QStringLiteral("示范卫生室"));
    for (const char *name : {"sheetLeftBox", "overlayLeftBox", "cardLeftBox"})
        EXPECT_EQ(box(settings, QString::fromUtf8(name))->text(), QStringLiteral("120")) << name;
    for (const char *name : {"sheetTopBox", "overlayTopBox", "cardTopBox"})
        EXPECT_EQ(box(settings, QString::fromUtf8(name))->text(), QStringLiteral("200")) << name;
    EXPECT_EQ(in<QComboBox>(settings, QStringLiteral("fontBox"))->currentText(), QStringLiteral("宋体"));
    EXPECT_EQ(in<QComboBox>(settings, QStringLiteral("sizeBox"))->currentText(), QStringLiteral("11"));
    EXPECT_TRUE(box(settings, QStringLiteral("doctorBox"))->text().isEmpty());
    for (int item = 0; item < kOverlayItemCount; ++item) {
        EXPECT_FALSE(in<QCheckBox>(settings, QStringLiteral("Check1_%1").arg(item))->isChecked());
        EXPECT_FALSE(box(settings, QStringLiteral("Text10_%1").arg(item))->isEnabled());
    }
}

TEST_F(SettingsWindowTest, LoadingAndSavingUnchangedKeepsTheRowByteIdentical)
{
    const QString longName = QStringLiteral("  \"青山'镇\"%@_中心卫生院") + QString(34, QChar(0x9662));
    ASSERT_EQ(longName.size(), 50);
    store({{QStringLiteral("名称"), longName}, {QStringLiteral("医生"), QStringLiteral("司马欧阳建国张三李四")},
           {QStringLiteral("配药"), QStringLiteral("O'Neil %")}, {QStringLiteral("复核"), QString()},
           {QStringLiteral("科别"), QStringLiteral("中西医结合科@")}, {QStringLiteral("费别"), QStringLiteral(" 医保 ")},
           {QStringLiteral("左边距"), QStringLiteral("12.5mm")}, {QStringLiteral("上边距"), QStringLiteral("abc")},
           {QStringLiteral("左边距5"), QString()}, {QStringLiteral("上边距5"), QStringLiteral("-3")},
           {QStringLiteral("竖打"), QStringLiteral("0")}, {QStringLiteral("字体"), QStringLiteral("方正舒体")},
           {QStringLiteral("大小"), QStringLiteral("13")}, {QStringLiteral("纸张"), QStringLiteral("16开")},
           {QStringLiteral("姓名1"), QStringLiteral("0")}, {QStringLiteral("姓名2"), QStringLiteral("12.5")},
           {QStringLiteral("电话1"), QStringLiteral("1")}, {QStringLiteral("电话3"), QStringLiteral("0")}});
    const QStringList before = row();
    SettingsWindow *settings = open();
    EXPECT_EQ(box(settings, QStringLiteral("nameBox"))->text(), longName);
    EXPECT_EQ(in<QComboBox>(settings, QStringLiteral("fontBox"))->currentText(), QStringLiteral("方正舒体"));
    EXPECT_EQ(in<QComboBox>(settings, QStringLiteral("sizeBox"))->currentText(), QStringLiteral("13"));
    EXPECT_EQ(in<QComboBox>(settings, QStringLiteral("paperBox"))->currentText(), QStringLiteral("16开"));
    EXPECT_TRUE(in<QRadioButton>(settings, QStringLiteral("landscapeOption"))->isChecked());
    EXPECT_FALSE(box(settings, QStringLiteral("Text10_0"))->isEnabled());
    EXPECT_TRUE(box(settings, QStringLiteral("Text11_22"))->isEnabled());
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_TRUE(MessageDialog::shown().isEmpty()) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(row(), before);
    EXPECT_EQ(settingsWindow(), nullptr);
}

TEST_F(SettingsWindowTest, OddStoredValuesComeBackInTheirSavedForm)
{
    store({{QStringLiteral("竖打"), QStringLiteral("2")}, {QStringLiteral("姓名2"), QStringLiteral("26.0")},
           {QStringLiteral("姓名3"), QStringLiteral("abc")}, {QStringLiteral("性别2"), QStringLiteral(" ")},
           {QStringLiteral("纸张"), QStringLiteral("B4")}});
    SettingsWindow *settings = open();
    EXPECT_TRUE(in<QRadioButton>(settings, QStringLiteral("portraitOption"))->isChecked());
    EXPECT_EQ(box(settings, QStringLiteral("Text10_0"))->text(), QStringLiteral("26"));
    EXPECT_EQ(box(settings, QStringLiteral("Text11_0"))->text(), QStringLiteral("0"));
    EXPECT_EQ(box(settings, QStringLiteral("Text10_1"))->text(), QStringLiteral("0"));
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_EQ(stored(QStringLiteral("竖打")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("姓名2")), QStringLiteral("26"));
    EXPECT_EQ(stored(QStringLiteral("姓名3")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("性别2")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("纸张")), QStringLiteral("B4"));  // unknown here, kept as it was
}

TEST_F(SettingsWindowTest, TicksSwitchTheBoxesAndPositionsAreSavedAsNumbers)
{
    SettingsWindow *settings = open();
    QCheckBox *name = in<QCheckBox>(settings, QStringLiteral("Check1_0"));
    click(name);
    EXPECT_FALSE(box(settings, QStringLiteral("Text10_0"))->isEnabled());
    EXPECT_FALSE(box(settings, QStringLiteral("Text11_0"))->isEnabled());
    EXPECT_EQ(box(settings, QStringLiteral("Text10_0"))->text(), QStringLiteral("26"));
    QCheckBox *phone = in<QCheckBox>(settings, QStringLiteral("Check1_22"));
    click(phone);
    EXPECT_TRUE(box(settings, QStringLiteral("Text10_22"))->isEnabled());
    retype(box(settings, QStringLiteral("Text10_3")), QStringLiteral("12.5"));
    retype(box(settings, QStringLiteral("Text11_4")), QStringLiteral("abc"));
    retype(box(settings, QStringLiteral("Text11_22")), QStringLiteral(" 7 mm"));
    clickButton(settings, QStringLiteral("saveButton"));
    const struct { const char *column, *value; } expected[] = {
        {"姓名1", "0"}, {"姓名2", "26"}, {"姓名3", "36"}, {"电话1", "1"},
        {"费别2", "12.5"}, {"医疗证号3", "0"}, {"电话3", "7"},
    };
    for (const auto &e : expected)
        EXPECT_EQ(stored(QString::fromUtf8(e.column)), QString::fromUtf8(e.value)) << e.column;
}

TEST_F(SettingsWindowTest, EditsReachPrintsAtOnceAndCancelDropsThem)
{
    const double rpBefore = printedSheet()->findText(QStringLiteral("Rp"))->absX;
    SettingsWindow *settings = open();
    retype(box(settings, QStringLiteral("sheetLeftBox")), QStringLiteral("20"));
    // Printed before saving: the typed margin moves the sheet 10 mm right.
    EXPECT_NEAR(printedSheet()->findText(QStringLiteral("Rp"))->absX - rpBefore, 567, 1e-6);
    clickButton(settings, QStringLiteral("cancelButton"));
    EXPECT_FALSE(workspace->settingsRecord().isLoaded());
    EXPECT_EQ(stored(QStringLiteral("左边距")), QStringLiteral("10"));
    EXPECT_NEAR(printedSheet()->findText(QStringLiteral("Rp"))->absX, rpBefore, 1e-6);

    // The title bar's close is a cancel too.
    settings = open();
    retype(box(settings, QStringLiteral("nameBox")), QStringLiteral("别处"));
    settings->close();
    EXPECT_FALSE(workspace->settingsRecord().isLoaded());
    EXPECT_EQ(stored(QStringLiteral("名称")), SettingsDefaults::institution);
}

TEST_F(SettingsWindowTest, SavedNameAndMarginChangeTheSheetAtOnce)
{
    const double rpBefore = printedSheet()->findText(QStringLiteral("Rp"))->absX;
    SettingsWindow *settings = open();
    retype(box(settings, QStringLiteral("nameBox")), QStringLiteral("  新华社区卫生服务站 "));
    retype(box(settings, QStringLiteral("sheetLeftBox")), QStringLiteral("15"));
    retype(in<QComboBox>(settings, QStringLiteral("sizeBox"))->lineEdit(), QStringLiteral("13"));
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_EQ(settingsWindow(), nullptr) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(stored(QStringLiteral("名称")), QStringLiteral("  新华社区卫生服务站 "));

    QLabel *heading = window->areas().sheet->caption(SheetLayout::Institution);
    EXPECT_EQ(heading->text(), QStringLiteral("新华社区卫生服务站"));
    const int sheetWidth = Twips::toPixels(SheetLayout::kWidth);
    EXPECT_LE(std::abs(heading->x() * 2 + heading->width() - sheetWidth), 2);

    body()->setPlainText(QStringLiteral("阿莫西林胶囊 0.25g×24粒"));
    const auto printed = printedSheet();
    EXPECT_NEAR(printed->findText(QStringLiteral("Rp"))->absX - rpBefore, 5 * 56.7, 1e-6);
    ASSERT_NE(printed->findText(QStringLiteral("新华社区卫生服务站")), nullptr);
    EXPECT_EQ(printed->findText(QStringLiteral("阿莫西林胶囊 0.25g×24粒"))->fontSize, 13);
}

TEST_F(SettingsWindowTest, RefusedOrFailedSaveKeepsTheWindowAndTheEdits)
{
    SettingsWindow *settings = open();
    retype(box(settings, QStringLiteral("departmentBox")), QStringLiteral("外科"));
    // Typing stops at what the column holds; an empty margin is refused by name.
    retype(box(settings, QStringLiteral("doctorBox")), QStringLiteral("一二三四五六七八九十壹"));
    EXPECT_EQ(box(settings, QStringLiteral("doctorBox"))->text(), QStringLiteral("一二三四五六七八九十"));
    retype(box(settings, QStringLiteral("sheetLeftBox")), QString());
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("“处方左边距”"))) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("内科"));

    retype(box(settings, QStringLiteral("sheetLeftBox")), QStringLiteral("10"));
    retype(box(settings, QStringLiteral("doctorBox")), QStringLiteral("李医生"));
    workspace->settings().exec(QStringLiteral("CREATE TRIGGER [满] BEFORE UPDATE ON [设置] BEGIN SELECT RAISE(ABORT, '磁盘已满'); END"));
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("设置未能保存"))) << MessageDialog::lastText().toStdString();
    ASSERT_EQ(window->settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(box(settings, QStringLiteral("departmentBox"))->text(), QStringLiteral("外科"));
    EXPECT_EQ(stored(QStringLiteral("医生")), SettingsDefaults::doctor);

    workspace->settings().exec(QStringLiteral("DROP TRIGGER [满]"));
    clickButton(settings, QStringLiteral("saveButton"));
    EXPECT_EQ(stored(QStringLiteral("科别")), QStringLiteral("外科"));
}

TEST_F(SettingsWindowTest, PasswordChangeHidesTheWindowWhileItWorks)
{
    SettingsWindow *settings = open();
    QLineEdit *oldBox = box(settings, QStringLiteral("oldPasswordBox"));
    QLineEdit *newBox = box(settings, QStringLiteral("newPasswordBox"));
    EXPECT_EQ(newBox->echoMode(), QLineEdit::Normal);

    retype(newBox, QStringLiteral("   "));
    clickButton(settings, QStringLiteral("changePasswordButton"));
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("请输入新密码！"));
    EXPECT_TRUE(settings->isVisible());

    retype(oldBox, QStringLiteral("817"));
    retype(newBox, QStringLiteral("abc"));
    clickButton(settings, QStringLiteral("changePasswordButton"));
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("原密码不正确，无法修改密码！"));
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(PasswordStore(workspace->archive()).read(), QStringLiteral("816"));

    // With other settings edited and unsaved, the window stays so they are not lost.
    retype(box(settings, QStringLiteral("doctorBox")), QStringLiteral("赵医生"));
    retype(oldBox, QStringLiteral(" 816 "));
    clickButton(settings, QStringLiteral("changePasswordButton"));
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("修改密码成功，请牢记新密码！"));
    EXPECT_EQ(PasswordStore(workspace->archive()).read(), QStringLiteral("abc"));
    ASSERT_EQ(window->settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(box(settings, QStringLiteral("doctorBox"))->text(), QStringLiteral("赵医生"));
    EXPECT_TRUE(oldBox->text().isEmpty());

    // Without other edits the window closes, as after a save.
    clickButton(settings, QStringLiteral("saveButton"));
    settings = open();
    retype(box(settings, QStringLiteral("oldPasswordBox")), QStringLiteral("abc"));
    retype(box(settings, QStringLiteral("newPasswordBox")), QStringLiteral("XYZ"));
    clickButton(settings, QStringLiteral("changePasswordButton"));
    EXPECT_EQ(settingsWindow(), nullptr);
    EXPECT_EQ(PasswordStore(workspace->archive()).read(), QStringLiteral("XYZ"));
}

TEST_F(SettingsWindowTest, UnwritablePasswordIsReportedAndTheWindowComesBack)
{
    workspace->archive().exec(QStringLiteral("CREATE TRIGGER [锁] BEFORE UPDATE ON [密码] BEGIN SELECT RAISE(ABORT, '只读'); END"));
    SettingsWindow *settings = open();
    retype(box(settings, QStringLiteral("oldPasswordBox")), QStringLiteral("816"));
    retype(box(settings, QStringLiteral("newPasswordBox")), QStringLiteral("abc"));
    clickButton(settings, QStringLiteral("changePasswordButton"));
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("密码无法保存"))) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Critical);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(box(settings, QStringLiteral("newPasswordBox"))->text(), QStringLiteral("abc"));
}

TEST_F(SettingsWindowTest, ChosenPaperShapesTheCalibrationPageAndTheSheet)
{
    SettingsWindow *settings = open();
    QComboBox *paper = in<QComboBox>(settings, QStringLiteral("paperBox"));
    paper->setCurrentText(QStringLiteral("32开"));
    const QString calibration = out.filePath(QStringLiteral("calibration.pdf"));
    PrintJob::setOutputFile(calibration);
    clickButton(settings, QStringLiteral("calibrationButton"));
    ASSERT_TRUE(QFile::exists(calibration));
    EXPECT_NEAR(pdfPageSize(calibration).width(), 130, 0.5);
    EXPECT_NEAR(pdfPageSize(calibration).height(), 184, 0.5);
    if (canReadPdf()) {
        const QString text = pdfText(calibration);
        EXPECT_TRUE(text.contains(folded(QStringLiteral("套打校准页")))) << text.toStdString();
        EXPECT_TRUE(text.contains(folded(QStringLiteral("临床诊断"))));
    }

    paper->setCurrentText(QStringLiteral("A5"));
    clickButton(settings, QStringLiteral("saveButton"));
    const QString sheet = out.filePath(QStringLiteral("sheet.pdf"));
    PrintJob::setOutputFile(sheet);
    window->menuAction(QStringLiteral("打印"))->trigger();
    EXPECT_NEAR(pdfPageSize(sheet).width(), 148, 0.5);
    EXPECT_NEAR(pdfPageSize(sheet).height(), 210, 0.5);
}

} // namespace
