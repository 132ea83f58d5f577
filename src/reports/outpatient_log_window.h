#pragma once

#include "data/dates.h"
#include "data/visit_store.h"
#include "reports/log_book_print.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QListView;

namespace quillora {

class LogLinesModel;
class Workspace;

// The outpatient log: the visits of a date range as a list, as the printed log book and as a
// spreadsheet workbook. Its only write is its own pair of print margins.
class OutpatientLogWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OutpatientLogWindow(Workspace &workspace, QWidget *parent = nullptr);

    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QLineEdit *leftMarginBox() const { return m_left; }
    QLineEdit *topMarginBox() const { return m_top; }
    QLineEdit *exportPathBox() const { return m_exportPath; }
    QListView *list() const { return m_list; }
    QLabel *countLabel() const { return m_count; }
    QStringList lines() const;

    // "查  询", "打  印" (and its preview), "导出到Excel"; true when something was listed,
    // printed or written.
    bool query();
    bool print();
    void printPreview();
    bool exportWorkbook();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void load();
    // The two date boxes as a range, written back in their stored form; warns when they are not dates.
    std::optional<DateRange> readRange();
    // The visits of the range; tells the doctor when the archive cannot be read.
    std::optional<QList<LogEntry>> readVisits(const DateRange &range);
    // What to print, or nothing (and the doctor is told why).
    std::optional<QList<LogEntry>> visitsToPrint();
    LogBookSettings bookSettings() const;
    bool storeMargins();

    Workspace &m_workspace;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QLineEdit *m_left = nullptr;
    QLineEdit *m_top = nullptr;
    QLineEdit *m_exportPath = nullptr;
    QListView *m_list = nullptr;
    LogLinesModel *m_model = nullptr;
    QLabel *m_count = nullptr;
    bool m_centred = false;
};

} // namespace quillora
