#pragma once

#include "printing/infusion_card_layout.h"
#include "printing/print_steps.h"

#include <QString>
#include <array>

namespace quillora {

class Printer;

// What the infusion card window shows at the moment of printing.
struct InfusionCardContent
{
    QString institution;  // first title line
    std::array<QString, InfusionCardLayout::kHeaderCount> header;
    std::array<QString, InfusionCardLayout::kRows> names, speeds, times, nurses;
};

// The infusion execution card exactly as laid out on the panel, unscaled, each element in its
// own font, at the window's margins and orientation. One page; ends the document.
void printInfusionCard(Printer &printer, const InfusionCardContent &content, const CardMargins &margins);

} // namespace quillora
