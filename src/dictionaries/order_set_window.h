#pragma once

#include "dictionaries/dictionary_window_gui.h"
#include "dictionaries/kept_text.h"

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quillora {

class Database;
class DictionaryListWidget;

// The order sets and TCM formulas window "个人组套/中医验方维护": named blocks of prescription
// text of the chosen kind, added, changed and deleted here.
class OrderSetWindow : public DictionaryWindow
{
    Q_OBJECT

public:
    explicit OrderSetWindow(Database &settings, QWidget *parent = nullptr);

    // The adding flag: the next save appends a new entry. The main window sets it too.
    bool bb() const { return m_bb; }
    void setBb(bool adding) { m_bb = adding; }
    QString currentKind() const { return m_kind; }
    DictionaryListWidget *list() const { return m_list; }

    // The option buttons: 0 "个人组套", 1 "中医验方".
    void chooseKind(int option);
    // Opened from the prescription: the text as the content of a new entry of the kind
    // (1 for formulas), the name box empty and focused.
    void startEntry(int option, const QString &content);
    void add();
    void save();
    void removeSelected();

Q_SIGNALS:
    void orderSetsChanged();

protected:
    void load() override;

private:
    void fill();
    void showLine(int line);

    Database &m_settings;
    std::array<QRadioButton *, 2> m_options{};
    DictionaryListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_code = nullptr;
    QPlainTextEdit *m_content = nullptr;
    QPushButton *m_save = nullptr;
    KeptText m_shownContent;
    QString m_kind;
    bool m_bb = false;
    bool m_bb1 = false;  // an entry is being copied into the boxes
};

} // namespace quillora
