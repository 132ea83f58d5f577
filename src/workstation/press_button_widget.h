#pragma once

#include <QIcon>
#include <QWidget>

namespace quillora {

// A picture button of the toolbar and the action bar: sunken while the left button is held,
// flat again on release, and only then does it act. Other mouse buttons do nothing.
class PressButton : public QWidget
{
    Q_OBJECT

public:
    PressButton(const QString &caption, const QIcon &icon, QWidget *parent = nullptr);
    QString caption() const { return m_caption; }
    bool isPressed() const { return m_pressed; }
    void setIconSize(int pixels) { m_iconSize = pixels; update(); }
    // Framed buttons (the action bar) show a raised picture when released.
    void setFramed(bool framed) { m_framed = framed; update(); }
    QSize sizeHint() const override;

    // Acts as a release of the left button would (keyboard and accessibility tools).
    void press();

Q_SIGNALS:
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString m_caption;
    QIcon m_icon;
    int m_iconSize = 24;
    bool m_pressed = false;
    bool m_hovered = false;
    bool m_framed = false;
};

} // namespace quillora
