#include "gantt/rowbusyindex.h"

#include "gantt/ganttmodel.h"
#include "shared/alldayend.h"
#include "shared/toolbox.h"

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

bool overlaps(Date start, Date end, Date von, Date bis)
{
    return cToolbox::IntervalsOverlap(start, end, von, bis);
}

} // namespace

void RowBusyIndex::rebuild(const QVector<GanttEintrag> &dates)
{
    m_rows.clear();
    for (const GanttEintrag &e : dates) {
        // A NaN overlaps nothing.
        if (e.blnhinweis || std::isnan(e.von) || std::isnan(e.bis))
            continue;
        Row &row = m_rows[e.merkmaldsn];
        const Date bis = occupiedEnd(e.bis, e.btagestermin);
        const Span span{std::min(e.von, bis), std::max(e.von, bis) + 1.0, e.von, bis};
        if (std::isfinite(e.von) && std::isfinite(e.bis))
            row.spans.push_back(span);
        else
            row.unbounded.push_back(span);
    }
    for (auto &entry : m_rows) {
        Row &row = entry.second;
        std::sort(row.spans.begin(), row.spans.end(),
                  [](const Span &a, const Span &b) { return a.low < b.low; });
        row.reach.resize(row.spans.size());
        Date reach = -HUGE_VAL;
        for (size_t i = 0; i < row.spans.size(); ++i)
            row.reach[i] = reach = std::max(reach, row.spans[i].high);
    }
}

bool RowBusyIndex::overlapsAny(const QString &rowDsn, Date start, Date end, Date *von,
                               Date *bis) const
{
    const auto found = m_rows.find(rowDsn);
    if (found == m_rows.end())
        return false;
    const Row &row = found->second;
    // The first overlap answers, and its appointment gives the extent.
    const auto take = [&](const Span &s) {
        if (!overlaps(start, end, s.von, s.bis))
            return false;
        if (von && bis) {
            *von = s.von;
            *bis = s.bis == s.von && s.von == std::floor(s.von) ? s.von + 1 : s.bis;
        }
        return true;
    };
    for (const Span &s : row.unbounded) {
        if (take(s))
            return true;
    }
    if (!std::isfinite(start) || !std::isfinite(end))
        return std::any_of(row.spans.begin(), row.spans.end(), take);
    // A slot from midnight to midnight takes in its last day as well. The day of margin on
    // both sides is far wider than the rule's tolerance for equal moments.
    const Date low = std::min(start, end);
    const Date high = std::max(start, end) + 1.0;
    auto i = std::upper_bound(row.spans.begin(), row.spans.end(), high,
                              [](Date value, const Span &s) { return value < s.low; });
    for (size_t k = size_t(i - row.spans.begin()); k-- > 0;) {
        if (row.reach[k] < low)
            break;
        const Span &s = row.spans[k];
        if (s.high >= low && take(s))
            return true;
    }
    return false;
}

} // namespace Dayplex
