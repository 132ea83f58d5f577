#include "workstation/history_area_widget.h"

#include "forms/form_parts_widget.h"
#include "forms/twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quillora {

namespace {
const FontSpec kCaptionFont{QStringLiteral("宋体"), 9, true};
const FontSpec kTextFont{QStringLiteral("宋体"), 10.5, false};
} // namespace

HistoryAreaWidget::HistoryAreaWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("historyArea"));
    resize(Twips::toPixels(HistoryLayout::kAreaWidth), Twips::toPixels(HistoryLayout::kAreaHeight));
    QLabel *title = formLabel(QStringLiteral("historyCaption"), QStringLiteral("病史"), kCaptionFont, this);
    title->move(Twips::toPixels(60, 45));
    m_addToTemplates = new ClickLabel(QStringLiteral("添加到模板"), this);
    m_addToTemplates->setObjectName(QStringLiteral("Label24"));
    m_addToTemplates->setFont(kCaptionFont.font());
    m_addToTemplates->setStyleSheet(QStringLiteral("QLabel { color: #1a5fb4; } QLabel:disabled { color: #9aa4b0; }"));
    m_addToTemplates->adjustSize();
    m_history = new QPlainTextEdit(this);
    m_history->setObjectName(QStringLiteral("R3"));
    m_history->setFont(kTextFont.font());
    m_history->viewport()->installEventFilter(this);
    layOut();
}

void HistoryAreaWidget::layOut()
{
    m_history->setGeometry(0, Twips::toPixels(330), width(), height() - Twips::toPixels(330));
    m_addToTemplates->move(width() - Twips::toPixels(60) - m_addToTemplates->width(), Twips::toPixels(45));
}

bool HistoryAreaWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_history->viewport() && event->type() == QEvent::MouseButtonPress)
        Q_EMIT clicked();
    return QFrame::eventFilter(watched, event);
}

TemplatePickerWidget::TemplatePickerWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("templatePicker"));
    resize(Twips::toPixels(HistoryLayout::kPickerWidth), Twips::toPixels(HistoryLayout::kPickerHeight));
    m_caption = new ClickLabel(QStringLiteral("病史模板查询："), this);
    m_caption->setObjectName(QStringLiteral("Label5_21"));
    m_caption->setFont(kCaptionFont.font());
    m_caption->adjustSize();
    m_caption->move(Twips::toPixels(60, 75));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Text5"));
    m_list = new RowList(this);
    m_list->setObjectName(QStringLiteral("List3"));
    layOut();
}

void TemplatePickerWidget::layOut()
{
    placeAt(m_filter, 1500, 0, Twips::fromPixels(width()) - 1500, 315);
    m_list->setGeometry(0, Twips::toPixels(390), width(), height() - Twips::toPixels(390));
}

} // namespace quillora
