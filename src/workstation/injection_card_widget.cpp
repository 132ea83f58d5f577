#include "workstation/injection_card_widget.h"

#include "forms/form_parts_widget.h"
#include "forms/typing_limit_gui.h"
#include "forms/twips.h"

#include <QPlainTextEdit>

namespace quillora {

InjectionCardWidget::InjectionCardWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("injectionCardPanel"));
    makePaper(this);
    resize(Twips::toPixels(InjectionCardLayout::kWidth), Twips::toPixels(InjectionCardLayout::kHeight));

    for (int i = 0; i < InjectionCardLayout::kRuleCount; ++i)
        (new LineWidget(InjectionCardLayout::rules()[i], this))->setObjectName(indexedName("cardRule", i));
    for (int i = 0; i < InjectionCardLayout::kCaptionCount; ++i) {
        const auto &spec = InjectionCardLayout::captions()[i];
        m_captions[i] = formLabel(indexedName("Label25", i), spec.text, spec.font, this);
        m_captions[i]->move(Twips::toPixels(spec.rect.left, spec.rect.top));
    }
    for (int i = 0; i < InjectionCardLayout::kBoxCount; ++i) {
        const auto &spec = InjectionCardLayout::boxes()[i];
        m_boxes[i] = formLineEdit(indexedName("Text6", i), spec.font, this);
        limitTyping(m_boxes[i], spec.maxLength);
        placeAt(m_boxes[i], spec.rect);
    }
    m_usage = new QPlainTextEdit(this);
    m_usage->setObjectName(QStringLiteral("R2"));
    m_usage->setFont(FontSpec{QStringLiteral("宋体"), 9, false}.font());
    m_usage->setFrameShape(QFrame::NoFrame);
    m_usage->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_usage->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    placeAt(m_usage, InjectionCardLayout::kUsageBox);
}

} // namespace quillora
