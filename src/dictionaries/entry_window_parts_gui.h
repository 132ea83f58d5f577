#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace quillora {

class DictionaryListWidget;
class KeptText;

// The order-set and template windows share one face: a list on the left, name and code boxes
// over a content box on the right, and the four buttons below.
namespace EntryWindowLayout {
constexpr int kWidth = 8760, kHeight = 6600;
// These windows sit 225 twips above the centre of the screen.
constexpr double kReservedBelow = 450;
} // namespace EntryWindowLayout

struct EntryWindowParts
{
    DictionaryListWidget *list = nullptr;
    QLineEdit *name = nullptr;   // Text1
    QLineEdit *code = nullptr;   // Text3
    QPlainTextEdit *content = nullptr;
    QPushButton *add = nullptr;
    QPushButton *remove = nullptr;
    QPushButton *save = nullptr;
    QPushButton *close = nullptr;
};

// Builds the shared face on the window from `top` (twips) down; the captions of the two boxes
// are given without their colon.
EntryWindowParts buildEntryWindow(QWidget *window, const QString &nameCaption, const QString &codeCaption, int top);

// Shows a stored CR LF text in the box and keeps it, so an unchanged box saves it back as it was.
void showStoredText(QPlainTextEdit *box, const QString &stored, KeptText &kept);

} // namespace quillora
