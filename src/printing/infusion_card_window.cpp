#include "printing/infusion_card_window.h"

#include "printing/card_print_settings_gui.h"
#include "printing/card_scroll.h"

#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "data/drug_store.h"
#include "data/settings_row.h"
#include "data/visit_store.h"
#include "printing/print_job_gui.h"
#include "text/text_lines.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "clinical/usage_classifier.h"
#include "printing/visit_source.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace quillora {

using namespace InfusionCardLayout;

namespace {

const char *const kCellArrays[kColumnCount] = {"Text2", "Text3", "Text4", "Text5"};
// The visit's header fields behind the card's first six.
constexpr std::array<int, 6> kFilledFrom{FieldName, FieldSex, FieldAge, FieldDate, FieldDiagnosis, FieldDoctor};
const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
// Header boxes get a faint dotted line to write on; the grid's own rules frame its cells.
const QString kHeaderStyle = QStringLiteral("QLineEdit { background: white; border: none; border-bottom: 1px dotted #b0b0b0; padding: 0px; }");
const QString kCellStyle = QStringLiteral("QLineEdit { background: white; border: none; padding: 0px; }");
// One scroll step is 15 twips, a pixel at the usual resolution.
constexpr int kScrollStep = 15;

} // namespace

InfusionCardWindow::~InfusionCardWindow() = default;

InfusionCardWindow::InfusionCardWindow(Workspace &workspace, VisitSource &visit, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace), m_visit(visit), m_key(visit.visitKey())
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("输液执行卡"));
    setFont(kControlFont.font());
    setFixedSize(Twips::toPixels(kWindowWidth), Twips::toPixels(kWindowHeight));
    build();
    load();
}

void InfusionCardWindow::build()
{
    buildPanel();
    buildControls();
}

void InfusionCardWindow::buildPanel()
{
    // A thin edge around the card's window, beneath it.
    auto *edge = new QFrame(this);
    edge->setObjectName(QStringLiteral("cardEdge"));
    edge->setStyleSheet(QStringLiteral("QFrame { border: 1px solid #808080; }"));
    edge->setGeometry(Twips::toPixels(kViewport.left, kViewport.top, kViewport.width, kViewport.height).adjusted(-1, -1, 1, 1));
    m_viewport = new QWidget(this);
    m_viewport->setObjectName(QStringLiteral("cardViewport"));
    placeAt(m_viewport, kViewport);
    m_viewport->installEventFilter(this);
    m_panel = new QWidget(m_viewport);
    m_panel->setObjectName(QStringLiteral("cardPanel"));
    makePaper(m_panel);
    placeAt(m_panel, 0, 0, kWidth, kHeight);

    for (int i = 0; i < kGridLineCount; ++i)
        (new LineWidget(gridLines()[i], m_panel))->setObjectName(indexedName("Line1", i));
    for (int i = 0; i < 2; ++i) {
        m_titles[i] = formLabel(indexedName("Label1", i), titles()[i].text, titles()[i].font, m_panel);
        m_titles[i]->move(Twips::toPixels(titles()[i].left, titles()[i].top));
    }
    // Captions share their box's height and centre line, so caption and value read as one line.
    for (int i = 0; i < kHeaderCount; ++i) {
        const InfusionCardLayout::HeaderField &field = headerFields()[i];
        QLabel *caption = formLabel(indexedName("Label2", i), field.caption, captionFont(), m_panel);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        placeAt(caption, field.captionLeft, field.box.top, field.box.left - field.captionLeft, field.box.height);
    }
    for (int c = 0; c < kColumnCount; ++c) {
        QLabel *caption = formLabel(indexedName("Label3", c), columns()[c].caption, captionFont(), m_panel);
        caption->move(Twips::toPixels(columns()[c].captionLeft, kColumnCaptionTop));
    }
    for (int i = 0; i < kHeaderCount; ++i) {
        m_header[i] = formLineEdit(indexedName("Text1", i), fieldFont(), m_panel);
        m_header[i]->setStyleSheet(kHeaderStyle);
        placeAt(m_header[i], headerFields()[i].box);
    }
    // Row by row, so Tab runs along a row and then to the next one.
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            QLineEdit *edit = formLineEdit(indexedName(kCellArrays[c], r), fieldFont(), m_panel);
            edit->setStyleSheet(kCellStyle);
            placeAt(edit, InfusionCardLayout::cell(r, c));
            m_cells[c][r] = edit;
        }
    }
    for (QLineEdit *edit : m_header) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] { m_modified |= !m_loading; });
    }
    for (int c = 0; c < kColumnCount; ++c) {
        for (int r = 0; r < kRows; ++r) {
            m_cells[c][r]->installEventFilter(this);
            connect(m_cells[c][r], &QLineEdit::textChanged, this, [this] { m_modified |= !m_loading; });
        }
    }
    for (int r = 0; r < kRows; ++r)
        connect(m_cells[Name][r], &QLineEdit::textChanged, this, [this, r] { nameChanged(r); });

    m_pickList = new RowList(m_panel);
    m_pickList->setObjectName(QStringLiteral("List1"));
    m_pickList->setFont(fieldFont().font());
    m_pickList->setFocusPolicy(Qt::ClickFocus);  // reached by Down arrow or mouse, never by Tab
    placeAt(m_pickList, kPickListLeft, pickListTop(0), kPickListWidth, kPickListHeight);
    m_pickList->hide();
    connect(m_pickList, &RowList::picked, this, &InfusionCardWindow::pick);

    m_scrollBar = new QScrollBar(Qt::Vertical, m_viewport);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    const int span = kHeight - kViewport.height;
    m_scrollBar->setRange(0, span / kScrollStep);
    m_scrollBar->setSingleStep(480 / kScrollStep);
    m_scrollBar->setPageStep(kViewport.height / kScrollStep);
    placeAt(m_scrollBar, kWidth, 0, kViewport.width - kWidth, kViewport.height);
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { m_panel->move(0, Twips::toPixels(panelTop(value, m_scrollBar->maximum()))); });
}

void InfusionCardWindow::buildControls()
{
    m_print = std::make_unique<CardPrintSettings>(
        this, CardPrintSettings::Columns{QStringLiteral("左边距3"), QStringLiteral("上边距3"), QStringLiteral("竖打3")},
        CardPrintSettings::Places{kLeftMarginCaption, kLeftMarginBox, kTopMarginCaption, kTopMarginBox, kPortraitOption, kLandscapeOption},
        this);

    const auto button = [this](const char *name, const QString &text, const TwipRect &rect) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        placeAt(b, rect);
        return b;
    };
    connect(button("printButton", QStringLiteral("打  印"), kPrintButton), &QPushButton::clicked, this, &InfusionCardWindow::print);
    connect(button("saveButton", QStringLiteral("保  存"), kSaveButton), &QPushButton::clicked, this, &InfusionCardWindow::save);
    connect(button("deleteRowButton", QStringLiteral("删除行"), kDeleteRowButton), &QPushButton::clicked, this,
            &InfusionCardWindow::deleteRow);
}

void InfusionCardWindow::load()
{
    m_loading = true;
    m_titles[Institution]->setText(m_visit.institution());
    centreTitles();
    for (QLineEdit *edit : m_header)
        edit->clear();
    for (auto &column : m_cells) {
        for (QLineEdit *edit : column)
            edit->clear();
    }

    m_print->load(m_workspace.settings());

    InfusionCardLists saved;
    try {
        saved = VisitStore(m_workspace.archive()).infusionCard(m_key);
    } catch (const std::exception &failure) {
        // Saying so keeps a stored card from being overwritten unnoticed by the fresh one.
        MessageDialog::inform(this, QStringLiteral("已保存的输液执行卡未能读取：%1\n现按处方重新填写。").arg(QString::fromUtf8(failure.what())),
                              MessageDialog::Icon::Exclamation);
    }
    if (!saved.header.isEmpty())
        loadSavedCard(saved);
    else
        loadNewCard();
    m_loading = false;
    m_modified = false;
}

void InfusionCardWindow::loadSavedCard(const InfusionCardLists &card)
{
    for (int i = 0; i < kHeaderCount && i < card.header.size(); ++i)
        m_header[i]->setText(card.header[i]);
    const std::array<const QStringList *, kColumnCount> lists{&card.names, &card.speeds, &card.times, &card.nurses};
    for (int c = 0; c < kColumnCount; ++c) {
        for (int r = 0; r < kRows && r < lists[c]->size(); ++r)
            m_cells[c][r]->setText(lists[c]->at(r));
    }
}

void InfusionCardWindow::loadNewCard()
{
    const auto header = m_visit.headerFields();
    for (size_t i = 0; i < kFilledFrom.size(); ++i)
        m_header[i]->setText(header[kFilledFrom[i]]);
    const QStringList lines = splitScratchLines(ssy(m_visit.body()));
    for (int r = 0; r < kRows && r < lines.size(); ++r)
        m_cells[Name][r]->setText(lines[r]);
}

void InfusionCardWindow::centreTitles()
{
    for (int i = 0; i < 2; ++i) {
        m_titles[i]->adjustSize();
        const double width = Twips::textWidth(m_titles[i]->text(), m_titles[i]->font());
        m_titles[i]->move(Twips::toPixels(centredLeft(width), titles()[i].top));
    }
}

void InfusionCardWindow::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // 400 twips are left for the task bar.
    move(area.x() + std::max(0, (area.width() - frameGeometry().width()) / 2),
         area.y() + std::max(0, (area.height() - Twips::toPixels(400) - frameGeometry().height()) / 2));
}

void InfusionCardWindow::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
    QWidget::showEvent(event);
}

void InfusionCardWindow::nameChanged(int row)
{
    if (m_loading)
        return;
    const QString text = m_cells[Name][row]->text();
    if (text.trimmed().isEmpty()) {
        for (int c : {Speed, Time, Nurse})
            m_cells[c][row]->clear();
    }
    m_pickList->clear();
    // Under the row; the last rows would push it off the card, so there it opens above the row.
    int top = pickListTop(row);
    if (top + kPickListHeight > kHeight)
        top = rowTop(row) - kPickListHeight - 75;
    placeAt(m_pickList, kPickListLeft, top, kPickListWidth, kPickListHeight);
    m_listRow = row;
    if (text.isEmpty()) {
        m_pickList->hide();
        return;
    }
    QList<ListedRow> rows;
    try {
        rows = DrugStore(m_workspace.settings()).searchByCode(text);
    } catch (const std::exception &) {
        // A failed search lists nothing.
    }
    m_pickList->fill(rows);
    m_pickList->setVisible(!rows.isEmpty());
    if (!rows.isEmpty()) {
        m_pickList->raise();
        scrollToShow(std::min(top, rowTop(row)), std::max(top + kPickListHeight, rowTop(row) + kCellHeight));
    }
}

QString InfusionCardWindow::pickedName(const QString &entry)
{
    // A catalogue name may carry its usage after a backslash; the card wants the drug alone.
    const qsizetype slash = entry.indexOf(QLatin1Char('\\'));
    if (slash >= 0)
        return entry.left(slash);
    if (entry.contains(QStringLiteral("用法")))
        return QStringLiteral("    ") + entry;
    return entry;
}

void InfusionCardWindow::pick(int index)
{
    if (index < 0 || index >= m_pickList->count())
        return;
    QLineEdit *name = m_cells[Name][m_currentRow];
    name->setText(pickedName(m_pickList->textAt(index)));
    name->setFocus();
    name->end(false);
}

void InfusionCardWindow::deleteRow()
{
    // Moving the names must not clear the rows they land on the way typing an empty name does:
    // the signatures stay where they are.
    m_loading = true;
    for (int i = m_currentRow; i < kRows; ++i) {
        for (int c : {Name, Speed, Time}) {
            if (i == kRows - 1)
                m_cells[c][i]->clear();
            else
                m_cells[c][i]->setText(m_cells[c][i + 1]->text());
        }
    }
    m_loading = false;
    m_modified = true;
    m_pickList->hide();
}

InfusionCardLists InfusionCardWindow::lists() const
{
    InfusionCardLists card;
    for (const QLineEdit *edit : m_header)
        card.header << edit->text();
    std::array<QStringList *, kColumnCount> lists{&card.names, &card.speeds, &card.times, &card.nurses};
    for (int c = 0; c < kColumnCount; ++c) {
        for (const QLineEdit *edit : m_cells[c])
            *lists[c] << edit->text();
    }
    return card;
}

InfusionCardContent InfusionCardWindow::content() const
{
    InfusionCardContent content;
    content.institution = m_titles[Institution]->text();
    for (int i = 0; i < kHeaderCount; ++i)
        content.header[i] = m_header[i]->text();
    std::array<std::array<QString, kRows> *, kColumnCount> cells{&content.names, &content.speeds, &content.times, &content.nurses};
    for (int c = 0; c < kColumnCount; ++c) {
        for (int r = 0; r < kRows; ++r)
            (*cells[c])[r] = m_cells[c][r]->text();
    }
    return content;
}

CardMargins InfusionCardWindow::margins() const
{
    return m_print->margins();
}

bool InfusionCardWindow::save()
{
    // The card belongs to the visit it was opened for. While the main window still shows that
    // visit, it is saved first so that its row exists and is current; if the main window has
    // moved on, its other visit is none of the card's business.
    if (m_visit.visitKey() == m_key && !m_visit.saveVisit()) {
        MessageDialog::inform(this, QStringLiteral("病历没有保存，输液执行卡也没有保存。"), MessageDialog::Icon::Exclamation);
        return false;
    }
    QString failure;
    try {
        if (!VisitStore(m_workspace.archive()).saveInfusionCard(m_key, lists()))
            failure = QStringLiteral("档案中没有这次就诊的病历，请先在主窗口保存该病历。");
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    }
    if (!failure.isEmpty()) {
        MessageDialog::inform(this, QStringLiteral("输液执行卡未能保存：%1").arg(failure), MessageDialog::Icon::Critical);
        return false;
    }
    m_modified = false;
    return true;
}

bool InfusionCardWindow::print()
{
    const InfusionCardContent card = content();
    const CardMargins at = margins();
    return PrintJob::print(this, QStringLiteral("输液执行卡"), [&](Printer &printer) { printInfusionCard(printer, card, at); });
}

void InfusionCardWindow::printPreview()
{
    const InfusionCardContent card = content();
    const CardMargins at = margins();
    PrintJob::preview(this, QStringLiteral("输液执行卡"), [&](Printer &printer) { printInfusionCard(printer, card, at); });
}

bool InfusionCardWindow::storeMargins()
{
    try {
        m_print->store(m_workspace.settings());
    } catch (const std::exception &failure) {
        MessageDialog::inform(this, QStringLiteral("输液执行卡的打印边距未能保存：%1").arg(QString::fromUtf8(failure.what())),
                              MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

void InfusionCardWindow::closeEvent(QCloseEvent *event)
{
    // Closing must not throw away a card the doctor has filled in without a word.
    if (m_modified
        && MessageDialog::confirm(this, QStringLiteral("输液执行卡已修改，还没有保存。\n点“确定”保存后关闭，点“取消”不保存直接关闭。"))
        && !save()) {
        event->ignore();
        return;
    }
    storeMargins();
    QWidget::closeEvent(event);
}

int InfusionCardWindow::rowOfNameCell(QObject *object) const
{
    for (int r = 0; r < kRows; ++r) {
        if (m_cells[Name][r] == object)
            return r;
    }
    return -1;
}

int InfusionCardWindow::columnOf(QObject *object) const
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (std::find(m_cells[c].begin(), m_cells[c].end(), object) != m_cells[c].end())
            return c;
    }
    return -1;
}

void InfusionCardWindow::scrollToShow(int top, int bottom)
{
    if (const auto value = scrollValueShowing(top, bottom, m_scrollBar->value(), m_scrollBar->maximum(), kHeight, kViewport.height))
        m_scrollBar->setValue(*value);
}

bool InfusionCardWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        if (event->type() == QEvent::Wheel) {
            QApplication::sendEvent(m_scrollBar, event);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return QWidget::eventFilter(watched, event);
    const int nameRow = rowOfNameCell(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (nameRow >= 0)
            m_currentRow = nameRow;
        // The list belongs to the name being typed; elsewhere it would only cover the rows below.
        if (nameRow != m_listRow)
            m_pickList->hide();
        // Tabbing onto a cell out of sight brings it into view; a click finds it where it is.
        if (edit->parentWidget() == m_panel && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason)
            scrollToShow(Twips::fromPixels(edit->y()), Twips::fromPixels(edit->y() + edit->height()));
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter moves on like Tab and goes no further.
            focusNextChild();
            if (auto *next = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
                next->end(false);
            return true;
        }
        if (key->key() == Qt::Key_Down && nameRow >= 0 && m_pickList->isVisible() && m_pickList->count() > 0) {
            m_pickList->setFocus();
            m_pickList->setCurrentRow(0);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        // A click on an empty speed or time cell offers the usual value.
        const int column = columnOf(watched);
        if ((column == Speed || column == Time) && edit->text().isEmpty()) {
            edit->setText(column == Speed ? QStringLiteral("60滴/分") : Clock::now().toString(QStringLiteral("hh:mm")));
            edit->end(false);
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillora
