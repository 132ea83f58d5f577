#include "printing/history_card_window.h"

#include "printing/card_print_settings_gui.h"
#include "printing/card_scroll.h"

#include "base/message_dialog.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "data/settings_row.h"
#include "data/visit_record.h"
#include "printing/painter_printer.h"
#include "printing/print_job_gui.h"
#include "text/text_lines.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "printing/visit_source.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace quillora {

using namespace HistoryCardLayout;

namespace {

const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
const QColor kDesk(0xa8, 0xa8, 0xa8);
constexpr int kScrollStep = 15;  // twips per scroll step: a pixel at the usual resolution

// The card's paper: shows the drawing made of it, with the editable boxes on top.
class CardSurface : public QWidget
{
public:
    CardSurface(const QImage &image, QWidget *parent) : QWidget(parent), m_image(image) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(0, 0, m_image);
    }

private:
    const QImage &m_image;
};

} // namespace

HistoryCardWindow::~HistoryCardWindow() = default;

HistoryCardWindow::HistoryCardWindow(Workspace &workspace, VisitSource &visit, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace), m_visit(visit)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("病史打印"));
    setFont(kControlFont.font());
    setFixedSize(Twips::toPixels(kWindowWidth), Twips::toPixels(kWindowHeight));
    // A white card lying on a grey desk.
    setAutoFillBackground(true);
    QPalette desk = palette();
    desk.setColor(QPalette::Window, kDesk);
    setPalette(desk);
    buildCard();
    buildControls();
    load();
}

void HistoryCardWindow::buildCard()
{
    // The card's edge against the desk.
    auto *edge = new QFrame(this);
    edge->setObjectName(QStringLiteral("cardEdge"));
    edge->setStyleSheet(QStringLiteral("QFrame { border: 1px solid #606060; }"));
    edge->setGeometry(Twips::toPixels(kViewport.left, kViewport.top, kViewport.width, kViewport.height).adjusted(-1, -1, 1, 1));
    m_viewport = new QWidget(this);
    m_viewport->setObjectName(QStringLiteral("cardViewport"));
    placeAt(m_viewport, kViewport);
    m_viewport->installEventFilter(this);
    m_card = new CardSurface(m_preview, m_viewport);
    m_card->setObjectName(QStringLiteral("cardPanel"));
    makePaper(m_card);
    placeAt(m_card, 0, 0, kWidth, kHeight);

    for (int i = 0; i < kFieldCount; ++i) {
        m_fields[i] = formLineEdit(indexedName("Text1", i), fieldFont(), m_card);
        m_fields[i]->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: none; padding: 0px; }"));
        placeAt(m_fields[i], fields()[i].rect);
        m_fields[i]->installEventFilter(this);
    }
    m_history = new QPlainTextEdit(m_card);
    m_history->setObjectName(QStringLiteral("Text2"));
    m_history->setFont(historyFont().font());
    m_history->setFrameShape(QFrame::NoFrame);
    m_history->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_history->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_history->setTabChangesFocus(true);  // a tab character would print as nothing useful
    // Written straight onto the card, so the printed lines start where the screen's do.
    m_history->document()->setDocumentMargin(0);
    m_history->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    placeAt(m_history, kHistoryBox);
    m_history->installEventFilter(this);
    connect(m_history, &QPlainTextEdit::textChanged, this, [this] { refreshPreview(false); });
    connect(m_history->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { refreshPreview(false); });

    // Down the card: particulars, history, then the doctor at the foot.
    setTabOrder(m_fields[4], m_history);
    setTabOrder(m_history, m_fields[5]);

    m_scrollBar = new QScrollBar(Qt::Vertical, m_viewport);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    const int span = kHeight - kViewport.height;
    m_scrollBar->setRange(0, (span + kScrollStep - 1) / kScrollStep);
    m_scrollBar->setSingleStep(480 / kScrollStep);
    m_scrollBar->setPageStep(kViewport.height / kScrollStep);
    placeAt(m_scrollBar, kWidth, 0, kViewport.width - kWidth, kViewport.height);
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { m_card->move(0, Twips::toPixels(cardTop(value, m_scrollBar->maximum()))); });
}

void HistoryCardWindow::buildControls()
{
    m_print = std::make_unique<CardPrintSettings>(
        this, CardPrintSettings::Columns{QStringLiteral("左边距4"), QStringLiteral("上边距4"), QStringLiteral("竖打4")},
        CardPrintSettings::Places{kLeftMarginCaption, kLeftMarginBox, kTopMarginCaption, kTopMarginBox, kPortraitOption, kLandscapeOption},
        this);

    auto *printButton = new QPushButton(QStringLiteral("打印病史"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setAutoDefault(false);
    placeAt(printButton, kPrintButton);
    connect(printButton, &QPushButton::clicked, this, &HistoryCardWindow::print);
    auto *previewButton = new QPushButton(QStringLiteral("打印预览"), this);
    previewButton->setObjectName(QStringLiteral("previewButton"));
    previewButton->setAutoDefault(false);
    placeAt(previewButton, TwipRect{5940, 6855, 1110, 375});
    connect(previewButton, &QPushButton::clicked, this, &HistoryCardWindow::printPreview);
}

void HistoryCardWindow::load()
{
    m_institution = m_visit.institution();
    const auto header = m_visit.headerFields();
    for (int i = 0; i < kFieldCount; ++i)
        m_fields[i]->setText(header[fields()[i].headerField]);
    m_history->setPlainText(fromCrLf(m_visit.history()));
    m_key = m_visit.visitKey();
    m_openingBody = m_visit.body();

    m_print->load(m_workspace.settings());
    refreshPreview(true);
}

QStringList HistoryCardWindow::historyLines() const
{
    QStringList lines;
    const QTextDocument *document = m_history->document();
    const auto *layout = qobject_cast<const QPlainTextDocumentLayout *>(document->documentLayout());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // The box lays out only what it has shown; the lines further down are asked for here.
        if (layout)
            layout->ensureBlockLayout(block);
        const QTextLayout *text = block.layout();
        if (!text || text->lineCount() == 0) {
            lines << block.text();
            continue;
        }
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

void HistoryCardWindow::refreshPreview(bool force)
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    const QStringList lines = historyLines();
    const QString body = cardBody();
    // Only the prescription lines move with the history; they are redrawn when its line count
    // or the prescription changes.
    if (force || lines.size() != m_previewLines || body != m_drawnBody) {
        m_previewLines = lines.size();
        m_drawnBody = body;
        // Fields and history are the live boxes on top; the drawing keeps their room blank.
        HistoryCardContent drawn;
        drawn.institution = m_institution;
        drawn.historyLines = QStringList(lines.size(), QString());
        drawn.body = body;
        const double dpr = devicePixelRatioF();
        QImage image(QSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight)) * dpr, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        const int dotsPerMetre = int(std::lround(Twips::screenDpi() * dpr / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        {
            PainterPrinter printer(&image);
            drawHistoryCard(printer, drawn, m_workspace.scratchPath(QStringLiteral("print.txt")));
            printer.endDoc();
        }
        image.setDevicePixelRatio(dpr);
        m_preview = image;
        m_card->update();
    }
    m_refreshing = false;
}

HistoryCardContent HistoryCardWindow::content() const
{
    HistoryCardContent content;
    content.institution = m_institution;
    for (int i = 0; i < kFieldCount; ++i)
        content.fields[i] = m_fields[i]->text();
    content.historyLines = historyLines();
    content.body = cardBody();
    return content;
}

QString HistoryCardWindow::cardBody() const
{
    if (m_visit.visitKey() == m_key)
        return m_visit.body();
    try {
        if (const auto stored = VisitStore(m_workspace.archive()).find(m_key))
            return stored->body;
    } catch (const std::exception &) {
        // An unreadable archive leaves the body the card opened with.
    }
    return m_openingBody;
}

void HistoryCardWindow::changeEvent(QEvent *event)
{
    // Back from the main window, where the prescription may have been edited.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshPreview(false);
    QWidget::changeEvent(event);
}

CardMargins HistoryCardWindow::margins() const
{
    return m_print->margins();
}

bool HistoryCardWindow::print()
{
    const HistoryCardContent card = content();
    const CardMargins at = margins();
    const QString scratch = m_workspace.scratchPath(QStringLiteral("print.txt"));
    return PrintJob::print(this, QStringLiteral("门诊病历卡"),
                           [&](Printer &printer) { printHistoryCard(printer, card, at, scratch); });
}

void HistoryCardWindow::printPreview()
{
    const HistoryCardContent card = content();
    const CardMargins at = margins();
    const QString scratch = m_workspace.scratchPath(QStringLiteral("print.txt"));
    PrintJob::preview(this, QStringLiteral("门诊病历卡"), [&](Printer &printer) { printHistoryCard(printer, card, at, scratch); });
}

void HistoryCardWindow::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + std::max(0, (area.width() - frameGeometry().width()) / 2),
                 area.y() + std::max(0, (area.height() - frameGeometry().height()) / 2));
        }
    }
    QWidget::showEvent(event);
    // The box wraps at its real width only once it is shown.
    refreshPreview(false);
}

bool HistoryCardWindow::storeMargins()
{
    try {
        m_print->store(m_workspace.settings());
    } catch (const std::exception &failure) {
        MessageDialog::inform(this, QStringLiteral("病史打印的边距未能保存：%1").arg(QString::fromUtf8(failure.what())),
                              MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

void HistoryCardWindow::closeEvent(QCloseEvent *event)
{
    storeMargins();
    QWidget::closeEvent(event);
}

void HistoryCardWindow::scrollToShow(int top, int bottom)
{
    if (const auto value = scrollValueShowing(top, bottom, m_scrollBar->value(), m_scrollBar->maximum(), kHeight, kViewport.height))
        m_scrollBar->setValue(*value);
}

bool HistoryCardWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport && event->type() == QEvent::Wheel) {
        QApplication::sendEvent(m_scrollBar, event);
        return true;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    // Tabbing onto a box out of sight brings it into view; a click finds it where it is.
    if (widget && widget->parentWidget() == m_card && event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason)
        scrollToShow(int(Twips::fromPixels(widget->y())), int(Twips::fromPixels(widget->y() + widget->height())));
    if (qobject_cast<QLineEdit *>(watched) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter in a one-line box moves on like Tab and goes no further.
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillora
