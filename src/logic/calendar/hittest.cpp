#include "calendar/hittest.h"

#include "shared/appointmentdetails.h"
#include "shared/boxhit.h"
#include "shared/toolbox.h"
#include "shared/germanformat.h"

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// Only regions that can ever be found go into the index; the rest never affect an answer.
bool indexable(const HitRegion &r)
{
    return r.lngPrio > 0 && r.lngWidth >= 0 && r.lngHeight >= 0;
}

} // namespace

void HitRegionList::buildIndex() const
{
    m_indexed = true;
    m_empty = true;
    m_offsets.clear();
    m_entries.clear();
    // 64-bit: left + width of qint32 values can exceed the qint32 range.
    for (const HitRegion &r : m_regions) {
        if (!indexable(r))
            continue;
        const std::int64_t left = r.lngLeft, top = r.lngTop;
        const std::int64_t right = left + r.lngWidth, bottom = top + r.lngHeight;
        if (m_empty) {
            m_minX = left, m_minY = top, m_maxX = right, m_maxY = bottom;
            m_empty = false;
        } else {
            m_minX = std::min(m_minX, left), m_minY = std::min(m_minY, top);
            m_maxX = std::max(m_maxX, right), m_maxY = std::max(m_maxY, bottom);
        }
    }
    if (m_empty)
        return;
    constexpr std::int64_t kMaxBuckets = 128;
    m_cellW = (m_maxX - m_minX) / kMaxBuckets + 1;
    m_cellH = (m_maxY - m_minY) / kMaxBuckets + 1;
    m_columns = (m_maxX - m_minX) / m_cellW + 1;
    m_rows = (m_maxY - m_minY) / m_cellH + 1;
    const std::size_t buckets = std::size_t(m_columns * m_rows);
    // Two passes (count, then fill) keep each bucket in registration order without sorting.
    std::vector<qint32> counts(buckets + 1, 0);
    const auto span = [this](const HitRegion &r, std::int64_t &c0, std::int64_t &c1, std::int64_t &r0,
                             std::int64_t &r1) {
        c0 = (std::int64_t(r.lngLeft) - m_minX) / m_cellW;
        c1 = (std::int64_t(r.lngLeft) + r.lngWidth - m_minX) / m_cellW;
        r0 = (std::int64_t(r.lngTop) - m_minY) / m_cellH;
        r1 = (std::int64_t(r.lngTop) + r.lngHeight - m_minY) / m_cellH;
    };
    std::int64_t c0, c1, r0, r1;
    for (const HitRegion &r : m_regions) {
        if (!indexable(r))
            continue;
        span(r, c0, c1, r0, r1);
        for (std::int64_t row = r0; row <= r1; ++row)
            for (std::int64_t col = c0; col <= c1; ++col)
                ++counts[std::size_t(row * m_columns + col) + 1];
    }
    for (std::size_t b = 1; b <= buckets; ++b)
        counts[b] += counts[b - 1];
    m_offsets = counts;
    m_entries.resize(std::size_t(counts[buckets]));
    for (qint32 i = 0; i < qint32(m_regions.size()); ++i) {
        const HitRegion &r = m_regions[i];
        if (!indexable(r))
            continue;
        span(r, c0, c1, r0, r1);
        for (std::int64_t row = r0; row <= r1; ++row)
            for (std::int64_t col = c0; col <= c1; ++col)
                m_entries[std::size_t(counts[std::size_t(row * m_columns + col)]++)] = i;
    }
}

void HitRegionList::candidates(double x, double y, const qint32 *&begin, const qint32 *&end) const
{
    begin = end = nullptr;
    if (!m_indexed)
        buildIndex();
    // Written so that NaN fails too.
    if (m_empty || !(x >= double(m_minX) && x <= double(m_maxX) && y >= double(m_minY)
                     && y <= double(m_maxY)))
        return;
    // A region containing x contains floor(x) as well, as its edges are integers.
    const std::int64_t col = (std::int64_t(std::floor(x)) - m_minX) / m_cellW;
    const std::int64_t row = (std::int64_t(std::floor(y)) - m_minY) / m_cellH;
    const std::size_t b = std::size_t(row * m_columns + col);
    begin = m_entries.data() + m_offsets[b];
    end = m_entries.data() + m_offsets[b + 1];
}

bool findHitRegion(const HitRegionList &regions, double x, double y, qint32 filter,
                   HitRegion &region)
{
    const qint32 *begin, *end;
    regions.candidates(x, y, begin, end);
    qint32 best = 0;
    const HitRegion *taken = nullptr;
    for (const qint32 *p = begin; p != end; ++p) {
        const HitRegion &r = regions.all()[*p];
        if (r.lngPrio <= best)
            continue;
        if (filter != 0 && (filter & r.lngTyp) == 0)
            continue;
        if (boxHolds(x, y, r.lngLeft, r.lngTop, r.lngWidth, r.lngHeight)) {
            taken = &r;
            best = r.lngPrio;
        }
    }
    if (!taken)
        return false;
    region = *taken;
    return true;
}

QString terminTooltip(const TerminEintrag &entry)
{
    QString text = cToolbox::FormatDateText(entry.dateStart);
    if (entry.dateEnd != entry.dateStart)
        text += QStringLiteral(" - ") + cToolbox::FormatDateText(entry.dateEnd);
    return text + QLatin1Char(' ') + entry.memo;
}

QString dayHeaderTooltip(Date day)
{
    return formatGermanDate(day, QStringLiteral("Long Date")) + QLatin1Char(' ')
           + QString::number(cToolbox::WeekOfYear(day)) + QStringLiteral(". Woche");
}

HoverFeedback hoverFeedback(const HitRegionList &regions, const AppointmentStore &store, double x,
                            double y, qint32 firstRowTop)
{
    HoverFeedback feedback;
    const qint32 filter = y >= firstRowTop ? HitFilter::HoverInGrid : HitFilter::HoverAboveGrid;
    HitRegion region;
    if (!findHitRegion(regions, x, y, filter, region))
        return feedback;
    bool readOnly = false;
    if (region.lngIdx != 0) {
        if (region.lngIdx < 1 || region.lngIdx > store.count())
            return feedback;
        const TerminEintrag &entry = store.at(region.lngIdx);
        feedback.tooltip = tooltipWithDetails(terminTooltip(entry), store.details(entry.dsn));
        readOnly = entry.breadonly;
    } else if (region.lngTyp == tageszellekopf) {
        feedback.tooltip = dayHeaderTooltip(region.datVon);
    }
    feedback.found = true;
    if (readOnly)
        return feedback;
    switch (region.lngTyp) {
    case splitter:
        feedback.cursorName = QStringLiteral("SplitterNS");
        break;
    case sizenorth:
        feedback.cursorName = QStringLiteral("SizeN");
        break;
    case sizesouth:
        feedback.cursorName = QStringLiteral("SizeS");
        break;
    default:
        break;
    }
    return feedback;
}

BoxEdge boxEdgeAt(const HitRegionList &regions, double x, double y)
{
    HitRegion box;
    if (!findHitRegion(regions, x, y, HitFilter::HoverInGrid, box) || box.lngTyp != termineintrag)
        return {};
    // A short box keeps a middle to grab for a move.
    const double edge = std::min<double>(kBoxEdgePixels, box.lngHeight / 3.0);
    qint32 typ = 0;
    if (y - box.lngTop < edge)
        typ = sizenorth;
    else if (box.lngTop + box.lngHeight - y < edge)
        typ = sizesouth;
    if (typ == 0)
        return {};
    // The segment's bar has the zone of that edge only on the day the appointment starts or ends.
    for (const HitRegion &zone : regions.all()) {
        if (zone.lngTyp == typ && zone.lngIdx == box.lngIdx
            && zone.lngLeft + zone.lngWidth == box.lngLeft)
            return {typ, box.lngIdx};
    }
    return {};
}

} // namespace Dayplex
