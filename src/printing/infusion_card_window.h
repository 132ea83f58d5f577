#pragma once

#include <memory>

#include "data/visit_record.h"
#include "printing/infusion_card_layout.h"
#include "printing/infusion_card_print.h"
#include "printing/print_steps.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace quillora {

class CardPrintSettings;

class RowList;
class VisitSource;
class Workspace;

// The infusion execution card of the visit on screen: filled from the visit (or from the card
// saved with it), completed by doctor or nurse, saved into the visit's row and printed as laid out.
class InfusionCardWindow : public QWidget
{
    Q_OBJECT

public:
    InfusionCardWindow(Workspace &workspace, VisitSource &visit, QWidget *parent = nullptr);
    ~InfusionCardWindow() override;

    QLineEdit *headerField(int index) const { return m_header[index]; }
    QLineEdit *cell(int column, int row) const { return m_cells[column][row]; }
    RowList *pickList() const { return m_pickList; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    // The row whose name cell last had the focus.
    int currentRow() const { return m_currentRow; }
    // Edits not saved yet.
    bool isModified() const { return m_modified; }

    InfusionCardContent content() const;
    CardMargins margins() const;
    InfusionCardLists lists() const;

    // Saves the visit, then the card; says why when either could not be saved.
    bool save();
    bool print();
    // The same page in a print preview, before any paper is used.
    void printPreview();
    // Moves names, speeds and times below the current row up by one; signatures stay.
    void deleteRow();

    // The name-cell text a picked catalogue entry becomes.
    static QString pickedName(const QString &entry);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void buildPanel();
    void buildControls();
    void load();
    void loadSavedCard(const InfusionCardLists &card);
    void loadNewCard();
    void centreTitles();
    void centreOnScreen();
    void nameChanged(int row);
    void pick(int index);
    void scrollToShow(int top, int bottom);
    bool storeMargins();
    int rowOfNameCell(QObject *object) const;
    int columnOf(QObject *object) const;

    Workspace &m_workspace;
    VisitSource &m_visit;
    const QString m_key;

    QWidget *m_viewport = nullptr;
    QWidget *m_panel = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    std::array<QLabel *, 2> m_titles{};
    std::array<QLineEdit *, InfusionCardLayout::kHeaderCount> m_header{};
    std::array<std::array<QLineEdit *, InfusionCardLayout::kRows>, InfusionCardLayout::kColumnCount> m_cells{};
    RowList *m_pickList = nullptr;
    std::unique_ptr<CardPrintSettings> m_print;

    int m_currentRow = 0;
    int m_listRow = -1;  // the row the pick list was last placed under
    bool m_loading = false;
    bool m_modified = false;
    bool m_centred = false;
};

} // namespace quillora
