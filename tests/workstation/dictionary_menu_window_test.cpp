#include "main_window_fixture.h"

#include "data/order_set_store.h"
#include "dictionaries/dictionary_list_widget.h"
#include "dictionaries/drug_catalogue_window.h"
#include "dictionaries/history_template_window.h"
#include "dictionaries/name_list_window.h"
#include "dictionaries/order_set_window.h"
#include "forms/form_parts_widget.h"
#include "workstation/dictionary_windows_gui.h"
#include "workstation/prescription_editor_gui.h"

#include "test_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include "support/list_lines.h"
#include <QMenu>
#include <QRadioButton>

using namespace quillora;
using namespace quillora::test;

namespace {

class DictionaryMenuTest : public MainWindowTest
{
protected:
    QLineEdit *search() const { return find<QLineEdit>(u("Text1")); }
    QListView *drugList() const { return find<QListView>(u("List1")); }
    QWidget *open(const char *caption)
    {
        window->menuAction(u(caption))->trigger();
        return QApplication::activeWindow();
    }
    template <typename T = QWidget>
    static T *in(const QWidget *w, const QString &name)
    {
        T *child = w->findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    static void press(const QWidget *w, const QString &text)
    {
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
            if (b->text() == text) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << text.toStdString();
    }
    static QStringList texts(const QListView *list)
    {
        QStringList out;
        for (int i = 0; i < lineCount(list); ++i)
            out << lineText(list, i);
        return out;
    }
    // A window over the main window counts as active with it; this waits for its own turn.
    static bool becomesActive(QWidget *w)
    {
        for (int i = 0; i < 100 && QApplication::activeWindow() != w; ++i)
            QTest::qWait(10);
        return QApplication::activeWindow() == w;
    }
    // Selects the whole body and files it from the body's pop-up menu.
    void addBodyToOrderSets()
    {
        body()->selectAll();
        Q_EMIT body()->customContextMenuRequested(QPoint(5, 5));
        QAction *add = window->findChild<QAction *>(u("bodyMenu_添加到个人组套/中医验方"));
        ASSERT_TRUE(add->isEnabled());
        find<QMenu>(u("右键菜单"))->hide();
        add->trigger();
    }
};

TEST_F(DictionaryMenuTest, EveryDictionaryOpensFromTheMenuOnceAndModeless)
{
    const std::pair<const char *, const char *> items[] = {{"药品维护", "Form2"},
                                                           {"个人组套/中医验方维护", "Form11"},
                                                           {"诊断名称维护", "Form3"},
                                                           {"病史模板维护", "Form15"},
                                                           {"地址库维护", "Form4"}};
    for (const auto &[caption, object] : items) {
        QAction *action = window->menuAction(u(caption));
        ASSERT_TRUE(action->isEnabled()) << caption;
        action->trigger();
        QWidget *opened = window->findChild<QWidget *>(u(object));
        ASSERT_NE(opened, nullptr) << caption;
        EXPECT_TRUE(opened->isVisible());
        EXPECT_FALSE(opened->isModal());
        // A second opening brings the same window forward, not a second one.
        window->show();
        action->trigger();
        EXPECT_EQ(window->findChildren<QWidget *>(u(object)).size(), 1) << caption;
        EXPECT_TRUE(opened->isVisible());
    }
    // Closing the main window closes them.
    window->dictionaries().closeAll();
    for (const auto &[caption, object] : items)
        EXPECT_FALSE(window->findChild<QWidget *>(u(object))->isVisible()) << caption;
}

TEST_F(DictionaryMenuTest, ADrugSavedInTheCatalogueIsSearchedListedAndPricedAtOnce)
{
    // The drug entry lists the 抗生素 category; the new drug joins it as soon as it is saved.
    window->menuAction(u("药品维护"))->trigger();
    auto *catalogue = window->findChild<DrugCatalogueWindow *>();
    ASSERT_NE(catalogue, nullptr);
    press(catalogue, u("添  加"));
    in<QLineEdit>(catalogue, u("Text3"))->setText(u("测试新药片 0.1g×10片"));
    in<QLineEdit>(catalogue, u("Text4"))->setText(u("0.1g 口服  每日3次"));
    in<QLineEdit>(catalogue, u("Text2"))->setText(u("2"));
    in<QComboBox>(catalogue, u("Combo2"))->setEditText(u("盒"));
    in<QLineEdit>(catalogue, u("Text6"))->setText(u("12.5"));
    press(catalogue, u("保  存"));
    ASSERT_TRUE(MessageDialog::shown().isEmpty());
    const QString stored = u("测试新药片 0.1g×10片\\0.1g 口服  每日3次");
    EXPECT_TRUE(texts(drugList()).contains(stored));

    typeInto(search(), u("csxyp"));
    EXPECT_EQ(texts(drugList()), QStringList({stored}));
    window->editor().setAutoPricing(true);
    window->editor().setBodyText(u("测试新药片 0.1g×10片\r\n    用法：0.1g 口服  每日3次\r\n\r\n"));
    QTest::mouseClick(find(u("Picture2_4")), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>(u("Text8_0"))->text(), u("测试新药片"));
    EXPECT_EQ(find<QLineEdit>(u("Text13_0"))->text(), u("25.00"));

    // Deleted there, it is gone from the search here.
    catalogue->list()->selectLine(catalogue->list()->rows()->lineOf(DrugStore(workspace->settings()).searchByCode(u("csxyp")).first().rowId));
    press(catalogue, u("删  除"));
    EXPECT_TRUE(texts(drugList()).isEmpty());
}

TEST_F(DictionaryMenuTest, ANewDiagnosisIsOfferedWhileTyping)
{
    window->menuAction(u("诊断名称维护"))->trigger();
    auto *diagnoses = window->findChild<NameListWindow *>(u("Form3"));
    in<QLineEdit>(diagnoses, u("Text3"))->setText(u("测试性皮炎"));
    press(diagnoses, u("保  存"));
    typeInto(field(FieldDiagnosis), u("测试性"));
    EXPECT_EQ(texts(find<QListView>(u("List2"))), QStringList({u("测试性皮炎")}));
}

TEST_F(DictionaryMenuTest, TheSelectionBecomesAnOrderSetOrAFormulaByTheKind)
{
    QAction *add = window->findChild<QAction *>(u("bodyMenu_添加到个人组套/中医验方"));
    Q_EMIT body()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_FALSE(add->isEnabled());  // nothing selected
    find<QMenu>(u("右键菜单"))->hide();

    body()->setPlainText(u("当归 10g      川芎 6g\n白芍 12g"));
    QTest::mouseClick(find(u("kindTarget")), Qt::LeftButton);  // 普通 → 中医
    ASSERT_EQ(find<QLabel>(u("Label3_3"))->text(), u("中医"));
    addBodyToOrderSets();
    auto *sets = window->findChild<OrderSetWindow *>(u("Form11"));
    ASSERT_NE(sets, nullptr);
    ASSERT_TRUE(becomesActive(sets));
    EXPECT_TRUE(in<QRadioButton>(sets, u("Option1_1"))->isChecked());
    EXPECT_EQ(sets->currentKind(), u("中医验方"));
    EXPECT_TRUE(sets->bb());
    EXPECT_EQ(in<QPlainTextEdit>(sets, u("Text2"))->toPlainText(), u("当归 10g      川芎 6g\n白芍 12g"));
    EXPECT_TRUE(in<QLineEdit>(sets, u("Text1"))->text().isEmpty());
    EXPECT_TRUE(in<QLineEdit>(sets, u("Text1"))->hasFocus());
    typeText(in<QLineEdit>(sets, u("Text1")), u("四物汤加减"));
    press(sets, u("保  存"));
    const auto saved = OrderSetStore(workspace->settings()).byRowId(
        OrderSetStore(workspace->settings()).ofKindExactly(u("中医验方")).last().rowId);
    EXPECT_EQ(QStringList({saved->name, saved->code, saved->content}),
              QStringList({u("四物汤加减"), u("swtjj"), u("当归 10g      川芎 6g\r\n白芍 12g")}));
    // The drug entry's formula list has it at once.
    QTest::keyClick(search(), Qt::Key_F3);
    EXPECT_TRUE(texts(drugList()).contains(u("四物汤加减")));

    // On any other kind the selection files as an order set, in the window already open.
    QTest::mouseClick(find(u("kindTarget")), Qt::LeftButton);  // 中医 → 儿科
    addBodyToOrderSets();
    EXPECT_EQ(window->findChildren<OrderSetWindow *>().size(), 1);
    EXPECT_TRUE(in<QRadioButton>(sets, u("Option1_0"))->isChecked());
    EXPECT_TRUE(sets->bb());
}

TEST_F(DictionaryMenuTest, TheHistoryBecomesATemplateAndThePickListReloads)
{
    auto *history = find<QPlainTextEdit>(u("R3"));
    history->setPlainText(u("主诉：头晕两天。\n查体：血压 150/95mmHg。\n"));
    auto *filter = find<QLineEdit>(u("Text5"));
    filter->setText(u("高血压"));
    QLabel *addToTemplates = find<QLabel>(u("Label24"));
    EXPECT_TRUE(addToTemplates->isEnabled());
    QTest::mouseClick(addToTemplates, Qt::LeftButton);
    auto *templates = window->findChild<HistoryTemplateWindow *>(u("Form15"));
    ASSERT_NE(templates, nullptr);
    ASSERT_TRUE(becomesActive(templates));
    EXPECT_TRUE(templates->b15());
    EXPECT_EQ(in<QPlainTextEdit>(templates, u("text2"))->toPlainText(), history->toPlainText());
    EXPECT_TRUE(in<QLineEdit>(templates, u("Text1"))->hasFocus());
    typeText(in<QLineEdit>(templates, u("Text1")), u("眩晕"));
    press(templates, u("保  存"));
    // The filter is emptied and the pick list shows every template in name order, the new one too.
    EXPECT_TRUE(filter->text().isEmpty());
    const QStringList picks = texts(find<QListView>(u("List3")));
    EXPECT_TRUE(picks.contains(u("眩晕")));
    EXPECT_EQ(picks.size(), int(HistoryTemplateStore(workspace->settings()).all().size()));
    // Picked, it writes its text into the history.
    history->clear();
    auto *list = find<QListView>(u("List3"));
    const QRect r = lineRect(list, int(texts(list).indexOf(u("眩晕"))));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(history->toPlainText(), u("主诉：头晕两天。\n查体：血压 150/95mmHg。\n"));
}

} // namespace
