#include "calendar/calendargrid.h"

#include "shared/toolbox.h"
#include "shared/rounding.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

constexpr Date kEndOfDay = 23.0 / 24.0 + 59 * kOneMinute;
constexpr Date kThirtySeconds = 30 * kOneSecond;
constexpr qint32 kFarPixels = 1 << 24;

} // namespace

qint32 CalendarGrid::dayCount() const
{
    return qint32(std::nearbyint(lastDay - firstDay + 1));
}

bool CalendarGrid::dividesDay(Date raster)
{
    if (!(raster >= kOneMinute - 1e-9) || !(raster <= 1.0))
        return false;
    const double rows = 1.0 / raster;
    return std::fabs(rows - std::nearbyint(rows)) < 1e-6;
}

void CalendarGrid::setRaster(Date raster)
{
    if (!dividesDay(raster))
        throw Error(InvalidArgument,
                    QStringLiteral("TimeRaster: die Rasterlänge muss zwischen einer Minute und "
                                   "einem Tag liegen und den Tag in gleich lange Zeilen teilen."));
    timeRaster = raster;
    lastRow = rowOf(kEndOfDay);
}

Date CalendarGrid::roundDown(Date datum, Date step)
{
    return std::floor((datum + kOneSecond) / step) * step;
}

qint32 CalendarGrid::columnOf(Date datum) const
{
    if (!std::isfinite(datum))
        return -1;
    const Date day = cToolbox::DateOnly(datum);
    if (day < firstDay || day > lastDay)
        return -1;
    return qint32(day - firstDay);
}

qint32 CalendarGrid::rowOf(Date datum) const
{
    const Date t = cToolbox::TimeOnly(roundDown(datum, timeRaster));
    return roundedClamped(t / timeRaster);
}

qint32 CalendarGrid::rowTop(qint32 row) const
{
    return roundedClamped(firstRowTop() + double(row - firstVisibleRow()) * geo.lngZeilenhoehe);
}

qint32 CalendarGrid::columnLeft(qint32 column) const
{
    return roundedClamped(double(geo.lngLinks) + geo.lngZeitspalteBreite
                   + double(column) * geo.lngSpaltenBreite);
}

qint32 CalendarGrid::bandX(Date datum) const
{
    const Date d = std::clamp(datum, firstDay, lastDay + 1);
    return roundedClamped((d - firstDay) * geo.lngSpaltenBreite);
}

qint32 CalendarGrid::firstRowTop() const
{
    return roundedClamped(double(geo.lngOben) + geo.lngKopfhoehe + geo.lngTagesterminHoehe
                   + geo.lngSplitterHoehe);
}

qint32 CalendarGrid::rowsInSight() const
{
    const qint64 room = qint64(geo.lngUnten) - firstRowTop();
    if (geo.lngZeilenhoehe <= 0 || room < 0)
        return 1;
    return qint32(std::min<qint64>(1 + room / geo.lngZeilenhoehe, std::numeric_limits<qint32>::max()));
}

qint32 CalendarGrid::timeY(Date timeOfDay) const
{
    return roundedUnclamped((timeOfDay - firstTime) / timeRaster * geo.lngZeilenhoehe + firstRowTop());
}

bool CalendarGrid::terminIndices(Date dateStart, Date dateEnde, qint32 &idxtagvon,
                                 qint32 &idxtagbis, qint32 &idxzeilevon, qint32 &idxzeilebis,
                                 qint32 minHeight) const
{
    if (!std::isfinite(dateStart) || !std::isfinite(dateEnde))
        return false;
    if (dateEnde < firstDay || dateStart > lastDay + 1)
        return false;
    // Limited in floating point first: a date far outside the range must not overflow.
    const qint32 tagvon = qint32(std::max(cToolbox::DateOnly(dateStart) - firstDay, 0.0));
    const qint32 tagbis =
        qint32(std::min(cToolbox::DateOnly(dateEnde) - firstDay, double(dayCount() - 1)));
    const qint32 zeilevon = dateStart >= firstDay ? rowOf(dateStart) : 0;
    // An end on a raster boundary (10:00) closes the row before it, not the next one.
    qint32 zeilebis = dateEnde > lastDay + 1 ? rowOf(kEndOfDay) : rowOf(dateEnde - kThirtySeconds);
    if (tagvon == tagbis) {
        if (zeilebis < zeilevon)
            zeilebis = zeilevon;
        // In 64 bits: a huge minHeight is cut to the last row, never wrapped around.
        if (zeilebis - zeilevon < minHeight)
            zeilebis = qint32(std::min<qint64>(qint64(zeilevon) + minHeight - 1, lastRow));
        zeilebis = std::min(zeilebis, lastRow);
    }
    idxtagvon = tagvon;
    idxtagbis = tagbis;
    idxzeilevon = zeilevon;
    idxzeilebis = zeilebis;
    return true;
}

void CalendarGrid::layoutCommon(qint32 left, qint32 top, qint32 width, qint32 height,
                                qint32 charWidth, qint32 charHeight)
{
    geo.lngLinks = left;
    geo.lngOben = top;
    geo.areaWidth = width;
    geo.areaHeight = height;
    geo.lngZeitspalteBreite = roundedClamped(double(charWidth) * 5);
    geo.lngZeilenhoehe = roundedClamped(double(charHeight) * rowLines);
    geo.lngZeichenbreite = charWidth;
    geo.lngSplitterHoehe = roundedClamped(geo.lngZeilenhoehe / 5.0);
    geo.lngLinie = 1;
    geo.lngKopfhoehe = geo.lngZeilenhoehe;
    geo.lngSpaltenBreite = roundedClamped((double(width) - geo.lngZeitspalteBreite) / std::max(dayCount(), 1));
}

void CalendarGrid::layoutScreen(qint32 left, qint32 top, qint32 width, qint32 height,
                                qint32 charWidth, qint32 charHeight)
{
    layoutCommon(left, top, width, height, charWidth, charHeight);
    // A band taller than any screen hides the grid all the same; the cap keeps the y of the
    // rows below it far from the 32-bit limit.
    geo.lngTagesterminHoehe = std::min(roundedClamped(double(dayInfoHeight) * geo.lngZeilenhoehe), kFarPixels);
    geo.lngUnten = roundedClamped(double(top) + height);
}

void CalendarGrid::layoutPrint(qint32 left, qint32 top, qint32 width, qint32 height,
                               qint32 charWidth, qint32 charHeight)
{
    layoutCommon(left, top, width, height, charWidth, charHeight);
    geo.lngTagesterminHoehe = geo.lngZeilenhoehe;
    const double bottom = double(top) + height;
    // The printed day ends at the last raster step that fits; on a page too small for even
    // the first row it ends at the first time, and the grid runs off the page.
    const auto gridBottom = [this] {
        return roundedClamped((endZeit - firstTime) / timeRaster * geo.lngZeilenhoehe + firstRowTop());
    };
    geo.lngUnten = gridBottom();
    for (qint32 step = 0; geo.lngUnten > bottom && endZeit > firstTime && step <= lastRow + 1; ++step) {
        endZeit -= timeRaster;
        geo.lngUnten = gridBottom();
    }
    if (geo.lngUnten < bottom) {
        geo.lngTagesterminHoehe = roundedClamped(geo.lngTagesterminHoehe + (bottom - geo.lngUnten));
        geo.lngUnten = roundedClamped(bottom);
    }
}

} // namespace Dayplex
