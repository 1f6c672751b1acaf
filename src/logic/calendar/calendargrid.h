#ifndef DAYPLEX_CALENDARGRID_H
#define DAYPLEX_CALENDARGRID_H

#include <dayplex/dates.h>

#include <QtGlobal>

#include <tuple>

namespace Dayplex {

// Pixel geometry of one paint (screen or print page), in device pixels of its target.
struct GridGeometry
{
    qint32 lngLinks = 0;            // left of the drawing area
    qint32 lngOben = 0;             // top of the drawing area
    qint32 areaWidth = 0;
    qint32 areaHeight = 0;
    qint32 lngZeitspalteBreite = 0; // time column: 5 character widths ("23:59")
    qint32 lngZeilenhoehe = 0;      // one time row: 1.5 character heights
    qint32 lngZeichenbreite = 0;    // one character width: inner margin of appointment boxes
    qint32 lngSplitterHoehe = 0;
    qint32 lngLinie = 1;
    qint32 lngKopfhoehe = 0;        // day header, one row high
    qint32 lngSpaltenBreite = 0;    // one day column
    qint32 lngTagesterminHoehe = 0; // all-day band
    qint32 lngUnten = 0;            // bottom of the time grid
};

// The calendar's two axes: days across (columns from 0) and the time raster down (rows from
// 0 at midnight to lastRow at 23:59), with the pixel geometry of the last paint. Pure logic,
// shared by painting, printing, hit testing and dragging.
class CalendarGrid
{
public:
    Date firstDay = 0;
    Date lastDay = 0;
    Date timeRaster = 30 * kOneMinute;
    qint32 lastRow = 47;
    Date firstTime = 0;
    Date endZeit = 23.0 / 24.0 + 59 * kOneMinute; // last time printed; 23:59 on screen
    qint32 dayInfoHeight = 1;
    qint32 minDateHeight = 1;
    // A time row's height in character heights; the modern print lowers it so that the day
    // keeps its hours above the list of a crowded day.
    double rowLines = 1.5;
    GridGeometry geo;

    qint32 dayCount() const;
    // The fields a picture is computed from; the geometry is the picture's own. The binding
    // names every field, so that one added here does not compile until it has its place.
    auto pictureKey() const
    {
        const auto &[first, last, raster, rows, from, to, band, minHeight, lines, geometry] = *this;
        (void)geometry;
        return std::make_tuple(first, last, raster, rows, from, to, band, minHeight, lines);
    }

    // Whether a raster of one minute to one day divides the day into whole rows. Rows are
    // counted from 1899-12-30, so only then does a time of day fall into the same row on every
    // day.
    static bool dividesDay(Date raster);
    // Sets the raster and the last row; the raster must divide the day (Dayplex::Error 5).
    void setRaster(Date raster);

    // Rounds down to a multiple of step after adding one second (a time a rounding error
    // below a boundary counts as the boundary). step must be positive.
    static Date roundDown(Date datum, Date step);

    qint32 columnOf(Date datum) const;       // -1 outside the displayed days
    qint32 rowOf(Date datum) const;          // of the time of day
    qint32 firstVisibleRow() const { return rowOf(firstTime); }
    qint32 rowTop(qint32 row) const;         // y of a row's top
    qint32 columnLeft(qint32 column) const;  // x of a day column's left edge
    qint32 bandX(Date datum) const;          // x offset within the all-day band
    qint32 firstRowTop() const;              // top of the time grid
    // Time rows whose top lies on the grid from its first row down; the first always counts.
    qint32 rowsInSight() const;
    // y of a time of day on the time axis, where a time bar starts or ends; times above the
    // first visible row lie above the grid.
    qint32 timeY(Date timeOfDay) const;

    // The columns and rows an interval covers; false (indices untouched) when it misses the
    // displayed days. Within one day the rows span at least minHeight rows.
    bool terminIndices(Date dateStart, Date dateEnde, qint32 &idxtagvon, qint32 &idxtagbis,
                       qint32 &idxzeilevon, qint32 &idxzeilebis, qint32 minHeight) const;

    // Geometry of a screen paint: the area, and the character width ("w") and height ("Wy").
    void layoutScreen(qint32 left, qint32 top, qint32 width, qint32 height, qint32 charWidth,
                      qint32 charHeight);
    // Geometry of a print page: the band is one row, the day ends at the last raster step
    // that fits (endZeit is lowered), and what is left over goes to the band.
    void layoutPrint(qint32 left, qint32 top, qint32 width, qint32 height, qint32 charWidth,
                     qint32 charHeight);

private:
    void layoutCommon(qint32 left, qint32 top, qint32 width, qint32 height, qint32 charWidth,
                      qint32 charHeight);
};

} // namespace Dayplex

#endif
