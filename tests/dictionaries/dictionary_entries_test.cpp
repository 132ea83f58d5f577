#include "dictionaries/dictionary_entries.h"
#include "dictionaries/kept_text.h"
#include "dictionaries/name_list_store.h"
#include "forms/row_list_model.h"

#include "support/data_fixture.h"

#include <gtest/gtest.h>

using namespace quillora;
using namespace quillora::test;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

TEST(DictionaryEntries, WhatMayBeStored)
{
    EXPECT_TRUE(nameListEntryProblem(u("诊断名称"), u("上呼吸道感染"), u("shxdgr")).isEmpty());
    EXPECT_EQ(nameListEntryProblem(u("诊断名称"), QString(51, QChar(u'病')), u("b")),
              u("“诊断名称”最多50个字，现有51个字，请删减后再保存。"));
    // A name of signs only has no code; the code column needs one.
    EXPECT_EQ(nameListEntryProblem(u("地址名称"), u("（）"), QString()), u("请填写拼音代码，未保存。"));
    EXPECT_TRUE(orderSetProblem(u("感冒方"), u("gmf"), u("内容")).isEmpty());
    EXPECT_FALSE(orderSetProblem(u("感冒方"), QString(), u("内容")).isEmpty());
    EXPECT_FALSE(orderSetProblem(QString(51, QChar(u'方')), u("f"), u("内容")).isEmpty());
    EXPECT_FALSE(orderSetProblem(u("方"), u("f"), QString(65536, QLatin1Char('x'))).isEmpty());
    // Templates take longer names and may go without a code.
    EXPECT_TRUE(historyTemplateProblem(QString(200, QChar(u'模')), QString(), u("内容")).isEmpty());
    EXPECT_FALSE(historyTemplateProblem(QString(201, QChar(u'模')), QString(), u("内容")).isEmpty());
    EXPECT_FALSE(historyTemplateProblem(u("模板"), QString(51, QLatin1Char('m')), u("内容")).isEmpty());
    EXPECT_FALSE(hasNameAndContent(QString(), u("内容")));
    EXPECT_FALSE(hasNameAndContent(u("名称"), QString()));
    EXPECT_TRUE(hasNameAndContent(u(" "), u("\n")));
}

TEST(DictionaryEntries, SelectionsOfATcmPrescriptionBecomeFormulas)
{
    EXPECT_EQ(orderSetOptionForKind(u("中医")), 1);
    for (const char *kind : {"普通", "儿科", "", "中医 "})
        EXPECT_EQ(orderSetOptionForKind(u(kind)), 0) << kind;
}

TEST(KeptText, UnchangedTextGoesBackAsStored)
{
    KeptText kept;
    EXPECT_EQ(kept.toStore(u("a\nb")), u("a\r\nb"));
    // A lone LF and a trailing CR survive when the box was not edited.
    kept.keep(u("甲\n乙\r"), u("甲\n乙\n"));
    EXPECT_EQ(kept.toStore(u("甲\n乙\n")), u("甲\n乙\r"));
    EXPECT_EQ(kept.toStore(u("甲\n乙\n丙")), u("甲\r\n乙\r\n丙"));
    kept.forget();
    EXPECT_EQ(kept.toStore(QString()), QString());
}

TEST(RowListModel, LinesKeepTheirRows)
{
    RowListModel model;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    QList<ListedRow> rows;
    for (int i = 0; i < 1000; ++i)
        rows << ListedRow{i + 1, QStringLiteral("药%1").arg(i % 3)};
    model.setRows(rows);
    EXPECT_EQ(resets, 1);  // one batch, however many lines
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(model.data(model.index(4, 0)).toString(), u("药1"));
    EXPECT_EQ(model.rowIdAt(4), 5);
    EXPECT_EQ(model.lineOf(5), 4);
    EXPECT_EQ(model.append({77777, u("新")}), 1000);
    EXPECT_EQ(model.rowIdAt(1000), 77777);
    EXPECT_EQ(model.rowIdAt(1001), 0);
    EXPECT_EQ(model.rowIdAt(-1), 0);
    EXPECT_EQ(model.lineOf(123456), -1);
}

class TemplateStoreTest : public EngineTest
{
};

QUILLORA_ON_BOTH_ENGINES(TemplateStoreTest);

TEST_P(TemplateStoreTest, UpdateSaysWhenTheRowIsGone)
{
    HistoryTemplateStore store(settings());
    const qint64 id = store.insert(u("咳嗽"), u("ks"), u("咳嗽三天。"));
    EXPECT_TRUE(store.update(id, u("咳嗽咳痰"), u("kskt"), u("咳嗽咳痰三天。\r\n")));
    const auto row = store.byRowId(id);
    EXPECT_EQ(QStringList({row->name, row->code, row->key, row->content}),
              QStringList({u("咳嗽咳痰"), u("kskt"), u("咳嗽咳痰kskt"), u("咳嗽咳痰三天。\r\n")}));
    EXPECT_TRUE(store.remove(id));
    EXPECT_FALSE(store.update(id, u("x"), u("x"), u("x")));
}

TEST_P(TemplateStoreTest, NameListSearchCanListEveryRow)
{
    NameListStore diagnoses = NameListStore::diagnoses(settings());
    Transaction t(settings());
    Statement insert(settings(), u("INSERT INTO [诊断] ([名称], [拼音], [序号]) VALUES ('诊断', 'zd', '诊断zd')"));
    for (int i = 0; i < 600; ++i) {
        insert.run();
        insert.reset();
    }
    t.commit();
    EXPECT_GE(diagnoses.searchByKey(u("zd"), -1).size(), 600);
    EXPECT_EQ(diagnoses.searchByKey(u("zd")).size(), 500);
}

} // namespace
