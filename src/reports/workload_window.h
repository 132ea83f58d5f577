#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace quillora {

class Workspace;

// The workload count: how many prescriptions a date range saw and what they took.
class WorkloadWindow : public QWidget
{
    Q_OBJECT

public:
    explicit WorkloadWindow(Workspace &workspace, QWidget *parent = nullptr);

    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QLabel *resultLabel() const { return m_result; }

    // "统 计": true when the range was counted.
    bool count();
    // "今 日": today's visits.
    bool countToday();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &m_workspace;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QLabel *m_result = nullptr;
    bool m_centred = false;
};

} // namespace quillora
