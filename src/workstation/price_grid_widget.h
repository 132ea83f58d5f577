#pragma once

#include "forms/sheet_layout.h"

#include <QFrame>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace quillora {

// The price grid: 24 rows of name, quantity, unit, unit price and amount on a tall panel
// that a scroll bar moves inside a shorter viewport, with the doses box and the total.
class PriceGridWidget : public QFrame
{
    Q_OBJECT

public:
    explicit PriceGridWidget(QWidget *parent = nullptr);

    QLineEdit *cell(int column, int row) const { return m_cells[column][row]; }
    QWidget *panel() const { return m_panel; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    QLineEdit *doses() const { return m_doses; }
    QLabel *dosesCaption() const { return m_dosesCaption; }
    QLabel *total() const { return m_total; }
    QPushButton *headerButton(int column) const { return m_headers[column]; }
    void scrollToTop();
    void setDosesVisible(bool visible);

Q_SIGNALS:
    // A header button was clicked: the drug search box takes the focus.
    void headerClicked();
    // A quantity or unit-price cell changed.
    void amountInputsChanged();

private:
    void buildHeader();
    void buildCells();
    void buildFooter();

    std::array<QPushButton *, PriceGridLayout::kColumns> m_headers{};
    std::array<std::array<QLineEdit *, PriceGridLayout::kRows>, PriceGridLayout::kColumns> m_cells{};
    QWidget *m_viewport = nullptr;
    QWidget *m_panel = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    QLabel *m_dosesCaption = nullptr;
    QLineEdit *m_doses = nullptr;
    QLabel *m_totalCaption = nullptr;
    QLabel *m_total = nullptr;
};

// Layout of the grid area around the specified panel, in twips from the area's corner.
namespace PriceAreaLayout {
constexpr int kWidth = 5040;
constexpr int kHeaderTop = 0, kHeaderHeight = 300;
constexpr int kViewportTop = 300;
constexpr int kScrollBarLeft = 4740, kScrollBarWidth = 255;
constexpr int kFooterTop = kViewportTop + PriceGridLayout::kViewportHeight + 90;
constexpr int kHeight = kFooterTop + 330;
} // namespace PriceAreaLayout

} // namespace quillora
