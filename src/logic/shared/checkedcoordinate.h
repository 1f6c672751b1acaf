#ifndef DAYPLEX_CHECKEDCOORDINATE_H
#define DAYPLEX_CHECKEDCOORDINATE_H

#include <QtGlobal>

namespace Dayplex {

// A pixel coordinate summed in 64 bits, back in 32; outside that range Dayplex::Error (Overflow)
// instead of a coordinate that wrapped around.
qint32 checkedCoordinate(qint64 value);

} // namespace Dayplex

#endif
