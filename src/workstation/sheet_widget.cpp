#include "workstation/sheet_widget.h"

#include "data/visit_record.h"
#include "forms/form_parts_widget.h"
#include "forms/typing_limit_gui.h"
#include "forms/twips.h"

#include <QMouseEvent>
#include <QPlainTextEdit>

namespace quillora {

SheetWidget::SheetWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture9"));
    makePaper(this);
    setFrameShape(QFrame::NoFrame);
    placeAt(this, SheetLayout::kLeft, SheetLayout::kTop, SheetLayout::kWidth, SheetLayout::kHeight);
    buildRules();
    buildCaptions();
    buildFields();
    buildBody();
    buildPickLists();
}

void SheetWidget::buildCaptions()
{
    for (int i = 0; i < SheetLayout::kCaptionCount; ++i) {
        const CaptionSpec &spec = SheetLayout::captions()[i];
        auto *label = new QLabel(spec.text, this);
        label->setObjectName(indexedName("Label3", i));
        label->setFont(spec.font.font());
        label->setMargin(0);
        label->adjustSize();
        label->move(Twips::toPixels(spec.left, spec.top));
        m_captions[i] = label;
    }
    // The whole kind box is the click target, not only the caption's letters.
    auto *target = new ClickLabel(QString(), this);
    target->setObjectName(QStringLiteral("kindTarget"));
    placeAt(target, SheetLayout::kKindTarget);
    target->raise();
    connect(target, &ClickLabel::clicked, this, &SheetWidget::kindClicked);
}

void SheetWidget::buildRules()
{
    for (int i = 0; i < SheetLayout::kRuleCount; ++i)
        (new LineWidget(SheetLayout::rules()[i], this))->setObjectName(indexedName("Line1", i));
}

void SheetWidget::buildFields()
{
    const auto &captions = headerFieldCaptions();
    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        const SheetLayout::FieldBox &spec = SheetLayout::fieldBoxes()[i];
        auto *box = new QWidget(this);
        box->setObjectName(indexedName("Picture6", i));
        placeAt(box, spec.left, spec.top, spec.width, SheetLayout::kFieldBoxHeight);
        m_boxes[i] = box;
        m_fieldCaptions[i] = formLabel(indexedName("Label1", i), captions[i], SheetLayout::fieldCaptionFont(), box);
        m_fields[i] = formLineEdit(indexedName("Text7", i), SheetLayout::fieldTextFont(i), box);
        limitTyping(m_fields[i], SheetLayout::fieldTypingLimit(i));
        m_underlines[i] = new LineWidget(TwipLine{}, box);
        m_underlines[i]->setObjectName(indexedName("Line2", i));
        box->setVisible(spec.visible);
    }
    layOutFields();
}

void SheetWidget::layOutFields()
{
    for (int i = 0; i < SheetLayout::kFieldCount; ++i) {
        const SheetLayout::FieldBox &spec = SheetLayout::fieldBoxes()[i];
        const double captionWidth = Twips::textWidth(m_fieldCaptions[i]->text(), m_fieldCaptions[i]->font());
        const SheetLayout::FieldInner inner = SheetLayout::fieldInner(spec.width, captionWidth);
        m_fieldCaptions[i]->adjustSize();
        m_fieldCaptions[i]->move(Twips::toPixels(inner.captionLeft, inner.captionTop));
        placeAt(m_fields[i], inner.textLeft, inner.textTop, inner.textWidth, 225);
        m_underlines[i]->setLine(inner.underline);
    }
}

void SheetWidget::buildBody()
{
    m_body = new QPlainTextEdit(this);
    m_body->setObjectName(QStringLiteral("R1"));
    m_body->setFont(SheetLayout::bodyFont().font());
    m_body->setFrameShape(QFrame::NoFrame);
    m_body->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_body->setContextMenuPolicy(Qt::CustomContextMenu);  // the program's own menu, never the system's
    m_body->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    placeAt(m_body, SheetLayout::kBody);
}

void SheetWidget::buildPickLists()
{
    const auto make = [this](const char *name, const TwipRect &rect) {
        auto *list = new RowList(this);
        list->setObjectName(QLatin1String(name));
        list->setFont(SheetLayout::fieldTextFont(0).font());
        placeAt(list, rect);
        list->hide();
        return list;
    };
    m_patientList = make("List6", SheetLayout::kPatientList);
    m_diagnosisList = make("List2", SheetLayout::kDiagnosisList);
    m_addressList = make("List5", SheetLayout::kAddressList);
}

QString SheetWidget::title() const { return m_captions[SheetLayout::Title]->text(); }

QString SheetWidget::kind() const { return m_captions[SheetLayout::Kind]->text(); }

void SheetWidget::setTitle(const QString &title)
{
    m_captions[SheetLayout::Title]->setText(title);
    centre(m_captions[SheetLayout::Title]);
}

void SheetWidget::setKind(const QString &kind)
{
    const bool changed = kind != this->kind();
    m_captions[SheetLayout::Kind]->setText(kind);
    m_captions[SheetLayout::Kind]->adjustSize();
    if (changed)
        Q_EMIT kindChanged();
}

void SheetWidget::setInstitution(const QString &name)
{
    m_captions[SheetLayout::Institution]->setText(name);
    centre(m_captions[SheetLayout::Institution]);
}

void SheetWidget::centreHeadings()
{
    centre(m_captions[SheetLayout::Title]);
    centre(m_captions[SheetLayout::Institution]);
}

void SheetWidget::centre(QLabel *label)
{
    label->adjustSize();
    const double width = Twips::textWidth(label->text(), label->font());
    const int top = label->y();
    label->move(Twips::toPixels(SheetLayout::centredLeft(width)), top);
}

void SheetWidget::hidePickLists()
{
    m_patientList->hide();
    m_diagnosisList->hide();
    m_addressList->hide();
}

void SheetWidget::mousePressEvent(QMouseEvent *event)
{
    QFrame::mousePressEvent(event);
    Q_EMIT sheetClicked();
}

} // namespace quillora
