#include "dictionary_window_fixture.h"

#include "dictionaries/drug_catalogue_window.h"
#include "text/pinyin.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace quillora;
using namespace quillora::test;

namespace {

class DrugCatalogueWindowTest : public DictionaryWindowTest
{
protected:
    void SetUp() override
    {
        DictionaryWindowTest::SetUp();
        settings().exec(QStringLiteral("DELETE FROM [药品]"));
        window = std::make_unique<DrugCatalogueWindow>(settings());
    }
    void TearDown() override
    {
        window.reset();
        DictionaryWindowTest::TearDown();
    }
    qint64 addDrug(const QString &name, const QString &category, const QString &quantity = u("2"), double price = 1.5,
                   const QString &code = QString())
    {
        return DrugStore(settings()).insert(
            {0, code.isEmpty() ? pinyinCode(name) : code, name, category, quantity, u("盒"), price});
    }
    QLineEdit *box(const char *name) const { return find<QLineEdit>(window.get(), QString::fromLatin1(name)); }
    QComboBox *combo(const char *name) const { return find<QComboBox>(window.get(), QString::fromLatin1(name)); }
    QPushButton *viewButton(int k) const { return find<QPushButton>(window.get(), QStringLiteral("Command1_%1").arg(k)); }
    DictionaryListWidget *list() const { return window->list(); }
    QStringList boxes() const
    {
        return {box("Text3")->text(), box("Text4")->text(), box("Text5")->text(), combo("Combo1")->currentText(),
                box("Text2")->text(), combo("Combo2")->currentText(), box("Text6")->text()};
    }
    int boldView() const
    {
        int bold = -1;
        for (int k = 0; k < 14; ++k) {
            if (viewButton(k)->font().bold()) {
                EXPECT_EQ(bold, -1) << "two bold buttons";
                bold = k;
            }
        }
        return bold;
    }
    void save() { click(button(window.get(), u("保  存"))); }

    std::unique_ptr<DrugCatalogueWindow> window;
};

TEST_F(DrugCatalogueWindowTest, OpensOnTheFirstCategoryWithItsFirstDrugShown)
{
    addDrug(u("头孢克肟片 0.1g×6片\\0.1g 口服  每日2次"), u("抗生素"), u("0"), 0.5);
    addDrug(u("阿莫西林胶囊 0.25g×24粒"), u("抗生素"), u("2"), 0);
    addDrug(u("左氧氟沙星片"), u("外用抗生素"));  // only "ends with" finds it
    addDrug(u("布洛芬缓释胶囊"), u("解热镇痛"));
    show(*window);
    EXPECT_EQ(window->objectName(), u("Form2"));
    EXPECT_EQ(window->windowTitle(), u("药品维护"));
    EXPECT_EQ(boldView(), 0);
    EXPECT_EQ(lines(list()), QStringList({u("阿莫西林胶囊 0.25g×24粒"), u("头孢克肟片 0.1g×6片\\0.1g 口服  每日2次")}));
    EXPECT_EQ(list()->currentLine(), 0);
    // A price of 0 and a quantity of 0 show as empty boxes.
    EXPECT_EQ(boxes(), QStringList({u("阿莫西林胶囊 0.25g×24粒"), QString(), pinyinCode(u("阿莫西林胶囊 0.25g×24粒")),
                                    u("抗生素"), u("2"), u("盒"), QString()}));
    clickLine(list(), 1);
    EXPECT_EQ(boxes(), QStringList({u("头孢克肟片 0.1g×6片"), u("0.1g 口服  每日2次"), pinyinCode(u("头孢克肟片 0.1g×6片\\0.1g 口服  每日2次")),
                                    u("抗生素"), QString(), u("盒"), u("0.5")}));
    // The category buttons list the categories that end with their caption.
    click(viewButton(0));
    EXPECT_EQ(list()->count(), 3);
    click(viewButton(7));
    EXPECT_EQ(boldView(), 7);
    EXPECT_EQ(lines(list()), QStringList({u("布洛芬缓释胶囊")}));
    const char *quick[] = {"支", "片", "粒", "×", "每日3次", "口服", "*", "静脉滴注", "g", "mg"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(find<QLabel>(window.get(), QStringLiteral("Label5_%1").arg(i))->text(), u(quick[i]));
    EXPECT_EQ(combo("Combo1")->count(), 13);
    EXPECT_EQ(combo("Combo2")->itemText(7), u("g"));
}

TEST_F(DrugCatalogueWindowTest, TypingKeepsTheNameBoxInShape)
{
    show(*window);
    QLineEdit *name = box("Text3");
    typeInto(name, u("头孢[克肟]"));
    EXPECT_EQ(name->text(), u("头孢(克肟)"));
    name->setCursorPosition(2);
    typeText(name, u("（"));
    EXPECT_EQ(name->text(), u("头孢(克肟)").insert(2, QLatin1Char('(')));
    EXPECT_EQ(name->cursorPosition(), 3);  // the caret stays after what was typed
    name->setText(u("片 0.1g"));
    name->setCursorPosition(6);
    typeText(name, u("*6^"));
    EXPECT_EQ(name->text(), u("片 0.1g×6^"));
    EXPECT_EQ(name->cursorPosition(), 9);
    EXPECT_EQ(box("Text5")->text(), pinyinCode(u("片 0.1g×6^")));
    QLineEdit *price = box("Text6");
    typeInto(price, u("12。5"));
    EXPECT_EQ(price->text(), u("12.5"));
}

TEST_F(DrugCatalogueWindowTest, AddingSavesANewDrugAndTheListFollowsItsCategory)
{
    const qint64 shown = addDrug(u("阿莫西林胶囊"), u("抗生素"));
    addDrug(u("藿香正气水"), u("中成药"));
    addDrug(u("六味地黄丸"), u("补益中成药"));
    show(*window);
    click(button(window.get(), u("添  加")));
    EXPECT_TRUE(window->isAdding());
    EXPECT_TRUE(box("Text3")->hasFocus());
    EXPECT_EQ(combo("Combo1")->currentText(), u("抗生素"));  // the category stays
    typeText(box("Text3"), u("银翘解毒片"));
    box("Text5")->clear();  // an empty code: the name becomes the code
    typeInto(box("Text4"), u("口服"));
    combo("Combo1")->setEditText(u("中成药"));
    typeInto(box("Text2"), u("2"));
    combo("Combo2")->setEditText(u("盒"));
    typeInto(box("Text6"), u(".5"));
    save();
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    const qint64 added = lastRowId(u("药品"));
    EXPECT_EQ(storedRow(u("药品"), added),
              QStringList({u("银翘解毒片"), u("银翘解毒片\\口服"), u("中成药"), u("2"), u("盒"), u("0.5"), u("<null>")}));
    EXPECT_EQ(storedRow(u("药品"), shown)[1], u("阿莫西林胶囊"));
    // The list switches to 中成药, bold, with every row whose category contains it; none selected.
    EXPECT_EQ(window->currentView(), 10);
    EXPECT_EQ(boldView(), 10);
    EXPECT_EQ(lines(list()), QStringList({u("藿香正气水"), u("六味地黄丸"), u("银翘解毒片\\口服")}));
    EXPECT_EQ(list()->currentLine(), -1);
    EXPECT_FALSE(window->isAdding());
    EXPECT_TRUE(button(window.get(), u("添  加"))->hasFocus());
    // Shown again, the name and usage split back apart.
    clickLine(list(), 2);
    EXPECT_EQ(box("Text3")->text(), u("银翘解毒片"));
    EXPECT_EQ(box("Text4")->text(), u("口服"));
    EXPECT_EQ(box("Text6")->text(), u("0.5"));
}

TEST_F(DrugCatalogueWindowTest, AnUnchangedSaveLeavesTheRowAsItWas)
{
    const QString name = u("复方\"甘草\"'片' 100%_含量\\") + QString(150, QChar(u'服')) + u(" 50%_\\再服");
    const qint64 id = addDrug(name, u("抗生素"), u("0.5"), 12.3456, u("fg'%_\\"));
    addDrug(u("甲硝唑片"), u("抗生素"));
    show(*window);
    const int line = list()->rows()->lineOf(id);
    clickLine(list(), line);
    const QStringList before = storedRow(u("药品"), id);
    save();
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    EXPECT_EQ(storedRow(u("药品"), id), before);
    EXPECT_EQ(count(u("药品")), 2);
}

TEST_F(DrugCatalogueWindowTest, SaveAndDeleteHitTheRowOfTheSelectedLine)
{
    const qint64 first = addDrug(u("维生素C片"), u("维生素激素"));
    const qint64 second = addDrug(u("维生素C片"), u("维生素激素"));
    const qint64 other = addDrug(u("维生素B1片"), u("维生素激素"));
    show(*window);
    click(viewButton(8));
    const int line = list()->rows()->lineOf(second);
    clickLine(list(), line);
    box("Text6")->setText(u("3"));
    save();
    EXPECT_DOUBLE_EQ(DrugStore(settings()).byRowId(second)->price, 3);
    EXPECT_DOUBLE_EQ(DrugStore(settings()).byRowId(first)->price, 1.5);
    // After a save no line is selected: a second save and a delete touch nothing.
    box("Text6")->setText(u("4"));
    save();
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_TRUE(MessageDialog::lastText().contains(u("请先在列表中选择")));
    EXPECT_DOUBLE_EQ(DrugStore(settings()).byRowId(second)->price, 3);
    click(button(window.get(), u("删  除")));
    EXPECT_EQ(count(u("药品")), 3);
    // Delete from the list's pop-up menu: the line under the cursor, the duplicate kept.
    clickLine(list(), list()->rows()->lineOf(second));
    ASSERT_NE(list()->menu(), nullptr);
    list()->menu()->findChild<QAction *>(u("listMenu_删除"))->trigger();
    EXPECT_FALSE(DrugStore(settings()).byRowId(second).has_value());
    EXPECT_TRUE(DrugStore(settings()).byRowId(first).has_value());
    EXPECT_TRUE(DrugStore(settings()).byRowId(other).has_value());
    EXPECT_EQ(lines(list()).count(u("维生素C片")), 1);
    EXPECT_TRUE(box("Text3")->text().isEmpty());
    EXPECT_TRUE(box("Text5")->text().isEmpty());
    EXPECT_FALSE(box("Text2")->text().isEmpty());  // quantity, unit and price keep their text
}

TEST_F(DrugCatalogueWindowTest, RefusedSavesSayWhatIsWrongAndKeepTheTyping)
{
    show(*window);
    click(button(window.get(), u("添  加")));
    typeInto(box("Text4"), u("口服"));
    save();
    EXPECT_EQ(MessageDialog::lastText(), u("请填写药品名称，药品未保存。"));
    EXPECT_EQ(count(u("药品")), 0);
    EXPECT_EQ(box("Text4")->text(), u("口服"));
    EXPECT_TRUE(window->isAdding());

    typeInto(box("Text3"), u("阿莫西林"));
    {
        WriteLock lock(settings());
        save();
    }
    EXPECT_TRUE(MessageDialog::lastText().startsWith(u("药品未能保存：")));
    EXPECT_EQ(count(u("药品")), 0);
    EXPECT_EQ(box("Text3")->text(), u("阿莫西林"));
    EXPECT_TRUE(window->isAdding());
    // Once the file is free again the same save goes through.
    save();
    EXPECT_EQ(count(u("药品")), 1);
}

TEST_F(DrugCatalogueWindowTest, KeysQuickInsertsAndTheSearchView)
{
    addDrug(u("阿莫西林胶囊"), u("抗生素"), u("2"), 1.5, u("amxljn"));
    addDrug(u("氨溴索口服液"), u("呼吸"), u("1"), 1.5, u("axsfy"));
    show(*window);
    // Enter moves on like Tab.
    box("Text3")->setFocus();
    QTest::keyClick(box("Text3"), Qt::Key_Return);
    EXPECT_TRUE(box("Text4")->hasFocus());
    combo("Combo2")->setFocus();
    QTest::keyClick(combo("Combo2"), Qt::Key_Return);
    EXPECT_TRUE(box("Text6")->hasFocus());
    box("Text2")->setText(u("12"));
    box("Text2")->setCursorPosition(0);
    QTest::keyClick(box("Text6"), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(combo("Combo2"), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(box("Text2")->hasFocus());
    QApplication::processEvents();
    EXPECT_EQ(box("Text2")->cursorPosition(), 2);
    EXPECT_FALSE(box("Text2")->hasSelectedText());

    // The quick inserts type into the name or usage box that had the focus last.
    box("Text4")->setFocus();
    box("Text4")->clear();
    click(find(window.get(), u("Label5_5")));
    click(find(window.get(), u("Label5_4")));
    EXPECT_EQ(box("Text4")->text(), u("口服每日3次"));
    box("Text3")->setFocus();
    box("Text3")->setText(u("片0.1g"));
    click(find(window.get(), u("Label5_6")));
    EXPECT_EQ(box("Text3")->text(), u("片0.1g×"));
    EXPECT_TRUE(box("Text3")->hasFocus());

    // Typing a search: the view becomes "全部", by code, ASCII case ignored.
    typeInto(find<QLineEdit>(window.get(), u("Text1")), u("AX"));
    EXPECT_EQ(boldView(), 13);
    EXPECT_EQ(lines(list()), QStringList({u("氨溴索口服液")}));
    EXPECT_EQ(list()->currentLine(), 0);
    find<QLineEdit>(window.get(), u("Text1"))->clear();
    EXPECT_EQ(list()->count(), 2);
    // The view lasts over a close: reopened, it lists its category again.
    click(viewButton(3));
    window->close();
    show(*window);
    EXPECT_EQ(window->currentView(), 3);
    EXPECT_EQ(lines(list()), QStringList({u("氨溴索口服液")}));
}

} // namespace
