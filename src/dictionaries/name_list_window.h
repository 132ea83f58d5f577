#pragma once

#include "dictionaries/dictionary_window_gui.h"
#include "dictionaries/name_list_store.h"

class QLineEdit;
class QPushButton;

namespace quillora {

class Database;
class DictionaryListWidget;

// What tells the diagnosis window from the address window.
struct NameListKind
{
    QString objectName;  // Form3 / Form4
    QString title;
    QString table;
    QString nameCaption;  // the label of the name box, with its colon
    static NameListKind diagnoses();
    static NameListKind addresses();
};

// The diagnosis list "诊断名称维护" or the address list "地址名称维护": names are searched,
// added and deleted here, never edited.
class NameListWindow : public DictionaryWindow
{
    Q_OBJECT

public:
    NameListWindow(Database &settings, const NameListKind &kind, QWidget *parent = nullptr);

    DictionaryListWidget *list() const { return m_list; }
    void save();
    void removeSelected();

protected:
    void load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search(const QString &text);
    NameListStore store() const { return NameListStore(m_settings, m_kind.table); }

    Database &m_settings;
    NameListKind m_kind;
    QLineEdit *m_search = nullptr;
    DictionaryListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_code = nullptr;
};

} // namespace quillora
