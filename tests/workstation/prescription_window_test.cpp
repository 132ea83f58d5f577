#include "main_window_fixture.h"

#include "data/drug_store.h"
#include "data/settings_row.h"
#include "data/visit_record.h"
#include "text/pinyin.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/press_button_widget.h"

#include <QLabel>
#include <QListView>
#include "support/list_lines.h"
#include <QPushButton>

using namespace quillora;
using namespace quillora::test;

namespace {

class PrescriptionWindowTest : public MainWindowTest
{
protected:
    QLineEdit *search() const { return find<QLineEdit>(QStringLiteral("Text1")); }
    QString kind() const { return find<QLabel>(QStringLiteral("Label3_3"))->text(); }
    void addDrug(const QString &name, const QString &category, const QString &quantity, const QString &unit, double price)
    {
        DrugRow row;
        row.name = name;
        row.code = pinyinCode(name.section(QLatin1Char('\\'), 0, 0));
        row.category = category;
        row.quantity = quantity;
        row.unit = unit;
        row.price = price;
        DrugStore(workspace->settings()).insert(row);
    }
    QString cell(const char *array, int row) const { return find<QLineEdit>(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(row))->text(); }
};

TEST_F(PrescriptionWindowTest, PickingADrugWritesItsLinesAndTheCardFollows)
{
    addDrug(QStringLiteral("青霉素钠注射液 80万单位"), QStringLiteral("抗生素"), QStringLiteral("2"), QStringLiteral("支"), 1.5);
    typeInto(search(), QStringLiteral("amxljn"));
    pickEntry(QStringLiteral("阿莫西林胶囊 0.25g×24粒\\0.5g 口服  每日3次"));
    EXPECT_EQ(body()->toPlainText(), QStringLiteral("阿莫西林胶囊 0.25g×24粒\n    用法：0.5g 口服  每日3次\n\n"));
    EXPECT_TRUE(search()->text().isEmpty());
    EXPECT_TRUE(search()->hasFocus());
    EXPECT_EQ(kind(), QStringLiteral("普通"));

    typeInto(search(), QStringLiteral("qmsn"));
    pickEntry(QStringLiteral("青霉素钠注射液 80万单位"));
    EXPECT_TRUE(card()->toPlainText().isEmpty());
    // A usage preset completes the injection's group, and the card picks it up.
    window->findChild<QLabel *>(QStringLiteral("Label5_7"))->setFocus();
    QTest::mouseClick(find(QStringLiteral("Label5_7")), Qt::LeftButton);
    EXPECT_TRUE(body()->toPlainText().endsWith(QStringLiteral("青霉素钠注射液 80万单位\n    用法：静脉滴注 每日1次\n\n")));
    EXPECT_EQ(card()->toPlainText(), QStringLiteral("青霉素钠注射液 80万单位\n    用法：静脉滴注 每日1次\n"));
    EXPECT_TRUE(search()->hasFocus());
    QTest::mouseClick(find(QStringLiteral("Label5_1")), Qt::LeftButton);
    EXPECT_TRUE(body()->toPlainText().endsWith(QStringLiteral("\n\nml")));
}

TEST_F(PrescriptionWindowTest, CategoriesAndFunctionKeys)
{
    auto *antibiotics = find<QPushButton>(QStringLiteral("Command1_0"));
    EXPECT_TRUE(antibiotics->font().bold());  // the window opens on the first category
    typeInto(search(), QStringLiteral("abc"));
    QTest::keyClick(search(), Qt::Key_F2);
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("Command1_12"))->font().bold());
    EXPECT_FALSE(antibiotics->font().bold());
    EXPECT_EQ(search()->text(), QStringLiteral("abc"));  // the text stays
    ASSERT_GT(lineCount(drugList()), 0);
    EXPECT_TRUE(lineTexts(drugList()).contains(QStringLiteral("当归")));

    // Four herbs: a row of three cells, an empty line, the fourth.
    search()->clear();
    for (const char *herb : {"当归", "川芎", "白芍", "熟地黄"})
        pickEntry(QString::fromUtf8(herb));
    const QStringList lines = body()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("当归         川芎         白芍         "));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_EQ(lines[2], QStringLiteral("熟地黄       "));
    EXPECT_EQ(kind(), QStringLiteral("中医"));
    EXPECT_TRUE(find(QStringLiteral("Text9"))->isVisibleTo(window.get()) || !find(QStringLiteral("priceArea"))->isVisible());

    // An order set comes from the row its entry stands for, on a line of its own.
    QTest::keyClick(search(), Qt::Key_F4);
    ASSERT_GT(lineCount(drugList()), 0);
    pickEntry(lineText(drugList(), 0));
    EXPECT_TRUE(body()->toPlainText().contains(QStringLiteral("熟地黄       \n0.9%氯化钠注射液 250ml")));
    EXPECT_EQ(kind(), QStringLiteral("普通"));
    EXPECT_FALSE(card()->toPlainText().isEmpty());
}

TEST_F(PrescriptionWindowTest, PricingFillsTheGridAndTheDrugFee)
{
    addDrug(QStringLiteral("测试片 0.1g×10片\\0.1g 口服  每日3次"), QStringLiteral("其他"), QStringLiteral("2"), QStringLiteral("盒"), 12.5);
    window->editor().setAutoPricing(true);
    EXPECT_EQ(SettingsRow(workspace->settings()).value(QStringLiteral("自动划价")), QStringLiteral("1"));
    EXPECT_TRUE(find(QStringLiteral("Picture2_4"))->isVisible());
    EXPECT_FALSE(find(QStringLiteral("Picture2_0"))->isVisible());
    window->editor().setBodyText(QStringLiteral("测试片 0.1g×10片\r\n    用法：0.1g 口服  每日3次\r\n\r\n无空格的行\r\n"));
    QTest::mouseClick(find(QStringLiteral("Picture2_4")), Qt::LeftButton);
    EXPECT_EQ(cell("Text8", 0), QStringLiteral("测试片"));
    EXPECT_EQ(cell("Text10", 0), QStringLiteral("2"));
    EXPECT_EQ(cell("Text12", 0), QStringLiteral("12.50"));
    EXPECT_EQ(cell("Text13", 0), QStringLiteral("25.00"));
    EXPECT_TRUE(cell("Text8", 1).isEmpty());  // a line with no space is not priced
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label16"))->text(), QStringLiteral("25.00"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("25.00"));
    // A corrected quantity re-totals at once.
    auto *quantity = find<QLineEdit>(QStringLiteral("Text10_0"));
    quantity->selectAll();
    typeInto(quantity, QStringLiteral("3"));
    EXPECT_EQ(cell("Text13", 0), QStringLiteral("37.50"));
    EXPECT_EQ(field(FieldDrugFee)->text(), QStringLiteral("37.50"));

    // A right click does nothing; the receipt button only says what it is.
    window->editor().setBodyText(QString());
    QTest::mouseClick(find(QStringLiteral("Picture2_4")), Qt::RightButton);
    EXPECT_EQ(cell("Text8", 0), QStringLiteral("测试片"));
    QTest::mouseClick(find(QStringLiteral("Picture2_1")), Qt::LeftButton);
    EXPECT_EQ(MessageDialog::lastText(), QStringLiteral("此功能仅为需要的用户定做！"));

    window->editor().setAutoPricing(false);
    EXPECT_EQ(SettingsRow(workspace->settings()).value(QStringLiteral("自动划价")), QStringLiteral("0"));
    EXPECT_FALSE(find(QStringLiteral("priceArea"))->isVisible());
    EXPECT_TRUE(find(QStringLiteral("Picture2_0"))->isVisible());
}

TEST_F(PrescriptionWindowTest, QuotesAndPercentSearchLiterally)
{
    addDrug(QStringLiteral("O'Brien氏液 10%"), QStringLiteral("其他"), QStringLiteral("1"), QStringLiteral("瓶"), 3);
    typeInto(search(), QStringLiteral("'"));
    EXPECT_EQ(lineCount(drugList()), 0);
    search()->clear();
    typeInto(search(), QStringLiteral("obriensy"));  // letters kept, the quote dropped from the code
    EXPECT_EQ(lineCount(drugList()), 1);
    typeInto(search(), QStringLiteral("%"));
    EXPECT_EQ(lineCount(drugList()), 0);
}

} // namespace
