#pragma once

#include "workstation/pricing.h"
#include "workstation/workstation_areas.h"

#include <QObject>

#include <functional>

class QMenu;
class QPlainTextEdit;

namespace quillora {

class Workspace;
struct DrugPick;
struct KindLook;

// Writing the prescription: the body and its pop-up menu, picks from the drug entry, usage
// presets, the injection-card text that follows the body, the kind, pricing and totals.
class PrescriptionEditor : public QObject
{
    Q_OBJECT

public:
    PrescriptionEditor(Workspace &workspace, const WorkstationAreas &areas, QObject *parent = nullptr);

    // The body with CR LF line breaks, as it is stored and read back.
    QString bodyText() const;
    void setBodyText(const QString &crlfText);
    // The body's caret column in display columns (a Chinese character counts two).
    int getCaretPos() const;
    QMenu *bodyMenu() const { return m_bodyMenu; }

    void setKind(const KindLook &look);
    void cycleKind();
    // Runs the classification over the body and replaces the injection-card text.
    void ssy();
    void insertAtCaret(const QString &crlfText);
    void applyPreset(const QString &caption);
    void applyPick(const DrugPick &pick);
    // Asked before a pick goes into the body; a pick it turns down changes nothing.
    void setPickGate(std::function<bool(const DrugPick &)> gate) { m_pickGate = std::move(gate); }
    void copySelectionToCard();

    void price();
    void retotal();
    bool autoPricing() const { return m_autoPricing; }
    // Shows or hides the pricing area without writing the setting (window load).
    void applyAutoPricing(bool on);
    // The switch: shows or hides and stores 1 or 0 in the settings row.
    void setAutoPricing(bool on);
    void runAction(int action);

    // Suspends the classification and the re-total while a saved visit is copied into the
    // window: a loaded visit shows exactly what was saved.
    void setLoading(bool loading);

Q_SIGNALS:
    // Actions that open windows of their own (history card, infusion card) or print.
    void actionRequested(int action);
    // "添加到个人组套/中医验方": the body's selected text, with CR LF line breaks.
    void addToOrderSetsRequested(const QString &selectedText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildBodyMenu();
    void showBodyMenu(const QPoint &position);
    void replaceBody(const QString &newCrlfText, int crlfCaret);
    QPlainTextEdit *body() const;
    void hideHeaderLists();
    PriceGrid gridOnScreen() const;
    void setGridCell(int column, int row, const QString &text);

    Workspace &m_workspace;
    WorkstationAreas m_areas;
    QMenu *m_bodyMenu = nullptr;
    bool m_loading = false;
    bool m_autoPricing = false;
    bool m_retotalling = false;
    std::function<bool(const DrugPick &)> m_pickGate;
    PriceGrid m_acceptedGrid;  // the grid as last totalled, to fall back on when an amount is refused
};

} // namespace quillora
