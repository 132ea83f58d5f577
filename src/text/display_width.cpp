#include "text/display_width.h"

#include <algorithm>

namespace quillora {

namespace {

struct GbkRange {
    char16_t first;
    char16_t last;
};

#include "text/gbk_table.inc"

} // namespace

bool isDoubleByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return false; // the common case: ASCII is always one byte
    // First range whose end is not below u; u is inside it or in a gap.
    const auto it = std::lower_bound(std::begin(kGbkDoubleByteRanges), std::end(kGbkDoubleByteRanges), u,
                                     [](const GbkRange &r, char16_t v) { return r.last < v; });
    return it != std::end(kGbkDoubleByteRanges) && it->first <= u;
}

int displayColumns(const QString &text)
{
    int columns = 0;
    for (const QChar c : text)
        columns += isDoubleByte(c) ? 2 : 1;
    return columns;
}

} // namespace quillora
