#include "dictionary_window_fixture.h"

#include "data/key_indexes.h"
#include "dictionaries/history_template_window.h"
#include "dictionaries/name_list_window.h"

#include <QPlainTextEdit>

using namespace quillora;
using namespace quillora::test;

namespace {

// Edits made in the dictionary windows reach the key indexes: every search answers as its
// statement does afterwards.
class KeyIndexWindowTest : public DictionaryWindowTest
{
protected:
    void expectIndexAnswersAsStatement(const std::function<QList<ListedRow>(const QString &)> &search, const char *what)
    {
        ASSERT_TRUE(settings().keyIndexes().isLoaded());
        for (const QString &typed : {QString(), QStringLiteral("'"), QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("A"),
                                     QStringLiteral("ａ"), QStringLiteral("cun"), QStringLiteral("东"), QStringLiteral("ks")}) {
            settings().keyIndexes().setUsed(false);
            QStringList expected;
            for (const ListedRow &row : search(typed))
                expected << QString::number(row.rowId) + row.text;
            settings().keyIndexes().setUsed(true);
            QStringList actual;
            for (const ListedRow &row : search(typed))
                actual << QString::number(row.rowId) + row.text;
            EXPECT_EQ(actual, expected) << what << " \"" << typed.toStdString() << "\"";
        }
    }
};

TEST_F(KeyIndexWindowTest, AddressesSavedAndDeletedInTheWindowAreFoundAndForgotten)
{
    settings().keyIndexes().loadNow();
    NameListWindow window(settings(), NameListKind::addresses());
    show(window);
    QLineEdit *name = find<QLineEdit>(&window, u("Text3"));
    for (const QString &typed : {u("东村"), u("东'村%"), u("Ａ_村"), u("东村")}) {
        typeInto(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    }
    NameListStore addresses = NameListStore::addresses(settings());
    EXPECT_EQ(addresses.searchByKey(u("'村%")).size(), 1);
    clickLine(window.list(), window.list()->rows()->rowCount() - 1);
    click(button(&window, u("删  除")));
    expectIndexAnswersAsStatement([&](const QString &t) { return addresses.searchByKey(t); }, "addresses by key");
    expectIndexAnswersAsStatement([&](const QString &t) { return addresses.searchByCode(t); }, "addresses by code");
}

TEST_F(KeyIndexWindowTest, TemplatesAddedChangedAndDeletedInTheWindowStayInNameOrder)
{
    settings().keyIndexes().loadNow();
    HistoryTemplateWindow window(settings());
    show(window);
    QLineEdit *name = find<QLineEdit>(&window, u("Text1"));
    QPlainTextEdit *content = find<QPlainTextEdit>(&window, u("text2"));
    for (const QString &typed : {u("咳嗽"), u("发热 'A'"), u("头痛%"), u("腹泻_ａ")}) {
        click(button(&window, u("添  加")));
        typeText(name, typed);
        content->setPlainText(u("内容"));
        click(button(&window, u("保  存")));
    }
    HistoryTemplateStore templates(settings());
    EXPECT_EQ(templates.searchByKey(u("ks")).size(), 1);
    // A changed name moves the template in the name order.
    clickLine(window.list(), 0);
    name->setText(u("阿咳嗽"));
    click(button(&window, u("保  存")));
    clickLine(window.list(), 2);
    click(button(&window, u("删  除")));
    expectIndexAnswersAsStatement([&](const QString &t) { return templates.searchByKey(t); }, "templates");
}

} // namespace
