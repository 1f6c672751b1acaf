// Interim weak definitions so that the library links while the cell matrix is being written;
// the real definitions in cellmatrix.cpp override them. This file is removed when it lands.
#include "calendar/cellmatrix.h"

#include "shared/unavailable.h"

namespace Dayplex {

__attribute__((weak)) void CellMatrix::rebuild(qint32, qint32)
{
}
__attribute__((weak)) bool CellMatrix::contains(qint32, qint32) const
{
    return false;
}
__attribute__((weak)) void CellMatrix::setColour(qint32, qint32, qint32)
{
    throwNotYetAvailable("backcolor");
}
__attribute__((weak)) void CellMatrix::zellenBelegungEintragen(qint32, qint32, qint32, qint32, const QString &)
{
    throwNotYetAvailable("ZellenBelegungEintragen");
}
__attribute__((weak)) qint32 CellMatrix::spaltenBelegen(qint32, qint32, qint32, const QString &)
{
    throwNotYetAvailable("SpaltenBelegen");
}
__attribute__((weak)) void applyWorkingTimes(CellMatrix &, const CalendarGrid &, const cContainer &, const cContainer &)
{
}

} // namespace Dayplex
