#pragma once

#include "workstation/drug_categories.h"

#include <QFrame>
#include <array>

class QLineEdit;
class QPushButton;

namespace quillora {

class ClickLabel;
class Database;
class RowList;

// What a pick hands to the body: the category it came from and the text to insert
// (the entry's text for drugs and herbs, the stored content for order sets and formulas).
struct DrugPick
{
    CurrentCategory category;
    QString text;
};

// The drug entry: fifteen category buttons, the pinyin search box and the pick list.
class DrugEntryWidget : public QFrame
{
    Q_OBJECT

public:
    DrugEntryWidget(Database &settings, QWidget *parent = nullptr);

    QLineEdit *searchBox() const { return m_search; }
    RowList *list() const { return m_list; }
    QPushButton *categoryButton(int index) const { return m_buttons[index]; }
    ClickLabel *searchCaption() const { return m_searchCaption; }
    ClickLabel *keyboardCaption() const { return m_keyboardCaption; }
    CurrentCategory currentCategory() const { return m_category; }

    // A category button or its function key: bold button, list of the category.
    void chooseCategory(int index, bool focusSearch = true);
    // After a pick: the search box empties and takes the focus, the list loses its selection.
    void finishPick();
    // Lists again what the list shows (a category or a search), after the dictionaries changed.
    void refresh();

Q_SIGNALS:
    void picked(const DrugPick &pick);
    void searchFocused();
    void keyboardRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void search(const QString &text);
    void pick(int index);
    void show(const struct PickList &entries);

    Database &m_settings;
    std::array<QPushButton *, kDrugCategoryCount> m_buttons{};
    ClickLabel *m_searchCaption = nullptr;
    ClickLabel *m_keyboardCaption = nullptr;
    QLineEdit *m_search = nullptr;
    RowList *m_list = nullptr;
    CurrentCategory m_category;
    bool m_listHoldsOrderSets = false;
    bool m_listedBySearch = false;
};

namespace DrugEntryLayout {
constexpr int kLeft = 60, kTop = 810, kWidth = 3555, kHeight = 6030;
} // namespace DrugEntryLayout

} // namespace quillora
