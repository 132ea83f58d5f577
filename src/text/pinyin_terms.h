#pragma once

#include <span>
#include <string_view>

namespace quillora {

// A medicine or diagnosis term whose initials differ from those of its characters' everyday
// readings: 丹参 is dān shēn (ds), not dān cān; 月经不调 ends in tiáo.
struct TermReading
{
    std::u16string_view term;
    std::string_view code;  // one initial per character of the term
};

// The reviewed readings, applied before the per-character table; the longest term wins.
std::span<const TermReading> termReadings();

} // namespace quillora
