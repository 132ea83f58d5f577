#include "dictionary_window_fixture.h"

#include "data/order_set_store.h"
#include "dictionaries/order_set_window.h"

#include <QPlainTextEdit>
#include <QRadioButton>

using namespace quillora;
using namespace quillora::test;

namespace {

class OrderSetWindowTest : public DictionaryWindowTest
{
protected:
    void SetUp() override
    {
        DictionaryWindowTest::SetUp();
        settings().exec(QStringLiteral("DELETE FROM [个人组套]"));
        window = std::make_unique<OrderSetWindow>(settings());
    }
    void TearDown() override
    {
        window.reset();
        DictionaryWindowTest::TearDown();
    }
    qint64 add(const QString &name, const QString &kind, const QString &content, const QString &code = u("zt"))
    {
        return OrderSetStore(settings()).insert({0, name, kind, code, content});
    }
    QLineEdit *name() const { return find<QLineEdit>(window.get(), u("Text1")); }
    QLineEdit *code() const { return find<QLineEdit>(window.get(), u("Text3")); }
    QPlainTextEdit *content() const { return find<QPlainTextEdit>(window.get(), u("Text2")); }
    QAbstractButton *saveButton() const { return button(window.get(), u("保  存")); }
    OrderSetRow row(qint64 id) { return *OrderSetStore(settings()).byRowId(id); }

    std::unique_ptr<OrderSetWindow> window;
};

TEST_F(OrderSetWindowTest, OpensAddingSoTheFirstSaveAppendsWhateverWasClicked)
{
    const qint64 first = add(u("感冒组套"), kOrderSetKind, u("复方氨酚烷胺片\r\n    用法：口服"));
    const qint64 second = add(u("咳嗽组套"), kOrderSetKind, u("氨溴索口服液\r\n    用法：口服"));
    add(u("旧组套"), u("旧个人组套"), u("x"));
    add(u("四物汤"), kFormulaKind, u("熟地黄 12g"));
    show(*window);
    EXPECT_EQ(window->objectName(), u("Form11"));
    EXPECT_EQ(window->windowTitle(), u("个人组套/中医验方维护"));
    EXPECT_TRUE(find<QRadioButton>(window.get(), u("Option1_0"))->isChecked());
    EXPECT_EQ(lines(window->list()), QStringList({u("感冒组套"), u("咳嗽组套")}));
    EXPECT_EQ(name()->text(), u("感冒组套"));
    EXPECT_EQ(content()->toPlainText(), u("复方氨酚烷胺片\n    用法：口服"));
    EXPECT_TRUE(window->bb());

    clickLine(window->list(), 1);
    EXPECT_EQ(code()->text(), u("zt"));  // the stored code, not one made from the name
    content()->appendPlainText(u("乙酰半胱氨酸颗粒"));
    click(saveButton());
    EXPECT_EQ(count(u("个人组套")), 5);
    EXPECT_EQ(row(second).content, u("氨溴索口服液\r\n    用法：口服"));
    const OrderSetRow added = row(lastRowId(u("个人组套")));
    EXPECT_EQ(QStringList({added.name, added.kind, added.code, added.content}),
              QStringList({u("咳嗽组套"), kOrderSetKind, u("zt"), u("氨溴索口服液\r\n    用法：口服\r\n乙酰半胱氨酸颗粒")}));
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_FALSE(window->bb());
    EXPECT_EQ(window->list()->count(), 3);

    // Now a save changes the clicked entry itself, by its row.
    clickLine(window->list(), 0);
    EXPECT_TRUE(saveButton()->isEnabled());
    content()->setPlainText(u("改过的内容"));
    click(saveButton());
    EXPECT_EQ(row(first).content, u("改过的内容"));
    EXPECT_EQ(count(u("个人组套")), 5);
    // The kind buttons list exactly their kind and leave the adding flag alone.
    click(find(window.get(), u("Option1_1")));
    EXPECT_EQ(window->currentKind(), kFormulaKind);
    EXPECT_EQ(lines(window->list()), QStringList({u("四物汤")}));
    EXPECT_EQ(name()->text(), u("四物汤"));
    EXPECT_FALSE(window->bb());
}

TEST_F(OrderSetWindowTest, NameAndContentAreRequiredAndOneFinalLineBreakIsDropped)
{
    show(*window);
    click(button(window.get(), u("添  加")));
    EXPECT_TRUE(name()->hasFocus());
    typeText(name(), u("感冒方"));
    EXPECT_EQ(code()->text(), u("gmf"));
    click(saveButton());
    ASSERT_EQ(MessageDialog::shown().size(), 1);
    EXPECT_EQ(MessageDialog::shown().last().text, u("请输入名称及内容！"));
    EXPECT_EQ(MessageDialog::shown().last().title, QString());
    EXPECT_EQ(count(u("个人组套")), 0);
    name()->clear();
    content()->setPlainText(u("内容"));
    click(saveButton());
    EXPECT_EQ(MessageDialog::shown().size(), 2);
    EXPECT_EQ(count(u("个人组套")), 0);

    const std::pair<const char *, const char *> cases[] = {{"AB\n", "AB"}, {"\n", "\r\n"}, {"A\n\n", "A\r\n"}};
    for (const auto &[typed, stored] : cases) {
        click(button(window.get(), u("添  加")));
        typeText(name(), u("方"));
        content()->setPlainText(u(typed));
        click(saveButton());
        EXPECT_EQ(row(lastRowId(u("个人组套"))).content, u(stored)) << typed;
        EXPECT_EQ(content()->toPlainText(), QString(u(stored)).replace(u("\r\n"), u("\n"))) << typed;
    }
}

TEST_F(OrderSetWindowTest, AnUnchangedSaveLeavesTheRowAsItWas)
{
    const QString odd = u("银翘散'加减' 50%_\\\n薄荷 6g\r\n") + QString(3000, QChar(u'药')) + u("\r");
    const qint64 id = add(QString(50, QChar(u'方')), kOrderSetKind, odd, u("yq'%_\\"));
    add(u("另一方"), kOrderSetKind, u("x"));
    show(*window);
    window->setBb(false);
    clickLine(window->list(), 0);
    const QStringList before = storedRow(u("个人组套"), id);
    click(saveButton());
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    EXPECT_EQ(storedRow(u("个人组套"), id), before);
    EXPECT_EQ(count(u("个人组套")), 2);
}

TEST_F(OrderSetWindowTest, DeleteHitsTheSelectedRowAndEmptiesTheBoxes)
{
    const qint64 a = add(u("同名组套"), kOrderSetKind, u("甲"));
    const qint64 b = add(u("同名组套"), kOrderSetKind, u("乙"));
    show(*window);
    clickLine(window->list(), 1);
    click(button(window.get(), u("删  除")));
    EXPECT_EQ(row(a).content, u("甲"));
    EXPECT_FALSE(OrderSetStore(settings()).byRowId(b).has_value());
    EXPECT_EQ(QStringList({name()->text(), code()->text(), content()->toPlainText()}), QStringList({{}, {}, {}}));
    EXPECT_EQ(window->list()->count(), 1);
    // No line selected after the refill: neither a delete nor a plain save touches a row.
    click(button(window.get(), u("删  除")));
    window->setBb(false);
    name()->setText(u("新名"));
    content()->setPlainText(u("新内容"));
    click(saveButton());
    EXPECT_TRUE(MessageDialog::lastText().contains(u("请先在列表中选择")));
    EXPECT_EQ(row(a).name, u("同名组套"));
    EXPECT_EQ(count(u("个人组套")), 1);
}

TEST_F(OrderSetWindowTest, RefusedSavesSayWhyAndLoseNothing)
{
    show(*window);
    name()->setText(u("（）"));  // signs only: no code
    content()->setPlainText(u("内容\n"));
    click(saveButton());
    EXPECT_EQ(MessageDialog::lastText(), u("请填写拼音代码，未保存。"));
    code()->setText(u("kh"));
    {
        WriteLock lock(settings());
        click(saveButton());
    }
    EXPECT_TRUE(MessageDialog::lastText().startsWith(u("“（）”未能保存：")));
    EXPECT_EQ(count(u("个人组套")), 0);
    EXPECT_EQ(content()->toPlainText(), u("内容\n"));
    EXPECT_TRUE(window->bb());
    EXPECT_TRUE(saveButton()->isEnabled());
    click(saveButton());
    EXPECT_EQ(count(u("个人组套")), 1);
}

} // namespace
