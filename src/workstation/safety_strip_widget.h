#pragma once

#include <QFrame>

class QLabel;

namespace quillora {

// The one-line strip under the sheet that lists the prescription's safety warnings. It lies
// outside the paper form, so it is never printed; with nothing to say it is hidden.
class SafetyStripWidget : public QFrame
{
    Q_OBJECT

public:
    explicit SafetyStripWidget(QWidget *parent = nullptr);

    // The line (elided when it is wider than the strip) and the tooltip with every warning.
    void setWarnings(const QString &text, const QString &details);
    QString text() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showElided();

    QLabel *m_label = nullptr;
    QString m_text;
};

} // namespace quillora
