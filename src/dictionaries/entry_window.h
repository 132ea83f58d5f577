#pragma once

#include "data/drug_store.h"
#include "dictionaries/dictionary_window_gui.h"
#include "dictionaries/kept_text.h"

#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillora {

class DictionaryListWidget;

// What the order-set and template windows share: a list of named blocks of text, the boxes to
// edit one, and an adding flag that decides whether a save appends or overwrites. A list on the
// left, name and code boxes over the content on the right, four buttons below.
class EntryWindow : public DictionaryWindow
{
    Q_OBJECT

public:
    DictionaryListWidget *list() const { return m_list; }
    void add();
    void save();
    void removeSelected();

protected:
    struct Entry
    {
        QString name;
        QString code;
        QString content;
    };

    // The boxes' captions as they read; the content box is named `contentName`; the face starts
    // `top` twips down.
    EntryWindow(QWidget *parent, const QString &title, const QString &nameCaption, const QString &codeCaption,
                const QString &contentName, int top);

    // The rows the list shows, and one of them.
    virtual QList<ListedRow> listedRows() = 0;
    virtual std::optional<Entry> entry(qint64 rowId) = 0;
    // The content as a save writes it.
    virtual QString contentToStore(const QString &content) const { return content; }
    // Why the entry cannot be stored; empty when it can.
    virtual QString problem(const Entry &entry) const = 0;
    // The writes; they throw when the database refuses. `update` is false when the row is gone.
    virtual void insert(const Entry &entry) = 0;
    virtual bool update(qint64 rowId, const Entry &entry) = 0;
    virtual void removeRow(qint64 rowId) = 0;
    // How a failure names the entry: "“感冒方”", "模板“头痛”".
    virtual QString subject(const QString &name) const = 0;
    // After a save or a delete has been written.
    virtual void saved() {}
    virtual void removed() {}

    // Opened afresh: empty boxes, the save enabled; then the list filled.
    void load() override;
    void fill();
    // Opened from the main window: the text as the content of a new entry, name box focused.
    void startNewEntry(const QString &content);

    bool m_adding = false;
    bool m_loading = false;          // an entry is being copied into the boxes
    bool m_showingEndsAdding = false;  // whether showing an entry clears the adding flag

private:
    void showLine(int line);
    void clearBoxes();

    DictionaryListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_code = nullptr;
    QPlainTextEdit *m_content = nullptr;
    QPushButton *m_save = nullptr;
    KeptText m_shownContent;
};

// The order-set and template windows sit 225 twips above the centre of the screen.
namespace EntryWindowLayout {
constexpr int kWidth = 8760, kHeight = 6600;
constexpr double kReservedBelow = 450;
} // namespace EntryWindowLayout

} // namespace quillora
