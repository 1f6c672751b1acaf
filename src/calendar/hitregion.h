#ifndef DAYPLEX_HITREGION_H
#define DAYPLEX_HITREGION_H

#include <dayplex/dates.h>

#include <QVector>

namespace Dayplex {

// Something the last paint drew that the mouse can act on.
struct HitRegion
{
    qint32 lngLeft = 0;
    qint32 lngTop = 0;
    qint32 lngWidth = 0;
    qint32 lngHeight = 0;
    qint32 lngIdx = 0;   // appointment record, 0 = none
    Date datVon = 0;     // the cell's date and time, or the appointment's start
    Date datBis = 0;     // the appointment's end, else 0
    qint32 lngTyp = 0;   // a kalenderobjekttyp value; 0 = drawn but never hit
    qint32 lngPrio = 0;  // the highest wins; 0 or less is never hit
};

// The regions of the last paint in drawing order, 1-based like the other lists.
class HitRegionList
{
public:
    void clear() { m_regions.clear(); }
    void add(const HitRegion &region) { m_regions.append(region); }
    qint32 count() const { return qint32(m_regions.size()); }
    const HitRegion &at(qint32 index) const { return m_regions[index - 1]; }
    const QVector<HitRegion> &all() const { return m_regions; }

private:
    QVector<HitRegion> m_regions;
};

} // namespace Dayplex

#endif
