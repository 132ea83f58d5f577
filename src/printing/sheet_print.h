#pragma once

#include "data/visit_record.h"
#include "forms/sheet_layout.h"

#include <QString>
#include <array>

namespace quillora {

class Printer;
struct SettingsValues;

// What the sheet panel shows at the moment of printing.
struct SheetContent
{
    std::array<QString, SheetLayout::kCaptionCount> captions;  // title, Rp, institution, kind, …
    std::array<QString, SheetLayout::kFieldCount> fields;
    QString body;  // lines separated by CR LF
};

// The sheet of a visit: the layout's fixed captions with the visit's title and kind and the
// institution's name.
SheetContent sheetContentFor(const VisitRecord &visit, const QString &institution);

// The whole prescription sheet on blank paper: every visible element of the panel at 1.2 times
// its position in its font one point larger, then at most 20 body lines in the settings font.
// One page; ends the document. The body passes through the scratch file at scratchPath.
void printSheet(Printer &printer, const SheetContent &content, const SettingsValues &settings,
                const QString &scratchPath);

namespace SheetPrint {
constexpr double kScale = 1.2;
constexpr double kExtraPoints = 1;
constexpr int kMaxBodyLines = 20;
constexpr double kLineGap = 90;
} // namespace SheetPrint

} // namespace quillora
