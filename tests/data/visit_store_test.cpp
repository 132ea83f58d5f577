#include "data/database.h"
#include "data/key_indexes.h"
#include "data/list_column.h"
#include "data/patient_store.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"

using namespace quillora;
using namespace quillora::test;

namespace {

class VisitStoreTest : public EngineTest
{
protected:
    VisitStore store() { return VisitStore(archive()); }
    void save(const QString &name, const QString &date, const QString &key)
    {
        store().save(sampleVisit(name, date, key), 2026);
    }
    QStringList listed(const QString &filter, const QDate &from, const QDate &to)
    {
        QStringList texts;
        for (const VisitListEntry &e : store().list(filter, from, to))
            texts << e.text();
        return texts;
    }
    int rows(const QString &table) { return scalar(archive(), QStringLiteral("SELECT count(*) FROM [%1]").arg(table)).toInt(); }
};

QUILLORA_ON_BOTH_ENGINES(VisitStoreTest);

TEST_P(VisitStoreTest, ListsNewestKeyFirstWithinInclusiveRange)
{
    save(QStringLiteral("张三"), QStringLiteral("2016-01-03"), QStringLiteral("2016-01-03 08:00:00"));
    save(QStringLiteral("李四"), QStringLiteral("2016-01-03"), QStringLiteral("2016-01-03 10:00:00"));
    save(QStringLiteral("王五"), QStringLiteral("2016-01-05"), QStringLiteral("2016-01-05 09:00:00"));
    save(QStringLiteral("赵六"), QStringLiteral("2016-01-06"), QStringLiteral("2016-01-06 09:00:00"));

    EXPECT_EQ(listed(QString(), QDate(2016, 1, 3), QDate(2016, 1, 5)),
              (QStringList{QStringLiteral("王五[男,35岁,2016-01-05]"), QStringLiteral("李四[男,35岁,2016-01-03]"),
                           QStringLiteral("张三[男,35岁,2016-01-03]")}));
    EXPECT_EQ(listed(QString(), QDate(2016, 1, 6), QDate(2016, 1, 6)).size(), 1);
    EXPECT_TRUE(listed(QString(), QDate(2016, 1, 6), QDate(2016, 1, 3)).isEmpty());  // from after to
    EXPECT_EQ(listed(QStringLiteral("李"), QDate(2016, 1, 1), QDate(2016, 12, 31)).size(), 1);
    // Each entry keeps the visit it stands for.
    const QList<VisitListEntry> entries = store().list(QString(), QDate(2016, 1, 5), QDate(2016, 1, 5));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].key, QStringLiteral("2016-01-05 09:00:00"));
    EXPECT_EQ(store().byRowId(entries[0].rowId)->header[FieldName], QStringLiteral("王五"));
}

// Read page by page, a result is the whole list in the same order, equal keys included, with
// and without the name index, and only the date range is read to find a page.
TEST_P(VisitStoreTest, PagesAddUpToTheWholeListInItsOrder)
{
    archive().exec(QStringLiteral("PRAGMA synchronous=OFF"));
    for (int i = 0; i < 130; ++i) {
        VisitRecord visit = sampleVisit(i % 3 ? QStringLiteral("张三") : QStringLiteral("李四"),
                                        QStringLiteral("2026-12-0%1").arg(1 + i % 5),
                                        QStringLiteral("2026-12-0%1 09:%2:%3").arg(1 + i % 5).arg(i % 7, 2, 10, QLatin1Char('0')).arg(i % 2, 2, 10, QLatin1Char('0')));
        store().save(visit, 2026);
    }
    // Visits sharing a key (stored by an older version): both are listed, the later row first.
    // The archive the rooms share on a server refuses them.
    const QString twin = QStringLiteral("INSERT INTO [档案] ([名称], [0], [1], [2], [9]) "
                                        "SELECT [名称], [0], [1], [2], [9] FROM [档案] WHERE [名称] = '2026-12-02 09:03:00'");
    if (onServer())
        EXPECT_THROW(archive().exec(twin), DbError);
    else
        archive().exec(twin);
    const auto paged = [&](const QString &filter, int size) {
        QList<VisitListEntry> all;
        for (;;) {
            const QList<VisitListEntry> page = store().listPage(filter, QDate(2026, 12, 2), QDate(2026, 12, 4),
                                                                all.isEmpty() ? nullptr : &all.constLast(), size);
            all += page;
            if (page.size() < size)
                return all;
        }
    };
    const auto keysAndRows = [](const QList<VisitListEntry> &entries) {
        QList<std::pair<QString, qint64>> out;
        for (const VisitListEntry &e : entries)
            out << std::pair{e.key, e.rowId};
        return out;
    };
    for (const QString filter : {QString(), QStringLiteral("张")}) {
        const QList<VisitListEntry> whole = store().list(filter, QDate(2026, 12, 2), QDate(2026, 12, 4));
        ASSERT_GT(whole.size(), 20);
        for (int i = 1; i < whole.size(); ++i)
            EXPECT_TRUE(whole[i - 1].key > whole[i].key || (whole[i - 1].key == whole[i].key && whole[i - 1].rowId > whole[i].rowId));
        for (const int size : {1, 7, 1000})
            EXPECT_EQ(keysAndRows(paged(filter, size)), keysAndRows(whole)) << size;
        archive().keyIndexes().loadNow();
        EXPECT_EQ(keysAndRows(paged(filter, 7)), keysAndRows(whole));
        archive().keyIndexes().setUsed(false);
    }
    if (onServer())
        return;
    Statement plan(archive(), QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid FROM [档案] "
                                             "WHERE [0] LIKE ?1 ESCAPE '\\' AND [9] BETWEEN ?2 AND ?3 "
                                             "AND (+[名称] < ?4 OR (+[名称] = ?4 AND rowid < ?5)) "
                                             "ORDER BY +[名称] DESC, +rowid DESC LIMIT ?6"));
    ASSERT_TRUE(plan.next());
    EXPECT_TRUE(plan.text(3).startsWith(QStringLiteral("SEARCH"))) << plan.text(3).toStdString();  // the date range only
}

TEST_P(VisitStoreTest, NameFilterMatchesLiterallyIgnoringAsciiCase)
{
    const QStringList names{QStringLiteral("Tom"), QStringLiteral("O'Neil"), QStringLiteral("100%纯"),
                            QStringLiteral("a_b"), QStringLiteral("axb"), QStringLiteral("back\\slash")};
    int second = 0;
    for (const QString &name : names)
        save(name, QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:%1").arg(second++, 2, 10, QLatin1Char('0')));
    const QDate day(2026, 12, 8);
    const struct { const char *filter; int expected; } cases[] = {
        {"tom", 1}, {"TOM", 1}, {"'", 1}, {"O'N", 1}, {"%", 1}, {"_", 1}, {"a_b", 1}, {"\\", 1}, {"", 6}, {"zzz", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(listed(QString::fromUtf8(c.filter), day, day).size(), c.expected) << c.filter;
}

TEST_P(VisitStoreTest, SavingTwiceKeepsOneRowAndANewKeyAddsOne)
{
    VisitRecord visit = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00"));
    store().save(visit, 2026);
    visit.body = QStringLiteral("changed");
    store().save(visit, 2026);
    EXPECT_EQ(rows(QStringLiteral("档案")), 1);
    EXPECT_EQ(store().find(visit.key)->body, QStringLiteral("changed"));
    visit.key = QStringLiteral("2026-12-08 10:00:00");
    store().save(visit, 2026);
    EXPECT_EQ(rows(QStringLiteral("档案")), 2);
    EXPECT_EQ(rows(QStringLiteral("患者信息")), 1);  // same patient, same key
}

TEST_P(VisitStoreTest, RoundTripKeepsEveryFieldExactly)
{
    VisitRecord visit = sampleVisit(QStringLiteral("O'Brien \"老王\""), QStringLiteral("2026-1-3"), QStringLiteral("2026-01-03 08:00:00"));
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        if (i != FieldName && i != FieldDate)
            visit.header[i] = QStringLiteral("字段%1 '@%").arg(i);
    }
    visit.title = QStringLiteral("中医处方笺");
    visit.kind = QStringLiteral("中医");
    visit.body = QString(QStringLiteral("当归 10g  川芎 6g 'quote' 100% a@b\r\n")).repeated(500);
    visit.injectionCard = QStringLiteral("0.9%氯化钠注射液 250ml\r\n    用法：静脉滴注");
    visit.history = QStringLiteral("主诉：咳嗽3天。\r\n");
    for (int c = 0; c < GridColumnCount; ++c)
        for (int r = 0; r < kGridRows; ++r)
            visit.grid[c][r] = QStringLiteral("%1-%2").arg(c).arg(r);
    visit.grid[GridName][5] = QStringLiteral("含@号");
    visit.doses = QStringLiteral(" 3 ");
    visit.total = QStringLiteral("12.50");
    store().save(visit, 2026);

    const auto loaded = store().find(visit.key);
    ASSERT_TRUE(loaded);
    VisitRecord expected = visit;
    expected.header[FieldDate] = QStringLiteral("2026-01-03");  // normalised on the way in
    expected.doses = QStringLiteral("3");
    expected.grid[GridName][5] = QStringLiteral("含＠号");    // a typed @ never splits the list
    EXPECT_EQ(loaded->header, expected.header);
    EXPECT_EQ(loaded->title, expected.title);
    EXPECT_EQ(loaded->kind, expected.kind);
    EXPECT_EQ(loaded->body, expected.body);
    EXPECT_EQ(loaded->injectionCard, expected.injectionCard);
    EXPECT_EQ(loaded->history, expected.history);
    EXPECT_EQ(loaded->grid, expected.grid);
    EXPECT_EQ(loaded->doses, expected.doses);
    EXPECT_EQ(loaded->total, expected.total);
    // The stored list has exactly one "@" per row.
    EXPECT_EQ(scalar(archive(), QStringLiteral("SELECT length(T9) - length(replace(T9, '@', '')) FROM [档案]")), QStringLiteral("24"));
}

TEST_P(VisitStoreTest, RefusedVisitStoresNothingAndSaysWhy)
{
    const struct { const char *name; const char *date; const char *message; } cases[] = {
        {"", "2026-12-08", "请填写患者姓名"},
        {"   ", "2026-12-08", "请填写患者姓名"},
        {"张三", "2026-02-30", "不是有效日期"},
        {"张三", "昨天", "不是有效日期"},
        {"张三", "", "不是有效日期"},
    };
    for (const auto &c : cases) {
        try {
            save(QString::fromUtf8(c.name), QString::fromUtf8(c.date), QStringLiteral("2026-12-08 09:00:00"));
            ADD_FAILURE() << "saved " << c.name << " " << c.date;
        } catch (const VisitRefused &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message))) << e.message().toStdString();
        }
    }
    VisitRecord longName = sampleVisit(QString(51, QChar(u'王')), QStringLiteral("2026-12-08"), QStringLiteral("k"));
    EXPECT_THROW(store().save(longName, 2026), VisitRefused);
    EXPECT_EQ(rows(QStringLiteral("档案")), 0);
    EXPECT_EQ(rows(QStringLiteral("患者信息")), 0);

    // An earlier save of the same visit survives a refused one.
    save(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:00"));
    EXPECT_THROW(save(QStringLiteral("张三"), QStringLiteral("2026-13-08"), QStringLiteral("2026-12-08 09:00:00")), VisitRefused);
    EXPECT_EQ(store().find(QStringLiteral("2026-12-08 09:00:00"))->header[FieldDate], QStringLiteral("2026-12-08"));
}

// A NUL pasted into the body: the files keep it, the server cannot take it and says so rather
// than storing the text cut short; the visit stored before stays as it was.
TEST_P(VisitStoreTest, ATextWithANulIsKeptWholeOrRefusedNeverCut)
{
    VisitRecord visit = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:00:00"));
    store().save(visit, 2026);
    visit.body = QStringLiteral("阿莫西林") + QChar(0) + QStringLiteral("胶囊");
    if (!onServer()) {
        store().save(visit, 2026);
        EXPECT_EQ(store().find(visit.key)->body, visit.body);
        return;
    }
    try {
        store().save(visit, 2026);
        ADD_FAILURE() << "a cut text was acknowledged";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("空字符"))) << e.message().toStdString();
    }
    EXPECT_EQ(store().find(visit.key)->body, sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), visit.key).body);
    EXPECT_EQ(rows(QStringLiteral("档案")), 1);
}

TEST_P(VisitStoreTest, RegisterNeedsNameAgeAndSex)
{
    VisitRecord noAge = sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("a"));
    noAge.header[FieldAge].clear();
    EXPECT_FALSE(store().save(noAge, 2026).registered);
    VisitRecord noSex = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"), QStringLiteral("b"));
    noSex.header[FieldSex].clear();
    const SaveOutcome outcome = store().save(noSex, 2026);
    EXPECT_FALSE(outcome.registered);
    EXPECT_TRUE(outcome.note.contains(QStringLiteral("性别")));
    EXPECT_EQ(rows(QStringLiteral("档案")), 2);
    EXPECT_EQ(rows(QStringLiteral("患者信息")), 0);

    EXPECT_TRUE(store().save(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("c")), 2026).registered);
    const auto row = PatientStore(archive()).byKey(QStringLiteral("张三zs1991"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->birthYear, QStringLiteral("1991"));
    EXPECT_EQ(row->allergy, QStringLiteral("未发现"));
    EXPECT_EQ(patientListText(*row, 2027), QStringLiteral("张三[36岁]"));
}

TEST(PatientKey, BirthYearFromTheAgeText)
{
    const struct { const char *age; const char *year; } cases[] = {
        {"35岁", "1991"}, {"35", "1991"}, {"35Y", "1991"}, {"35y", "1991"}, {" 35 ", "1991"},
        {"8个月", "2026"}, {"", "2026"}, {"abc", "2026"}, {"2.5岁", "2023.5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(patientBirthYear(QString::fromUtf8(c.age), 2026), QString::fromUtf8(c.year)) << c.age;
    EXPECT_EQ(patientKey(QStringLiteral("张三"), QStringLiteral("35岁"), 2026), QStringLiteral("张三zs1991"));
    EXPECT_EQ(patientKey(QStringLiteral(" 张三 "), QStringLiteral("8个月"), 2026), QStringLiteral(" 张三 zs2026"));
}

TEST_P(VisitStoreTest, PatientSearchIsContainmentOnTheKey)
{
    store().save(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("a")), 2026);
    store().save(sampleVisit(QStringLiteral("张三丰"), QStringLiteral("2026-12-08"), QStringLiteral("b")), 2026);
    PatientStore patients(archive());
    EXPECT_EQ(patients.search(QStringLiteral("张三")).size(), 2);
    EXPECT_EQ(patients.search(QStringLiteral("ZSF")).size(), 1);
    EXPECT_EQ(patients.search(QStringLiteral("1991")).size(), 2);
    EXPECT_EQ(patients.search(QStringLiteral("'")).size(), 0);
}

TEST_P(VisitStoreTest, DeleteAndRangesForLogAndCount)
{
    VisitRecord a = sampleVisit(QStringLiteral("甲"), QStringLiteral("2026-12-02"), QStringLiteral("2026-12-08 09:00:00"));
    a.header[FieldDrugFee] = QStringLiteral("12.5");
    VisitRecord b = sampleVisit(QStringLiteral("乙"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-08 10:00:00"));
    b.header[FieldOtherFee] = QStringLiteral("3");
    store().save(a, 2026);
    store().save(b, 2026);
    const QList<LogEntry> log = store().logRange(QDate(2026, 12, 1), QDate(2026, 12, 31));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].name, QStringLiteral("乙"));  // date order, not key order
    const QList<VisitFees> fees = store().feesInRange(QDate(2026, 12, 1), QDate(2026, 12, 2));
    ASSERT_EQ(fees.size(), 2);
    EXPECT_EQ(fees[0].drugFee + fees[1].drugFee + fees[0].otherFee + fees[1].otherFee, QStringLiteral("12.53"));  // any order
    EXPECT_TRUE(store().remove(a.key));
    EXPECT_FALSE(store().remove(a.key));
    EXPECT_EQ(rows(QStringLiteral("档案")), 1);
}

TEST_P(VisitStoreTest, InfusionCardListsAreKeptApartFromTheSave)
{
    VisitRecord v = sampleVisit(QStringLiteral("甲"), QStringLiteral("2026-12-08"), QStringLiteral("k1"));
    EXPECT_FALSE(store().saveInfusionCard(v.key, {}));  // not saved yet
    store().save(v, 2026);
    InfusionCardLists card;
    card.header = QStringList{QStringLiteral("甲"), QStringLiteral("男")};
    card.names = ListColumn::fitted({QStringLiteral("0.9%氯化钠注射液 250ml")}, kInfusionRows);
    ASSERT_TRUE(store().saveInfusionCard(v.key, card));
    v.body = QStringLiteral("new body");
    store().save(v, 2026);  // the visit save leaves the card alone
    const InfusionCardLists stored = store().infusionCard(v.key);
    EXPECT_EQ(stored.header, card.header);
    EXPECT_EQ(stored.names, card.names);
}

TEST(ListColumnEncoding, EntriesFollowedByAtSign)
{
    EXPECT_EQ(ListColumn::encode({QStringLiteral("a"), QString(), QStringLiteral("b")}), QStringLiteral("a@@b@"));
    EXPECT_EQ(ListColumn::decode(QStringLiteral("a@@b@")), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_TRUE(ListColumn::decode(QString()).isEmpty());
    EXPECT_EQ(ListColumn::encode(QStringList(24, QString())), QString(24, QLatin1Char('@')));
    EXPECT_EQ(ListColumn::decode(QString(24, QLatin1Char('@'))).size(), 24);
    EXPECT_EQ(ListColumn::decode(ListColumn::encode({QStringLiteral("x@y")})), QStringList{QStringLiteral("x＠y")});
    EXPECT_EQ(ListColumn::fitted({QStringLiteral("a")}, 3).size(), 3);
}

} // namespace

namespace {

TEST_P(VisitStoreTest, ANewVisitNeverOverwritesAStoredOne)
{
    // Another room (or a clock set back) started a visit in the same second as a stored one.
    save(QStringLiteral("张三"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 10:00:00"));
    save(QStringLiteral("王五"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 10:00:01"));
    const VisitRecord second = sampleVisit(QStringLiteral("李四"), QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09 10:00:00"));
    const SaveOutcome outcome = store().save(second, 2026, VisitStore::SaveKind::New);
    EXPECT_EQ(outcome.key, QStringLiteral("2026-12-09 10:00:02"));
    EXPECT_EQ(store().find(QStringLiteral("2026-12-09 10:00:00"))->header[FieldName], QStringLiteral("张三"));
    EXPECT_EQ(store().find(QStringLiteral("2026-12-09 10:00:01"))->header[FieldName], QStringLiteral("王五"));
    EXPECT_EQ(store().find(outcome.key)->header[FieldName], QStringLiteral("李四"));
    // Saved again as the visit it now is, it overwrites its own row only.
    VisitRecord again = second;
    again.key = outcome.key;
    again.header[FieldDiagnosis] = QStringLiteral("复诊");
    EXPECT_EQ(store().save(again, 2026).key, outcome.key);
    EXPECT_EQ(store().find(outcome.key)->header[FieldDiagnosis], QStringLiteral("复诊"));
    EXPECT_EQ(rows(QStringLiteral("档案")), 3);
}

} // namespace
