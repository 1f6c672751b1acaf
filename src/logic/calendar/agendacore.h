#ifndef DAYPLEX_AGENDACORE_H
#define DAYPLEX_AGENDACORE_H

// The calendar without a window: everything a front end (the QWidget control, a Qt Quick
// item) does not do itself. A front end hands in events as plain values, performs the actions
// they answer, paints the picture the core makes and forwards the host events of `events`.
#include "calendar/appointmentstore.h"
#include "calendar/calendargesture.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarprintlist.h"
#include "calendar/calendarscene.h"
#include "calendar/calendarsettings.h"
#include "calendar/cellmatrix.h"
#include "print/printchoice.h"
#include "shared/boxinsides.h"
#include "shared/changerequest.h"
#include "shared/cholidays.h"
#include "shared/dragframe.h"
#include "shared/menustate.h"

#include <dayplex/presentation.h>

#include <QImage>
#include <QRect>
#include <QRegion>

#include <functional>
#include <optional>
#include <utility>

class QPainter;

namespace Dayplex {

class cDC;

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

// The picture of the view, kept while what it shows stays the same.
struct KeptPicture
{
    QImage image;
    ScenePictureKey key; // of the scene input it shows
    bool valid = false;  // the scene of the core is this picture's
    // The picture of key went straight onto the screen at ratio, or was painted only where a
    // paint exposed it; image holds it only within held and is painted when it is asked for.
    bool owed = false;
    QRegion held;
    QRegion blank; // of a new image, not yet filled white
    qreal ratio = 0;
    quint64 renders = 0; // how often it was painted anew
    // What the front end does not show yet: pixels of the picture painted since it last
    // showed them, and the places of the drag ghost before and after it moved.
    QRegion unshown;
};

class AgendaCore
{
public:
    // The default options, half-hour rows, today's days (no NeedDates: no handler yet).
    AgendaCore();

    // --- range and data ---
    // Shows dayFirstDay on (see ucAgenda::SetDisplayedRange); raises needDates when the days
    // leave the filled range; writes the resulting last day back.
    void setDisplayedRange(Date dayFirstDay, double *dayLastDay, bool byDefault, bool alignOnWeekday);
    // By one day for 1 and -1, else by the shown days in the direction of the sign.
    void scrollDays(double direction);
    // Records the delivered range, empties the store and adds the holidays when wanted.
    void setFilledRange(Date start, Date end);
    // Forgets the filled range and asks for the shown days again.
    void refresh();
    // Empties the store and deselects the appointment.
    void clear();
    // What the appointment with the key is beyond its record (series, participants).
    void setAppointmentDetails(const QString &key, const AppointmentDetails &details);
    // Merges an options string and applies it (nothing changed when it throws).
    void setOptions(const QString &options);
    // Switches the screen presentation; the "+n" markers of the last paint go with the old
    // one, so that no pointer finds them before the next paint. False when it was in force.
    bool setPresentation(Presentation value);

    // The columns and rows an interval of two date arguments covers (GetTerminIndices),
    // written into the indices given; false, leaving them untouched, when it misses the days.
    bool terminIndices(const QVariant &start, const QVariant &end, qint32 *dayFrom, qint32 *dayTo,
                       qint32 *rowFrom, qint32 *rowTo, qint32 minHeight) const;
    // Colours the cell holding a moment until the next range change; Error 9 outside the cells.
    void setCellColour(Date moment, qint32 colour);

    // --- selection ---
    // The start of the selected appointment, else of the time selection, else the first day.
    Date workingDate() const;
    void setSelectionStart(Date value); // 0 clears; else rounded down to the raster
    void setSelectionEnd(Date value);   // the slot ending at value becomes the last one
    void selectKey(const QString &dsn); // the first selectable appointment with that key
    QString selectedKey() const;
    bool selectedReadOnly() const;      // false without a selected appointment
    MenuState menuState() const;
    // Puts a resized or moved appointment back when an error ended the gesture.
    void restoreSelectedTimes();

    // --- scene and picture ---
    void rebuildMatrix();      // the cell matrix for the shown days and the raster
    void colourWorkingTimes(); // the cells coloured by working time
    // What a view in an area shows, without the text metrics (screen, or page with printFlag).
    SceneInput sceneInput(QRect area, bool printFlag) const;
    // The view in an area of a surface; appointmentsOf as in computeCalendarScene.
    CalendarScene computeScene(const cDC &dc, QRect area, qint32 charWidth, qint32 charHeight,
                               bool printFlag, const CalendarScene *appointmentsOf = nullptr);
    // What the picture of a surface of that size shows now.
    ScenePictureKey pictureKey(QSize size);
    // Paints the picture of key onto target: whole, or only the cells that changed since the
    // last scene when cellsOnly; the changed region, or none when painted whole.
    // Within only, when given: nothing outside it is painted.
    std::optional<QRegion> paintPicture(QImage &target, QSize size, bool cellsOnly,
                                        const QRegion *only = nullptr);
    // The grid in force with the geometry of the last paint.
    CalendarGrid paintedGrid() const;
    // The picture in a size of logical pixels at a pixel ratio: the kept one while the view
    // shows the same, else painted again (only the changed cells when just the time selection
    // moved). Its scene becomes the last paint; what changed joins kept.unshown.
    const QImage &picture(QSize size, qreal ratio);
    // How a picture of the key differs from the kept one.
    enum class PictureChange { None, Cells, Whole };
    PictureChange pictureChange(const ScenePictureKey &key, qreal ratio) const;
    // Whether the kept picture is this key's at this pixel ratio (painted, or owed).
    bool keptIs(const ScenePictureKey &key, qreal ratio) const;
    // Before a surface of that size shows the picture: all of it joins kept.unshown when it is
    // to be painted whole or the focus frame shows, else the changed cells, painted now.
    PictureChange prepareShow(QSize size, qreal ratio, bool focusFrame);
    // The window's pixels under a whole surface, when the front end can hand them out.
    using WindowPixels = std::function<std::optional<QImage>()>;
    // The surface's paint. A picture to be painted whole (and a kept one the screen had and
    // lost) is painted straight into the window's pixels, when windowPixels gives them,
    // instead of into the kept image, which is owed until it is asked for: null then.
    // Otherwise the kept picture for the front end to copy. The key is computed once.
    // A paint that exposes only part of a changed picture paints only that part.
    const QImage *paintForSurface(QSize size, qreal ratio, const WindowPixels &windowPixels,
                                  const QRect &exposed = QRect());
    // The ghost's pixels on a surface of that size, one rectangle each; painted inverted.
    QVector<QRect> ghostSpans(qint32 width, qint32 height) const;
    void paintGhost(QPainter &painter, qint32 width, qint32 height) const;
    // Moves the ghost; its old and new pixels join kept.unshown. Throws on 32-bit overflow.
    void setGhost(qint32 left, qint32 top, qint32 width, qint32 height, QSize surfaceSize);
    // The frame around the appointment or cell the keyboard is on, or around the surface.
    void paintFocusFrame(QPainter &painter, qint32 width, qint32 height) const;
    // Whether the rest of the day and two rows more fit on the surface (last paint's geometry).
    bool lastRowVisible() const;
    // The first visible time: the time of day of value, rounded down to the raster.
    void setFirstTime(Date value);
    // The first time of the view scrolled by whole rows, kept within the day.
    void scrollRows(qint32 rows);
    // The time of the lowest row the screen shows from the grid's first time, by the geometry
    // of the last screen paint.
    Date lastVisibleTime() const;
    // Scrolls the days one at a time (each may ask for dates) and then the rows until the
    // moment is in sight, without a paint between; true when anything moved.
    bool ensureVisible(Date moment);

    // --- events in, actions out (x, y in logical pixels of the surface) ---
    GestureView gestureView() const;
    GestureResult press(Qt::MouseButton button, bool othersHeld, double x, double y);
    // A press whose answer the front end performs; when it ended a stale gesture (PressAgain
    // last), the press goes in again, to the picture the answer left. buttons: all held now,
    // the pressed one among them.
    void pressAndPerform(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y,
                         const std::function<void(const GestureResult &)> &perform);
    // The buttons the view's gestures know; a move counts the others as not held.
    static constexpr Qt::MouseButtons kViewButtons{Qt::LeftButton | Qt::RightButton | Qt::MiddleButton};
    GestureResult move(Qt::MouseButtons buttons, double x, double y);
    GestureResult release(bool stillHeld, double x, double y);
    GestureResult doubleClick(double x, double y);
    GestureResult keyPress(int key, Qt::KeyboardModifiers modifiers);
    // Tab brings the keyboard in use at once: the focus frame shows without a key pressed.
    void focusGained(Qt::FocusReason reason);
    GestureResult focusLost();
    GestureResult autoScrollTick();
    // A step of the answer failed: a moved or resized appointment goes back to its times
    // when the answer asks for that; true when it did.
    bool answerFailed(const GestureResult &result);
    // Does an action that only changes the core's own state (selection, times, rows, band);
    // false for the front end's actions, which it does itself.
    bool applyOwnStep(const GestureAction &action);
    // A page of time rows: the time bar's page step and the most a wheel turn scrolls.
    static constexpr qint32 kRowsPerPage = 10;
    // Rows a wheel turn scrolls (eighths of a degree, 120 a notch; the rest is kept), at most
    // a page; negative scrolls to earlier times.
    qint32 wheelRows(int angleDelta);

    // --- the change question, asked by the front end (also later: it may not block) ---
    // The question a moved or resized record calls for; none when its times did not change.
    std::optional<ChangeRequest> changeRequest(qint32 index) const;
    // The answer: the times become the confirmed ones, or they go back (true when the change
    // stands); a store filled anew meanwhile keeps its records. Then the change is raised
    // (dateChanged or seriesDateChanged) when it stands.
    bool commitChange(const ChangeRequest &request, const ChangeAnswer &answer);
    void raiseChange(const ChangeRequest &request, const ChangeAnswer &answer);
    // Moves the selected record to newDate keeping its length (a band day keeps its time);
    // the change question follows. False when none is selected. Throws on a bad date.
    bool moveSelected(Date newDate, qint32 targetKind);

    // --- printing's scene side ---
    // The sheet of the shown days (one day a day sheet, else a week sheet) for the print
    // dialog's choice.
    PrintChoice shownSheet() const;
    // The sheet and period the print dialog offers first: the resource view's days while it
    // is shown instead of the calendar (resourceShown: its first and last moment, when it is
    // given and shown), else the shown sheet.
    PrintChoice presetChoice(bool calendarShown, std::optional<std::pair<Date, Date>> resourceShown) const;
    // Shows the choice's first period (a day, or the week from the day weeks are aligned to)
    // and answers the pages the chosen sheets take: a grid of periods on each classic page
    // (the sheet's print layout), one on each modern page.
    qint32 showChoice(const PrintChoice &choice);
    // The print layout of the shown period (strLayoutDruckTag for one day, else
    // strLayoutDruckWoche) with its end time; then the screen's layout back, with the days
    // from firstDay and what the user changed on screenGrid.
    void applyPrintLayout();
    void restoreScreenLayout(Date firstDay, const CalendarGrid &screenGrid);
    // The modern sheet's scene in the area, with the days it lists below the grid.
    struct ModernList
    {
        QVector<ListedDay> days;
        qint32 columns = 1;
    };
    CalendarScene modernSheet(cDC &dc, const QRect &area, qint32 cw, qint32 ch, ModernList &list);
    // One printed view (PrintAnsicht) into a rectangle of an active painter; throws for no
    // painter, no area or one far off the page.
    void printView(QPainter *painter, qint32 x, qint32 y, qint32 width, qint32 height);
    // The modern job: `periods` periods from the shown one, each with the pages its list needs
    // in the area; then page n of them. The shown days follow the pages.
    qint32 planModernPages(QPainter &painter, const QRect &area, qint32 periods);
    void paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages);
    // The printed scene becomes the last paint, as PrintAnsicht leaves it.
    void keepPrintedScene(CalendarScene &&page);

    // --- state (read by the front end; written through the members above where they exist) ---
    ViewEvents events;                  // the host protocol, raised by the front end
    cHolidays holidays;                 // the holidays last added
    CalendarSettings settings;          // options, layout, style, confirmation
    CalendarData data;                  // the store and the filled range
    CalendarGrid grid;                  // shown days, raster, first time, row heights
    CellMatrix matrix;                  // cell colours and the host's occupancy calls
    CalendarSelection selection;
    qint32 alignWeekday = 0;            // 1 = Sunday ... 7 = Saturday; 0 none
    Presentation presentation = Presentation::Classic;      // the screen's
    Presentation printPresentation = Presentation::Classic; // the paper's
    bool forPrinting = false;           // the classic print mode (no selection, no today)
    QRect surfaceArea;                  // the surface in the front end: left and top are 0
    // The last painted view, screen or page: its hit regions and geometry. Its last visible
    // time and "+n" markers are always those of the screen.
    CalendarScene scene;
    CellMatrix occupancy;               // the layout's working space, kept between views
    KeptPicture kept;
    BoxInsides insides;                 // boxes drawn before, copied when only moved
    CalendarGesture gesture;            // mouse and keys, answering actions
    DragFrame ghost;                    // the drag ghost over the picture
    int wheelRemainder = 0;             // a wheel turn below one notch, kept for the next
    // The pages of the modern print job in progress, and the end time of its layout.
    struct ModernPage
    {
        Date firstDay = 0;
        Date lastDay = 0;
        ModernList list;
        bool continued = false;
    };
    QVector<ModernPage> modernPages;
    Date modernEndTime = 0;

private:
    const QImage &picture(QSize size, qreal ratio, const ScenePictureKey &key);
    // The same, current at least within part: a paint that exposes a corner costs a corner.
    const QImage &picture(QSize size, qreal ratio, const ScenePictureKey &key, const QRect &part);
    void paintStraight(QImage &target, QSize size, const ScenePictureKey &key);
    // The kept picture now stands for key; owed: the image holds it only within held.
    void keepPainted(const ScenePictureKey &key, qreal ratio, bool owed, const QRegion &held);
    // Gives the kept image the size at ratio; false when it had another and is new.
    bool keepImageSized(QSize size, qreal ratio);
    // Fills white what of part the kept image of a surface of that size has not had yet.
    void fillBlank(const QRegion &part, QSize size);
};

} // namespace Dayplex

#endif
