#include "dictionaries/order_set_window.h"

#include "data/order_set_store.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"

#include <QRadioButton>

namespace quillora {

namespace {

const QString kKinds[2] = {kOrderSetKind, kFormulaKind};

} // namespace

OrderSetWindow::OrderSetWindow(Database &settings, QWidget *parent)
    : EntryWindow(parent, QStringLiteral("个人组套/中医验方维护"), QStringLiteral("名称"), QStringLiteral("拼音"),
                  QStringLiteral("Text2"), 540),
      m_settings(settings), m_kind(kOrderSetKind)
{
    setObjectName(QStringLiteral("Form11"));
    for (int i = 0; i < 2; ++i) {
        m_options[i] = new QRadioButton(kKinds[i], this);
        m_options[i]->setObjectName(indexedName("Option1", i));
        placeAt(m_options[i], 120 + i * 1560, 120, 1440, 330);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { chooseKind(i); });
    }
    m_options[0]->setChecked(true);
}

void OrderSetWindow::load()
{
    m_kind = kOrderSetKind;
    m_options[0]->setChecked(true);
    EntryWindow::load();
    // The window opens adding: its first save appends, whatever line was clicked.
    m_adding = true;
}

void OrderSetWindow::chooseKind(int option)
{
    m_kind = kKinds[option];
    m_options[option]->setChecked(true);
    fill();
    list()->selectLine(0);
}

void OrderSetWindow::startEntry(int option, const QString &content)
{
    chooseKind(option);
    startNewEntry(content);
}

QList<ListedRow> OrderSetWindow::listedRows() { return OrderSetStore(m_settings).ofKindExactly(m_kind); }

std::optional<EntryWindow::Entry> OrderSetWindow::entry(qint64 rowId)
{
    const auto row = OrderSetStore(m_settings).byRowId(rowId);
    return row ? std::optional<Entry>(Entry{row->name, row->code, row->content}) : std::nullopt;
}

QString OrderSetWindow::contentToStore(const QString &content) const { return orderSetContentToStore(content); }

QString OrderSetWindow::problem(const Entry &entry) const { return orderSetProblem(entry.name, entry.code, entry.content); }

void OrderSetWindow::insert(const Entry &entry)
{
    OrderSetStore(m_settings).insert({0, entry.name, m_kind, entry.code, entry.content});
}

bool OrderSetWindow::update(qint64 rowId, const Entry &entry)
{
    return OrderSetStore(m_settings).update({rowId, entry.name, m_kind, entry.code, entry.content});
}

void OrderSetWindow::removeRow(qint64 rowId) { OrderSetStore(m_settings).remove(rowId); }

QString OrderSetWindow::subject(const QString &name) const { return QStringLiteral("“%1”").arg(name); }

} // namespace quillora
