#ifndef DAYPLEX_UCAGENDA_P_H
#define DAYPLEX_UCAGENDA_P_H

#include "calendar/agendacore.h"
#include "calendar/agendatable.h"
#include "dialogs/ccommoncalendar.h"
#include "dialogs/printchoiceflow.h"
#include "shared/cursors.h"
#include "shared/ctools.h"
#include "shared/viewsurface.h"

#include <dayplex/ucagenda.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace Dayplex {

class cDC;
class CalendarMenu;
class SpinnerBar;

// The QWidget front end of the calendar: the surface, the spinners, the timer, the menus and
// the dialogs; the view itself is the core's.
class ucAgendaPrivate : public SurfaceEvents
{
public:
    explicit ucAgendaPrivate(ucAgenda *q);
    ~ucAgendaPrivate();

    static ucAgendaPrivate *get(ucAgenda *agenda) { return agenda->d.get(); }

    // The core with the host's fields it reads (ForPrinting) brought in.
    AgendaCore &synced();
    // The core's picture for the surface or an image (see AgendaCore::picture).
    const QImage &picture(QSize size, qreal ratio);

    // Creates the drawing surface, the two scroll bars and the auto-scroll timer.
    void createChildren();
    // Places the surface and the bars in the control's area; the corner square stays empty.
    void layoutChildren(qint32 width, qint32 height);
    // Repaint: the kept picture brought up to date, and the surface paints what it lacks.
    void showPicture();
    // The screen paint of the part of the surface: the view (a picture to be painted whole
    // straight into the window's pixels under the surface when the painter covers them all,
    // no copy of the kept image), then the drag ghost inverted over it.
    void paintSurface(QPainter *painter, const QRegion &exposed);
    // The events of the surface, handed to the core and its answer carried out. The surface
    // gets the keyboard by Tab or Shift+Tab: the walk starts afresh.
    bool surfacePaint(QWidget &surface, const QRegion &exposed) override;
    bool surfaceTab(int key, Qt::KeyboardModifiers modifiers) override { return keyPress(key, modifiers); }
    void surfaceFocusIn(Qt::FocusReason reason) override;
    void surfaceFocusOut() override;
    void surfacePress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at, QPoint globalAt) override;
    void surfaceMove(Qt::MouseButtons buttons, QPointF at) override;
    void surfaceRelease(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at) override;
    void surfaceDoubleClick(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                            QPoint globalAt) override;
    // A notch scrolls one time row, like the arrows of the time bar.
    bool surfaceTakesWheel() const override { return true; }
    void surfaceWheel(int angleDelta) override;
    // A key on the view (a Qt::Key with its modifiers); false when it is not the view's and
    // goes on to the parent (Tab past the last appointment leaves the view).
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);
    void autoScrollTick();
    void perform(const GestureResult &result);

    // Asks the question a moved or resized record calls for and hands the answer to the core.
    void decideChange(qint32 index);
    // Scrolls the time rows by whole rows, kept within the day; repaints the surface.
    void scrollRows(qint32 rows);
    // The host jumped to other days: wheel turns below a notch over the bars are dropped.
    void dropWheelTurns();
    // The core's events raised as the control's signals.
    void connectCoreEvents();
    // The "Anzeigen" command: ShowDate for the selected appointment.
    void showSelected();

    ucAgenda *const q;

    AgendaCore core;
    // The core as a table for screen readers.
    const AgendaTable table{core};
    cTools tools;
    cCommonCalendar common;
    // The print dialog's choice of sheet and period, when the host offers it.
    PrintChoiceFlow printChoice;
    // What the calendar does for that choice (ucagenda_print.cpp).
    PrintChoiceFlow::Calendar printSheets();
    // The print job of the shown days; the screen keeps its picture and comes back afterwards.
    QVariant print(bool preview);
    // The screen picture from before a print job, shown instead of the view until the job and
    // its preview are over and the screen state is back; null otherwise.
    QImage screenWhilePrinting;
    SurfacePointer pointer;

    QWidget *pic = nullptr;
    SpinnerBar *hScroll = nullptr;
    SpinnerBar *vScroll = nullptr;
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
