#include "shared/popupplace.h"

#include <algorithm>

namespace Dayplex {

QPoint keptOnScreen(QPoint at, QSize size, const QRect &area)
{
    return QPoint(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())),
                  std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
}

} // namespace Dayplex
