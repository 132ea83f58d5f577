#pragma once

#include "dictionaries/dictionary_window_gui.h"
#include "dictionaries/kept_text.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillora {

class Database;
class DictionaryListWidget;

// The medical-history templates window "病史模板": named blocks of history text that the
// main window offers in its template list.
class HistoryTemplateWindow : public DictionaryWindow
{
    Q_OBJECT

public:
    explicit HistoryTemplateWindow(Database &settings, QWidget *parent = nullptr);

    // The adding flag: the next save appends a new template. The main window sets it too.
    bool b15() const { return m_b15; }
    void setB15(bool adding) { m_b15 = adding; }
    DictionaryListWidget *list() const { return m_list; }

    // Opened from the history notes: the whole text as the content of a new template, the
    // name box empty and focused.
    void startEntry(const QString &content);
    void add();
    void save();
    void removeSelected();

Q_SIGNALS:
    // A save wrote a template: the main window reloads its template list.
    void templateSaved();

protected:
    void load() override;

private:
    void fill();
    void showLine(int line);

    Database &m_settings;
    DictionaryListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_code = nullptr;
    QPlainTextEdit *m_content = nullptr;
    QPushButton *m_save = nullptr;
    KeptText m_shownContent;
    bool m_b15 = false;
    bool m_b16 = false;  // a template is being copied into the boxes
};

} // namespace quillora
