#pragma once

#include <optional>

namespace quillora {

// The scroll-bar value that brings the band top..bottom of a tall panel into its viewport,
// with a little room around it; nothing when the band is already in view. The panel's top is
// −(panel height − viewport height) × value / maximum, as for every scrolled card.
std::optional<int> scrollValueShowing(double top, double bottom, int value, int maximum, int panelHeight, int viewportHeight);

} // namespace quillora
