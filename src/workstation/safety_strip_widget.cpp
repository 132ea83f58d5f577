#include "workstation/safety_strip_widget.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillora {

SafetyStripWidget::SafetyStripWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("safetyStrip"));
    setAccessibleName(QStringLiteral("用药安全提示"));
    setStyleSheet(QStringLiteral("QFrame#safetyStrip { background: #fff4d6; border: 1px solid #e0b44c; border-radius: 3px; }"
                                 "QLabel { color: #7a4600; background: transparent; border: none; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("safetyStripText"));
    row->addWidget(m_label);
    hide();
}

void SafetyStripWidget::setWarnings(const QString &text, const QString &details)
{
    m_text = text;
    setToolTip(details);
    showElided();
    setVisible(!text.isEmpty());
}

void SafetyStripWidget::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    showElided();
}

void SafetyStripWidget::showElided()
{
    const int room = width() - 14;
    m_label->setText(room > 0 ? m_label->fontMetrics().elidedText(m_text, Qt::ElideRight, room) : m_text);
}

} // namespace quillora
