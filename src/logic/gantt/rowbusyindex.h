#ifndef DAYPLEX_ROWBUSYINDEX_H
#define DAYPLEX_ROWBUSYINDEX_H

#include "shared/stringhash.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

#include <unordered_map>
#include <vector>

namespace Dayplex {

struct GanttEintrag;

// The appointments that can block a slot (all but mere notes), per row and sorted by their
// earliest instant, so that the free-slot search looks at the few appointments near a
// candidate instead of the whole list. Its answers are those of cToolbox::IntervalsOverlap over
// every blocking appointment of the row, an all-day entry taken up to its occupiedEnd.
class RowBusyIndex
{
public:
    void rebuild(const QVector<GanttEintrag> &dates);
    // Whether an appointment of the row that is not a mere note overlaps start..end; where it
    // does, von and bis (if given) receive the von and occupied end of one such appointment (a
    // moment at midnight reaching to the next one).
    bool overlapsAny(const QString &rowDsn, Date start, Date end, Date *von = nullptr,
                     Date *bis = nullptr) const;

private:
    struct Span
    {
        Date low;  // the earlier of von and bis
        Date high; // the later one plus a day: a moment at midnight stands for its whole day
        Date von;
        Date bis; // the occupied end
    };
    struct Row
    {
        std::vector<Span> spans; // by low
        std::vector<Date> reach; // reach[i]: the largest high of spans[0..i]
        std::vector<Span> unbounded; // an infinite von or bis: always asked exactly
    };

    std::unordered_map<QString, Row, StringHash> m_rows;
};

} // namespace Dayplex

#endif
