#ifndef DAYPLEX_CALENDARGESTURE_H
#define DAYPLEX_CALENDARGESTURE_H

#include "calendar/appointmentstore.h"
#include "calendar/calendarscene.h"

#include <QPair>
#include <QRect>
#include <QString>
#include <QVector>

namespace Dayplex {

// One thing the control does for a gesture, in the order given.
struct GestureAction
{
    enum Kind : quint8 {
        Repaint,           // paint now
        UpdateLater,       // paint from the event loop
        SetSelection,      // from = start, to = start of the last slot, stored as given
        SetSelectionStart, // from, through the property (rounded, checked)
        SetSelectionEnd,   // from, through the property
        SelectIndex,       // value = record, 0 = none
        SelectKey,         // text = key, through SelectedDate
        SetTimes,          // value = record: from = start, to = end
        RestoreTimes,      // the selected record back to its confirmed times
        Ghost,             // rect = the drag ghost (DrawDragDrop), all 0 to take it away
        Cursor,            // text = a named cursor, empty for the default
        Tooltip,           // text
        OpenContextMenu,   // rect.topLeft() = surface position
        OpenDatePicker,
        SetDayInfoHeight,  // value = rows
        Drop,              // SelectedDateMove(from, value = target type)
        ConfirmResize,     // value = record: ask, then DateChanged when committed
        ShowSelected,      // ShowDate of the selected appointment
        StartAutoScroll,   // from = step per tick
        StopAutoScroll,
        SetFirstTime,      // from, through the property
        EnsureSelectionVisible,
        EnsureVisible,     // from = a moment of the displayed days, scrolled into sight
        PressAgain,        // a stale gesture was ended: hand the press in again
        NewAppointment,    // newAppointmentRequested(from, to, value = 1 for whole days)
        RequestDelete,     // deleteRequested(text = key)
    };
    Kind kind;
    Date from = 0;
    Date to = 0;
    qint32 value = 0;
    QRect rect;
    QString text;
};

// The answer to one event: the steps, then what must follow them even when a step fails;
// a failing step of a move or resize puts the appointment back first.
struct GestureResult
{
    QVector<GestureAction> steps;
    QVector<GestureAction> finally;
    bool restoreOnFailure = false;
    // The key is not the view's: Qt hands it on (Tab past either end leaves the view).
    bool passOn = false;
};

// What the gesture reads of the control at an event.
struct GestureView
{
    GestureView(const CalendarScene &scene, const AppointmentStore &store, const CalendarGrid &grid)
        : scene(scene), store(store), grid(grid)
    {
    }

    const CalendarScene &scene;  // the last paint: hit regions, geometry, markers
    const AppointmentStore &store;
    const CalendarGrid &grid;    // the range, raster and first time in force
    Date selectionStart = 0;
    Date selectionEnd = 0;       // start of the last selected slot
    qint32 selectedIndex = 0;
    qint32 surfaceTop = 0;
    qint32 surfaceWidth = 0;
    qint32 surfaceHeight = 0;
    bool lastRowVisible = false; // isLastRowVisible
    bool modern = false;
};

// The calendar's mouse and keyboard state machine: selecting times and days, moving and
// resizing appointments, the splitter, hover feedback, the arrow keys, Escape and the
// automatic scrolling of a drag. It takes events with the view they happen on and answers
// what to do; it changes nothing but its own state.
class CalendarGesture
{
public:
    enum State : qint32 {
        Idle = 0,
        SplitterDrag = 1,
        MovingTimed = 2,
        MovingAllDay = 3,
        Selecting = 4,
        ResizingStart = 5,
        ResizingEnd = 6,
    };

    // othersHeld: buttons other than this one are down.
    GestureResult press(const GestureView &view, Qt::MouseButton button, bool othersHeld, double x,
                        double y);
    // buttons: the left, right and middle buttons down.
    GestureResult move(const GestureView &view, Qt::MouseButtons buttons, double x, double y);
    // stillHeld: buttons are still down after this release.
    GestureResult release(const GestureView &view, bool stillHeld, double x, double y);
    GestureResult doubleClick() const;
    // A left double click at (x, y): as doubleClick(), and on free time a new appointment is
    // asked for: the slot under the mouse, or the time selection the click lies in (the first
    // click of the double click had collapsed it); on a band cell that whole day, or the
    // selected days.
    GestureResult doubleClick(const GestureView &view, double x, double y);
    // Windows key codes: 37 left, 38 up, 39 right, 40 down; others do nothing.
    GestureResult key(const GestureView &view, int keyCode) const;
    // Escape: a running drag or resize ends as if it never began, and the mouse is ignored
    // until its button is released. Nothing happens outside a drag.
    GestureResult escape();
    GestureResult autoScrollTick(const GestureView &view);

    // The keys beside the arrow keys (a Qt::Key with its modifiers): Tab and Shift+Tab walk
    // the appointments, Enter opens one, the menu key and Shift+F10 open the context menu,
    // Alt with an arrow moves the selected appointment and Alt+Shift its end, one step a
    // press, shown in place until Enter commits or Escape takes the change back; Delete asks
    // to delete the selected writable appointment. The arrow keys and Escape behave as key()
    // and escape().
    GestureResult keyPress(const GestureView &view, int key, Qt::KeyboardModifiers modifiers);
    // The view got the keyboard by Tab or Shift+Tab: the walk starts from the view itself.
    void enteredByTab() { m_onAppointment = false; m_keyboardInUse = true; }
    // Whether the focus frame shows: after Tab into the view or a key on it, not after a
    // click, so that a mouse user sees the picture as it always was.
    bool keyboardInUse() const { return m_keyboardInUse; }
    // An appointment was selected another way than by a key (a screen reader's action): the
    // keyboard goes there, as with a click.
    void followSelection() { m_onAppointment = true; }
    // The view lost the keyboard: a change waiting for Enter goes back.
    GestureResult focusLost(const GestureView &view);
    // Whether the keyboard is on the selected appointment rather than on the time selection.
    bool onAppointment(const GestureView &view) const;
    bool changePending() const { return m_pending.index != 0; }

    // The automatic scrolling ends (StopAutoScroll).
    void stopAutoScroll() { m_autoScrollStep = 0; }

    State state() const { return m_state; }
    // Moving, resizing or the splitter; selecting is no gesture that Escape could undo.
    bool inGesture() const { return m_state != Idle && m_state != Selecting; }
    Date autoScrollStep() const { return m_autoScrollStep; }
    QPoint pressPoint() const { return QPoint(m_downX, m_downY); }

private:
    // A change of the selected appointment by the keyboard, in the store already and waiting
    // for Enter; the times it had before go back with Escape.
    struct PendingChange
    {
        qint32 index = 0;
        QString dsn;
        Date start = 0, end = 0;
        Date oldStart = 0, oldEnd = 0;
        bool resized = false; // the end moved on its own: confirmed as a resize, not a drop
    };

    GestureResult cancel();
    // Takes a waiting change back, if any, into result.
    void dropPending(const GestureView &view, GestureResult &result);
    // Whether the store still holds what the keys put there (a reload brings the host's times).
    bool pendingHeld(const GestureView &view) const;
    GestureResult walk(const GestureView &view, bool forward);
    GestureResult commit(const GestureView &view);
    GestureResult change(const GestureView &view, int key, bool ofEnd);
    GestureResult openMenu(const GestureView &view);
    void autoScrollCheck(const GestureView &view, double y, GestureResult &result);
    void hover(const GestureView &view, double x, double y, GestureResult &result) const;
    // The new appointment a double click on free time asks for, into result.
    void requestNew(const GestureView &view, const HitRegion &cell, GestureResult &result) const;

    State m_state = Idle;
    qint32 m_downX = 0; // the last press that hit a region
    qint32 m_downY = 0;
    bool m_escaped = false; // a gesture was cancelled by Escape; its button is still down
    Date m_autoScrollStep = 0;
    bool m_onAppointment = false;
    bool m_keyboardInUse = false;
    PendingChange m_pending;
    // The time selection before the last press, which a double click inside it keeps.
    Date m_pressedOnStart = 0;
    Date m_pressedOnEnd = 0;
};

// The "+n" marker under a point, nullptr off the markers.
const BandOverflow *overflowAt(const CalendarScene &scene, double x, double y);
// Its tooltip: the memos of the entries it hides, one a line.
QString overflowTooltip(const BandOverflow &overflow, const AppointmentStore &store);

// The appointments of the painted days that a click could select, in reading order: those Tab
// walks through.
QVector<qint32> keyboardOrder(const CalendarScene &scene, const AppointmentStore &store);
// Reading order: day by day, the all-day entries first, then by start.
bool readsBefore(const AppointmentStore &store, qint32 a, qint32 b);
// Each appointment the scene shows with its first box on screen, in the order painted; an
// all-day entry the band has no room for stands at its day's band cell (where "+n" says so).
QVector<QPair<qint32, QRect>> boxesOnScreen(const CalendarScene &scene);
// Where the keyboard is, in surface pixels: the selected appointment's box on screen, or the
// cell of the time selection (the band cell for whole days); empty when out of sight.
QRect keyboardFocusRect(const GestureView &view, bool onAppointment);

// One pass of bringing the selection's start into view: a day back or forward, or a new first
// time; Done when it is in view.
struct VisibilityStep
{
    enum Kind { Done, DayBack, DayForward, FirstTime } kind = Done;
    Date firstTime = 0;
};
VisibilityStep selectionVisibilityStep(Date selectionStart, const CalendarGrid &grid,
                                       Date lastVisibleTime);

} // namespace Dayplex

#endif
