#include "card_window_fixture.h"

#include "data/drug_store.h"
#include "printing/infusion_card_window.h"
#include "printing/recording_printer.h"
#include "support/pdf_text.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace quillora;
using namespace quillora::test;
using namespace InfusionCardLayout;

namespace {

const QString kInfusionBody = QStringLiteral(
    "0.9%氯化钠注射液 250ml\r\n注射用头孢曲松钠 2.0g\r\n    用法：静滴  每日1次\r\n\r\n"
    "阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n");

class InfusionCardWindowTest : public CardWindowTest
{
protected:
    void SetUp() override
    {
        CardWindowTest::SetUp();
        visit->visit.header[FieldDiagnosis] = QStringLiteral("上呼吸道感染");
        visit->visit.body = kInfusionBody;
    }
    static QPushButton *button(const InfusionCardWindow &w, const char *name) { return find<QPushButton>(&w, QLatin1String(name)); }
    InfusionCardLists stored() { return VisitStore(workspace->archive()).infusionCard(visit->visit.key); }
    static QStringList column(const InfusionCardWindow &w, int c)
    {
        QStringList texts;
        for (int r = 0; r < kRows; ++r)
            texts << w.cell(c, r)->text();
        return texts;
    }
};

TEST_F(InfusionCardWindowTest, UnsavedVisitFillsTheCardAndSaveStoresVisitAndCard)
{
    auto w = open<InfusionCardWindow>();
    EXPECT_EQ(w->objectName(), QStringLiteral("Form18"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("输液执行卡"));
    QLabel *institution = find<QLabel>(w.get(), QStringLiteral("Label1_0"));
    EXPECT_EQ(institution->text(), QStringLiteral("青山镇中心卫生院"));
    EXPECT_EQ(institution->x(), Twips::toPixels(centredLeft(Twips::textWidth(institution->text(), institution->font()))));

    const QStringList header{QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("2026-12-08"),
                             QStringLiteral("上呼吸道感染"), QStringLiteral("王建国"), QString()};
    EXPECT_EQ(w->lists().header, header);
    EXPECT_EQ(column(*w, Name).mid(0, 4), (QStringList{QStringLiteral("0.9%氯化钠注射液 250ml"), QStringLiteral("注射用头孢曲松钠 2.0g"),
                                                       QStringLiteral("    用法：静滴  每日1次"), QString()}));
    EXPECT_FALSE(w->isModified());
    EXPECT_FALSE(find(w.get(), QStringLiteral("List1"))->isVisible());  // loading searches nothing
    EXPECT_FALSE(VisitStore(workspace->archive()).find(visit->visit.key));

    w->cell(Nurse, 0)->setText(QStringLiteral("刘护士"));
    click(button(*w, "saveButton"));
    EXPECT_EQ(visit->saves, 1);
    EXPECT_TRUE(VisitStore(workspace->archive()).find(visit->visit.key));
    const InfusionCardLists card = stored();
    EXPECT_EQ(card.header, header);
    EXPECT_EQ(card.names, column(*w, Name));
    EXPECT_EQ(card.nurses.first(), QStringLiteral("刘护士"));
    EXPECT_EQ(card.speeds.size(), kRows);
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    EXPECT_FALSE(w->isModified());

    // Reopened, the saved card wins over a changed prescription.
    visit->visit.body = QStringLiteral("复方氨基酸注射液 250ml\r\n    用法：静滴\r\n");
    auto again = open<InfusionCardWindow>();
    EXPECT_EQ(again->lists().names, card.names);
    EXPECT_EQ(again->cell(Nurse, 0)->text(), QStringLiteral("刘护士"));
}

TEST_F(InfusionCardWindowTest, ElementsSitOnTheCardAndThePanelScrolls)
{
    auto w = open<InfusionCardWindow>();
    EXPECT_EQ(w->size(), Twips::toPixels(0, 0, kWindowWidth, kWindowHeight).size());
    EXPECT_EQ(w->cell(Name, 13)->geometry(), Twips::toPixels(960, 3360 + 480 * 13, 3255, 285));
    EXPECT_EQ(w->cell(Nurse, 0)->geometry(), Twips::toPixels(6480, 3360, 855, 285));
    EXPECT_EQ(find<QLabel>(w.get(), QStringLiteral("Label3_0"))->text(), QStringLiteral("名     称"));
    EXPECT_EQ(find<QLabel>(w.get(), QStringLiteral("Label2_6"))->text(), QStringLiteral("护士："));
    EXPECT_EQ(find<QLineEdit>(w.get(), QStringLiteral("Text1_6"))->geometry().topLeft(), Twips::toPixels(6690, 2220));
    for (const char *name : {"printButton", "saveButton", "deleteRowButton"})
        EXPECT_TRUE(button(*w, name)->isVisible()) << name;
    EXPECT_EQ(button(*w, "printButton")->text(), QStringLiteral("打  印"));
    EXPECT_EQ(button(*w, "saveButton")->text(), QStringLiteral("保  存"));

    QWidget *panel = find(w.get(), QStringLiteral("cardPanel"));
    QScrollBar *bar = w->scrollBar();
    bar->setValue(bar->maximum());
    EXPECT_EQ(panel->y(), Twips::toPixels(-(kHeight - kViewport.height)));
    bar->setValue(0);
    // Tabbing onto the last row brings it into view.
    w->cell(Name, 13)->setFocus(Qt::TabFocusReason);
    const QRect shown = w->cell(Name, 13)->geometry().translated(panel->pos());
    EXPECT_TRUE(QRect(QPoint(), find(w.get(), QStringLiteral("cardViewport"))->size()).contains(shown)) << bar->value();
}

TEST_F(InfusionCardWindowTest, SixteenClassifiedLinesFillTheFourteenRows)
{
    QStringList lines;
    for (int i = 1; i <= 15; ++i)
        lines << QStringLiteral("药%1 10ml").arg(i);
    lines << QStringLiteral("    用法：静滴");
    visit->visit.body = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    auto w = open<InfusionCardWindow>();
    EXPECT_EQ(column(*w, Name), lines.mid(0, kRows));
}

TEST_F(InfusionCardWindowTest, DeleteRowMovesNamesSpeedsAndTimesUpButLeavesSignatures)
{
    auto w = open<InfusionCardWindow>();
    for (int r = 0; r < kRows; ++r) {
        w->cell(Name, r)->setText(QStringLiteral("名%1").arg(r));
        w->cell(Speed, r)->setText(QStringLiteral("速%1").arg(r));
        w->cell(Time, r)->setText(QStringLiteral("时%1").arg(r));
        w->cell(Nurse, r)->setText(QStringLiteral("护%1").arg(r));
    }
    w->cell(Name, 9)->clear();  // an empty name moving up must not wipe the row it lands on
    w->cell(Nurse, 9)->setText(QStringLiteral("护9"));
    const InfusionCardLists before = w->lists();
    w->cell(Name, 3)->setFocus();
    EXPECT_EQ(w->currentRow(), 3);
    click(button(*w, "deleteRowButton"));

    const InfusionCardLists after = w->lists();
    const std::array<std::pair<const QStringList *, const QStringList *>, 3> moved{
        {{&before.names, &after.names}, {&before.speeds, &after.speeds}, {&before.times, &after.times}}};
    for (const auto &[was, is] : moved) {
        EXPECT_EQ(is->mid(0, 3), was->mid(0, 3));
        EXPECT_EQ(is->mid(3, 10), was->mid(4, 10));
        EXPECT_EQ(is->at(13), QString());
    }
    EXPECT_EQ(after.nurses, before.nurses);
}

TEST_F(InfusionCardWindowTest, ClickingSpeedAndTimeOffersTheUsualValueOnlyWhenEmpty)
{
    auto w = open<InfusionCardWindow>();
    w->cell(Speed, 1)->setText(QStringLiteral("40滴/分"));
    w->cell(Time, 1)->setText(QStringLiteral("08:15"));
    const struct { int column, row; const char *expected; } cases[] = {
        {Speed, 0, "60滴/分"}, {Speed, 1, "40滴/分"}, {Time, 0, "09:30"}, {Time, 1, "08:15"}, {Nurse, 0, ""}};
    for (const auto &c : cases) {
        click(w->cell(c.column, c.row));
        EXPECT_EQ(w->cell(c.column, c.row)->text(), QString::fromUtf8(c.expected)) << c.column << "," << c.row;
    }
    EXPECT_EQ(w->cell(Speed, 0)->cursorPosition(), 5);
}

TEST_F(InfusionCardWindowTest, PickListFollowsTheTypedRowAndPicksByItsRules)
{
    DrugStore drugs(workspace->settings());
    drugs.insert({0, QStringLiteral("zqxa"), QStringLiteral("甲硝唑注射液 100ml\\用法：静滴 每日2次"), QStringLiteral("输液"), {}, {}, 0});
    drugs.insert({0, QStringLiteral("zqxb"), QStringLiteral("用法：静滴 40滴/分"), QStringLiteral("输液"), {}, {}, 0});
    drugs.insert({0, QStringLiteral("zqxc"), QStringLiteral("葡萄糖注射液 250ml"), QStringLiteral("输液"), {}, {}, 0});
    const struct { const char *entry, *name; } rules[] = {
        {"甲硝唑注射液 100ml\\用法：静滴 每日2次", "甲硝唑注射液 100ml"},
        {"用法：静滴 40滴/分", "    用法：静滴 40滴/分"},
        {"葡萄糖注射液 250ml", "葡萄糖注射液 250ml"},
        {"a\\用法\\b", "a"},
    };

    auto w = open<InfusionCardWindow>();
    RowList *list = w->pickList();
    for (int i = 0; i < 3; ++i) {
        QLineEdit *name = w->cell(Name, 5);
        name->clear();
        name->setFocus();
        type(name, QStringLiteral("zqx"));
        ASSERT_TRUE(list->isVisible());
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->y(), Twips::toPixels(pickListTop(5)));
        QTest::keyClick(name, Qt::Key_Down);
        EXPECT_TRUE(list->hasFocus());
        EXPECT_EQ(list->currentRow(), 0);
        const QString entry = list->textAt(i);
        list->setCurrentRow(i);
        QTest::keyClick(list, Qt::Key_Return);
        const auto rule = std::find_if(std::begin(rules), std::end(rules), [&](const auto &r) { return QString::fromUtf8(r.entry) == entry; });
        ASSERT_NE(rule, std::end(rules)) << entry.toStdString();
        EXPECT_EQ(name->text(), QString::fromUtf8(rule->name));
        EXPECT_TRUE(name->hasFocus());
        EXPECT_EQ(name->cursorPosition(), name->text().size());
        EXPECT_FALSE(list->isVisible());
    }
    for (const auto &r : rules)
        EXPECT_EQ(InfusionCardWindow::pickedName(QString::fromUtf8(r.entry)), QString::fromUtf8(r.name));

    // Enter moves on like Tab; emptying a name empties its row and hides the list.
    QLineEdit *name = w->cell(Name, 5);
    w->cell(Speed, 5)->setText(QStringLiteral("60滴/分"));
    w->cell(Nurse, 5)->setText(QStringLiteral("刘"));
    type(name, QStringLiteral("zqx"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(w->cell(Speed, 5)->hasFocus());
    EXPECT_FALSE(list->isVisible());
    name->clear();
    EXPECT_EQ(w->cell(Speed, 5)->text(), QString());
    EXPECT_EQ(w->cell(Nurse, 5)->text(), QString());
    // On the last row the list opens above the row, on the card.
    w->cell(Name, 13)->setFocus();
    type(w->cell(Name, 13), QStringLiteral("zqx"));
    EXPECT_LE(list->geometry().bottom(), w->cell(Name, 13)->y());
}

TEST_F(InfusionCardWindowTest, EmptyCardIsStillASavedCard)
{
    auto w = open<InfusionCardWindow>();
    for (int i = 0; i < kHeaderCount; ++i)
        w->headerField(i)->clear();
    for (int r = 0; r < kRows; ++r)
        w->cell(Name, r)->clear();
    ASSERT_TRUE(w->save());
    EXPECT_EQ(scalar(workspace->archive(), QStringLiteral("SELECT T4 FROM [档案]")), QStringLiteral("@@@@@@@"));
    EXPECT_EQ(scalar(workspace->archive(), QStringLiteral("SELECT T5 FROM [档案]")), QString(kRows, QLatin1Char('@')));
    w.reset();
    auto again = open<InfusionCardWindow>();
    EXPECT_EQ(again->headerField(0)->text(), QString());
    EXPECT_EQ(again->cell(Name, 0)->text(), QString());
}

TEST_F(InfusionCardWindowTest, SaveSaysWhyNothingWasStored)
{
    // The visit refuses to be saved: it says why, and the card says it was not saved either.
    visit->visit.header[FieldName].clear();
    auto w = open<InfusionCardWindow>();
    w->cell(Nurse, 0)->setText(QStringLiteral("刘"));
    EXPECT_FALSE(w->save());
    ASSERT_EQ(MessageDialog::shown().size(), 2);
    EXPECT_TRUE(MessageDialog::shown()[0].text.contains(QStringLiteral("姓名")));
    EXPECT_EQ(MessageDialog::shown()[1].title, QStringLiteral("提示"));
    EXPECT_TRUE(MessageDialog::shown()[1].text.contains(QStringLiteral("输液执行卡也没有保存")));
    EXPECT_TRUE(w->isModified());

    // The main window has moved on to another visit: that one is not saved for this card,
    // and the card's own visit is not in the archive.
    MessageDialog::shown().clear();
    visit->visit.header[FieldName] = QStringLiteral("李四");
    visit->visit.key = QStringLiteral("2026-12-08 09:45:00");
    const int saves = visit->saves;
    EXPECT_FALSE(w->save());
    EXPECT_EQ(visit->saves, saves);
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("输液执行卡未能保存")));
    EXPECT_FALSE(VisitStore(workspace->archive()).find(visit->visit.key));
}

TEST_F(InfusionCardWindowTest, ClosingAsksBeforeDroppingEditsAndStoresTheMargins)
{
    auto w = open<InfusionCardWindow>();
    find<QLineEdit>(w.get(), QStringLiteral("Text6"))->setText(QStringLiteral("5"));
    find<QLineEdit>(w.get(), QStringLiteral("Text7"))->setText(QStringLiteral("12.5"));
    click(find(w.get(), QStringLiteral("landscapeOption")));
    w->cell(Nurse, 0)->setText(QStringLiteral("刘"));
    MessageDialog::setNextAnswer(false);  // close without saving
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("还没有保存")));
    EXPECT_TRUE(stored().header.isEmpty());
    EXPECT_EQ(setting(QStringLiteral("左边距3")), QStringLiteral("5"));
    EXPECT_EQ(setting(QStringLiteral("上边距3")), QStringLiteral("12.5"));
    EXPECT_EQ(setting(QStringLiteral("竖打3")), QStringLiteral("0"));

    auto again = open<InfusionCardWindow>();
    EXPECT_TRUE(find<QRadioButton>(again.get(), QStringLiteral("landscapeOption"))->isChecked());
    EXPECT_EQ(find<QLineEdit>(again.get(), QStringLiteral("Text6"))->text(), QStringLiteral("5"));
    // The window's margins reach the printer: landscape at 5 mm puts the origin at −(7654.5 + 283.5).
    RecordingPrinter recorder;
    printInfusionCard(recorder, again->content(), again->margins());
    EXPECT_DOUBLE_EQ(recorder.scaleLeft(), -7938);
    EXPECT_DOUBLE_EQ(recorder.scaleTop(), 567 - 12.5 * 56.7);

    // Agreeing to save on close stores the card.
    again->cell(Nurse, 0)->setText(QStringLiteral("王"));
    MessageDialog::setNextAnswer(true);
    EXPECT_TRUE(again->close());
    EXPECT_EQ(stored().nurses.value(0), QStringLiteral("王"));
}

TEST_F(InfusionCardWindowTest, PrintsToPaper)
{
    auto w = open<InfusionCardWindow>();
    w->cell(Speed, 0)->setText(QStringLiteral("60滴/分"));
    const QString path = out.filePath(QStringLiteral("infusion.pdf"));
    PrintJob::setOutputFile(path);
    click(button(*w, "printButton"));
    ASSERT_TRUE(QFile::exists(path));
    const QString text = pdfText(path);
    if (canReadPdf()) {
        for (const QString &expected : {QStringLiteral("输液执行卡"), QStringLiteral("张三"), QStringLiteral("头孢曲松钠"), QStringLiteral("60滴/分")})
            EXPECT_TRUE(text.contains(folded(expected))) << expected.toStdString() << "\n" << text.toStdString();
    }
}

} // namespace
