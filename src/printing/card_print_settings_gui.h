#pragma once

#include "printing/print_steps.h"
#include "forms/sheet_layout.h"

#include <QString>

class QLineEdit;
class QObject;
class QRadioButton;
class QWidget;

namespace quillora {

class Database;

// The print settings strip of a card window: two margin boxes in millimetres and the
// portrait / landscape choice, read from and written back to the card's own settings columns.
class CardPrintSettings
{
public:
    struct Columns
    {
        QString left, top, portrait;  // e.g. 左边距3, 上边距3, 竖打3
    };
    struct Places
    {
        TwipRect leftCaption, leftBox, topCaption, topBox, portrait, landscape;
    };

    // Builds the controls on the window; the boxes report their keys to `keyFilter`.
    CardPrintSettings(QWidget *window, const Columns &columns, const Places &places, QObject *keyFilter);

    // The stored values, or the design values when the row cannot be read.
    void load(Database &settings);
    // Writes the three columns; throws DbError when the row refuses them.
    void store(Database &settings) const;
    CardMargins margins() const;

    QLineEdit *leftBox() const { return m_left; }
    QLineEdit *topBox() const { return m_top; }
    QRadioButton *portraitOption() const { return m_portrait; }
    QRadioButton *landscapeOption() const { return m_landscape; }

private:
    Columns m_columns;
    QLineEdit *m_left = nullptr;
    QLineEdit *m_top = nullptr;
    QRadioButton *m_portrait = nullptr;
    QRadioButton *m_landscape = nullptr;
};

} // namespace quillora
