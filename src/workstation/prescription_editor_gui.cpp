#include "workstation/prescription_editor_gui.h"

#include "base/message_dialog.h"
#include "data/workspace.h"
#include "data/drug_store.h"
#include "data/settings_row.h"
#include "text/captions.h"
#include "text/soft_keyboard_window.h"
#include "text/text_lines.h"
#include "workstation/action_bar_widget.h"
#include "workstation/drug_entry_widget.h"
#include "forms/form_parts_widget.h"
#include "workstation/header_entry_gui.h"
#include "workstation/history_area_widget.h"
#include "workstation/injection_card_widget.h"
#include "workstation/prescription_text.h"
#include "workstation/price_grid_widget.h"
#include "workstation/pricing.h"
#include "workstation/sheet_widget.h"
#include "clinical/usage_classifier.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace quillora {

namespace {

// Positions in the LF text of a text box and in its CR LF form.
int toCrLfIndex(const QString &lfText, int index) { return index + int(lfText.left(index).count(QLatin1Char('\n'))); }
int toLfIndex(const QString &crlfText, int index) { return index - int(crlfText.left(index).count(QLatin1String("\r\n"))); }

QString selectedText(const QPlainTextEdit *box)
{
    // Selections carry paragraph separators; the body's lines end in CR LF.
    return toCrLf(box->textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n')));
}

} // namespace

PrescriptionEditor::PrescriptionEditor(Workspace &workspace, const WorkstationAreas &areas, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_areas(areas)
{
    buildBodyMenu();
    connect(body(), &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            ssy();
    });
    connect(body(), &QWidget::customContextMenuRequested, this, &PrescriptionEditor::showBodyMenu);
    body()->viewport()->installEventFilter(this);
    connect(m_areas.sheet, &SheetWidget::kindClicked, this, &PrescriptionEditor::cycleKind);
    connect(m_areas.sheet, &SheetWidget::sheetClicked, this, &PrescriptionEditor::hideHeaderLists);
    connect(m_areas.history, &HistoryAreaWidget::clicked, this, &PrescriptionEditor::hideHeaderLists);
    connect(m_areas.drugs, &DrugEntryWidget::picked, this, &PrescriptionEditor::applyPick);
    connect(m_areas.drugs, &DrugEntryWidget::searchFocused, this, [this] {
        hideHeaderLists();
        SoftKeyboardTarget::set(m_areas.drugs->searchBox());
    });
    connect(m_areas.drugs->searchCaption(), &ClickLabel::clicked, this, [this] { applyPreset(m_areas.drugs->searchCaption()->text()); });
    connect(m_areas.templates->caption(), &ClickLabel::clicked, this, [this] { applyPreset(m_areas.templates->caption()->text()); });
    connect(m_areas.presets, &UsagePresetsWidget::presetClicked, this, &PrescriptionEditor::applyPreset);
    connect(m_areas.grid, &PriceGridWidget::amountInputsChanged, this, &PrescriptionEditor::retotal);
    connect(m_areas.grid, &PriceGridWidget::headerClicked, this, [this] { m_areas.drugs->searchBox()->setFocus(); });
    connect(m_areas.actions, &ActionBarWidget::activated, this, &PrescriptionEditor::runAction);
    connect(m_areas.actions, &ActionBarWidget::autoPricingRequested, this, &PrescriptionEditor::setAutoPricing);
}

QPlainTextEdit *PrescriptionEditor::body() const { return m_areas.sheet->body(); }

QString PrescriptionEditor::bodyText() const { return toCrLf(body()->toPlainText()); }

void PrescriptionEditor::setBodyText(const QString &crlfText) { body()->setPlainText(fromCrLf(crlfText)); }

int PrescriptionEditor::getCaretPos() const
{
    const QString lf = body()->toPlainText();
    return caretColumn(toCrLf(lf), toCrLfIndex(lf, body()->textCursor().position()));
}

void PrescriptionEditor::hideHeaderLists() { m_areas.header->hidePickLists(); }

void PrescriptionEditor::setKind(const KindLook &look)
{
    m_areas.sheet->setKind(look.kind);
    m_areas.sheet->setTitle(look.title);
    m_areas.grid->setDosesVisible(look.dosesShown);
}

void PrescriptionEditor::cycleKind()
{
    if (const auto next = kindAfterClick(m_areas.sheet->kind()))
        setKind(*next);
}

void PrescriptionEditor::ssy()
{
    m_areas.card->usage()->setPlainText(fromCrLf(quillora::ssy(bodyText())));
}

void PrescriptionEditor::replaceBody(const QString &newCrlfText, int crlfCaret)
{
    // Only the changed middle is replaced, so the doctor's undo history survives a pick.
    const QString oldLf = body()->toPlainText();
    const QString newLf = fromCrLf(newCrlfText);
    int prefix = 0;
    while (prefix < oldLf.size() && prefix < newLf.size() && oldLf[prefix] == newLf[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < oldLf.size() - prefix && suffix < newLf.size() - prefix
           && oldLf[oldLf.size() - 1 - suffix] == newLf[newLf.size() - 1 - suffix])
        ++suffix;
    QTextCursor cursor(body()->document());
    cursor.setPosition(prefix);
    cursor.setPosition(int(oldLf.size()) - suffix, QTextCursor::KeepAnchor);
    cursor.insertText(newLf.mid(prefix, newLf.size() - prefix - suffix));
    cursor.setPosition(toLfIndex(newCrlfText, crlfCaret));
    body()->setTextCursor(cursor);
}

void PrescriptionEditor::insertAtCaret(const QString &crlfText)
{
    const QString lf = body()->toPlainText();
    const QTextCursor cursor = body()->textCursor();
    const BodyEdit edit = insertAt(toCrLf(lf), toCrLfIndex(lf, cursor.selectionStart()), toCrLfIndex(lf, cursor.selectionEnd()), crlfText);
    replaceBody(edit.text, edit.caret);
}

void PrescriptionEditor::applyPreset(const QString &caption)
{
    body()->setFocus();
    insertAtCaret(usagePresetInsertion(caption));
    m_areas.drugs->searchBox()->setFocus();
}

void PrescriptionEditor::applyPick(const DrugPick &pick)
{
    if (m_pickGate && !m_pickGate(pick))
        return;
    const QString lf = body()->toPlainText();
    const QTextCursor cursor = body()->textCursor();
    const BodyEdit edit = pickIntoBody(pick.category, toCrLf(lf), toCrLfIndex(lf, cursor.selectionStart()),
                                       toCrLfIndex(lf, cursor.selectionEnd()), pick.text);
    replaceBody(edit.text, edit.caret);
    setKind(kindAfterPick(pick.category));
    hideHeaderLists();
    m_areas.drugs->finishPick();
}

void PrescriptionEditor::copySelectionToCard()
{
    m_areas.card->usage()->setPlainText(fromCrLf(selectedText(body())));
}

void PrescriptionEditor::buildBodyMenu()
{
    m_bodyMenu = new QMenu(body());
    m_bodyMenu->setObjectName(QStringLiteral("右键菜单"));
    const auto add = [this](const QString &caption, const std::function<void()> &run) {
        QAction *action = m_bodyMenu->addAction(withAccessKey(caption));
        action->setObjectName(QStringLiteral("bodyMenu_") + caption);
        action->setProperty("caption", caption);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    add(QStringLiteral("剪切(T)"), [this] { body()->cut(); });
    add(QStringLiteral("复制(C)"), [this] { body()->copy(); });
    add(QStringLiteral("粘贴(P)"), [this] { insertAtCaret(toCrLf(QGuiApplication::clipboard()->text())); });
    add(QStringLiteral("删除(D)"), [this] { body()->textCursor().removeSelectedText(); });
    m_bodyMenu->addSeparator();
    add(QStringLiteral("复制到注射卡"), [this] { copySelectionToCard(); });
    add(QStringLiteral("添加到个人组套/中医验方"), [this] { Q_EMIT addToOrderSetsRequested(selectedText(body())); });
    m_bodyMenu->addSeparator();
    for (const UsageMenuItem &item : usageMenuItems())
        add(item.caption, [this, item] { insertAtCaret(usageMenuInsertion(item)); });
}

void PrescriptionEditor::showBodyMenu(const QPoint &position)
{
    const bool selected = body()->textCursor().hasSelection();
    const bool clipboardText = !QGuiApplication::clipboard()->text().isEmpty();
    for (QAction *action : m_bodyMenu->actions()) {
        const QString caption = action->property("caption").toString();
        if (caption == QStringLiteral("粘贴(P)"))
            action->setEnabled(clipboardText);
        else if (caption == QStringLiteral("剪切(T)") || caption == QStringLiteral("复制(C)") || caption == QStringLiteral("删除(D)")
                 || caption == QStringLiteral("复制到注射卡") || caption == QStringLiteral("添加到个人组套/中医验方"))
            action->setEnabled(selected);
    }
    m_bodyMenu->popup(body()->viewport()->mapToGlobal(position));
}

bool PrescriptionEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == body()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            hideHeaderLists();
        // The menu opens when the right button is released, not on the press that the
        // platform turns into a context-menu request; the menu key still opens it.
        if (event->type() == QEvent::ContextMenu && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse)
            return true;
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            showBodyMenu(static_cast<QMouseEvent *>(event)->position().toPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PrescriptionEditor::setLoading(bool loading)
{
    m_loading = loading;
    if (!loading)
        m_acceptedGrid = gridOnScreen();
}

PriceGrid PrescriptionEditor::gridOnScreen() const
{
    PriceGrid grid;
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < GridColumnCount; ++c)
            grid.rows[r][GridColumn(c)] = m_areas.grid->cell(c, r)->text();
    }
    grid.total = m_areas.grid->total()->text();
    return grid;
}

void PrescriptionEditor::setGridCell(int column, int row, const QString &text)
{
    QLineEdit *cell = m_areas.grid->cell(column, row);
    if (cell->text() != text)
        cell->setText(text);
}

void PrescriptionEditor::retotal()
{
    if (m_retotalling || m_loading)
        return;
    m_retotalling = true;
    PriceGrid grid = gridOnScreen();
    grid.retotal();
    const QList<int> refused = grid.rowsOutOfRange();
    for (const int r : refused) {
        // The edit that made the amount absurd is taken back.
        grid.rows[r].quantity = m_acceptedGrid.rows[r].quantity;
        grid.rows[r].price = m_acceptedGrid.rows[r].price;
        setGridCell(GridQuantity, r, grid.rows[r].quantity);
        setGridCell(GridPrice, r, grid.rows[r].price);
    }
    if (!refused.isEmpty())
        grid.retotal();
    for (int r = 0; r < kGridRows; ++r)
        setGridCell(GridAmount, r, grid.rows[r].amount);
    m_areas.grid->total()->setText(grid.total);
    m_areas.sheet->field(FieldDrugFee)->setText(grid.total);
    m_acceptedGrid = grid;
    m_retotalling = false;
    if (!refused.isEmpty())
        MessageDialog::inform(m_areas.sheet, amountOutOfRangeMessage(refused.first()), MessageDialog::Icon::Exclamation);
}

void PrescriptionEditor::price()
{
    m_areas.grid->scrollToTop();
    PriceGrid grid;
    try {
        DrugStore drugs(m_workspace.settings());
        grid = m_areas.grid->doses()->isVisible() ? priceHerbs(bodyText(), m_areas.grid->doses()->text(), drugs)
                                                  : priceWestern(bodyText(), drugs);
    } catch (const std::exception &) {
        // An unreadable catalogue prices nothing; the grid is emptied as on every pricing.
    }
    // A catalogue quantity or price that makes an absurd amount is left for the doctor to fill.
    const QList<int> refused = grid.rowsOutOfRange();
    for (const int r : refused)
        grid.rows[r].quantity.clear();
    m_retotalling = true;
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < GridColumnCount; ++c)
            m_areas.grid->cell(c, r)->setText(grid.rows[r][GridColumn(c)]);
    }
    m_retotalling = false;
    retotal();
    if (!refused.isEmpty())
        MessageDialog::inform(m_areas.sheet, amountOutOfRangeMessage(refused.first()), MessageDialog::Icon::Exclamation);
}

void PrescriptionEditor::applyAutoPricing(bool on)
{
    m_autoPricing = on;
    m_areas.actions->showPricing(on);
    m_areas.grid->setVisible(on);
}

void PrescriptionEditor::setAutoPricing(bool on)
{
    applyAutoPricing(on);
    try {
        SettingsRow(m_workspace.settings()).write({{QStringLiteral("自动划价"), on ? QStringLiteral("1") : QStringLiteral("0")}});
    } catch (const std::exception &e) {
        MessageDialog::inform(m_areas.sheet, QStringLiteral("自动划价的设置未能保存：%1").arg(QString::fromUtf8(e.what())),
                              MessageDialog::Icon::Exclamation);
    }
}

void PrescriptionEditor::runAction(int action)
{
    switch (action) {
    case ActionBarWidget::Receipt:
        MessageDialog::inform(m_areas.sheet, QStringLiteral("此功能仅为需要的用户定做！"));
        break;
    case ActionBarWidget::Pricing:
        price();
        break;
    default:
        Q_EMIT actionRequested(action);
    }
}

} // namespace quillora
