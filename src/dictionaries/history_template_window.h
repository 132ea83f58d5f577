#pragma once

#include "dictionaries/entry_window.h"

namespace quillora {

class Database;

// The medical-history templates window "病史模板": named blocks of history text that the
// main window offers in its template list.
class HistoryTemplateWindow : public EntryWindow
{
    Q_OBJECT

public:
    explicit HistoryTemplateWindow(Database &settings, QWidget *parent = nullptr);

    // The adding flag: the next save appends a new template. The main window sets it too.
    bool b15() const { return m_adding; }
    void setB15(bool adding) { m_adding = adding; }

    // Opened from the history notes: the whole text as the content of a new template, the
    // name box empty and focused.
    void startEntry(const QString &content) { startNewEntry(content); }

Q_SIGNALS:
    // A save wrote a template: the main window reloads its template list.
    void templateSaved();

protected:
    void load() override;
    QList<ListedRow> listedRows() override;
    std::optional<Entry> entry(qint64 rowId) override;
    QString problem(const Entry &entry) const override;
    void insert(const Entry &entry) override;
    bool update(qint64 rowId, const Entry &entry) override;
    void removeRow(qint64 rowId) override;
    QString subject(const QString &name) const override;
    void saved() override { Q_EMIT templateSaved(); }

private:
    Database &m_settings;
};

} // namespace quillora
