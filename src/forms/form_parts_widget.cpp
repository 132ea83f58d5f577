#include "forms/form_parts_widget.h"

#include "forms/row_list_model.h"

#include "data/drug_store.h"
#include "forms/twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace quillora {

LineWidget::LineWidget(const TwipLine &line, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setLine(line);
}

void LineWidget::setLine(const TwipLine &line)
{
    m_line = line;
    const int thickness = std::max(1, line.width);
    const int x1 = Twips::toPixels(std::min(line.x1, line.x2));
    const int y1 = Twips::toPixels(std::min(line.y1, line.y2));
    const int x2 = Twips::toPixels(std::max(line.x1, line.x2));
    const int y2 = Twips::toPixels(std::max(line.y1, line.y2));
    setGeometry(x1, y1, std::max(x2 - x1, thickness), std::max(y2 - y1, thickness));
    update();
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

QSize WidestLineDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int columns = index.data(RowListModel::WidestColumnsRole).toInt();
    const int halfWidth = option.fontMetrics.horizontalAdvance(QLatin1Char('0'));
    size.setWidth(std::max(size.width(), (columns + 2) * halfWidth));
    return size;
}

void showWholeLines(QListView *view)
{
    view->setUniformItemSizes(true);
    view->setTextElideMode(Qt::ElideNone);
    view->setItemDelegate(new WidestLineDelegate(view));
}

RowList::RowList(QWidget *parent) : QListView(parent), m_rows(new RowListModel(this))
{
    setModel(m_rows);
    showWholeLines(this);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) { Q_EMIT picked(index.row()); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) { Q_EMIT lineClicked(index.row()); });
}

void RowList::fill(const QList<ListedRow> &rows) { m_rows->setRows(rows); }

void RowList::clear() { m_rows->clear(); }

int RowList::count() const { return m_rows->rowCount(); }

QString RowList::textAt(int index) const { return m_rows->textAt(index); }

qint64 RowList::rowIdAt(int index) const { return m_rows->rowIdAt(index); }

int RowList::currentRow() const { return currentIndex().row(); }

void RowList::setCurrentRow(int index) { setCurrentIndex(m_rows->index(index, 0)); }

void RowList::keyPressEvent(QKeyEvent *event)
{
    // Enter on an entry acts as a double-click; the key goes no further.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        Q_EMIT picked(currentRow());
        return;
    }
    QListView::keyPressEvent(event);
}

QLabel *formLabel(const QString &name, const QString &text, const FontSpec &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font.font());
    label->setMargin(0);
    label->setIndent(0);
    label->setContentsMargins(0, 0, 0, 0);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
    return label;
}

QLineEdit *formLineEdit(const QString &name, const FontSpec &font, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFont(font.font());
    edit->setFrame(false);
    edit->setTextMargins(0, 0, 0, 0);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0px; }"));
    return edit;
}

void makePaper(QWidget *panel)
{
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(p);
}

void placeAt(QWidget *widget, const TwipRect &rect) { placeAt(widget, rect.left, rect.top, rect.width, rect.height); }

void placeAt(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(Twips::toPixels(left, top, width, height));
}

void centreOnScreen(QWidget *window, double reservedTwips)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.x() + std::max(0, (area.width() - frame.width()) / 2),
                 area.y() + std::max(0, (area.height() - Twips::toPixels(reservedTwips) - frame.height()) / 2));
}

QString indexedName(const char *array, int index) { return QLatin1String(array) + QLatin1Char('_') + QString::number(index); }

} // namespace quillora
