#include "workstation/press_button_widget.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quillora {

namespace {

// Screen readers see a push button named by its caption, which their "press" action clicks.
class PressButtonAccessible : public QAccessibleWidget
{
public:
    explicit PressButtonAccessible(PressButton *button) : QAccessibleWidget(button, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<PressButton *>(widget())->caption();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<PressButton *>(widget())->press();
    }
};

QAccessibleInterface *pressButtonAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("quillora::PressButton") && object && object->isWidgetType())
        return new PressButtonAccessible(static_cast<PressButton *>(object));
    return nullptr;
}

} // namespace

PressButton::PressButton(const QString &caption, const QIcon &icon, QWidget *parent)
    : QWidget(parent), m_caption(caption), m_icon(icon)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pressButtonAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(caption);
}

void PressButton::press()
{
    m_pressed = false;
    update();
    Q_EMIT activated();
}

void PressButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_pressed = true;
        update();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        press();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PressButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_pressed) {
        press();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

QSize PressButton::sizeHint() const
{
    const int text = fontMetrics().horizontalAdvance(m_caption) + 16;
    return {std::max(text, m_iconSize + 16), m_icon.isNull() ? fontMetrics().height() + 12 : m_iconSize + fontMetrics().height() + 12};
}

void PressButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_pressed) {
        // Sunken: dark edge at top-left, light at bottom-right.
        p.fillRect(rect(), QColor(0xd8, 0xdf, 0xe8));
        p.setPen(QPen(QColor(0x70, 0x78, 0x88), 1));
        p.drawLine(frame.topLeft(), frame.topRight());
        p.drawLine(frame.topLeft(), frame.bottomLeft());
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(frame.bottomLeft(), frame.bottomRight());
        p.drawLine(frame.topRight(), frame.bottomRight());
    } else if (m_framed) {
        QLinearGradient fill(0, 0, 0, height());
        fill.setColorAt(0, m_hovered ? QColor(0xf4, 0xf8, 0xfd) : QColor(0xfc, 0xfd, 0xfe));
        fill.setColorAt(1, m_hovered ? QColor(0xd9, 0xe6, 0xf4) : QColor(0xe4, 0xe9, 0xf0));
        p.setPen(QPen(QColor(0x9a, 0xa8, 0xba), 1));
        p.setBrush(fill);
        p.drawRoundedRect(frame, 3, 3);
    } else if (m_hovered && isEnabled()) {
        p.setPen(QPen(QColor(0xb4, 0xc4, 0xd8), 1));
        p.setBrush(QColor(0xee, 0xf3, 0xf9));
        p.drawRoundedRect(frame, 3, 3);
    }
    const int shift = m_pressed ? 1 : 0;
    int textTop = 0;
    if (!m_icon.isNull()) {
        const QRect iconRect((width() - m_iconSize) / 2 + shift, 4 + shift, m_iconSize, m_iconSize);
        m_icon.paint(&p, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        textTop = iconRect.bottom() + 2;
    }
    p.setPen(isEnabled() ? palette().color(QPalette::WindowText) : palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(QRect(shift, textTop + shift, width(), height() - textTop), Qt::AlignCenter, m_caption);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5));
    }
}

void PressButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    update();
}

void PressButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    press();
}

void PressButton::enterEvent(QEnterEvent *)
{
    m_hovered = true;
    update();
}

void PressButton::leaveEvent(QEvent *)
{
    m_hovered = false;
    update();
}

} // namespace quillora
