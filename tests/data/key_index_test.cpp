#include "support/data_fixture.h"
#include "support/pg_cluster.h"

#include "data/database.h"
#include "data/dictionary_store.h"
#include "data/drug_store.h"
#include "data/key_indexes.h"
#include "data/order_set_store.h"
#include "data/patient_store.h"
#include "data/pg_connection.h"
#include "data/visit_store.h"
#include "dictionaries/name_list_store.h"

#include <QThread>
#include <functional>
#include <random>

using namespace quillora;
using namespace quillora::test;

namespace {

// Characters that trip up a containment search: LIKE's own wildcards and escape, quotes,
// ASCII letters in both cases, their full-width forms (which LIKE does not fold), ideographs.
const QString kAlphabet = QStringLiteral("aAbBzZ%_\\'\"ＡａＢ药中西1 ");

using Rows = QList<std::pair<qint64, QString>>;

Rows plain(const QList<ListedRow> &rows)
{
    Rows out;
    for (const ListedRow &r : rows)
        out << std::pair{r.rowId, r.text};
    return out;
}

// The search answers the same with its index as with its statement.
void expectSameAsStatement(Database &db, const QStringList &typed, const std::function<Rows(const QString &)> &search,
                           const char *what)
{
    ASSERT_TRUE(db.keyIndexes().isLoaded());
    for (const QString &text : typed) {
        db.keyIndexes().setUsed(false);
        const Rows expected = search(text);
        db.keyIndexes().setUsed(true);
        EXPECT_EQ(search(text), expected) << what << " \"" << text.toStdString() << "\"";
    }
}

class KeyIndexTest : public EngineTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        // Hundreds of single-row writes: durability is not what is tested here.
        settings().exec(QStringLiteral("PRAGMA synchronous=OFF"));
        archive().exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }
    QString randomText(int maxLength)
    {
        QString text;
        const int length = 1 + int(random() % unsigned(maxLength));  // stored texts are never empty
        for (int i = 0; i < length; ++i)
            text += kAlphabet[int(random() % unsigned(kAlphabet.size()))];
        return text;
    }
    // What a doctor might type: pieces of stored keys, random texts, each special character.
    QStringList probes(const QStringList &keys)
    {
        QStringList typed{QString(), QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("\\"), QStringLiteral("'"),
                          QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("Ａ"), QStringLiteral("ａ"), QStringLiteral("zz")};
        for (int i = 0; i < 40 && !keys.isEmpty(); ++i) {
            const QString &key = keys[int(random() % unsigned(keys.size()))];
            const int from = key.isEmpty() ? 0 : int(random() % unsigned(key.size()));
            QString piece = key.mid(from, 1 + int(random() % 4));
            if (random() % 2)
                piece = piece.toUpper();
            typed << piece;
        }
        for (int i = 0; i < 20; ++i)
            typed << randomText(3);
        return typed;
    }
    std::mt19937 random{20261209u};
};

QUILLORA_ON_BOTH_ENGINES(KeyIndexTest);

// Two consulting rooms on one server archive, each with its indexes in memory.
class TwoRoomsKeyIndexTest : public DataTest
{
protected:
    Engine engine() const override { return Engine::PostgreSql; }
    void SetUp() override
    {
        DataTest::SetUp();
        if (IsSkipped())
            return;
        m_other.openServer(m_archiveServer->conninfo());
        m_other.keyIndexes().loadNow();
        archive().keyIndexes().loadNow();
    }
    void TearDown() override
    {
        m_other.close();
        DataTest::TearDown();
    }
    void addPatients(const QString &name, int count)
    {
        Transaction t(archive());
        for (int i = 0; i < count; ++i)
            PatientStore(archive()).upsert(PatientRow{0, QStringLiteral("%1%2").arg(name).arg(i), QStringLiteral("1990"), name, QStringLiteral("女")});
        t.commit();
    }
    // Whether the other room's pick list shows as many rows for the text from its index, once
    // the announcements have come (they follow the commit by a moment).
    bool otherRoomLists(const QString &text, int count)
    {
        for (int wait = 0; wait < 3000; ++wait) {
            const qsizetype listed = PatientStore(m_other).pickList(text, 2026, 1000).size();
            if (listed == count && m_other.keyIndexes().find(QStringLiteral("患者信息"), QStringLiteral("序号")))
                return true;
            QThread::msleep(1);
        }
        return false;
    }

    Database m_other;
};

TEST_F(TwoRoomsKeyIndexTest, ARoomSeesTheOtherRoomsWritesOnItsNextSearchEvenAfterALostConnection)
{
    addPatients(QStringLiteral("新来的xld"), 1);
    EXPECT_TRUE(otherRoomLists(QStringLiteral("xld"), 1));
    archive().exec(QStringLiteral("UPDATE [患者信息] SET [序号] = 'renamed1990' WHERE [序号] = '新来的xld0'"));
    EXPECT_TRUE(otherRoomLists(QStringLiteral("xld"), 0));
    EXPECT_TRUE(otherRoomLists(QStringLiteral("renamed"), 1));
    archive().exec(QStringLiteral("DELETE FROM [患者信息] WHERE [序号] = 'renamed1990'"));
    EXPECT_TRUE(otherRoomLists(QStringLiteral("renamed"), 0));
    // Many rows at once: read anew as a whole.
    addPatients(QStringLiteral("批量"), 800);
    EXPECT_TRUE(otherRoomLists(QStringLiteral("批量"), 800));

    // The other room's connection is cut, and patients are added while it is down: nothing
    // announces them, so the other room reads everything again once connected.
    const QString others = QStringLiteral("FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()");
    archive().server()->query(QStringLiteral("SELECT pg_terminate_backend(pid) ") + others);
    while (archive().server()->query(QStringLiteral("SELECT 1 ") + others).rowCount() > 0)
        QThread::msleep(1);
    addPatients(QStringLiteral("断线时"), 3);
    // The other room notices the cut at its next search once its socket is closed, a moment
    // after the server dropped the session; it answers by statement on a new connection.
    const int session = m_other.server()->sessionNumber();
    for (int wait = 0; wait < 3000 && m_other.server()->sessionNumber() == session; ++wait) {
        PatientStore(m_other).pickList(QStringLiteral("断线时"), 2026);
        QThread::msleep(1);
    }
    EXPECT_NE(m_other.server()->sessionNumber(), session);
    EXPECT_TRUE(otherRoomLists(QStringLiteral("断线时"), 3));
    addPatients(QStringLiteral("重连后"), 2);
    EXPECT_TRUE(otherRoomLists(QStringLiteral("重连后"), 2));
    for (Database *room : {&archive(), &m_other}) {
        expectSameAsStatement(*room, {QString(), QStringLiteral("9"), QStringLiteral("后"), QStringLiteral("批量1")},
                              [&](const QString &t) { return plain(PatientStore(*room).pickList(t, 2026)); }, "room");
    }
}

TEST_P(KeyIndexTest, DrugCodesAnswerAsTheStatementThroughInsertsEditsAndDeletes)
{
    DrugStore drugs(settings());
    QList<qint64> ids;
    const auto randomDrug = [&] {
        DrugRow row;
        row.code = randomText(8);
        row.name = random() % 10 ? randomText(6) + QStringLiteral("片") : QStringLiteral("阿莫西林");  // equal names too
        row.category = QStringList{QStringLiteral("中药"), QStringLiteral("中药饮片"), QStringLiteral("西药"),
                                   QStringLiteral("%_"), QStringLiteral("Ａb")}[int(random() % 5)];
        return row;
    };
    {
        Transaction t(settings());
        for (int i = 0; i < 600; ++i)
            ids << drugs.insert(randomDrug());
        t.commit();
    }
    settings().keyIndexes().loadNow();
    QStringList codes;
    const auto check = [&](const char *when) {
        codes.clear();
        Statement q(settings(), QStringLiteral("SELECT [拼音] FROM [药品]"));
        while (q.next())
            codes << q.text(0);
        const QStringList typed = probes(codes);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(drugs.searchByCode(t)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(drugs.searchByCode(t, 7)); }, when);
        for (const QString category : {QStringLiteral("中药"), QStringLiteral("%"), QStringLiteral("B"), QString()})
            expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(drugs.searchByCode(t, category, 200)); }, when);
    };
    check("loaded");
    for (int i = 0; i < 150; ++i) {
        const qint64 id = ids[int(random() % unsigned(ids.size()))];
        if (i % 3 == 0) {
            ids << drugs.insert(randomDrug());
        } else if (i % 3 == 1) {
            DrugRow row = randomDrug();
            row.rowId = id;
            drugs.update(row);
        } else {
            drugs.remove(id);
            ids.removeOne(id);
        }
    }
    check("after edits");
    {
        // Written and then rolled back: the index forgets it too.
        Transaction t(settings());
        DrugRow row = randomDrug();
        row.code = QStringLiteral("rolledback");
        drugs.insert(row);
        drugs.insert(randomDrug());
    }
    EXPECT_TRUE(drugs.searchByCode(QStringLiteral("rolledback")).isEmpty());
    check("after a rollback");
}

TEST_P(KeyIndexTest, CategoryListsAnswerAsTheWholeCatalogueStatement)
{
    DrugStore drugs(settings());
    const QStringList categories{QStringLiteral("中药"), QStringLiteral("中药饮片"), QStringLiteral("西药"), QStringLiteral("%_"),
                                 QStringLiteral("Ａb"), QStringLiteral("ab"), QStringLiteral("AB"), QStringLiteral("a\\b"), QString()};
    {
        Transaction t(settings());
        for (int i = 0; i < 500; ++i) {
            DrugRow row{0, randomText(6), random() % 8 ? randomText(5) : QStringLiteral("甘草"),
                        categories[int(random() % unsigned(categories.size()))]};
            const qint64 id = drugs.insert(row);
            if (row.category.isNull())
                Statement(settings(), QStringLiteral("UPDATE [药品] SET [分类] = NULL WHERE rowid = ?")).bind(1, id).run();
        }
        t.commit();
    }
    const auto byStatement = [&](const QString &pattern) {
        Statement q(settings(), QStringLiteral("SELECT rowid, [名称] FROM [药品] WHERE [分类] LIKE ? ESCAPE '\\' "
                                               "ORDER BY [名称] COLLATE PINYIN, rowid"));
        q.bind(1, pattern);
        Rows rows;
        while (q.next())
            rows << std::pair{q.int64(0), q.text(1)};
        return rows;
    };
    using Match = DrugStore::Match;
    for (const QString typed : {QStringLiteral("中药"), QStringLiteral("药"), QStringLiteral("饮片"), QStringLiteral("%"),
                                QStringLiteral("_"), QStringLiteral("b"), QStringLiteral("AB"), QStringLiteral("\\"),
                                QStringLiteral("无此类"), QString()}) {
        const QString literal = escapeLike(typed);
        EXPECT_EQ(plain(drugs.byCategory(typed, Match::Equal)), byStatement(literal)) << typed.toStdString();
        EXPECT_EQ(plain(drugs.byCategory(typed, Match::EndsWith)), byStatement(QLatin1Char('%') + literal)) << typed.toStdString();
        EXPECT_EQ(plain(drugs.byCategory(typed)), byStatement(QLatin1Char('%') + literal + QLatin1Char('%'))) << typed.toStdString();
    }
    if (onServer())
        return;
    // The statement reads the category index in name order: no sort of the catalogue.
    Statement plan(settings(), QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid, [名称] FROM [药品] INDEXED BY [药品_分类] "
                                              "WHERE [分类] IN (?) ORDER BY [名称] COLLATE PINYIN, rowid"));
    QString steps;
    while (plan.next())
        steps += plan.text(3) + QLatin1Char('\n');
    EXPECT_FALSE(steps.contains(QStringLiteral("TEMP B-TREE"))) << steps.toStdString();
}

TEST_P(KeyIndexTest, PatientKeysAnswerInKeyOrderWithTheCap)
{
    PatientStore patients(archive());
    QStringList keys;
    const auto save = [&](int from, int to) {
        Transaction t(archive());
        for (int i = from; i < to; ++i) {
            PatientRow row;
            row.name = randomText(4) + (i % 7 ? QStringLiteral("张") : QStringLiteral("王"));
            row.birthYear = QString::number(1950 + i % 60);
            row.key = row.name + QStringLiteral("zw") + row.birthYear;
            row.sex = QStringLiteral("男");
            patients.upsert(row);
            keys << row.key;
        }
        t.commit();
    };
    save(0, 500);
    archive().keyIndexes().loadNow();
    const auto pick = [&](const QString &t) { return plain(patients.pickList(t, 2026, 50)); };
    expectSameAsStatement(archive(), probes(keys), pick, "patients");
    save(0, 100);  // new patients, some of them under keys already stored
    archive().deleteWhere(QStringLiteral("患者信息"), QStringLiteral("出生年月"), QStringLiteral("1960"));
    expectSameAsStatement(archive(), probes(keys), pick, "patients after edits");
    // More rows match "张" than the cap: the first fifty in key order, as the statement gives.
    EXPECT_EQ(pick(QStringLiteral("张")).size(), 50);
}

TEST_P(KeyIndexTest, NameListsOrderSetsAndTemplatesFollowTheirStores)
{
    NameListStore diagnoses = NameListStore::diagnoses(settings());
    OrderSetStore orderSets(settings());
    HistoryTemplateStore templates(settings());
    QList<qint64> diagnosisIds, setIds, templateIds;
    const auto addAll = [&](int n) {
        for (int i = 0; i < n; ++i) {
            diagnosisIds << diagnoses.insert(randomText(5), randomText(4));
            DictionaryStore::insertNameListEntry(settings(), QStringLiteral("地址"), QStringLiteral("东") + randomText(5) + QStringLiteral("村"));
            setIds << orderSets.insert(OrderSetRow{0, QStringLiteral("组") + randomText(4),
                                                   i % 2 ? kOrderSetKind : kFormulaKind, QStringLiteral("c") + randomText(4),
                                                   QStringLiteral("内容")});
            templateIds << templates.insert(QStringLiteral("模") + randomText(4), randomText(3), QStringLiteral("内容"));
        }
    };
    addAll(150);
    settings().keyIndexes().loadNow();
    const auto check = [&](const char *when) {
        const QStringList typed = probes({QStringLiteral("aZ%_"), QStringLiteral("Ａ药'1")});
        NameListStore addresses = NameListStore::addresses(settings());
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(diagnoses.searchByKey(t, 20)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(diagnoses.searchByCode(t)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(addresses.searchByKey(t)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(orderSets.searchByCode(t, kOrderSetKind)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(orderSets.searchByCode(t, kFormulaKind)); }, when);
        expectSameAsStatement(settings(), typed, [&](const QString &t) { return plain(templates.searchByKey(t)); }, when);
    };
    check("loaded");
    addAll(30);
    for (int i = 0; i < 30; ++i) {
        diagnoses.remove(diagnosisIds.takeAt(int(random() % unsigned(diagnosisIds.size()))));
        orderSets.update(OrderSetRow{setIds[i], QStringLiteral("改") + randomText(3), kOrderSetKind, randomText(5), QStringLiteral("内容")});
        orderSets.remove(setIds[i + 40]);
        templates.update(templateIds[i], randomText(4), randomText(3), QStringLiteral("内容"));
        templates.remove(templateIds[i + 40]);
    }
    check("after edits");
}

TEST_P(KeyIndexTest, WritesWhileTheIndexLoadsInTheBackgroundAreNotLost)
{
    DrugStore drugs(settings());
    {
        Transaction t(settings());
        for (int i = 0; i < 3000; ++i)
            drugs.insert(DrugRow{0, randomText(6), randomText(4), QStringLiteral("西药"), {}, {}, 1});
        t.commit();
    }
    settings().keyIndexes().startLoading();
    QList<qint64> added;
    for (int i = 0; i < 20; ++i)
        added << drugs.insert(DrugRow{0, QStringLiteral("late%1").arg(i), QStringLiteral("后加"), QStringLiteral("西药"), {}, {}, 1});
    drugs.remove(added.takeFirst());
    while (!settings().keyIndexes().isLoaded())
        QThread::msleep(1);
    EXPECT_EQ(drugs.searchByCode(QStringLiteral("late")).size(), 19);
    expectSameAsStatement(settings(), {QStringLiteral("late"), QStringLiteral("a"), QString()},
                          [&](const QString &t) { return plain(drugs.searchByCode(t)); }, "background");
}

TEST_P(KeyIndexTest, NameSearchOfTheVisitBrowserListsTheStatementsVisits)
{
    VisitStore visits(archive());
    QStringList names;
    int second = 0;
    const auto saveVisit = [&](const QString &name, const QString &date) {
        VisitRecord v = sampleVisit(name, date, QStringLiteral("%1 08:%2:%3").arg(date).arg(second / 60 % 60, 2, 10, QLatin1Char('0')).arg(second % 60, 2, 10, QLatin1Char('0')));
        ++second;
        visits.save(v, 2026);
        return v.key;
    };
    for (int i = 0; i < 120; ++i) {
        names << randomText(3) + QStringLiteral("张");
        saveVisit(names.last(), QStringLiteral("20%1-0%2-1%3").arg(16 + i % 10).arg(1 + i % 9).arg(i % 10));
    }
    archive().keyIndexes().loadNow();
    ASSERT_NE(archive().keyIndexes().find(QStringLiteral("档案"), QStringLiteral("0")), nullptr);
    const QDate from(2016, 12, 8), to(2026, 12, 8);
    const auto search = [&](const QString &t) {
        Rows rows;
        for (const VisitListEntry &e : visits.list(t, from, to))
            rows << std::pair{e.rowId, e.text()};
        return rows;
    };
    expectSameAsStatement(archive(), probes(names), search, "visit names");
    // A new name is found at once; a deleted visit's name finds nothing more.
    const QString key = saveVisit(QStringLiteral("新来的Ａ"), QStringLiteral("2026-12-08"));
    EXPECT_EQ(search(QStringLiteral("来的")).size(), 1);
    visits.remove(key);
    EXPECT_TRUE(search(QStringLiteral("来的")).isEmpty());
    expectSameAsStatement(archive(), probes(names), search, "visit names after edits");
}

} // namespace
