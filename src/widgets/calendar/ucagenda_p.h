#ifndef DAYPLEX_UCAGENDA_P_H
#define DAYPLEX_UCAGENDA_P_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarstyle.h"
#include "calendar/cellmatrix.h"
#include "calendar/hitregion.h"
#include "dialogs/ccommoncalendar.h"
#include "shared/ccontainer.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ucagenda.h>

#include <QCursor>
#include <QPoint>
#include <QVariant>
#include <functional>
#include <memory>

class QScrollBar;
class QTimer;

namespace Dayplex {

class cDC;

class CalendarMenu;
struct ShownAppointment;

class ucAgendaPrivate
{
public:
    explicit ucAgendaPrivate(ucAgenda *q);
    ~ucAgendaPrivate();

    void applyLayout(const QString &layout);
    // Rebuilds the cell matrix for the displayed days and the raster in force.
    void rebuildMatrix();
    // Colours the cells by working time from the options and layout in force.
    void colourWorkingTimes();
    // The screen paint: the whole view into an offscreen surface, then onto the target.
    // offscreen: draw into the flicker-free surface first (the screen); otherwise straight
    // onto the target, which keeps its device pixel ratio (a HiDPI picture).
    void paintView(QPainter *target, qint32 width, qint32 height, bool offscreen = true);
    // Paints the view with the control's state into an area of a surface (screen or page).
    void paintScene(cDC &dc, qint32 left, qint32 top, qint32 width, qint32 height,
                    qint32 charWidth, qint32 charHeight, bool printFlag);

    static ucAgendaPrivate *get(ucAgenda *agenda) { return agenda->d.get(); }

    // Creates the drawing surface, the two scroll bars and the auto-scroll timer.
    void createChildren();
    // Places the surface and the bars in the control's area; the corner square stays empty.
    void layoutChildren(qint32 width, qint32 height);
    // The screen paint of the surface: the view, then the drag ghost inverted over it.
    void paintSurface(QPainter *painter, qint32 width, qint32 height);

    // The mouse and keyboard state machine of the surface. Buttons: 1 left, 2 right, 4 middle
    // (a mask while moving); shift: 1 shift, 2 control, 4 alt; x and y in surface pixels.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void dblClick();
    void keyDown(int keyCode, int shift);
    // Wheel turn over the grid, in eighths of a degree (120 per notch, positive away from the
    // user): a notch scrolls one time row, like the arrows of the time bar.
    void wheel(int angleDelta);

    bool findHitRegion(double x, double y, qint32 filter, HitRegion &region) const;
    // The appointment a region or the selection names, nullptr when it is no longer stored.
    TerminEintrag *entry(qint32 index);
    void hover(double x, double y);
    void moveSelectionByKey(int keyCode);
    // Moves the selection by a duration; false (nothing changed) when it would leave the
    // calendar's dates.
    bool shiftSelection(Date by);
    void ensureSelectionVisible();
    void clearSelection();
    // Puts a resized or moved appointment back when an error ended the gesture.
    void restoreSelectedTimes();
    // Ends a gesture whose button release never arrived: back to idle, nothing committed.
    void cancelGesture();
    bool inGesture() const;
    void autoScrollCheck(double y);
    void autoScrollTick();
    void hScrollChange();
    void vScrollChange();
    // Scrolls the time rows by whole rows, kept within the day; repaints the surface.
    void scrollRows(qint32 rows);
    // The "Anzeigen" command: ShowDate for the selected appointment.
    void showSelected();
    // Escape during a drag or resize: the old state comes back, nothing is asked or raised,
    // and the mouse is ignored until its button is released.
    void escapeGesture();

    // The "+n" markers of the modern presentation: the one under a point of the last screen
    // paint, its tooltip (the hidden entries, one a line), and a press on it, which selects the
    // first hidden entry that can be selected. pressOverflowMarker is false off the markers.
    const BandOverflow *overflowAt(double x, double y) const;
    QString overflowTooltip(const BandOverflow &overflow) const;
    bool pressOverflowMarker(double x, double y);

    // The appointments the last paint showed, each with its first rectangle on screen.
    QVector<ShownAppointment> visibleAppointments() const;

    ucAgenda *const q;

    cTools tools;
    cCommonCalendar common;
    cContainer options;
    cContainer layout;
    cHolidays holidays;

    AppointmentStore store;
    qint32 lngSelIdx = 0;
    Date selectionStart = 0;
    Date selectionEnd = 0; // start of the last selected slot
    Date filledStart = 0;
    Date filledEnd = 0;
    qint32 alignWeekday = 0;

    CalendarGrid grid;
    CellMatrix matrix;
    CalendarStyle style;
    HitRegionList hits;
    bool gridRunning = false; // while a paint draws the grid
    Presentation presentation = Presentation::Classic;
    QVector<BandOverflow> overflows; // the "+n" markers of the last screen paint
    Date lastVisibleTime = 0; // time of the lowest time row of the last paint
    bool confirmChanges = true;

    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;

    // Interaction state.
    enum DragState : qint32 {
        Idle = 0,
        SplitterDrag = 1,
        MovingTimed = 2,
        MovingAllDay = 3,
        Selecting = 4,
        ResizingStart = 5,
        ResizingEnd = 6,
    };
    qint32 lngDragState = Idle;
    qint32 lngMouseDownX = 0; // the last press that hit a region
    qint32 lngMouseDownY = 0;
    qint32 ghostLeft = 0; // the rectangle DrawDragDrop drew last; all 0 when none
    qint32 ghostTop = 0;
    qint32 ghostRight = 0;
    qint32 ghostBottom = 0;
    QVariant varLastMousePointer;
    QCursor mouseIcon;        // the custom cursor (pointer number 99)
    qint32 cursorLoads = 0;   // named cursors loaded so far; the cache keeps this low
    int wheelRemainder = 0;   // wheel turn below one notch, kept for the next event
    bool escaped = false;     // a gesture was cancelled by Escape; its button is still down

    // Scrolling.
    Date datAutoScrollStep = 0;
    qint32 picLeft = 0;
    qint32 picTop = 0;
    qint32 picWidth = 0;
    qint32 picHeight = 0;
    bool vScrollGuard = false;
    bool hScrollGuard = false;

    QWidget *pic = nullptr;
    QScrollBar *hScroll = nullptr;
    QScrollBar *vScroll = nullptr;
    QTimer *timerAutoScroll = nullptr;

    // Set by the context menu and the date picker when they are present: a right-button press
    // on the grid (surface position), and a click on a day header.
    std::function<void(QPoint)> openContextMenu;
    std::function<void()> openDatePicker;

    // The context menu and the date picker; last, so that they go first and the functions
    // above never outlive them.
    std::unique_ptr<CalendarMenu> menu;
};

} // namespace Dayplex

#endif
