#include "base/screen_fit.h"

#include <algorithm>

namespace quillora {

QRect fitInside(const QRect &wanted, const QRect &area)
{
    QRect fitted = wanted;
    fitted.moveLeft(std::max(area.left(), std::min(wanted.left(), area.right() + 1 - wanted.width())));
    fitted.moveTop(std::max(area.top(), std::min(wanted.top(), area.bottom() + 1 - wanted.height())));
    return fitted;
}

} // namespace quillora
