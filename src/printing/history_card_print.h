#pragma once

#include "printing/history_card_layout.h"
#include "printing/print_steps.h"

#include <QString>
#include <QStringList>
#include <array>

namespace quillora {

class Printer;

// What the history card window holds at the moment of drawing.
struct HistoryCardContent
{
    QString institution;
    std::array<QString, HistoryCardLayout::kFieldCount> fields;  // name, sex, age, date, address, doctor
    QStringList historyLines;  // the history box's lines as the box displays them, wrapped
    QString body;              // the main window's prescription body, CR LF
};

// Draws the card from its corner in the printer's present scale: captions, fields, rules, the
// history lines, then at most 15 non-blank body lines indented below them. The preview and
// the printout share it. The body passes through the scratch file at scratchPath.
void drawHistoryCard(Printer &printer, const HistoryCardContent &content, const QString &scratchPath);

// The card on paper at the window's margins and orientation. One page; ends the document.
void printHistoryCard(Printer &printer, const HistoryCardContent &content, const CardMargins &margins,
                      const QString &scratchPath);

namespace HistoryCardPrint {
constexpr int kMaxBodyLines = 15;
constexpr double kLineGap = 90;
} // namespace HistoryCardPrint

} // namespace quillora
