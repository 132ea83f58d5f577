#pragma once

#include "forms/row_list_model.h"

#include <QListView>

class QMenu;

namespace quillora {

// A dictionary list: one line per row, each line keeping its row id; optionally with the
// pop-up menu "删除" / "取消" on a right-button release.
class DictionaryListWidget : public QListView
{
    Q_OBJECT

public:
    explicit DictionaryListWidget(QWidget *parent = nullptr);

    RowListModel *rows() const { return m_model; }
    // Replaces every line at once; no line is selected afterwards.
    void fill(QList<ListedRow> rows);
    void clearLines() { fill({}); }
    int count() const { return m_model->rowCount(); }
    // The selected line, -1 when none is.
    int currentLine() const;
    // The row id of the selected line, 0 when no line is selected.
    qint64 currentRowId() const { return m_model->rowIdAt(currentLine()); }
    QString lineText(int line) const { return m_model->textAt(line); }
    // Selects a line (which reports it like a click) and shows it.
    void selectLine(int line);
    // Adds a line at the end and selects it.
    void appendAndSelect(const ListedRow &row);
    void enableDeleteMenu();
    QMenu *menu() const { return m_menu; }

Q_SIGNALS:
    // A line was clicked or selected (by keys or by the program).
    void lineSelected(int line);
    void deleteRequested();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    RowListModel *m_model = nullptr;
    QMenu *m_menu = nullptr;
};

} // namespace quillora
