#ifndef DAYPLEX_UCAGENDA_P_H
#define DAYPLEX_UCAGENDA_P_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargesture.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarprintlist.h"
#include "calendar/calendarscene.h"
#include "calendar/calendarsettings.h"
#include "calendar/cellmatrix.h"
#include "dialogs/ccommoncalendar.h"
#include "shared/boxinsides.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ucagenda.h>

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class QScrollBar;
class QTimer;

namespace Dayplex {

class cDC;
class CalendarMenu;
struct ShownAppointment;

// What the host delivered: the appointments and the range they cover.
struct CalendarData
{
    AppointmentStore store;
    Date filledStart = 0;
    Date filledEnd = 0;
    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;
};

// The time selection and the selected appointment.
struct CalendarSelection
{
    Date start = 0;   // 0 = no time selection
    Date endSlot = 0; // start of the last selected slot
    qint32 index = 0; // the selected appointment, 0 = none
};

// The drawing surface's place in the control, its drag ghost and its mouse pointer.
struct SurfaceState
{
    QRect area;           // left and top are always 0
    // The rectangle DrawDragDrop drew last, as its four edges; all 0 when none.
    qint32 ghostLeft = 0;
    qint32 ghostTop = 0;
    qint32 ghostRight = 0;
    qint32 ghostBottom = 0;
    QVariant varLastMousePointer;
    QCursor mouseIcon;    // the custom cursor (pointer number 99)
    qint32 cursorLoads = 0; // named cursors loaded so far; the cache keeps this low
    int wheelRemainder = 0; // wheel turn below one notch, kept for the next event
    bool vScrollGuard = false;
    bool hScrollGuard = false;
};

// The picture of the view, kept while what it shows stays the same.
struct KeptPicture
{
    QImage image;
    ScenePictureKey key; // of the scene input it shows
    bool valid = false;  // the scene of the control is this picture's
    quint64 renders = 0; // how often it was painted anew
    // What the surface does not show yet: pixels of the picture painted since the surface
    // last showed them, and the places of the drag ghost before and after it moved.
    QRegion unshown;
};

class ucAgendaPrivate
{
public:
    explicit ucAgendaPrivate(ucAgenda *q);
    ~ucAgendaPrivate();

    static ucAgendaPrivate *get(ucAgenda *agenda) { return agenda->d.get(); }

    // Rebuilds the cell matrix for the displayed days and the raster in force.
    void rebuildMatrix();
    // Colours the cells by working time from the options and layout in force.
    void colourWorkingTimes();
    // The picture of the view in a size of logical pixels at a device pixel ratio: the kept
    // one while the view shows the same, else painted again into the kept image (only the
    // cells that changed when just the time selection moved). Its scene becomes the last paint.
    const QImage &picture(QSize size, qreal ratio);
    // The scene of a modern print sheet in the area, with the days it lists below the grid.
    struct ModernList
    {
        QVector<ListedDay> days;
        qint32 columns = 1;
    };
    CalendarScene modernSheet(cDC &dc, const QRect &area, qint32 cw, qint32 ch, ModernList &list);
    // A page of the modern print job: a period's sheet, or one that continues its list.
    struct ModernPage
    {
        Date firstDay = 0;
        Date lastDay = 0;
        ModernList list;
        bool continued = false;
    };
    // The modern print job: `periods` periods from the one displayed, each with the pages its
    // list needs in the area of the page; then page n of them drawn there.
    qint32 planModernPages(QPainter &painter, const QRect &area, qint32 periods);
    void paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages);
    // The printed scene becomes the last paint, as PrintAnsicht leaves it.
    void keepPrintedScene(CalendarScene &&page);
    // What a view of the control's state in an area shows, without the text metrics and the
    // tools of its computation (screen or page).
    SceneInput sceneInput(QRect area, bool printFlag) const;
    // The view of the control's state in an area of a surface (screen or page);
    // appointmentsOf as in computeCalendarScene.
    CalendarScene computeScene(const cDC &dc, QRect area, qint32 charWidth, qint32 charHeight,
                               bool printFlag, const CalendarScene *appointmentsOf = nullptr);
    // The grid in force with the geometry of the last paint, which the members that measure
    // the picture (GetYErsteZeile, GetXTagesTermin, isLastRowVisible) read.
    CalendarGrid paintedGrid() const;

    // Creates the drawing surface, the two scroll bars and the auto-scroll timer.
    void createChildren();
    // Places the surface and the bars in the control's area; the corner square stays empty.
    void layoutChildren(qint32 width, qint32 height);
    // Repaint: the kept picture brought up to date, and the surface paints what it lacks.
    void showPicture();
    // The screen paint of the part of the surface: the view, then the drag ghost inverted
    // over it.
    void paintSurface(QPainter *painter, const QRegion &exposed);
    void paintGhost(QPainter *painter, qint32 width, qint32 height);
    // The pixels of the drag ghost on a surface of that size, one rectangle each.
    QVector<QRect> ghostSpans(qint32 width, qint32 height) const;

    // The events of the surface, handed to the gesture and its answer carried out; x and y in
    // surface pixels.
    void mousePress(Qt::MouseButton button, bool othersHeld, double x, double y);
    void mouseMove(Qt::MouseButtons buttons, double x, double y);
    void mouseRelease(bool stillHeld, double x, double y);
    // A key on the view (a Qt::Key with its modifiers); false when it is not the view's and
    // goes on to the parent (Tab past the last appointment leaves the view).
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);
    // The surface got (by Tab or Shift+Tab: the walk starts afresh) or lost the keyboard.
    void focusIn(Qt::FocusReason reason);
    void focusOut();
    // The frame around the appointment or cell the keyboard is on, or around the surface.
    void paintFocusFrame(QPainter *painter, qint32 width, qint32 height);
    void autoScrollTick();
    // Wheel turn over the grid, in eighths of a degree (120 per notch, positive away from the
    // user): a notch scrolls one time row, like the arrows of the time bar.
    void wheel(int angleDelta);
    void perform(const GestureResult &result);
    GestureView gestureView() const;

    // Scrolls the days and the time rows until the moment is in sight.
    void ensureVisible(Date moment);
    // Puts a resized or moved appointment back when an error ended the gesture.
    void restoreSelectedTimes();
    // Decides a moved or resized record by the question its details call for, and reports a
    // change that stands.
    void decideChange(qint32 index);
    // DateChanged for a committed change of the record at index; seriesDateChanged with the
    // scope for an occurrence of a series.
    void emitDateChanged(qint32 index, std::optional<SeriesScope> scope);
    void hScrollChange();
    void vScrollChange();
    // Scrolls the time rows by whole rows, kept within the day; repaints the surface.
    void scrollRows(qint32 rows);
    // The "Anzeigen" command: ShowDate for the selected appointment.
    void showSelected();

    // The appointments the last paint showed, each with its first rectangle on screen.
    QVector<ShownAppointment> visibleAppointments() const;

    ucAgenda *const q;

    cTools tools;
    cCommonCalendar common;
    cHolidays holidays;
    CalendarSettings settings;
    CalendarData data;
    CalendarGrid grid;
    CellMatrix matrix;
    CalendarSelection selection;
    qint32 alignWeekday = 0;
    Presentation presentation = Presentation::Classic;
    Presentation printPresentation = Presentation::Classic;
    // The print dialog's choice of sheet and period, when the host offers it, and the
    // resource view it may print; `running` while the chosen sheets print.
    struct PrintChoiceOffer
    {
        bool offered = false;
        QPointer<ctlGantt> resourceView;
        bool running = false;
    };
    PrintChoiceOffer printChoice;
    // Asks for sheet and period, then prints them (ucagenda_printchoice.cpp).
    QVariant printChosen(bool preview);
    // The pages of the modern print job in progress, and the end time of its layout.
    QVector<ModernPage> modernPages;
    Date modernEndTime = 0;
    // The last painted view, screen or page: its hit regions and geometry. Its last visible
    // time and "+n" markers are always those of the screen.
    CalendarScene scene;
    // The layout's working space, kept from one view to the next.
    CellMatrix occupancy;
    KeptPicture kept;
    // The screen picture from before a print job, shown instead of the view until the job and
    // its preview are over and the screen state is back; null otherwise.
    QImage screenWhilePrinting;
    BoxInsides insides;
    CalendarGesture gesture;
    SurfaceState surface;

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
