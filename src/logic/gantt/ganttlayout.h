#ifndef DAYPLEX_GANTTLAYOUT_H
#define DAYPLEX_GANTTLAYOUT_H

#include "gantt/ganttmodel.h"

#include <QString>
#include <QVector>

namespace Dayplex {

// The geometry of one paint: the layout fields hit-testing reads afterwards, and both
// directions of the time axis (moment -> x, x -> moment) and of the row axis (row -> y, y -> row).
struct GanttLayout
{
    qint32 offsetx = 0;
    qint32 offsety = 0;
    qint32 width = 0;
    qint32 height = 0;
    Date startDate = 0;  // mStartDate
    Date dEnd = 0;       // the midnight after the last day
    qint64 hours = 0;    // whole hours from startDate to dEnd

    qint32 lngNamenBreite = 0;   // right edge of the name column
    qint32 lngZeilenhoehe = 0;
    qint32 lngKopfhoehe = 0;     // each of the two header rows
    qint32 lngZeilenOben = 0;    // y of the first row
    qint32 lngPixelProTag = 0;
    qint32 lngZeichenbreite = 0;
    double dblPixelProStunde = 0;

    // The modern axis (foldAxis): every day is dayWidth wide, its working hours from workFrom to
    // workTo (times of day) take most of it and the hours before and after are folded into
    // narrow bands. Classic, linear axis while workTo <= workFrom.
    Date workFrom = 0;
    Date workTo = 0;
    Date dayOrigin = 0;   // the midnight of the first day
    double dayWidth = 0;
    // Row tops as offsets from the first row's top, one more than there are rows (lanes give
    // rows of their own height); empty while every row is lngZeilenhoehe high.
    QVector<qint64> rowStarts;

    bool folded() const { return workTo > workFrom; }
    // Pixels per hour inside and outside the working hours of the folded axis.
    double workRate() const;
    double bandRate() const;
    qint32 rowHeight(qint32 row) const;

    // x of a moment: lngNamenBreite + its whole seconds after startDate in hours x scale,
    // rounded half to even.
    qint32 xOf(Date moment) const;
    // Pixels covered from s to e, at least 5 so that short bars stay visible.
    qint32 widthOf(Date s, Date e) const;
    // The moment under x rounded to 10 minutes; 0 left of the time area.
    Date dateAtX(qint32 x) const;
    qint32 rowTop(qint32 row, qint32 firstRow) const;
    // The row under y (1-based), 0 above the rows, below the last row or before any paint.
    qint32 rowAt(qint32 y, qint32 firstRow, qint32 rowCount) const;
};

// The layout fields for the target rectangle, th the text height and cw the character width.
// The row height follows: stretched to fill the view when optimal heights are on (never
// shrunk), and at least minRows lines of 1.4 x th. Invalid dates throw Dayplex::Error 5.
GanttLayout ganttLayout(qint32 offsetx, qint32 offsety, qint32 width, qint32 height, qint32 th,
                        qint32 cw, Date startDate, Date endDate, qint32 rowCount,
                        bool optimalRowHeight, qint32 minRows);

// The modern axis: the days of the layout side by side, each with its working hours from
// workFrom to workTo (times of day) wide and the hours around them in bands of an eighth of
// their scale. Nothing changes when workTo <= workFrom or either lies outside the day.
void foldAxis(GanttLayout &layout, Date workFrom, Date workTo);
// Rows of their own heights (row 1 first); the uniform lngZeilenhoehe applies below them.
void setRowHeights(GanttLayout &layout, const QVector<qint32> &heights);

// The steps of the two header rows: hours per cell of the hour row (the smallest divisor of 24
// above 24 / whole two-character slots per day, 24 when days are narrower than that) and days
// per cell of the day row (1 with hour cells, else 21, 7 or 63 by the length of the range).
struct HeaderScale
{
    qint32 hourStep = 24;
    qint32 dayStep = 1;
    double spanDays = 0;
};
HeaderScale ganttHeaderScale(const GanttLayout &layout);

// "04.03.2024 Mo" when the cell is wider than ten characters, else "4.3".
QString ganttDayLabel(Date day, qint32 cellWidth, qint32 cw);
// The hour of day with hour cells; with day cells the weekday ("Mo"), or the calendar week
// when the range spans 100 days or more.
QString ganttHourLabel(qint64 h, const HeaderScale &scale, Date startDate);
// " Mo, 04.03.2024\r\n 10:10 Uhr 10. Wo" for the moment under the mouse, "" when there is none.
QString ganttCornerText(Date datMaus);
// "Von: 04.03.2024 10:00\r\nBis: 04.03.2024 12:00"
QString ganttProposalLabel(Date von, Date bis);

// A bar rectangle; all 0 when the bar is not on screen.
struct BarRect
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    bool isNull() const { return left == 0 && top == 0 && width == 0 && height == 0; }
};

// The bar of an appointment in row `row` with `firstRow` the first visible row: nothing for
// rows scrolled out (or row 0, no such row), for appointments outside the days, or an end
// before the start. An end at midnight reaches to 23:59 of that day.
BarRect ganttBarRect(const GanttLayout &layout, Date von, Date bis, qint32 row, qint32 firstRow);

// The proposal stretch of one row: x and width, width 0 when nothing of it is shown.
BarRect ganttProposalRect(const GanttLayout &layout, Date von, Date bis, qint32 y);


// A mark in the strip at the end of the name column beside a halved bar.
struct OverlapMarker
{
    qint32 top = 0;
    qint32 height = 0;
};

struct BarPass
{
    QVector<BarRect> rects;          // per record, 0-based; all 0 for a bar not on screen
    QVector<OverlapMarker> markers;  // in the order they are made
    QVector<qint32> labelRight;      // modern lanes: per record, where its label's room ends
};

// The bar rectangles of the records in rows fromRow to toRow (the others stay all 0), then a
// walk over the bars of each row by left edge: a bar that overlaps its left neighbour by more
// than 2 pixels halves the neighbour and takes the lower half below a 1-pixel gap, so a run of
// overlapping bars forms a staircase. firstRow is the first visible row.
BarPass ganttLayoutBars(const GanttModel &model, const GanttLayout &layout, qint32 firstRow,
                        qint32 fromRow, qint32 toRow);

} // namespace Dayplex

#endif
