#pragma once

#include <QRect>

namespace quillora {

// The rectangle moved (never resized) as little as needed to lie inside the area, so a window
// opened near a screen edge can be reached whole; a rectangle larger than the area keeps its
// top-left corner in it.
QRect fitInside(const QRect &wanted, const QRect &area);

} // namespace quillora
