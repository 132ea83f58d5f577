#pragma once

#include "forms/sheet_layout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>
#include <QWidget>

namespace quillora {

// A ruled line of a paper form, placed by its twip endpoints inside its panel.
class LineWidget : public QWidget
{
    Q_OBJECT

public:
    LineWidget(const TwipLine &line, QWidget *parent);
    const TwipLine &line() const { return m_line; }
    void setLine(const TwipLine &line);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TwipLine m_line;
};

// A caption that reports clicks (the form's clickable labels and the kind box).
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class RowListModel;

// Lines of one height that are as wide as the model's widest line, so that a view of uniform
// lines scrolls sideways to the end of every line, not only of its first.
class WidestLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// Uniform lines, never cut short with an ellipsis: a long line is scrolled to.
void showWholeLines(QListView *view);

// A pick list whose entries keep the row they stand for: a view over its own list of rows,
// filled in one go, every line the same height, so a long list costs what a screenful does.
class RowList : public QListView
{
    Q_OBJECT

public:
    explicit RowList(QWidget *parent = nullptr);
    void fill(const QList<struct ListedRow> &rows);
    void clear();
    RowListModel *rows() const { return m_rows; }
    int count() const;
    QString textAt(int index) const;
    qint64 rowIdAt(int index) const;
    int currentRow() const;
    void setCurrentRow(int index);
    qint64 currentRowId() const { return rowIdAt(currentRow()); }

Q_SIGNALS:
    // Double-click or Enter on an entry.
    void picked(int index);
    // A click on an entry.
    void lineClicked(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    RowListModel *m_rows;
};

// Builders for the form's plain elements, named the way tests and tools find them.
QLabel *formLabel(const QString &name, const QString &text, const FontSpec &font, QWidget *parent);
QLineEdit *formLineEdit(const QString &name, const FontSpec &font, QWidget *parent);
// Paper-white background with black ink, for the form's panels.
void makePaper(QWidget *panel);
// Places a widget at a twip rectangle of its parent.
void placeAt(QWidget *widget, const TwipRect &rect);
void placeAt(QWidget *widget, double left, double top, double width, double height);
// Centres a window on the screen's free area, leaving `reservedTwips` below it unused.
void centreOnScreen(QWidget *window, double reservedTwips = 0);
// The indexed name of an array element: Text7_3.
QString indexedName(const char *array, int index);

} // namespace quillora
