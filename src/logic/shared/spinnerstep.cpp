#include "shared/spinnerstep.h"

namespace Dayplex {

qint32 spinnerStep(int value, qint32 page)
{
    if (value == kSpinnerRest + 1)
        return 1;
    if (value == kSpinnerRest - 1)
        return -1;
    if (value >= kSpinnerRest + 3)
        return page;
    if (value <= kSpinnerRest - 3)
        return -page;
    return 0;
}

} // namespace Dayplex
