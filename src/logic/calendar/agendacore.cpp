// The calendar core's range, data, options and selection, and the scene of its state.
#include "calendar/agendacore.h"

#include "calendar/calendararguments.h"
#include "calendar/displayedrange.h"
#include "shared/cdc.h"
#include "shared/defaultoptions.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace Dayplex {

AgendaCore::AgendaCore()
{
    // A fresh view: the default options, half-hour rows, today's days and three band rows.
    setOptions(defaultOptionsString());
    grid.setRaster(30 * kOneMinute);
    setDisplayedRange(currentDate(), nullptr, false, true);
    grid.dayInfoHeight = 3;
}

void AgendaCore::setDisplayedRange(Date dayFirstDay, double *dayLastDay, bool byDefault,
                                   bool alignOnWeekday)
{
    const DisplayedDays days = calendarDisplayedDays(
        dayFirstDay, dayLastDay ? *dayLastDay : 0, byDefault, alignOnWeekday, grid.dayCount(),
        settings.layout.doubleValue(QStringLiteral("lngAnzahlTage")), alignWeekday);
    if (dayLastDay)
        *dayLastDay = days.requestedLastDay;
    grid.firstDay = days.firstDay;
    grid.lastDay = days.lastDay;
    rebuildMatrix();

    const bool covered = data.filledStart <= grid.firstDay && grid.lastDay <= data.filledEnd;
    if (!covered && events.needDates && data.needDatesDepth == 0) {
        ++data.needDatesDepth;
        try {
            events.needDates(grid.firstDay, grid.lastDay,
                             settings.layout.textValue(QStringLiteral("strAusgabefelder")));
        } catch (...) {
            --data.needDatesDepth;
            throw;
        }
        --data.needDatesDepth;
    }
    // The handler may have changed the range or the raster; the colours follow what is shown.
    colourWorkingTimes();

    if (selection.start > 0 && !cToolbox::DateInRange(grid.firstDay, grid.lastDay + 1, selection.start)) {
        selection.start = 0;
        selection.endSlot = 0;
    }
}

void AgendaCore::scrollDays(double direction)
{
    const qint32 sign = direction > 0 ? 1 : direction < 0 ? -1 : 0;
    const qint32 n = std::abs(direction) == 1 ? sign : grid.dayCount() * sign;
    double last = grid.lastDay + n;
    setDisplayedRange(grid.firstDay + n, &last, false, std::abs(n) > 1);
}

void AgendaCore::setFilledRange(Date start, Date end)
{
    const bool withHolidays = settings.options.boolValue(QStringLiteral("blnGermanLegalHolidays"));
    cHolidays next = holidays;
    const bool haveHolidays = withHolidays && next.CalculateForRange(start, end);

    data.filledStart = start;
    data.filledEnd = end;
    clear();
    if (!haveHolidays)
        return;
    holidays = next;
    data.store.reserve(holidays.Count());
    for (qint32 i = 1; i <= holidays.Count(); ++i) {
        const Date day = holidays.HolidayDate(i);
        data.store.add(QString::number(i), holidays.HolidayName(i), day, day, true, 0, false, 0,
                       true, true);
    }
}

void AgendaCore::refresh()
{
    data.filledStart = 0;
    data.filledEnd = 0;
    double lastDay = grid.lastDay;
    setDisplayedRange(grid.firstDay, &lastDay, false, false);
}

void AgendaCore::clear()
{
    data.store.clear();
    selection.index = 0;
}

bool AgendaCore::setPresentation(Presentation value)
{
    if (value == presentation)
        return false;
    presentation = value;
    scene.overflows.clear();
    scene.overflowMarkers.clear();
    return true;
}

void AgendaCore::setAppointmentDetails(const QString &key, const AppointmentDetails &details)
{
    data.store.setDetails(key, details);
}

void AgendaCore::setOptions(const QString &options)
{
    CalendarSettings nextSettings = settings;
    CalendarGrid nextGrid = grid;
    applyCalendarOptions(options, nextSettings, nextGrid);
    settings = std::move(nextSettings);
    grid = nextGrid;
    double keepDayCount = 0;
    setDisplayedRange(grid.firstDay, &keepDayCount, false, true);
}

Date AgendaCore::workingDate() const
{
    if (data.store.contains(selection.index))
        return data.store.at(selection.index).dateStart;
    if (selection.start > 0)
        return selection.start;
    return grid.firstDay;
}

void AgendaCore::setSelectionStart(Date value)
{
    if (value == 0) {
        selection.start = 0;
        selection.endSlot = 0;
        return;
    }
    requireValidDate(value, "SelectionStart");
    selection.start = CalendarGrid::roundDown(value, grid.timeRaster);
}

void AgendaCore::setSelectionEnd(Date value)
{
    if (!(value > 0))
        return;
    requireValidDate(value, "SelectionEnd");
    selection.endSlot = CalendarGrid::roundDown(value - grid.timeRaster, grid.timeRaster);
}

void AgendaCore::selectKey(const QString &dsn)
{
    selection.index = data.store.firstSelectable(dsn);
    if (selection.index > 0)
        setSelectionStart(0);
}

QString AgendaCore::selectedKey() const
{
    return data.store.contains(selection.index) ? data.store.at(selection.index).dsn : QString();
}

bool AgendaCore::selectedReadOnly() const
{
    return data.store.contains(selection.index) && data.store.at(selection.index).breadonly;
}

MenuState AgendaCore::menuState() const
{
    const bool selected = !selectedKey().isEmpty();
    return {double(grid.dayCount()), selection.start > 0, selected, selected && !selectedReadOnly()};
}

void AgendaCore::restoreSelectedTimes()
{
    if (data.store.contains(selection.index))
        data.store.restoreTimes(selection.index);
}

void AgendaCore::rebuildMatrix()
{
    matrix.rebuild(grid.dayCount(), grid.lastRow + 1);
}

void AgendaCore::colourWorkingTimes()
{
    if (matrix.days() != grid.dayCount() || matrix.rows() != grid.lastRow + 1)
        rebuildMatrix();
    applyWorkingTimes(matrix, grid, settings.options, settings.layout);
}

SceneInput AgendaCore::sceneInput(QRect area, bool printFlag) const
{
    SceneInput input(data.store, matrix, grid, settings.style, settings.revision);
    input.area = area;
    input.selectionStart = selection.start;
    input.selectionEndSlot = selection.endSlot;
    input.selectedIndex = selection.index;
    input.forPrinting = forPrinting;
    input.today = currentDate();
    input.currentDate = workingDate();
    // Paper has a presentation of its own.
    input.modern = (printFlag ? printPresentation : presentation) == Presentation::Modern;
    return input;
}

CalendarScene AgendaCore::computeScene(const cDC &dc, QRect area, qint32 charWidth,
                                       qint32 charHeight, bool printFlag,
                                       const CalendarScene *appointmentsOf)
{
    SceneInput input = sceneInput(area, printFlag);
    input.charWidth = charWidth;
    input.charHeight = charHeight;
    input.textWidth = [&dc](const QString &text) { return dc.textWidth(text); };
    input.occupancy = &occupancy;
    return computeCalendarScene(input, appointmentsOf);
}

CalendarGrid AgendaCore::paintedGrid() const
{
    CalendarGrid painted = grid;
    painted.geo = scene.grid.geo;
    return painted;
}

bool AgendaCore::terminIndices(const QVariant &start, const QVariant &end, qint32 *dayFrom,
                               qint32 *dayTo, qint32 *rowFrom, qint32 *rowTo, qint32 minHeight) const
{
    const Date from = dateArgument(start, "GetTerminIndices");
    const Date to = dateArgument(end, "GetTerminIndices");
    requireValidDate(from, "GetTerminIndices");
    requireValidDate(to, "GetTerminIndices");
    qint32 indices[4] = {};
    if (!grid.terminIndices(from, to, indices[0], indices[1], indices[2], indices[3], minHeight))
        return false;
    // Omitted indices are simply not written.
    qint32 *targets[4] = {dayFrom, dayTo, rowFrom, rowTo};
    for (int i = 0; i < 4; ++i) {
        if (targets[i])
            *targets[i] = indices[i];
    }
    return true;
}

void AgendaCore::setCellColour(Date moment, qint32 colour)
{
    const qint32 column = grid.columnOf(moment);
    if (column < 0)
        throw Error(IndexOutOfRange,
                    QStringLiteral("backcolor: das Datum liegt nicht in den angezeigten Tagen."));
    const qint32 row = grid.rowOf(moment);
    if (!matrix.contains(column, row))
        throw Error(IndexOutOfRange,
                    QStringLiteral("backcolor: die Zelle liegt außerhalb des Rasters."));
    matrix.setColour(column, row, colour);
}

} // namespace Dayplex
