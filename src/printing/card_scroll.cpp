#include "printing/card_scroll.h"

#include <algorithm>
#include <cmath>

namespace quillora {

std::optional<int> scrollValueShowing(double top, double bottom, int value, int maximum, int panelHeight, int viewportHeight)
{
    const int span = panelHeight - viewportHeight;
    if (span <= 0 || maximum <= 0)
        return std::nullopt;
    const double shown = double(span) * value / maximum;
    if (top < shown)
        return int(std::floor(std::max(0.0, top - 120.0) * maximum / span));
    if (bottom > shown + viewportHeight)
        return int(std::ceil(std::min(double(span), bottom - viewportHeight + 120.0) * maximum / span));
    return std::nullopt;
}

} // namespace quillora
