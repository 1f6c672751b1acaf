#include "gantt/ganttmodern.h"

#include "shared/appointmentdetails.h"
#include "shared/germanformat.h"
#include "shared/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Dayplex {

namespace {

constexpr Date kEndOfDay = 1439.0 / 1440.0; // 23:59

bool isMidnight(Date value)
{
    return std::llround(value * 86400000.0) % 86400000 == 0;
}

// The span of a bar in time, as ganttBarRect draws it; empty when nothing is shown.
bool barSpan(const GanttEintrag &e, Date startDate, Date dEnd, Date &s, Date &t)
{
    if (e.bis < startDate || e.von >= dEnd)
        return false;
    s = std::max(e.von, startDate);
    t = std::min(isMidnight(e.bis) ? e.bis + kEndOfDay : e.bis, dEnd);
    return s <= t;
}

} // namespace

GanttLanes ganttLanes(const GanttModel &model, Date startDate, Date dEnd)
{
    GanttLanes lanes;
    lanes.laneOf.fill(-1, model.dateCount());
    lanes.laneCount.fill(1, model.rowCount());
    struct Item
    {
        Date s, t;
        qint32 index;
    };
    for (qint32 row = 1; row <= model.rowCount(); ++row) {
        std::vector<Item> items;
        for (const qint32 i : model.datesOfRow(row)) {
            Date s = 0, t = 0;
            if (barSpan(model.date(i), startDate, dEnd, s, t))
                items.push_back({s, t, i});
        }
        std::stable_sort(items.begin(), items.end(),
                         [](const Item &a, const Item &b) { return a.s < b.s; });
        std::vector<Date> laneEnds;
        for (const Item &item : items) {
            // A lane is free when its last appointment ended at this start at the latest.
            auto free = std::find_if(laneEnds.begin(), laneEnds.end(),
                                     [&](Date end) { return end <= item.s; });
            if (free == laneEnds.end())
                free = laneEnds.insert(laneEnds.end(), item.t);
            else
                *free = item.t;
            lanes.laneOf[item.index - 1] = qint32(free - laneEnds.begin());
        }
        lanes.laneCount[row - 1] = std::max<qint32>(qint32(laneEnds.size()), 1);
    }
    return lanes;
}

qint32 ganttModernNameChars(const GanttModel &model)
{
    qsizetype longest = 0;
    for (qint32 row = 1; row <= model.rowCount(); ++row)
        longest = std::max(longest, model.row(row).Merkmal.size());
    // An average letter is nine tenths of an "X" at most; the leading blank and the strip at
    // the column's end take two more.
    return std::clamp(qint32(std::ceil(longest * 0.9)) + 2, 13, 24);
}

void setNameColumn(GanttLayout &l, qint32 chars)
{
    const qint64 names = qint64(chars) * l.lngZeichenbreite;
    l.lngNamenBreite = qint32(std::min<qint64>(l.offsetx + names, std::numeric_limits<qint32>::max()));
    l.dblPixelProStunde = double(qint64(l.width) - names) / double(std::max<qint64>(l.hours, 1));
    l.lngPixelProTag = qint32(std::clamp(std::nearbyint(l.dblPixelProStunde * 24), -1e9, 1e9));
}

QVector<qint32> ganttLaneRowHeights(const GanttLanes &lanes, qint32 laneHeight, qint32 minHeight,
                                    bool stretch, qint64 room)
{
    QVector<qint32> heights;
    qint64 total = 0;
    for (const qint32 count : lanes.laneCount) {
        heights.append(std::max(count * laneHeight + 4, minHeight));
        total += heights.last();
    }
    if (stretch && total > 0 && total < room) {
        const double factor = double(room) / double(total);
        for (qint32 &h : heights)
            h = qint32(std::floor(h * factor));
    }
    return heights;
}

BarPass ganttLaneBars(const GanttModel &model, const GanttLayout &layout, const GanttLanes &lanes,
                      qint32 firstRow, qint32 fromRow, qint32 toRow, qint32 right)
{
    BarPass pass;
    pass.rects.resize(model.dateCount());
    pass.labelRight.fill(right, model.dateCount());
    for (qint32 row = std::max({fromRow, firstRow, 1}); row <= std::min(toRow, model.rowCount());
         ++row) {
        const qint32 count = row - 1 < lanes.laneCount.size() ? lanes.laneCount.at(row - 1) : 1;
        const qint32 laneHeight = std::max((layout.rowHeight(row) - 4) / count, 1);
        std::vector<std::pair<qint32, qint32>> byLane; // (lane, index) of the row's bars
        for (const qint32 i : model.datesOfRow(row)) {
            const GanttEintrag &e = model.date(i);
            BarRect bar = ganttBarRect(layout, e.von, e.bis, row, firstRow);
            const qint32 lane = i - 1 < lanes.laneOf.size() ? lanes.laneOf.at(i - 1) : -1;
            if (bar.isNull() || lane < 0)
                continue;
            bar.top = layout.rowTop(row, firstRow) + 2 + lane * laneHeight;
            bar.height = std::max(laneHeight - 1, 1);
            pass.rects[i - 1] = bar;
            byLane.emplace_back(lane, i);
        }
        // Each label may run up to the next bar of its lane.
        std::sort(byLane.begin(), byLane.end(), [&](const auto &a, const auto &b) {
            return a.first != b.first ? a.first < b.first
                                      : pass.rects.at(a.second - 1).left
                                            < pass.rects.at(b.second - 1).left;
        });
        for (size_t k = 0; k + 1 < byLane.size(); ++k) {
            if (byLane[k].first == byLane[k + 1].first)
                pass.labelRight[byLane[k].second - 1] = pass.rects.at(byLane[k + 1].second - 1).left;
        }
    }
    return pass;
}

QVector<HourTick> ganttFoldedTicks(const GanttLayout &l, qint32 labelWidth, qint32 right)
{
    QVector<HourTick> ticks;
    if (!l.folded() || !(l.dayWidth > 0))
        return ticks;
    qint32 step = 6;
    for (const qint32 s : {1, 2, 3, 4, 6}) {
        if (s * l.workRate() >= labelWidth) {
            step = s;
            break;
        }
    }
    const qint32 firstHour = qint32(std::ceil(l.workFrom * 24 - 1e-9));
    const qint32 lastHour = qint32(std::floor(l.workTo * 24 + 1e-9));
    const qint32 days = qint32(std::llround(l.dEnd - l.dayOrigin));
    for (qint32 day = 0; day < days; ++day) {
        for (qint32 h = firstHour; h < lastHour; h += step) {
            const Date moment = l.dayOrigin + day + h / 24.0;
            const qint32 x = l.xOf(moment);
            if (x >= right)
                return ticks;
            const qint32 end = l.xOf(l.dayOrigin + day + std::min(h + step, lastHour) / 24.0);
            ticks.append({x, end - x, QString::number(h)});
        }
    }
    return ticks;
}

BarLabel ganttBarLabel(const BarRect &bar, qint32 freeRight, qint32 line, const QString &time,
                       const QString &subject,
                       const std::function<qint32(const QString &)> &textWidth)
{
    const qint32 pad = 2 * line;
    const QRect inside(bar.left + pad, bar.top + line, bar.width - 2 * pad, bar.height - 2 * line);
    const qint32 besideLeft = bar.left + bar.width + pad;
    const QRect beside(besideLeft, bar.top, std::max(freeRight - pad - besideLeft, 0), bar.height);
    // The whole text on one line stays inside; otherwise the label goes where it has more room,
    // and inside only when that holds the time and the subject's first three letters.
    if (inside.width() >= textWidth(time + subject))
        return {true, inside};
    if (beside.width() > inside.width() || inside.width() < textWidth(time + subject.left(3)))
        return beside.width() > inside.width() ? BarLabel{false, beside} : BarLabel{true, inside};
    return {true, inside};
}

QString ganttBarTime(const GanttEintrag &entry)
{
    if (entry.btagestermin)
        return QString();
    return germanShortTime(entry.von) + QLatin1Char(' ');
}

QString ganttBarText(const GanttEintrag &entry)
{
    return ganttBarTime(entry) + entry.notiz;
}

QString ganttModernToolTip(const GanttModel &model, qint32 index)
{
    const GanttEintrag &e = model.date(index);
    QString when = formatGermanDate(e.von, QStringLiteral("ddd, dd.mm.yyyy"));
    if (!e.btagestermin) {
        when += QLatin1Char(' ') + germanShortTime(e.von) + QChar(0x2013);
        // An end on another day names that day.
        if (std::floor(e.bis) != std::floor(e.von) && !(isMidnight(e.bis) && e.bis - e.von <= 1))
            when += formatGermanDate(e.bis, QStringLiteral("ddd, dd.mm.yyyy")) + QLatin1Char(' ');
        when += germanShortTime(e.bis);
    } else if (std::floor(e.bis) > std::floor(e.von)) {
        when += QChar(0x2013) + formatGermanDate(e.bis, QStringLiteral("ddd, dd.mm.yyyy"));
    }
    QString text = when;
    const qint32 row = model.merkmalIndexDsn(e.merkmaldsn);
    if (row >= 1)
        text += QLatin1Char('\n') + model.row(row).Merkmal;
    text += QLatin1Char('\n') + e.notiz;
    return tooltipWithDetails(text, model.details(e.dsn));
}

} // namespace Dayplex
