#include "dictionary_window_fixture.h"

#include "dictionaries/history_template_window.h"
#include "dictionaries/name_list_store.h"

#include <QPlainTextEdit>
#include <QSignalSpy>

using namespace quillora;
using namespace quillora::test;

namespace {

class HistoryTemplateWindowTest : public DictionaryWindowTest
{
protected:
    void SetUp() override
    {
        DictionaryWindowTest::SetUp();
        settings().exec(QStringLiteral("DELETE FROM [病史模板]"));
        window = std::make_unique<HistoryTemplateWindow>(settings());
    }
    void TearDown() override
    {
        window.reset();
        DictionaryWindowTest::TearDown();
    }
    qint64 add(const QString &name, const QString &content, const QString &code = u("mb"))
    {
        return HistoryTemplateStore(settings()).insert(name, code, content);
    }
    QLineEdit *name() const { return find<QLineEdit>(window.get(), u("Text1")); }
    QLineEdit *code() const { return find<QLineEdit>(window.get(), u("Text3")); }
    QPlainTextEdit *content() const { return find<QPlainTextEdit>(window.get(), u("text2")); }
    QAbstractButton *saveButton() const { return button(window.get(), u("保  存")); }
    HistoryTemplate row(qint64 id) { return *HistoryTemplateStore(settings()).byRowId(id); }

    std::unique_ptr<HistoryTemplateWindow> window;
};

TEST_F(HistoryTemplateWindowTest, ClickingATemplateEndsAddingSoTheSaveOverwritesIt)
{
    const qint64 cough = add(u("咳嗽"), u("咳嗽三天。"), u("ks"));
    const qint64 fever = add(u("发热"), u("发热一天。\r\n"), u("fr"));
    QSignalSpy saved(window.get(), &HistoryTemplateWindow::templateSaved);
    show(*window);
    EXPECT_EQ(window->objectName(), u("Form15"));
    EXPECT_EQ(window->windowTitle(), u("病史模板"));
    EXPECT_EQ(lines(window->list()), QStringList({u("咳嗽"), u("发热")}));  // stored order
    EXPECT_EQ(name()->text(), u("咳嗽"));
    EXPECT_FALSE(window->b15());

    click(button(window.get(), u("添  加")));
    EXPECT_TRUE(window->b15());
    clickLine(window->list(), 1);
    EXPECT_FALSE(window->b15());
    EXPECT_EQ(code()->text(), u("fr"));
    content()->setPlainText(u("发热两天，最高39℃。\n"));
    click(saveButton());
    EXPECT_EQ(count(u("病史模板")), 2);
    const HistoryTemplate changed = row(fever);
    // Trailing line breaks stay in a template.
    EXPECT_EQ(QStringList({changed.name, changed.code, changed.key, changed.content}),
              QStringList({u("发热"), u("fr"), u("发热fr"), u("发热两天，最高39℃。\r\n")}));
    EXPECT_EQ(row(cough).content, u("咳嗽三天。"));
    EXPECT_EQ(lines(window->list()), QStringList({u("咳嗽"), u("发热")}));
    EXPECT_EQ(saved.count(), 1);
}

TEST_F(HistoryTemplateWindowTest, AddingAppendsAndDisablesSaveUntilTheNextAddOrClick)
{
    add(u("咳嗽"), u("咳嗽三天。"));
    QSignalSpy saved(window.get(), &HistoryTemplateWindow::templateSaved);
    show(*window);
    click(button(window.get(), u("添  加")));
    EXPECT_TRUE(name()->text().isEmpty());
    EXPECT_TRUE(content()->toPlainText().isEmpty());
    click(saveButton());
    EXPECT_EQ(MessageDialog::shown().last().text, u("请输入名称及内容！"));
    EXPECT_EQ(MessageDialog::shown().last().title, QString());
    EXPECT_EQ(saved.count(), 0);
    typeText(name(), u("头痛 '偏头痛'"));
    EXPECT_EQ(code()->text(), u("tt"));
    content()->setPlainText(u("头痛反复发作。"));
    click(saveButton());
    const HistoryTemplate added = row(lastRowId(u("病史模板")));
    EXPECT_EQ(QStringList({added.name, added.code, added.key, added.content}),
              QStringList({u("头痛 '偏头痛'"), u("tt"), u("头痛 '偏头痛'tt"), u("头痛反复发作。")}));
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(saved.count(), 1);
    clickLine(window->list(), 0);
    EXPECT_TRUE(saveButton()->isEnabled());

    // Delete: the selected row goes, the boxes empty, and no reload is asked of the main window.
    clickLine(window->list(), 1);
    click(button(window.get(), u("删  除")));
    EXPECT_EQ(lines(window->list()), QStringList({u("咳嗽")}));
    EXPECT_TRUE(name()->text().isEmpty() && code()->text().isEmpty() && content()->toPlainText().isEmpty());
    EXPECT_EQ(saved.count(), 1);
}

TEST_F(HistoryTemplateWindowTest, AnUnchangedSaveLeavesTheRowAsItWas)
{
    const QString longName = QString(190, QChar(u'模')) + u("'%_\\\"");
    const qint64 id = add(longName, u("主诉：\n咳嗽\r\n\r\n") + QString(5000, QChar(u'咳')) + u("\r\n"), u("m'%_"));
    show(*window);
    const QStringList before = storedRow(u("病史模板"), id);
    click(saveButton());
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
    EXPECT_EQ(storedRow(u("病史模板"), id), before);
    EXPECT_EQ(count(u("病史模板")), 1);
}

TEST_F(HistoryTemplateWindowTest, RefusedSavesSayWhyAndLoseNothing)
{
    show(*window);
    click(button(window.get(), u("添  加")));
    name()->setText(QString(201, QChar(u'模')));
    content()->setPlainText(u("内容"));
    click(saveButton());
    EXPECT_EQ(MessageDialog::lastText(), u("“名称”最多200个字，现有201个字，请删减后再保存。"));
    name()->setText(u("腹痛"));
    {
        WriteLock lock(settings());
        click(saveButton());
    }
    EXPECT_TRUE(MessageDialog::lastText().startsWith(u("模板“腹痛”未能保存：")));
    EXPECT_EQ(count(u("病史模板")), 0);
    EXPECT_TRUE(window->b15());
    EXPECT_EQ(content()->toPlainText(), u("内容"));
    click(saveButton());
    EXPECT_EQ(count(u("病史模板")), 1);
}

} // namespace
