#pragma once

#include <QAbstractItemView>
#include <QRect>
#include <QStringList>

namespace quillora::test {

// The lines of a list view as the user sees them, read through its model.
inline int lineCount(const QAbstractItemView *view) { return view->model()->rowCount(); }
inline QString lineText(const QAbstractItemView *view, int line) { return view->model()->index(line, 0).data().toString(); }
inline QStringList lineTexts(const QAbstractItemView *view)
{
    QStringList lines;
    for (int i = 0; i < lineCount(view); ++i)
        lines << lineText(view, i);
    return lines;
}
// Where a line is drawn, for clicking it.
inline QRect lineRect(const QAbstractItemView *view, int line) { return view->visualRect(view->model()->index(line, 0)); }
inline void selectLine(QAbstractItemView *view, int line) { view->setCurrentIndex(view->model()->index(line, 0)); }
inline int currentLine(const QAbstractItemView *view) { return view->currentIndex().row(); }

} // namespace quillora::test
