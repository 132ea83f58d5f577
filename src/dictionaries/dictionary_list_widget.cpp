#include "dictionaries/dictionary_list_widget.h"

#include "forms/form_parts_widget.h"
#include "forms/sheet_layout.h"

#include <QMenu>
#include <QMouseEvent>

namespace quillora {

DictionaryListWidget::DictionaryListWidget(QWidget *parent) : QListView(parent), m_model(new RowListModel(this))
{
    setModel(m_model);
    // The size the main window's pick lists read in.
    setFont(FontSpec{QStringLiteral("宋体"), 10.5, false}.font());
    showWholeLines(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            Q_EMIT lineSelected(current.row());
    });
}

void DictionaryListWidget::fill(QList<ListedRow> rows)
{
    m_model->setRows(std::move(rows));
    scrollToTop();
}

int DictionaryListWidget::currentLine() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void DictionaryListWidget::selectLine(int line)
{
    const QModelIndex index = m_model->index(line, 0);
    if (!index.isValid())
        return;
    if (currentIndex() == index) {
        // Already current: select it again and report it all the same, as a click would.
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        Q_EMIT lineSelected(line);
    } else {
        setCurrentIndex(index);
    }
    scrollTo(index);
}

void DictionaryListWidget::appendAndSelect(const ListedRow &row) { selectLine(m_model->append(row)); }

void DictionaryListWidget::enableDeleteMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("listMenu"));
    QAction *remove = m_menu->addAction(QStringLiteral("删除"));
    remove->setObjectName(QStringLiteral("listMenu_删除"));
    connect(remove, &QAction::triggered, this, &DictionaryListWidget::deleteRequested);
    QAction *cancel = m_menu->addAction(QStringLiteral("取消"));
    cancel->setObjectName(QStringLiteral("listMenu_取消"));
}

void DictionaryListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (m_menu && event->button() == Qt::RightButton && count() > 0)
        m_menu->popup(event->globalPosition().toPoint());
}

} // namespace quillora
