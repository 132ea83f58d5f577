#pragma once

#include "dictionaries/entry_window.h"

#include <array>

class QRadioButton;

namespace quillora {

class Database;

// The order sets and TCM formulas window "个人组套/中医验方维护": named blocks of prescription
// text of the chosen kind, added, changed and deleted here.
class OrderSetWindow : public EntryWindow
{
    Q_OBJECT

public:
    explicit OrderSetWindow(Database &settings, QWidget *parent = nullptr);

    // The adding flag: the next save appends a new entry. The main window sets it too.
    bool bb() const { return m_adding; }
    void setBb(bool adding) { m_adding = adding; }
    QString currentKind() const { return m_kind; }

    // The option buttons: 0 "个人组套", 1 "中医验方".
    void chooseKind(int option);
    // Opened from the prescription: the text as the content of a new entry of the kind
    // (option 1 for formulas), the name box empty and focused.
    void startEntry(int option, const QString &content);

Q_SIGNALS:
    void orderSetsChanged();

protected:
    void load() override;
    QList<ListedRow> listedRows() override;
    std::optional<Entry> entry(qint64 rowId) override;
    QString contentToStore(const QString &content) const override;
    QString problem(const Entry &entry) const override;
    void insert(const Entry &entry) override;
    bool update(qint64 rowId, const Entry &entry) override;
    void removeRow(qint64 rowId) override;
    QString subject(const QString &name) const override;
    void saved() override { Q_EMIT orderSetsChanged(); }
    void removed() override { Q_EMIT orderSetsChanged(); }

private:
    Database &m_settings;
    std::array<QRadioButton *, 2> m_options{};
    QString m_kind;
};

} // namespace quillora
