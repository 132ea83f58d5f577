#include "workstation/action_bar_widget.h"

#include "forms/form_parts_widget.h"
#include "workstation/prescription_text.h"
#include "workstation/press_button_widget.h"
#include "forms/twips.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace quillora {

ActionBarWidget::ActionBarWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("actionBar"));
    const QString captions[ActionCount] = {QStringLiteral("打印病史"), QStringLiteral("打印票据"), QStringLiteral("打印注射卡"),
                                           QStringLiteral("输液执行卡"), QStringLiteral("划  价")};
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (int i = 0; i < ActionCount; ++i) {
        auto *b = new PressButton(captions[i], QIcon(), this);
        b->setObjectName(indexedName("Picture2", i));
        b->setProperty("caption", captions[i]);
        b->setMinimumWidth(Twips::toPixels(1020));
        b->setFramed(true);
        row->addWidget(b);
        connect(b, &PressButton::activated, this, [this, i] { Q_EMIT activated(i); });
        m_buttons[i] = b;
    }
    row->addStretch();
    m_on = new ClickLabel(QStringLiteral("自动划价：开"), this);
    m_on->setObjectName(QStringLiteral("autoPricingOn"));
    m_off = new ClickLabel(QStringLiteral("关"), this);
    m_off->setObjectName(QStringLiteral("autoPricingOff"));
    row->addWidget(m_on);
    row->addWidget(m_off);
    connect(m_on, &ClickLabel::clicked, this, [this] { Q_EMIT autoPricingRequested(true); });
    connect(m_off, &ClickLabel::clicked, this, [this] { Q_EMIT autoPricingRequested(false); });
}

void ActionBarWidget::showPricing(bool on)
{
    m_buttons[PrintHistory]->setVisible(!on);
    m_buttons[Receipt]->setVisible(on);
    m_buttons[Pricing]->setVisible(on);
    const QString active = QStringLiteral("color: #1a5fb4; font-weight: bold;");
    const QString idle = QStringLiteral("color: #6b7685;");
    m_on->setStyleSheet(on ? active : idle);
    m_off->setStyleSheet(on ? idle : active);
    Q_EMIT pricingShown(on);
}

ClickLabel *UsagePresetsWidget::presetLabel(const UsagePreset &preset, const QFont &font)
{
    const bool usageLine = preset.caption.contains(QStringLiteral("用法："));
    auto *label = new ClickLabel(preset.caption.trimmed(), this);
    label->setObjectName(indexedName("Label5", preset.index));
    label->setFont(font);
    label->setAlignment(usageLine ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    label->setMinimumWidth(usageLine ? 0 : 40);
    label->setToolTip(usageLine ? QStringLiteral("插入用法行") : QStringLiteral("插入“%1”").arg(preset.caption));
    label->setStyleSheet(QStringLiteral("QLabel { color: #1a4f8b; padding: 2px 4px; border: 1px solid #c9d3df; border-radius: 3px; background: #f7f9fc; }"
                                        "QLabel:hover { background: #e3ecf7; }"));
    const QString caption = preset.caption;
    connect(label, &ClickLabel::clicked, this, [this, caption] { Q_EMIT presetClicked(caption); });
    return label;
}

UsagePresetsWidget::UsagePresetsWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("usagePresets"));
    // Unit words flow in rows; the whole usage lines each take a row of their own.
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    const QFont font = FontSpec{QStringLiteral("宋体"), 9, false}.font();
    QList<UsagePreset> words, lines;
    for (const UsagePreset &preset : usagePresets()) {
        if (preset.index == 17 || preset.index == 21)
            continue;  // the two search captions live beside their own boxes
        (preset.caption.contains(QStringLiteral("用法：")) ? lines : words) << preset;
    }
    QHBoxLayout *row = nullptr;
    for (int i = 0; i < words.size(); ++i) {
        if (i % 6 == 0) {
            if (row)
                row->addStretch();
            row = new QHBoxLayout;
            row->setSpacing(4);
            column->addLayout(row);
        }
        row->addWidget(presetLabel(words[i], font));
    }
    if (row)
        row->addStretch();
    for (const UsagePreset &preset : lines)
        column->addWidget(presetLabel(preset, font));
    column->addStretch();
}

} // namespace quillora
