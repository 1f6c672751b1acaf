#ifndef DAYPLEX_HITREGION_H
#define DAYPLEX_HITREGION_H

#include <dayplex/dates.h>

#include <QVector>

#include <cstdint>
#include <vector>

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
    void clear()
    {
        m_regions.clear();
        m_indexed = false;
    }
    void add(const HitRegion &region)
    {
        m_regions.append(region);
        m_indexed = false;
    }
    void reserve(qint32 count) { m_regions.reserve(count); }
    qint32 count() const { return qint32(m_regions.size()); }
    const HitRegion &at(qint32 index) const { return m_regions[index - 1]; }
    const QVector<HitRegion> &all() const { return m_regions; }

    // The 0-based positions, in registration order, of the regions that may contain (x, y);
    // empty when the point lies outside every region. Builds the index on first use.
    void candidates(double x, double y, const qint32 *&begin, const qint32 *&end) const;

private:
    void buildIndex() const;

    QVector<HitRegion> m_regions;
    // A uniform bucket grid over the bounding box of the findable regions, rebuilt lazily
    // so that a paint registering thousands of regions pays for it once, at the first lookup.
    mutable bool m_indexed = false;
    mutable bool m_empty = true;
    mutable std::int64_t m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
    mutable std::int64_t m_cellW = 1, m_cellH = 1;
    mutable std::int64_t m_columns = 0, m_rows = 0;
    mutable std::vector<qint32> m_offsets;   // bucket b lists m_entries[m_offsets[b], m_offsets[b + 1])
    mutable std::vector<qint32> m_entries;
};

} // namespace Dayplex

#endif
