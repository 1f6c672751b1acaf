#include "calendar/calendargesture.h"

#include "calendar/gestureactions.h"
#include "calendar/hittest.h"
#include "shared/rounding.h"
#include "shared/toolbox.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
// A press starts a drag only after the mouse has travelled more than this (x plus y distance),
// so that an unsteady click stays a click.
constexpr double kDragThreshold = 8;
// The standard pointer number of the vertical resize arrows.
constexpr int kSizeVerticalPointer = 7;

using namespace GestureActions;

bool find(const GestureView &view, double x, double y, qint32 filter, HitRegion &region)
{
    return findHitRegion(view.scene.hits, x, y, filter, region);
}

bool moving(CalendarGesture::State s)
{
    return s == CalendarGesture::MovingTimed || s == CalendarGesture::MovingAllDay;
}

bool resizing(CalendarGesture::State s)
{
    return s == CalendarGesture::ResizingStart || s == CalendarGesture::ResizingEnd;
}

// A press on a "+n" marker selects the first hidden entry that can be selected.
bool pressMarker(const GestureView &view, double x, double y, GestureResult &result)
{
    const BandOverflow *overflow = overflowAt(view.scene, x, y);
    if (!overflow)
        return false;
    for (qint32 index : overflow->hidden) {
        // Holidays and read-only entries cannot be selected; the first one that can wins.
        const TerminEintrag *e = entryAt(view.store, index);
        if (e && view.store.firstSelectable(e->dsn) == index) {
            result.steps << text(A::SelectKey, e->dsn) << act(A::Repaint);
            break;
        }
    }
    return true;
}

} // namespace

GestureResult CalendarGesture::cancel()
{
    const State state = m_state;
    m_state = Idle;
    GestureResult result;
    result.steps << act(A::StopAutoScroll) << text(A::Cursor, QString());
    if (state == SplitterDrag)
        result.steps << ghost(QRect());
    if (moving(state) || resizing(state))
        result.steps << act(A::RestoreTimes) << dates(A::SetSelection, 0, 0);
    result.steps << act(A::Repaint);
    return result;
}

GestureResult CalendarGesture::escape()
{
    if (!inGesture())
        return {};
    m_escaped = true;
    return cancel();
}

GestureResult CalendarGesture::press(const GestureView &view, Qt::MouseButton button,
                                     bool othersHeld, double x, double y)
{
    // After Escape the held button still belongs to the cancelled gesture.
    if (m_escaped) {
        if (othersHeld)
            return {};
        m_escaped = false; // its release never arrived
    }
    if (changePending()) {
        // The change the keys made goes back; the press goes to the picture without it.
        GestureResult result;
        dropPending(view, result);
        result.steps << act(A::PressAgain);
        return result;
    }
    if (inGesture()) {
        // With no other button held, the release of the drag never arrived (a window took the
        // mouse away): that drag is over. A second button during a drag starts nothing.
        if (othersHeld)
            return {};
        GestureResult result = cancel();
        result.steps << act(A::PressAgain);
        return result;
    }
    m_pressedOnStart = view.selectionStart;
    m_pressedOnEnd = view.selectionEnd;
    // The keyboard follows a click: onto the appointment it selects, or onto the cell.
    if (button != Qt::RightButton)
        m_onAppointment = true;
    m_keyboardInUse = false;
    GestureResult result;
    const qint32 filter = y < view.scene.grid.firstRowTop() ? HitFilter::PressAboveGrid
                                                             : HitFilter::PressInGrid;
    HitRegion region;
    if (!find(view, x, y, filter, region))
        return result;
    bool readOnly = false;
    if (region.lngIdx != 0) {
        // The store changed since the paint; the picture no longer says what is there.
        const TerminEintrag *e = entryAt(view.store, region.lngIdx);
        if (!e)
            return result;
        readOnly = e->breadonly;
    }
    m_downX = roundedClamped(x);
    m_downY = roundedClamped(y);
    if (button == Qt::LeftButton && view.modern && pressMarker(view, x, y, result))
        return result;
    if (button == Qt::RightButton) {
        result.steps << menuAt(QPoint(m_downX, m_downY));
        return result;
    }
    switch (region.lngTyp) {
    case zeitzelle: {
        const Date start = cToolbox::NormalizeDate(region.datVon);
        result.steps << dates(A::SetSelection, start, start);
        break;
    }
    case tageszelle:
        result.steps << dates(A::SetSelection, cToolbox::NormalizeDate(region.datVon),
                              cToolbox::NormalizeDate(region.datVon + 1 - view.grid.timeRaster));
        break;
    case splitter:
        // The ghost appears with the first move.
        m_state = SplitterDrag;
        return result;
    case sizenorth:
    case sizesouth:
        if (!readOnly) {
            result.steps << number(A::SelectIndex, region.lngIdx);
            m_state = region.lngTyp == sizenorth ? ResizingStart : ResizingEnd;
        }
        return result;
    case termineintrag:
        if (const BoxEdge edge = boxEdgeAt(view.scene.hits, x, y);
            button == Qt::LeftButton && view.modern && !readOnly && edge.typ != 0) {
            result.steps << number(A::SelectIndex, edge.index);
            m_state = edge.typ == sizenorth ? ResizingStart : ResizingEnd;
        }
        return result;
    default:
        // Appointment boxes and headers: selection and drag start come with move and release.
        return result;
    }
    result.steps << number(A::SelectIndex, 0) << act(A::Repaint);
    m_state = Selecting;
    return result;
}

void CalendarGesture::autoScrollCheck(const GestureView &view, double y, GestureResult &result)
{
    const CalendarGrid &painted = view.scene.grid;
    if (y < painted.firstRowTop()) {
        if (cToolbox::TimeOnly(view.selectionStart) > 0 && view.grid.firstTime > 0)
            m_autoScrollStep = -view.grid.timeRaster;
        else
            return;
    } else if (y > view.surfaceHeight - painted.geo.lngZeilenhoehe) {
        if (!view.lastRowVisible)
            m_autoScrollStep = view.grid.timeRaster;
        else
            return;
    } else {
        m_autoScrollStep = 0;
        result.steps << act(A::StopAutoScroll);
        return;
    }
    result.steps << dates(A::StartAutoScroll, m_autoScrollStep);
}

GestureResult CalendarGesture::move(const GestureView &view, Qt::MouseButtons buttons, double x,
                                    double y)
{
    GestureResult result;
    if (m_escaped && buttons != Qt::NoButton)
        return result;
    m_escaped = false;
    const State state = m_state;
    if (buttons == Qt::LeftButton && (state == MovingTimed || state == Selecting || resizing(state)))
        autoScrollCheck(view, y, result);

    HitRegion region;
    switch (state) {
    case ResizingStart:
    case ResizingEnd: {
        const TerminEintrag *e = entryAt(view.store, view.selectedIndex);
        if (!e || !find(view, x, y, HitFilter::Cell, region))
            break;
        // The end snaps to the end of the slot under the mouse, the start to its start.
        Date start = e->dateStart, end = e->dateEnd;
        if (state == ResizingEnd)
            end = cToolbox::NormalizeDate(region.datVon + view.grid.timeRaster);
        else
            start = cToolbox::NormalizeDate(region.datVon);
        // Dragged past the other edge, the appointment ends where it starts, as its picture
        // shows it; the question and DateChanged then name that end.
        if (end < start)
            end = start;
        result.steps << times(view.selectedIndex, start, end)
                     << dates(A::SetSelectionStart, start) << dates(A::SetSelectionEnd, end)
                     << act(A::Repaint);
        break;
    }
    case Selecting: {
        if (buttons != Qt::LeftButton || !find(view, x, y, HitFilter::CellOrBand, region))
            break;
        Date end = view.selectionEnd;
        if (region.lngTyp == zeitzelle) {
            // The range never grows upwards from where it was started.
            if (cToolbox::dateAtLeast(region.datVon, view.selectionStart))
                end = cToolbox::NormalizeDate(region.datVon);
        } else {
            const Date lastSlot = cToolbox::NormalizeDate(region.datVon + 1 - view.grid.timeRaster);
            if (cToolbox::dateAtLeast(lastSlot, view.selectionStart))
                end = lastSlot;
        }
        result.steps << dates(A::SetSelection, view.selectionStart, end) << act(A::Repaint);
        break;
    }
    case SplitterDrag:
        result.steps << ghost(QRect(0, roundedClamped(y), view.surfaceWidth,
                                    view.scene.grid.geo.lngSplitterHoehe));
        break;
    case MovingTimed:
    case MovingAllDay: {
        // The selection shows where the appointment would land.
        const TerminEintrag *e = entryAt(view.store, view.selectedIndex);
        if (!e || !find(view, x, y, HitFilter::Cell, region))
            break;
        const Date duration = e->dateEnd - e->dateStart;
        result.steps << dates(A::SetSelectionStart, region.datVon)
                     << dates(A::SetSelectionEnd, cToolbox::NormalizeDate(region.datVon + duration))
                     << act(A::Repaint);
        break;
    }
    default:
        if (buttons != Qt::LeftButton) {
            hover(view, x, y, result);
            break;
        }
        if (std::abs(x - m_downX) + std::abs(y - m_downY) <= kDragThreshold)
            break;
        // The drag takes the appointment under the mouse now, not necessarily the pressed one.
        if (!find(view, x, y, HitFilter::DragStart, region))
            break;
        if (const TerminEintrag *e = entryAt(view.store, region.lngIdx); !e || e->breadonly)
            break;
        m_state = region.lngTyp == termineintrag ? MovingTimed : MovingAllDay;
        result.steps << number(A::SelectIndex, region.lngIdx) << act(A::Repaint)
                     << text(A::Cursor, QStringLiteral("curMove"));
        break;
    }
    return result;
}

void CalendarGesture::hover(const GestureView &view, double x, double y, GestureResult &result) const
{
    if (const BandOverflow *overflow = overflowAt(view.scene, x, y)) {
        result.steps << text(A::Tooltip, overflowTooltip(*overflow, view.store))
                     << text(A::Cursor, QString());
        return;
    }
    const HoverFeedback feedback = hoverFeedback(view.scene.hits, view.store, x, y,
                                                 view.scene.grid.firstRowTop());
    if (feedback.found)
        result.steps << text(A::Tooltip, feedback.tooltip);
    QString cursor = feedback.cursorName;
    if (view.modern) {
        const BoxEdge edge = boxEdgeAt(view.scene.hits, x, y);
        const TerminEintrag *e = entryAt(view.store, edge.index);
        if (e && !e->breadonly)
            cursor = QString::number(kSizeVerticalPointer);
    }
    result.steps << text(A::Cursor, cursor);
}

GestureResult CalendarGesture::release(const GestureView &view, bool stillHeld, double x, double y)
{
    GestureResult result;
    if (m_escaped) {
        m_escaped = stillHeld;
        return result;
    }
    const State state = m_state;
    m_state = Idle;
    const bool dragging = moving(state) || resizing(state);
    // An error in the middle of a drop or resize leaves the appointment where it was.
    result.restoreOnFailure = dragging;
    result.finally << act(A::StopAutoScroll) << text(A::Cursor, QString());
    // The release clears the selection that showed where the appointment would land, but
    // repaints only when the times change: dropped outside every cell or on its old place,
    // the screen would keep that selection. A paint from the event loop takes it away.
    if (dragging)
        result.finally << act(A::UpdateLater);
    m_autoScrollStep = 0;

    HitRegion region;
    const GridGeometry &g = view.scene.grid.geo;
    switch (state) {
    case SplitterDrag:
        result.steps << ghost(QRect());
        if (g.lngZeilenhoehe > 0) {
            qint32 rows = roundedClamped((y - view.surfaceTop - g.lngKopfhoehe) / g.lngZeilenhoehe);
            // Dropped below the surface, the band would push the splitter out of reach.
            const qint32 fitting = roundedClamped(std::floor(
                double(view.surfaceHeight - g.lngKopfhoehe - g.lngSplitterHoehe) / g.lngZeilenhoehe));
            rows = std::min(rows, std::max(fitting, 1));
            result.steps << number(A::SetDayInfoHeight, std::max(rows, 1));
        }
        result.steps << act(A::Repaint);
        break;
    case MovingTimed:
    case MovingAllDay:
        result.steps << dates(A::SetSelection, 0, 0);
        // Dropped where no cell is, the appointment stays where it was.
        if (find(view, x, y, HitFilter::CellOrBand, region))
            result.steps << A{A::Drop, region.datVon, 0, region.lngTyp, QRect(), QString()};
        break;
    case Selecting:
        break;
    case ResizingStart:
    case ResizingEnd:
        result.steps << dates(A::SetSelection, 0, 0);
        if (entryAt(view.store, view.selectedIndex))
            result.steps << number(A::ConfirmResize, view.selectedIndex);
        break;
    default:
        // A click without a drag; on a "+n" marker its press did the work.
        if (overflowAt(view.scene, x, y))
            break;
        if (y <= view.scene.grid.firstRowTop()) {
            if (!find(view, x, y, HitFilter::ClickAboveGrid, region))
                break;
            if (region.lngTyp == tagestermin) {
                if (const TerminEintrag *e = entryAt(view.store, region.lngIdx))
                    result.steps << text(A::SelectKey, e->dsn) << act(A::Repaint);
            } else if (region.lngTyp == tageszellekopf) {
                result.steps << act(A::OpenDatePicker);
            }
        } else if (find(view, x, y, HitFilter::ClickInGrid, region)) {
            if (const TerminEintrag *e = entryAt(view.store, region.lngIdx))
                result.steps << text(A::SelectKey, e->dsn) << act(A::Repaint);
        }
        break;
    }
    return result;
}

GestureResult CalendarGesture::doubleClick() const
{
    GestureResult result;
    result.steps << act(A::ShowSelected);
    return result;
}

GestureResult CalendarGesture::doubleClick(const GestureView &view, double x, double y)
{
    GestureResult result = doubleClick();
    const qint32 filter = y < view.scene.grid.firstRowTop() ? HitFilter::PressAboveGrid
                                                             : HitFilter::PressInGrid;
    HitRegion region;
    if (!overflowAt(view.scene, x, y) && find(view, x, y, filter, region)
        && (region.lngTyp == zeitzelle || region.lngTyp == tageszelle))
        requestNew(view, region, result);
    return result;
}

void CalendarGesture::requestNew(const GestureView &view, const HitRegion &cell,
                                 GestureResult &result) const
{
    const Date raster = view.grid.timeRaster;
    const Date before = m_pressedOnStart, beforeEnd = m_pressedOnEnd;
    if (cell.lngTyp == zeitzelle) {
        const Date slot = cToolbox::NormalizeDate(cell.datVon);
        const bool inside = before > 0 && cToolbox::dateAtLeast(slot, before)
                            && cToolbox::dateAtLeast(beforeEnd, slot);
        const Date from = inside ? before : slot;
        const Date to = cToolbox::NormalizeDate((inside ? beforeEnd : slot) + raster);
        if (inside)
            result.steps << dates(A::SetSelection, before, beforeEnd) << act(A::Repaint);
        result.steps << A{A::NewAppointment, from, to, 0, QRect(), QString()};
        return;
    }
    const Date day = cToolbox::DateOnly(cell.datVon);
    // Whole days selected in the band: from the first day's midnight to the last one's end.
    const bool wholeDays = before > 0 && cToolbox::TimeOnly(before) == 0
                           && cToolbox::dateAtLeast(cToolbox::TimeOnly(beforeEnd), 1 - raster)
                           && day >= before && day <= cToolbox::DateOnly(beforeEnd);
    const Date from = wholeDays ? before : day;
    const Date to = (wholeDays ? cToolbox::DateOnly(beforeEnd) : day) + 1;
    if (wholeDays)
        result.steps << dates(A::SetSelection, before, beforeEnd) << act(A::Repaint);
    result.steps << A{A::NewAppointment, from, to, 1, QRect(), QString()};
}

GestureResult CalendarGesture::key(const GestureView &view, int keyCode) const
{
    GestureResult result;
    if (keyCode < kKeyLeft || keyCode > kKeyDown)
        return result;
    const CalendarGrid &grid = view.grid;
    if (view.selectionStart == 0) {
        // The first key press only places the selection on the first displayed day: at
        // midnight as it always did, in the modern presentation at the first row shown.
        const Date at = view.modern ? cToolbox::NormalizeDate(grid.firstDay + grid.firstTime)
                                    : grid.firstDay;
        result.steps << dates(A::SetSelection, at, at) << act(A::Repaint);
        return result;
    }
    const Date startTime = cToolbox::TimeOnly(view.selectionStart);
    Date by = 0;
    switch (keyCode) {
    case kKeyLeft:
        by = -1;
        break;
    case kKeyRight:
        by = 1;
        break;
    case kKeyUp:
        if (cToolbox::dateAtLeast(startTime, grid.timeRaster))
            by = -grid.timeRaster;
        break;
    default:
        if (cToolbox::dateBefore(startTime, 1 - grid.timeRaster))
            by = grid.timeRaster;
        break;
    }
    // The range keeps its length; a move off the calendar's dates changes nothing.
    const Date start = cToolbox::NormalizeDate(view.selectionStart + by);
    const Date end = cToolbox::NormalizeDate(view.selectionEnd + by);
    if (by != 0 && isValidDate(start) && isValidDate(end))
        result.steps << dates(A::SetSelection, start, end);
    result.steps << act(A::EnsureSelectionVisible) << act(A::Repaint);
    return result;
}

GestureResult CalendarGesture::autoScrollTick(const GestureView &view)
{
    GestureResult result;
    const CalendarGrid &grid = view.grid;
    const auto stop = [&] {
        m_autoScrollStep = 0;
        result.steps << act(A::StopAutoScroll);
    };
    if (m_autoScrollStep < 0) {
        if (grid.firstTime > 0)
            result.steps << dates(A::SetFirstTime, std::max(grid.firstTime + m_autoScrollStep, 0.0))
                         << act(A::Repaint);
        else
            stop();
    } else if (m_autoScrollStep > 0) {
        const Date lastSlot = cToolbox::NormalizeDate(1 - grid.timeRaster);
        // On a surface lower than three rows the rest of the day never fits; the scrolling
        // then ends at the last slot instead of wrapping round to midnight.
        if (!view.lastRowVisible && cToolbox::dateBefore(grid.firstTime, lastSlot))
            result.steps << dates(A::SetFirstTime, grid.firstTime + m_autoScrollStep)
                         << act(A::Repaint);
        else
            stop();
    }
    return result;
}

const BandOverflow *overflowAt(const CalendarScene &scene, double x, double y)
{
    for (const BandOverflow &overflow : scene.overflows) {
        const QRect &m = overflow.marker;
        if (x >= m.left() && x < m.left() + m.width() && y >= m.top() && y < m.top() + m.height())
            return &overflow;
    }
    return nullptr;
}

QString overflowTooltip(const BandOverflow &overflow, const AppointmentStore &store)
{
    QStringList lines;
    for (qint32 index : overflow.hidden) {
        if (const TerminEintrag *e = entryAt(store, index))
            lines.append(e->memo);
    }
    return lines.join(QLatin1Char('\n'));
}

VisibilityStep selectionVisibilityStep(Date selectionStart, const CalendarGrid &grid,
                                       Date lastVisibleTime)
{
    const Date startTime = cToolbox::TimeOnly(selectionStart);
    const Date lastSlot = cToolbox::NormalizeDate(1 - grid.timeRaster);
    if (selectionStart == 0)
        return {};
    if (selectionStart < grid.firstDay)
        return {VisibilityStep::DayBack};
    if (cToolbox::DateOnly(selectionStart) > grid.lastDay)
        return {VisibilityStep::DayForward};
    if (cToolbox::dateBefore(startTime, grid.firstTime))
        return {VisibilityStep::FirstTime, startTime};
    if (cToolbox::dateBefore(lastVisibleTime, startTime)
        && cToolbox::dateBefore(grid.firstTime, lastSlot))
        return {VisibilityStep::FirstTime, cToolbox::NormalizeDate(grid.firstTime + grid.timeRaster)};
    return {};
}

} // namespace Dayplex
