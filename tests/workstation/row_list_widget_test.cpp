#include "data/drug_store.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"
#include "forms/row_list_model.h"

#include <QScrollBar>
#include <gtest/gtest.h>

using namespace quillora;

namespace {

const QString kShort = QStringLiteral("甘草");
const QString kLong = QStringLiteral("注射用阿莫西林钠克拉维酸钾 1.2g×10支\\静脉滴注 每日2次 皮试阴性后使用");

// The whole of every line can be scrolled to, and none is cut short with an ellipsis,
// whatever the first line's length.
template <typename View>
void expectWholeLines(View &view, int longLine)
{
    view.resize(160, 120);
    view.show();
    const QModelIndex index = view.model()->index(longLine, 0);
    EXPECT_EQ(view.textElideMode(), Qt::ElideNone);
    EXPECT_GE(view.visualRect(index).width(), view.fontMetrics().horizontalAdvance(kLong));
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
}

TEST(RowListWidgetTest, ScrollsToTheEndOfLinesLongerThanTheFirst)
{
    RowList list;
    list.fill({{1, kShort}, {2, kLong}, {3, kShort}});
    expectWholeLines(list, 1);

    list.fill({{4, kShort}});
    EXPECT_EQ(list.rows()->index(0, 0).data(RowListModel::WidestColumnsRole).toInt(), 4);
}

TEST(RowListWidgetTest, DictionaryListWidensForAnAppendedLine)
{
    DictionaryListWidget list;
    list.fill({{1, kShort}});
    list.appendAndSelect({2, kLong});
    expectWholeLines(list, 1);
}

} // namespace
