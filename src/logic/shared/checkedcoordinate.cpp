#include "shared/checkedcoordinate.h"

#include <dayplex/error.h>

#include <limits>

namespace Dayplex {

qint32 checkedCoordinate(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("Overflow: coordinate outside the 32-bit range"));
    return qint32(value);
}

} // namespace Dayplex
