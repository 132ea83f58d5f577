#include "workstation/drug_entry_widget.h"

#include "data/order_set_store.h"
#include "workstation/drug_search.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace quillora {

DrugEntryWidget::DrugEntryWidget(Database &settings, QWidget *parent) : QFrame(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("drugEntry"));
    placeAt(this, DrugEntryLayout::kLeft, DrugEntryLayout::kTop, DrugEntryLayout::kWidth, DrugEntryLayout::kHeight);
    build();
}

void DrugEntryWidget::build()
{
    const FontSpec buttonFont{QStringLiteral("宋体"), 9, false};
    for (int k = 0; k < kDrugCategoryCount; ++k) {
        auto *b = new QPushButton(categoryCaption(k), this);
        b->setObjectName(indexedName("Command1", k));
        b->setFont(buttonFont.font());
        b->setFocusPolicy(Qt::NoFocus);
        placeAt(b, 60 + (k % 3) * 1155, 60 + (k / 3) * 360, 1125, 330);
        connect(b, &QPushButton::clicked, this, [this, k] { chooseCategory(k); });
        m_buttons[k] = b;
    }
    const FontSpec captionFont{QStringLiteral("宋体"), 9, true};
    m_searchCaption = new ClickLabel(QStringLiteral("拼音码查询："), this);
    m_searchCaption->setObjectName(QStringLiteral("Label5_17"));
    m_searchCaption->setFont(captionFont.font());
    m_searchCaption->adjustSize();
    m_searchCaption->move(Twips::toPixels(60, 1965));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Text1"));
    placeAt(m_search, 1260, 1890, 1560, 330);
    m_keyboardCaption = new ClickLabel(QStringLiteral("软键盘"), this);
    m_keyboardCaption->setObjectName(QStringLiteral("Label6"));
    m_keyboardCaption->setFont(captionFont.font());
    m_keyboardCaption->setStyleSheet(QStringLiteral("color: #1a5fb4;"));
    m_keyboardCaption->adjustSize();
    m_keyboardCaption->move(Twips::toPixels(2910, 1965));
    m_list = new RowList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(FontSpec{QStringLiteral("宋体"), 10.5, false}.font());
    placeAt(m_list, 60, 2310, DrugEntryLayout::kWidth - 120, DrugEntryLayout::kHeight - 2370);

    connect(m_search, &QLineEdit::textChanged, this, &DrugEntryWidget::search);
    connect(m_list, &RowList::picked, this, &DrugEntryWidget::pick);
    connect(m_keyboardCaption, &ClickLabel::clicked, this, &DrugEntryWidget::keyboardRequested);
    m_search->installEventFilter(this);
}

void DrugEntryWidget::show(const PickList &entries)
{
    m_listHoldsOrderSets = entries.rowsAreOrderSets();
    m_list->fill(entries.rows);
}

void DrugEntryWidget::chooseCategory(int index, bool focusSearch)
{
    for (int k = 0; k < kDrugCategoryCount; ++k) {
        QFont f = m_buttons[k]->font();
        f.setBold(k == index);
        m_buttons[k]->setFont(f);
    }
    m_category = index;
    m_listedBySearch = false;
    if (focusSearch)
        m_search->setFocus();
    m_list->clear();
    try {
        show(pickListForCategory(m_settings, index));
    } catch (const std::exception &) {
        // An unreadable catalogue leaves the list empty.
    }
}

void DrugEntryWidget::search(const QString &text)
{
    m_listedBySearch = true;
    m_list->clear();
    try {
        show(pickListForSearch(m_settings, m_category, text));
    } catch (const std::exception &) {
    }
}

void DrugEntryWidget::pick(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    DrugPick result{m_category, m_list->textAt(index)};
    if (m_listHoldsOrderSets) {
        // An order set is inserted from the row its entry stands for.
        std::optional<OrderSetRow> row;
        try {
            row = OrderSetStore(m_settings).byRowId(m_list->rowIdAt(index));
        } catch (const std::exception &) {
        }
        if (!row)
            return;
        result.text = row->content;
    }
    Q_EMIT picked(result);
}

void DrugEntryWidget::refresh()
{
    if (m_listedBySearch)
        search(m_search->text());
    else if (m_category)
        chooseCategory(*m_category, false);
}

void DrugEntryWidget::finishPick()
{
    m_search->clear();
    m_search->setFocus();
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
}

bool DrugEntryWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && event->type() == QEvent::FocusIn)
        Q_EMIT searchFocused();
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down) {
            m_list->setFocus();
            if (m_list->count() > 0)
                m_list->setCurrentRow(0);
            return true;
        }
        if (const auto category = categoryForKey(key->key())) {
            chooseCategory(*category, false);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace quillora
