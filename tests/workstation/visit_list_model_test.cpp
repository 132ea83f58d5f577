#include "workstation/visit_list_model.h"

#include <gtest/gtest.h>

using namespace quillora;

namespace {

QList<VisitListEntry> entries(int count)
{
    QList<VisitListEntry> list;
    for (int i = 0; i < count; ++i)
        list << VisitListEntry{i + 1, QStringLiteral("2026-12-08 09:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')),
                               QStringLiteral("张三%1").arg(i), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("2026-12-08")};
    return list;
}

QStringList shownLines(const VisitListModel &model)
{
    QStringList lines;
    for (int i = 0; i < model.rowCount(); ++i)
        lines << model.index(i, 0).data().toString();
    return lines;
}

TEST(VisitListModelTest, HandsTheViewEveryLineOfTheResultBatchByBatchAsTheListShowedThem)
{
    const QList<VisitListEntry> result = entries(VisitListModel::kBatch * 2 + 7);
    VisitListModel model;
    model.setEntries(result);
    EXPECT_EQ(model.rowCount(), VisitListModel::kBatch);
    EXPECT_EQ(model.entryCount(), result.size());
    while (model.canFetchMore({}))
        model.fetchMore({});
    QStringList expected;
    for (const VisitListEntry &e : result)
        expected << e.text();  // the text the result list showed for each visit
    EXPECT_EQ(shownLines(model), expected);
    EXPECT_EQ(model.index(3, 0).data(VisitListModel::KeyRole).toString(), result[3].key);
    EXPECT_EQ(model.index(3, 0).data(VisitListModel::RowIdRole).toLongLong(), result[3].rowId);
    EXPECT_FALSE(model.canFetchMore({}));
}

TEST(VisitListModelTest, ADeletedVisitLeavesTheResultWhetherShownYetOrNot)
{
    QList<VisitListEntry> result = entries(VisitListModel::kBatch + 10);
    result[5].key = result[VisitListModel::kBatch + 4].key = QStringLiteral("2026-12-08 10:00:00");
    VisitListModel model;
    model.setEntries(result);
    model.removeKey(QStringLiteral("2026-12-08 10:00:00"));
    EXPECT_EQ(model.entryCount(), result.size() - 2);
    EXPECT_EQ(model.rowCount(), VisitListModel::kBatch - 1);
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_FALSE(shownLines(model).contains(result[5].text()));
    EXPECT_FALSE(shownLines(model).contains(result[VisitListModel::kBatch + 4].text()));
    model.removeAt(0);
    EXPECT_EQ(model.keyAt(0), result[1].key);
    EXPECT_EQ(model.keyAt(-1), QString());
    EXPECT_EQ(model.keyAt(model.rowCount()), QString());
}

// A result read page by page asks for a page only when the view has shown all it holds, and
// after a short page asks no more.
TEST(VisitListModelTest, ReadsTheNextPageOnlyWhenTheViewReachesTheEnd)
{
    const QList<VisitListEntry> result = entries(VisitListModel::kBatch * 2 + 7);
    QList<QString> askedAfter;
    const auto nextPage = [&](const VisitListEntry &after) {
        askedAfter << after.name;
        const auto at = std::find_if(result.begin(), result.end(), [&](const VisitListEntry &e) { return e.rowId == after.rowId; });
        const qsizetype start = at - result.begin() + 1;
        return result.mid(start, VisitListModel::kBatch);
    };
    VisitListModel model;
    model.setEntries(result.mid(0, VisitListModel::kBatch), nextPage);
    EXPECT_TRUE(askedAfter.isEmpty());
    EXPECT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(askedAfter, QList<QString>{result[VisitListModel::kBatch - 1].name});
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(askedAfter.size(), 2);
    QStringList expected;
    for (const VisitListEntry &e : result)
        expected << e.text();
    EXPECT_EQ(shownLines(model), expected);

    model.setEntries(result.mid(0, 3), nextPage);  // a short first page is the whole result
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(askedAfter.size(), 2);
}

} // namespace
