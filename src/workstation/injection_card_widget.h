#pragma once

#include "forms/sheet_layout.h"

#include <QFrame>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillora {

// The outpatient injection card beside the sheet: the patient's name, sex, age, date and
// doctor mirrored from the header, and the injection lines of the prescription.
class InjectionCardWidget : public QFrame
{
    Q_OBJECT

public:
    explicit InjectionCardWidget(QWidget *parent = nullptr);

    QLineEdit *box(int index) const { return m_boxes[index]; }
    QLabel *caption(int index) const { return m_captions[index]; }
    QPlainTextEdit *usage() const { return m_usage; }

private:
    std::array<QLabel *, InjectionCardLayout::kCaptionCount> m_captions{};
    std::array<QLineEdit *, InjectionCardLayout::kBoxCount> m_boxes{};
    QPlainTextEdit *m_usage = nullptr;
};

} // namespace quillora
