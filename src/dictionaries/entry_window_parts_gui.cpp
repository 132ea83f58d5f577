#include "dictionaries/entry_window_parts_gui.h"

#include "dictionaries/dictionary_list_widget.h"
#include "dictionaries/kept_text.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "text/text_lines.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillora {

namespace {

const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
const FontSpec kContentFont{QStringLiteral("宋体"), 10.5, false};
constexpr int kListWidth = 2880, kRightLeft = 3120, kRowHeight = 330;

QLineEdit *boxWithCaption(QWidget *window, const QString &name, const QString &caption, int left, int top, int width)
{
    auto *label = new QLabel(caption, window);
    label->adjustSize();
    label->move(Twips::toPixels(left), Twips::toPixels(top) + (Twips::toPixels(kRowHeight) - label->height()) / 2);
    auto *edit = new QLineEdit(window);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    const int boxLeft = left + int(Twips::fromPixels(label->width())) + 90;
    placeAt(edit, boxLeft, top, width - (boxLeft - left), kRowHeight);
    return edit;
}

} // namespace

EntryWindowParts buildEntryWindow(QWidget *window, const QString &nameCaption, const QString &codeCaption, int top)
{
    using namespace EntryWindowLayout;
    window->setFont(kControlFont.font());
    window->setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));
    EntryWindowParts parts;
    const int bottom = kHeight - 120;
    const int buttonTop = bottom - 420;
    parts.list = new DictionaryListWidget(window);
    parts.list->setObjectName(QStringLiteral("List1"));
    parts.list->setAccessibleName(window->windowTitle());
    placeAt(parts.list, 120, top, kListWidth, bottom - top);

    const int rightWidth = kWidth - kRightLeft - 120;
    const int nameWidth = rightWidth * 3 / 5 - 60;
    parts.name = boxWithCaption(window, QStringLiteral("Text1"), nameCaption, kRightLeft, top, nameWidth);
    parts.code = boxWithCaption(window, QStringLiteral("Text3"), codeCaption, kRightLeft + nameWidth + 120, top,
                                rightWidth - nameWidth - 120);
    parts.content = new QPlainTextEdit(window);
    parts.content->setAccessibleName(QStringLiteral("内容"));
    parts.content->setFont(kContentFont.font());
    parts.content->setTabChangesFocus(true);
    placeAt(parts.content, kRightLeft, top + kRowHeight + 120, rightWidth, buttonTop - 150 - (top + kRowHeight + 120));

    const QString captions[] = {QStringLiteral("添  加"), QStringLiteral("删  除"), QStringLiteral("保  存"), QStringLiteral("退 出")};
    QPushButton **slots[] = {&parts.add, &parts.remove, &parts.save, &parts.close};
    const int step = (rightWidth + 120) / 4;
    for (int i = 0; i < 4; ++i) {
        *slots[i] = new QPushButton(captions[i], window);
        (*slots[i])->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        placeAt(*slots[i], kRightLeft + i * step, buttonTop, step - 120, 420);
    }
    QWidget::setTabOrder(parts.name, parts.code);
    QWidget::setTabOrder(parts.code, parts.content);
    return parts;
}

void showStoredText(QPlainTextEdit *box, const QString &stored, KeptText &kept)
{
    box->setPlainText(fromCrLf(stored));
    kept.keep(stored, box->toPlainText());
}

} // namespace quillora
