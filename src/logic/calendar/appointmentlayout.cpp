#include "calendar/cellmatrix.h"

#include "shared/alldayend.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

qint32 toPixel(double value)
{
    if (!(value > std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    if (!(value < std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return qint32(value);
}

qint32 toPixel(qint64 value)
{
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

// A timed record that took part in the occupancy.
struct Placed
{
    qint32 index;
    qint32 keyId;
    bool inexact;
};

// One of its day segments with the sub-column it was given.
struct Segment
{
    qint32 placed; // into the Placed list
    qint32 column;
    qint32 rowFrom;
    qint32 rowTo;
    qint32 k;
};

// All-day boxes of one band row as [left, right) runs. Boxes of one row never overlap, so
// sorted by left they are sorted by right as well.
class BandRows
{
public:
    // The first row (from 1) where [left, right) overlaps no box, and takes it there.
    qint32 take(qint64 left, qint64 right)
    {
        for (size_t j = 0;; ++j) {
            if (j == m_rows.size())
                m_rows.emplace_back();
            std::vector<std::pair<qint64, qint64>> &row = m_rows[j];
            // The last box starting before our right end reaches furthest of all such boxes.
            auto after = std::lower_bound(row.begin(), row.end(), right,
                                          [](const std::pair<qint64, qint64> &box, qint64 r) {
                                              return box.first < r;
                                          });
            if (after == row.begin() || std::prev(after)->second <= left) {
                row.insert(after, {left, right});
                return qint32(j + 1);
            }
        }
    }

private:
    std::vector<std::vector<std::pair<qint64, qint64>>> m_rows;
};

} // namespace

AppointmentLayout layoutAppointments(const AppointmentStore &store, CellMatrix &matrix,
                                     const CalendarGrid &grid, bool forPrinting)
{
    if (!std::isfinite(grid.timeRaster) || grid.timeRaster <= 0)
        throw Error(InvalidArgument, QStringLiteral("Termine: das Zeitraster %1 ist ungültig.")
                                         .arg(grid.timeRaster));

    AppointmentLayout layout;
    matrix.clearOccupancy();

    const qint32 count = store.count();
    std::vector<Placed> placed;
    std::vector<Segment> segments;
    std::vector<qint32> keyUses(1, 0);
    placed.reserve(size_t(count));
    segments.reserve(size_t(count) + size_t(count) / 4);

    const auto inMatrix = [&matrix](qint32 column, qint32 from, qint32 to) {
        return column >= 0 && column < matrix.days() && from >= 0 && from <= to
            && to < matrix.rows();
    };

    // Visible: the appointment touches the displayed days.
    std::vector<bool> visible(size_t(count) + 1, false);
    for (qint32 i = 1; i <= count; ++i) {
        const TerminEintrag &entry = store.at(i);
        const Date end = effectiveEnd(entry);
        visible[size_t(i)] = !(end < grid.firstDay) && !(entry.dateStart >= grid.lastDay + 1);
        if (!visible[size_t(i)] || entry.btagestermin)
            continue;
        qint32 tv = 0, tb = 0, zv = 0, zb = 0;
        if (!grid.terminIndices(entry.dateStart, end, tv, tb, zv, zb, grid.minDateHeight))
            continue;
        const qint32 keyId = matrix.internKey(entry.dsn);
        if (size_t(keyId) >= keyUses.size())
            keyUses.resize(size_t(keyId) + 1, 0);
        ++keyUses[size_t(keyId)];
        const bool inexact = !(cToolbox::IsOnRaster(entry.dateStart, grid.timeRaster)
                               && cToolbox::IsOnRaster(end, grid.timeRaster));
        const qint32 p = qint32(placed.size());
        placed.push_back({i, keyId, inexact});
        CellMatrix::forEachDay(tv, tb, zv, zb, grid.lastRow,
                               [&](qint32 column, qint32 from, qint32 to) {
                                   if (!inMatrix(column, from, to))
                                       return;
                                   const qint32 k = matrix.place(column, from, to, keyId);
                                   segments.push_back({p, column, from, to, k});
                               });
    }

    const GridGeometry &g = grid.geo;
    const qint32 top = grid.firstRowTop();
    const qint32 firstRow = grid.rowOf(grid.firstTime);
    const qint32 margin = toPixel(std::nearbyint(g.lngZeichenbreite / 3.0));
    const double usable = double(g.lngSpaltenBreite) - double(g.lngZeichenbreite);
    layout.segments.reserve(qsizetype(segments.size()));
    for (const Segment &segment : segments) {
        const Placed &record = placed[size_t(segment.placed)];
        const qint32 n = matrix.widestTrimmed(segment.column, segment.rowFrom, segment.rowTo);
        // A key used by one record only sits where that record was put; a shared or empty key
        // is looked up like the painter reads it, first match in the segment's top row.
        const qint32 k = record.keyId != 0 && keyUses[size_t(record.keyId)] == 1
            ? segment.k
            : matrix.firstSubColumnOfKey(segment.column, segment.rowFrom, record.keyId);
        const qint32 s = k - 1;

        const qint32 w = toPixel(std::nearbyint(usable / double(n) - 3 * margin));
        const qint32 x = toPixel(std::nearbyint(
            double(g.lngLinks) + double(segment.column) * g.lngSpaltenBreite
            + g.lngZeitspalteBreite + g.lngZeichenbreite + s * usable / double(n)));
        qint64 y = top + qint64(segment.rowFrom - firstRow) * g.lngZeilenhoehe;
        qint64 h = qint64(segment.rowTo - segment.rowFrom + 1) * g.lngZeilenhoehe;
        bool inexact = record.inexact;
        if (forPrinting) {
            if (y < top) {
                h -= top - y;
                y = top;
                inexact = true;
            }
            if (y + h > g.lngUnten) {
                h = g.lngUnten - y;
                inexact = true;
            }
        }
        if (h <= 0)
            continue;
        SegmentBox box;
        box.index = record.index;
        box.column = segment.column;
        box.rowFrom = segment.rowFrom;
        box.rowTo = segment.rowTo;
        box.subColumn = s;
        box.subColumns = n;
        box.box = QRect(x, toPixel(y), w, toPixel(h));
        box.timeBarWidth = margin;
        box.inexact = inexact;
        layout.segments.append(box);
    }

    const qint32 rowHeight = g.lngZeilenhoehe;
    const qint64 bandLeft = qint64(g.lngLinks) + g.lngZeitspalteBreite;
    const qint64 bandTop = qint64(g.lngOben) + g.lngKopfhoehe;
    const double minWidth = rowHeight / 3.0;
    BandRows band;
    for (qint32 i = 1; i <= count; ++i) {
        const TerminEintrag &entry = store.at(i);
        if (!visible[size_t(i)] || !entry.btagestermin)
            continue;
        const qint32 x1 = grid.bandX(entry.dateStart);
        // An end at midnight is the host's "through this day".
        const qint32 x2 = grid.bandX(occupiedEnd(effectiveEnd(entry), true));
        qint64 w = qint64(x2) - x1;
        if (minWidth > w)
            w = qint64(std::nearbyint(minWidth));
        const qint64 x = bandLeft + x1;
        // Empty boxes neither collide nor block; they sit in the first row.
        const qint32 j = w > 0 && rowHeight > 0 ? band.take(x, x + w) : 1;
        AllDayBox box;
        box.index = i;
        box.bandRow = j;
        box.box = QRect(toPixel(x), toPixel(bandTop + qint64(j - 1) * rowHeight), toPixel(w),
                        rowHeight);
        layout.allDay.append(box);
    }
    return layout;
}

bool hiddenByBand(const AllDayBox &entry, const GridGeometry &g)
{
    const qint64 bandBottom = qint64(g.lngOben) + g.lngKopfhoehe + g.lngTagesterminHoehe;
    const qint64 boxHeight = qint64(g.lngZeilenhoehe) - 2 * g.lngLinie;
    return entry.box.width() > 0 && entry.box.y() + boxHeight > bandBottom;
}

QVector<BandOverflow> bandOverflows(const AppointmentLayout &layout, const CalendarGrid &grid)
{
    const GridGeometry &g = grid.geo;
    QVector<BandOverflow> overflows;
    for (qint32 column = 0; column < grid.dayCount(); ++column) {
        const qint64 left = grid.columnLeft(column);
        const qint64 right = left + g.lngSpaltenBreite;
        BandOverflow overflow;
        overflow.column = column;
        for (const AllDayBox &entry : layout.allDay) {
            const QRect &box = entry.box;
            const bool inColumn = box.x() < right && qint64(box.x()) + box.width() > left;
            if (inColumn && hiddenByBand(entry, g))
                overflow.hidden.append(entry.index);
        }
        if (!overflow.hidden.isEmpty())
            overflows.append(overflow);
    }
    return overflows;
}

} // namespace Dayplex
