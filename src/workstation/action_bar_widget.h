#pragma once

#include "workstation/prescription_text.h"

#include <QFrame>
#include <array>

namespace quillora {

class ClickLabel;
class PressButton;

// The five picture buttons under the sheet and the auto-pricing switch beside them.
class ActionBarWidget : public QFrame
{
    Q_OBJECT

public:
    enum Action { PrintHistory = 0, Receipt = 1, InjectionCard = 2, InfusionCard = 3, Pricing = 4, ActionCount = 5 };

    explicit ActionBarWidget(QWidget *parent = nullptr);
    PressButton *button(int index) const { return m_buttons[index]; }
    // Which buttons show follows the auto-pricing switch.
    void showPricing(bool on);

Q_SIGNALS:
    void activated(int action);
    void autoPricingRequested(bool on);
    // The pricing buttons were shown or hidden.
    void pricingShown(bool on);

private:
    std::array<PressButton *, ActionCount> m_buttons{};
    ClickLabel *m_on = nullptr;
    ClickLabel *m_off = nullptr;
};

// The usage presets beside the body: unit words and whole usage lines, one click each.
class UsagePresetsWidget : public QFrame
{
    Q_OBJECT

public:
    explicit UsagePresetsWidget(QWidget *parent = nullptr);

Q_SIGNALS:
    void presetClicked(const QString &caption);

private:
    ClickLabel *presetLabel(const UsagePreset &preset, const QFont &font);
};

} // namespace quillora
