// The calendar's keyboard path beside its arrow keys: walking the appointments with Tab,
// opening one, its context menu, and moving or resizing it in raster steps until Enter.
#include "calendar/calendargesture.h"

#include "calendar/gestureactions.h"
#include "calendar/hittest.h"
#include "shared/tabwalk.h"
#include "shared/toolbox.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace Dayplex {

using namespace GestureActions;

namespace {

// Milliseconds: raster steps added up carry rounding noise.
constexpr Date kTolerance = kOneSecond / 1000;

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

// The arrows' Windows codes (37 left, 38 up, 39 right, 40 down) are in Qt's order.
int windowsCode(int arrow)
{
    return 37 + (arrow - Qt::Key_Left);
}

bool writable(const TerminEintrag *e)
{
    return e && !e->breadonly && !e->blnfeiertag;
}

GestureResult passedOn()
{
    GestureResult result;
    result.passOn = true;
    return result;
}

} // namespace

bool readsBefore(const AppointmentStore &store, qint32 a, qint32 b)
{
    const auto order = [&store](qint32 index) {
        const TerminEintrag &e = store.at(index);
        return std::make_tuple(std::floor(e.dateStart), !e.btagestermin, e.dateStart, index);
    };
    return order(a) < order(b);
}

QVector<qint32> keyboardOrder(const CalendarScene &scene, const AppointmentStore &store)
{
    // A click selects the first writable record of a key; Tab visits that one.
    QHash<QString, qint32> firstOfKey;
    for (qint32 i = store.count(); i >= 1; --i) {
        if (writable(&store.at(i)))
            firstOfKey.insert(store.at(i).dsn, i);
    }
    QVector<qint32> order;
    QSet<qint32> seen;
    for (const HitRegion &region : scene.hits.all()) {
        if ((region.lngTyp != termineintrag && region.lngTyp != tagestermin) || seen.contains(region.lngIdx))
            continue;
        seen.insert(region.lngIdx);
        const TerminEintrag *e = entryAt(store, region.lngIdx);
        if (writable(e) && firstOfKey.value(e->dsn) == region.lngIdx)
            order.append(region.lngIdx);
    }
    std::sort(order.begin(), order.end(),
              [&store](qint32 a, qint32 b) { return readsBefore(store, a, b); });
    return order;
}

QVector<QPair<qint32, QRect>> boxesOnScreen(const CalendarScene &scene)
{
    const CalendarGrid &grid = scene.grid;
    const GridGeometry &g = grid.geo;
    const qint32 bandTop = g.lngOben + g.lngKopfhoehe;
    const QRect band(g.lngLinks + g.lngZeitspalteBreite, bandTop, g.areaWidth - g.lngZeitspalteBreite,
                     g.lngTagesterminHoehe);
    const qint32 gridTop = grid.firstRowTop() + 1;
    const QRect timeGrid(g.lngLinks, gridTop, g.areaWidth, g.lngUnten - gridTop);
    QVector<QPair<qint32, QRect>> shown;
    QSet<qint32> seen;
    // The first segment on screen stands for the appointment; the painter clips the rest away.
    for (const HitRegion &region : scene.hits.all()) {
        if (region.lngIdx <= 0 || seen.contains(region.lngIdx))
            continue;
        if (region.lngTyp != termineintrag && region.lngTyp != tagestermin)
            continue;
        const bool allDay = region.lngTyp == tagestermin;
        const QRect box(region.lngLeft, region.lngTop, region.lngWidth, region.lngHeight);
        QRect onScreen = box & (allDay ? band : timeGrid);
        if (onScreen.isEmpty() && allDay) {
            // Below the band's last row: the entry is hidden in its first day's band cell.
            const qint32 column = grid.columnOf(std::max(region.datVon, grid.firstDay));
            if (column >= 0)
                onScreen = QRect(grid.columnLeft(column), bandTop, g.lngSpaltenBreite, g.lngTagesterminHoehe);
        }
        if (onScreen.isEmpty())
            continue;
        seen.insert(region.lngIdx);
        shown.append({region.lngIdx, onScreen});
    }
    return shown;
}

QRect keyboardFocusRect(const GestureView &view, bool onAppointment)
{
    if (onAppointment) {
        for (const auto &[index, rect] : boxesOnScreen(view.scene)) {
            if (index == view.selectedIndex)
                return rect;
        }
        return QRect();
    }
    const CalendarGrid &grid = view.scene.grid;
    const GridGeometry &g = grid.geo;
    const qint32 column = view.selectionStart > 0 ? grid.columnOf(view.selectionStart) : -1;
    if (column < 0)
        return QRect();
    const Date day = cToolbox::DateOnly(view.selectionStart);
    const bool wholeDay = cToolbox::TimeOnly(view.selectionStart) < kTolerance
                          && view.selectionEnd > day + 1 - grid.timeRaster - kTolerance;
    if (wholeDay)
        return QRect(grid.columnLeft(column), g.lngOben + g.lngKopfhoehe, g.lngSpaltenBreite,
                     g.lngTagesterminHoehe);
    const qint32 row = grid.rowOf(view.selectionStart);
    const qint32 top = grid.rowTop(row);
    // Rows above the first time or below the surface are out of sight.
    if (row < grid.firstVisibleRow() || top > g.lngUnten)
        return QRect();
    return QRect(grid.columnLeft(column), top, g.lngSpaltenBreite, g.lngZeilenhoehe);
}

bool CalendarGesture::onAppointment(const GestureView &view) const
{
    return m_onAppointment && entryAt(view.store, view.selectedIndex);
}

GestureResult CalendarGesture::keyPress(const GestureView &view, int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    m_keyboardInUse = true;
    if (key == Qt::Key_Escape) {
        if (inGesture())
            return escape();
        if (!changePending())
            return passedOn();
        GestureResult result;
        dropPending(view, result);
        return result;
    }
    if (isArrow(key)) {
        // Alt moves the selected appointment; without one that can change, the arrows keep
        // moving the time selection whatever the modifiers.
        const bool alt = (mods & Qt::AltModifier) && !(mods & (Qt::ControlModifier | Qt::MetaModifier));
        if (alt && !inGesture() && writable(entryAt(view.store, view.selectedIndex)))
            return change(view, key, mods & Qt::ShiftModifier);
        m_onAppointment = false;
        return this->key(view, windowsCode(key));
    }
    if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
        const TerminEintrag *e = entryAt(view.store, view.selectedIndex);
        if (inGesture() || !writable(e))
            return passedOn();
        GestureResult result;
        dropPending(view, result);
        result.steps << text(A::RequestDelete, e->dsn);
        return result;
    }
    const bool menuKey = key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier);
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!menuKey && !tab && !enter)
        return passedOn();
    // A drag of the mouse owns the view until its release or Escape.
    if (inGesture())
        return {};
    if (tab)
        return walk(view, key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
    if (menuKey)
        return openMenu(view);
    if (changePending())
        return commit(view);
    // What a double click raises: the appointment opens.
    if (onAppointment(view))
        return doubleClick();
    return passedOn();
}

GestureResult CalendarGesture::walk(const GestureView &view, bool forward)
{
    GestureResult result;
    dropPending(view, result);
    const QVector<qint32> order = keyboardOrder(view.scene, view.store);
    const qsizetype next =
        tabWalk(onAppointment(view) ? order.indexOf(view.selectedIndex) : -1, order.size(), forward);
    if (next < 0) {
        result.passOn = true;
        return result;
    }
    const TerminEintrag &e = view.store.at(order.at(next));
    m_onAppointment = true;
    result.steps << text(A::SelectKey, e.dsn);
    if (!e.btagestermin)
        result.steps << dates(A::EnsureVisible, std::max(e.dateStart, view.grid.firstDay));
    result.steps << act(A::Repaint);
    return result;
}

GestureResult CalendarGesture::openMenu(const GestureView &view)
{
    GestureResult result;
    dropPending(view, result);
    const QRect at = keyboardFocusRect(view, onAppointment(view));
    result.steps << menuAt(at.isEmpty() ? QPoint(view.surfaceWidth / 2, view.surfaceHeight / 2)
                                        : at.center());
    return result;
}

bool CalendarGesture::pendingHeld(const GestureView &view) const
{
    const TerminEintrag *e = entryAt(view.store, m_pending.index);
    return e && e->dsn == m_pending.dsn && e->dateStart == m_pending.start && e->dateEnd == m_pending.end;
}

void CalendarGesture::dropPending(const GestureView &view, GestureResult &result)
{
    if (!changePending())
        return;
    if (pendingHeld(view))
        result.steps << times(m_pending.index, m_pending.oldStart, m_pending.oldEnd) << act(A::Repaint);
    m_pending = {};
}

GestureResult CalendarGesture::focusLost(const GestureView &view)
{
    GestureResult result;
    dropPending(view, result);
    return result;
}

GestureResult CalendarGesture::change(const GestureView &view, int key, bool ofEnd)
{
    GestureResult result;
    const qint32 index = view.selectedIndex;
    if (changePending() && (m_pending.index != index || !pendingHeld(view)))
        dropPending(view, result);
    const TerminEintrag &e = view.store.at(index);
    if (!changePending())
        m_pending = {index, e.dsn, e.dateStart, e.dateEnd, e.dateStart, e.dateEnd, false};
    m_onAppointment = true;
    const CalendarGrid &grid = view.grid;
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    // An all-day entry has no time of day to move.
    if (vertical && e.btagestermin)
        return result;
    const Date step = vertical ? grid.timeRaster : 1;
    const Date by = key == Qt::Key_Up || key == Qt::Key_Left ? -step : step;
    const Date start = ofEnd ? m_pending.start : cToolbox::NormalizeDate(m_pending.start + by);
    const Date end = cToolbox::NormalizeDate(m_pending.end + by);
    // A timed appointment keeps some length, an all-day entry at least its day; and either
    // stays on the days shown, as a drag can only drop it there.
    const bool keepsLength = e.btagestermin ? cToolbox::DateOnly(end) >= cToolbox::DateOnly(start)
                                            : cToolbox::dateBefore(start, end);
    const bool onDays = e.btagestermin ? end >= grid.firstDay && start < grid.lastDay + 1
                                       : cToolbox::dateBefore(grid.firstDay, end) && start < grid.lastDay + 1;
    if (!isValidDate(start) || !isValidDate(end) || !keepsLength || !onDays)
        return result;
    m_pending.start = start;
    m_pending.end = end;
    m_pending.resized = m_pending.resized || ofEnd;
    result.steps << times(index, start, end);
    if (!e.btagestermin) {
        // The edge that moved comes into sight; never a day that is not shown, whose range
        // change would reload the store.
        const Date edge = ofEnd ? end - grid.timeRaster : start;
        result.steps << dates(A::EnsureVisible,
                              std::clamp(edge, grid.firstDay, grid.lastDay + 1 - grid.timeRaster));
    }
    result.steps << act(A::Repaint);
    return result;
}

GestureResult CalendarGesture::commit(const GestureView &view)
{
    GestureResult result;
    const PendingChange change = m_pending;
    if (!pendingHeld(view) || change.index != view.selectedIndex) {
        dropPending(view, result);
        return result;
    }
    m_pending = {};
    // As at the release of a drag: a failing step leaves the appointment where it was.
    result.restoreOnFailure = true;
    const TerminEintrag &e = view.store.at(change.index);
    if (change.resized)
        result.steps << number(A::ConfirmResize, change.index);
    else if (e.btagestermin)
        result.steps << A{A::Drop, cToolbox::DateOnly(change.start), 0, tageszelle, QRect(), QString()};
    else
        result.steps << A{A::Drop, change.start, 0, zeitzelle, QRect(), QString()};
    return result;
}

} // namespace Dayplex
