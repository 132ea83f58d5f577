#pragma once

#include "forms/sheet_layout.h"

#include <QFrame>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillora {

class LineWidget;
class RowList;

// The white prescription sheet: captions, rules, the seventeen header fields, the body
// and the header pick lists, each at its twip position.
class SheetWidget : public QFrame
{
    Q_OBJECT

public:
    explicit SheetWidget(QWidget *parent = nullptr);

    QLabel *caption(int index) const { return m_captions[index]; }
    QLineEdit *field(int index) const { return m_fields[index]; }
    QLabel *fieldCaption(int index) const { return m_fieldCaptions[index]; }
    LineWidget *underline(int index) const { return m_underlines[index]; }
    QPlainTextEdit *body() const { return m_body; }
    RowList *patientList() const { return m_patientList; }
    RowList *diagnosisList() const { return m_diagnosisList; }
    RowList *addressList() const { return m_addressList; }

    QString title() const;
    QString kind() const;
    void setTitle(const QString &title);
    void setKind(const QString &kind);
    void setInstitution(const QString &name);
    // Title and institution name sized to their text and centred on the sheet.
    void centreHeadings();
    // Lays out caption, text and underline of every field box from the caption widths.
    void layOutFields();
    void hidePickLists();

Q_SIGNALS:
    // A click on the kind box.
    void kindClicked();
    // The prescription kind shown changed.
    void kindChanged();
    // A click on the sheet itself (not on a field or the body).
    void sheetClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildCaptions();
    void buildRules();
    void buildFields();
    void buildBody();
    void buildPickLists();
    void centre(QLabel *label);

    std::array<QLabel *, SheetLayout::kCaptionCount> m_captions{};
    std::array<QWidget *, SheetLayout::kFieldCount> m_boxes{};
    std::array<QLabel *, SheetLayout::kFieldCount> m_fieldCaptions{};
    std::array<QLineEdit *, SheetLayout::kFieldCount> m_fields{};
    std::array<LineWidget *, SheetLayout::kFieldCount> m_underlines{};
    QPlainTextEdit *m_body = nullptr;
    RowList *m_patientList = nullptr;
    RowList *m_diagnosisList = nullptr;
    RowList *m_addressList = nullptr;
};

} // namespace quillora
