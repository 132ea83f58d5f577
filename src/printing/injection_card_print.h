#pragma once

#include "forms/sheet_layout.h"

#include <QString>
#include <array>

namespace quillora {

class Printer;
struct SettingsValues;

// What the injection-card panel shows at the moment of printing.
struct InjectionCardContent
{
    std::array<QString, InjectionCardLayout::kBoxCount> boxes;  // name, sex, age, date, doctor
    QString usage;                                              // lines separated by CR LF
};

// The outpatient injection card: the panel at 1.5 times its size, fonts two points larger,
// every caption whether shown or not, then at most 15 usage lines in 宋体 12 pt, blank lines
// keeping their space, then the three rules. Leaves the orientation as the printer has it.
// One page; ends the document.
void printInjectionCard(Printer &printer, const InjectionCardContent &content, const SettingsValues &settings,
                        const QString &scratchPath);

namespace InjectionCardPrint {
constexpr double kScale = 1.5;
constexpr double kExtraPoints = 2;
constexpr int kMaxUsageLines = 15;
constexpr double kLineGap = 60;
} // namespace InjectionCardPrint

} // namespace quillora
