#ifndef DAYPLEX_GANTTMODERN_H
#define DAYPLEX_GANTTMODERN_H

#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"

#include <QRect>
#include <QString>
#include <QVector>

#include <functional>

namespace Dayplex {

// The modern resource view's layout: appointments of a row that overlap in time lie side by
// side in lanes, each taking the first lane that is free at its start (appointments that only
// touch share a lane). Times are those of the bars: from the first day on, an end at midnight
// reaching over that day.
struct GanttLanes
{
    QVector<qint32> laneOf;    // per record (0-based), from 0; -1 for a record not shown
    QVector<qint32> laneCount; // per row (0-based), at least 1
};
GanttLanes ganttLanes(const GanttModel &model, Date startDate, Date dEnd);

// The modern name column in character widths: as wide as the longest name needs (a
// character width being that of "X", the widest letter), from 13 up to 24.
qint32 ganttModernNameChars(const GanttModel &model);
// Sets the name column of the layout to `chars` character widths, the time axis following.
void setNameColumn(GanttLayout &layout, qint32 chars);

// The row heights of the lanes: each lane laneHeight high with 2 pixels above and below the
// row's lanes, at least minHeight; stretched together to fill `room` when stretch is on and
// they are lower than that.
QVector<qint32> ganttLaneRowHeights(const GanttLanes &lanes, qint32 laneHeight, qint32 minHeight,
                                    bool stretch, qint64 room);

// The bars of the rows fromRow to toRow in their lanes, and beside each bar the x where the
// next bar of its lane begins (or `right`): the room a label may take.
BarPass ganttLaneBars(const GanttModel &model, const GanttLayout &layout, const GanttLanes &lanes,
                      qint32 firstRow, qint32 fromRow, qint32 toRow, qint32 right);

// One labelled hour of the folded axis's hour row.
struct HourTick
{
    qint32 x = 0;
    qint32 width = 0;
    QString label;
};
// The hours of the working time of every day from left to right, every `step` hours where the
// step (1, 2, 3, 4 or 6) gives each label labelWidth pixels; the bands get no label.
QVector<HourTick> ganttFoldedTicks(const GanttLayout &layout, qint32 labelWidth, qint32 right);

// Where the text of a bar goes: into the bar when it holds the start time and the beginning
// of the subject, else beside it, up to the next bar of its lane, when that gives more room.
struct BarLabel
{
    bool inside = true;
    QRect rect; // the text's rectangle
};
BarLabel ganttBarLabel(const BarRect &bar, qint32 freeRight, qint32 line, const QString &time,
                       const QString &subject,
                       const std::function<qint32(const QString &)> &textWidth);

// The text of a bar in the modern look: "10:00 " before the subject of a timed appointment.
QString ganttBarTime(const GanttEintrag &entry);
QString ganttBarText(const GanttEintrag &entry);
// The tooltip of a bar in the modern look: "Mo, 04.03.2024 10:00–11:00", the row's name and
// the subject on lines of their own, then the series and participants.
QString ganttModernToolTip(const GanttModel &model, qint32 index);

} // namespace Dayplex

#endif
