#include "workstation/price_grid_widget.h"

#include "forms/form_parts_widget.h"
#include "forms/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace quillora {

namespace {
const char *const kCellArrays[PriceGridLayout::kColumns] = {"Text8", "Text10", "Text11", "Text12", "Text13"};
const FontSpec kGridFont{QStringLiteral("宋体"), 9, false};
} // namespace

PriceGridWidget::PriceGridWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("priceArea"));
    resize(Twips::toPixels(PriceAreaLayout::kWidth), Twips::toPixels(PriceAreaLayout::kHeight));
    buildHeader();
    buildCells();
    buildFooter();
}

void PriceGridWidget::buildHeader()
{
    for (int c = 0; c < PriceGridLayout::kColumns; ++c) {
        const auto &column = PriceGridLayout::columns()[c];
        auto *button = new QPushButton(column.header, this);
        button->setObjectName(indexedName("gridHeader", c));
        button->setFont(kGridFont.font());
        button->setFocusPolicy(Qt::NoFocus);
        // Header buttons span from their column's left edge to the next column.
        const int right = c + 1 < PriceGridLayout::kColumns ? PriceGridLayout::columns()[c + 1].left : PriceAreaLayout::kScrollBarLeft;
        const int left = c == 0 ? 0 : column.left;
        placeAt(button, left, PriceAreaLayout::kHeaderTop, right - left, PriceAreaLayout::kHeaderHeight);
        connect(button, &QPushButton::clicked, this, &PriceGridWidget::headerClicked);
        m_headers[c] = button;
    }
}

void PriceGridWidget::buildCells()
{
    m_viewport = new QWidget(this);
    m_viewport->setObjectName(QStringLiteral("gridViewport"));
    placeAt(m_viewport, 0, PriceAreaLayout::kViewportTop, PriceAreaLayout::kScrollBarLeft, PriceGridLayout::kViewportHeight);
    m_panel = new QWidget(m_viewport);
    m_panel->setObjectName(QStringLiteral("gridPanel"));
    makePaper(m_panel);
    placeAt(m_panel, 0, 0, PriceAreaLayout::kScrollBarLeft, PriceGridLayout::kPanelHeight);

    for (int c = 0; c < PriceGridLayout::kColumns; ++c) {
        const auto &column = PriceGridLayout::columns()[c];
        for (int r = 0; r < PriceGridLayout::kRows; ++r) {
            QLineEdit *cell = formLineEdit(indexedName(kCellArrays[c], r), kGridFont, m_panel);
            cell->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 1px solid #c0c0c0; padding: 0px 1px; }"));
            placeAt(cell, column.left, PriceGridLayout::rowTop(r), column.width, PriceGridLayout::kCellHeight);
            if (c == 1 || c == 3)  // quantity and unit price
                connect(cell, &QLineEdit::textChanged, this, &PriceGridWidget::amountInputsChanged);
            m_cells[c][r] = cell;
        }
    }

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    m_scrollBar->setRange(0, 100);
    m_scrollBar->setPageStep(50);
    placeAt(m_scrollBar, PriceAreaLayout::kScrollBarLeft, PriceAreaLayout::kViewportTop, PriceAreaLayout::kScrollBarWidth,
            PriceGridLayout::kViewportHeight);
    const auto scroll = [this](int value) {
        m_panel->move(0, Twips::toPixels(PriceGridLayout::panelTop(value, m_scrollBar->maximum())));
    };
    connect(m_scrollBar, &QScrollBar::valueChanged, this, scroll);
    connect(m_scrollBar, &QScrollBar::sliderMoved, this, scroll);
}

void PriceGridWidget::buildFooter()
{
    const FontSpec font{QStringLiteral("宋体"), 9, true};
    m_dosesCaption = formLabel(QStringLiteral("Label17"), QStringLiteral("中药付数："), font, this);
    m_dosesCaption->move(Twips::toPixels(60, PriceAreaLayout::kFooterTop + 45));
    m_doses = formLineEdit(QStringLiteral("Text9"), kGridFont, this);
    m_doses->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 1px solid #c0c0c0; padding: 0px 2px; }"));
    placeAt(m_doses, 1080, PriceAreaLayout::kFooterTop, 600, 285);
    m_totalCaption = formLabel(QStringLiteral("totalCaption"), QStringLiteral("合计金额(￥)："), font, this);
    m_totalCaption->move(Twips::toPixels(2280, PriceAreaLayout::kFooterTop + 45));
    m_total = formLabel(QStringLiteral("Label16"), QString(), FontSpec{QStringLiteral("宋体"), 10.5, true}, this);
    placeAt(m_total, 3780, PriceAreaLayout::kFooterTop + 30, 1200, 270);
    setDosesVisible(false);
}

void PriceGridWidget::scrollToTop() { m_scrollBar->setValue(0); }

void PriceGridWidget::setDosesVisible(bool visible)
{
    m_dosesCaption->setVisible(visible);
    m_doses->setVisible(visible);
}

} // namespace quillora
