#pragma once

#include "dictionaries/dictionary_window_gui.h"
#include "dictionaries/drug_catalogue.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillora {

class ClickLabel;
class Database;
class DictionaryListWidget;

// The drug catalogue window "药品维护": drugs and usage phrases by category or by code, with
// the fields to add, change and delete them.
class DrugCatalogueWindow : public DictionaryWindow
{
    Q_OBJECT

public:
    explicit DrugCatalogueWindow(Database &settings, QWidget *parent = nullptr);

    int currentView() const { return m_view; }
    bool isAdding() const { return m_adding; }
    DictionaryListWidget *list() const { return m_list; }

    // The window's actions, as its buttons and boxes run them.
    void chooseView(int view);
    void add();
    void save();
    void removeSelected();
    void quickInsert(const QString &text);

Q_SIGNALS:
    // A drug was added, changed or deleted.
    void catalogueChanged();

protected:
    void load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void buildFields(QWidget *frame);
    void fill(const DrugListFilter &filter);
    void boldView(int view);
    void searchChanged(const QString &text);
    void showLine(int line);
    void clearFields();
    void nameChanged();
    void priceChanged();
    DrugFields fields() const;

    Database &m_settings;
    std::array<QPushButton *, DrugViews::kViewCount> m_views{};
    QLineEdit *m_search = nullptr;
    DictionaryListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_usage = nullptr;
    QLineEdit *m_code = nullptr;
    QComboBox *m_category = nullptr;
    QLineEdit *m_quantity = nullptr;
    QComboBox *m_unit = nullptr;
    QLineEdit *m_price = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_save = nullptr;

    int m_view = 0;
    bool m_adding = false;
    QLineEdit *m_insertTarget = nullptr;  // the name or usage box that last had the focus
    DrugListFilter m_filter;              // what filled the list last
};

} // namespace quillora
