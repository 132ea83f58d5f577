#include "dictionary_window_fixture.h"

#include "dictionaries/name_list_window.h"
#include "text/pinyin.h"

#include <QLabel>

using namespace quillora;
using namespace quillora::test;

namespace {

class NameListWindowTest : public DictionaryWindowTest
{
protected:
    void open(const NameListKind &kind)
    {
        settings().exec(QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(kind.table)));
        table = kind.table;
        window = std::make_unique<NameListWindow>(settings(), kind);
    }
    void TearDown() override
    {
        window.reset();
        DictionaryWindowTest::TearDown();
    }
    qint64 add(const QString &name) { return NameListStore(settings(), table).insert(name, pinyinCode(name)); }
    QLineEdit *box(const char *name) const { return find<QLineEdit>(window.get(), QString::fromLatin1(name)); }

    QString table;
    std::unique_ptr<NameListWindow> window;
};

TEST_F(NameListWindowTest, TheTwoWindowsDifferOnlyInWhatTheyName)
{
    const struct { NameListKind kind; const char *object, *title, *label; } cases[] = {
        {NameListKind::diagnoses(), "Form3", "诊断名称维护", "诊断名称："},
        {NameListKind::addresses(), "Form4", "地址名称维护", "地址名称："},
    };
    for (const auto &c : cases) {
        open(c.kind);
        add(u("青山镇"));
        show(*window);
        EXPECT_EQ(window->objectName(), u(c.object));
        EXPECT_EQ(window->windowTitle(), u(c.title));
        bool labelled = false;
        for (const QLabel *label : window->findChildren<QLabel *>())
            labelled = labelled || label->text() == u(c.label);
        EXPECT_TRUE(labelled) << c.label;
        EXPECT_EQ(lines(window->list()), QStringList({u("青山镇")}));
        EXPECT_EQ(window->list()->currentLine(), -1);  // nothing selected on opening
        // Enter in the name box saves into this window's own table.
        typeInto(box("Text3"), u("东村"));
        QTest::keyClick(box("Text3"), Qt::Key_Return);
        EXPECT_EQ(NameListStore(settings(), c.kind.table).all().size(), 2);
        window.reset();
    }
}

TEST_F(NameListWindowTest, EnterSavesNameCodeAndKeyAndSelectsTheNewLine)
{
    open(NameListKind::diagnoses());
    add(u("高血压"));
    add(u("冠心病"));
    show(*window);
    typeInto(find<QLineEdit>(window.get(), u("Text1")), u("gxy"));
    EXPECT_EQ(lines(window->list()), QStringList({u("高血压")}));
    typeInto(box("Text3"), u("上呼吸道感染"));
    EXPECT_EQ(box("Text5")->text(), u("shxdgr"));
    QTest::keyClick(box("Text3"), Qt::Key_Return);
    const qint64 id = lastRowId(u("诊断"));
    EXPECT_EQ(storedRow(u("诊断"), id), QStringList({u("上呼吸道感染"), u("shxdgr"), u("上呼吸道感染shxdgr")}));
    // Appended at the end though the search does not match it, and selected.
    EXPECT_EQ(lines(window->list()), QStringList({u("高血压"), u("上呼吸道感染")}));
    EXPECT_EQ(window->list()->currentLine(), 1);
    EXPECT_TRUE(box("Text3")->text().isEmpty());
    EXPECT_TRUE(box("Text5")->text().isEmpty());
    EXPECT_TRUE(box("Text3")->hasFocus());
    // Enter in an empty name box stores nothing.
    QTest::keyClick(box("Text3"), Qt::Key_Return);
    EXPECT_EQ(count(u("诊断")), 3);
    // The search finds by part of the name as well as by part of the code.
    find<QLineEdit>(window.get(), u("Text1"))->setText(u("呼吸"));
    EXPECT_EQ(lines(window->list()), QStringList({u("上呼吸道感染")}));
    find<QLineEdit>(window.get(), u("Text1"))->setText(u("DGR"));
    EXPECT_EQ(lines(window->list()), QStringList({u("上呼吸道感染")}));
    find<QLineEdit>(window.get(), u("Text1"))->setText(u("%"));
    EXPECT_TRUE(lines(window->list()).isEmpty());
}

TEST_F(NameListWindowTest, DeleteRemovesTheRowOfTheSelectedLine)
{
    open(NameListKind::addresses());
    const qint64 a = add(u("东村"));
    const qint64 b = add(u("东村"));
    const qint64 c = add(u("西村"));
    show(*window);
    QLineEdit *search = find<QLineEdit>(window.get(), u("Text1"));
    search->setText(u("xc"));
    // A line appended outside the search is deleted by its own row, not by its position.
    typeInto(box("Text3"), u("东村"));
    click(button(window.get(), u("保  存")));
    const qint64 appended = lastRowId(u("地址"));
    EXPECT_EQ(window->list()->currentLine(), 1);
    click(button(window.get(), u("删  除")));
    EXPECT_EQ(storedRow(u("地址"), appended), QStringList());
    for (const qint64 id : {a, b, c})
        EXPECT_FALSE(storedRow(u("地址"), id).isEmpty()) << id;
    // Refilled from the search: the list holds exactly what matches it.
    EXPECT_EQ(lines(window->list()), QStringList({u("西村")}));
    // Duplicates: the second of two equal lines goes, through the pop-up menu.
    search->clear();
    clickLine(window->list(), 1);
    window->list()->menu()->findChild<QAction *>(u("listMenu_删除"))->trigger();
    EXPECT_FALSE(storedRow(u("地址"), a).isEmpty());
    EXPECT_TRUE(storedRow(u("地址"), b).isEmpty());
    // With no line selected a delete does nothing.
    click(button(window.get(), u("删  除")));
    EXPECT_EQ(count(u("地址")), 2);
}

TEST_F(NameListWindowTest, RefusedSavesSayWhyAndKeepTheName)
{
    open(NameListKind::diagnoses());
    show(*window);
    const QString longName = QString(51, QChar(u'炎'));
    box("Text3")->setText(longName);
    click(button(window.get(), u("保  存")));
    EXPECT_EQ(MessageDialog::lastText(), u("“诊断名称”最多50个字，现有51个字，请删减后再保存。"));
    EXPECT_EQ(box("Text3")->text(), longName);
    // A 50-character name with its code: the search key is cut to 50 and starts with the name.
    const QString name = QString(50, QChar(u'炎'));
    box("Text3")->setText(name);
    click(button(window.get(), u("保  存")));
    EXPECT_EQ(storedRow(u("诊断"), lastRowId(u("诊断")))[2], name);
    box("Text3")->setText(u("咽炎 '急性'"));
    {
        WriteLock lock(settings());
        click(button(window.get(), u("保  存")));
    }
    EXPECT_TRUE(MessageDialog::lastText().startsWith(u("“咽炎 '急性'”未能保存：")));
    EXPECT_EQ(box("Text3")->text(), u("咽炎 '急性'"));
    EXPECT_EQ(count(u("诊断")), 1);
    EXPECT_EQ(window->list()->count(), 1);
}

} // namespace
