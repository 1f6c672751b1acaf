#ifndef DAYPLEX_CTLGANTT_P_H
#define DAYPLEX_CTLGANTT_P_H

#include "dialogs/ccommoncalendar.h"
#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"
#include "gantt/ganttstyle.h"
#include "shared/ccontainer.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ctlgantt.h>

#include <QCursor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QVariant>

class QAction;
class QCalendarWidget;
class QMenu;
class QScrollBar;

namespace Dayplex {

class GanttSearchPanel;
class GanttSurface;
struct ShownAppointment;

class ctlGanttPrivate
{
public:
    explicit ctlGanttPrivate(ctlGantt *q);
    // Wires the search panel and the date picker to the view.
    void connectChildren();

    static ctlGanttPrivate *get(ctlGantt *gantt) { return gantt->d.get(); }

    // Reads a layout string into the layout container and the style; throws on a value that
    // cannot be read (the caller restores the container).
    void applyLayout(const QString &layoutString);
    // The picture area: below the search panel when it shows, without the two scroll bars.
    QRect pictureRect() const;
    void arrange();
    qint32 firstRow() const;
    // AddMerkmal's scroll bar update: the maximum follows the row count without a repaint.
    void updateRowMaximum();
    // The screen paint: the whole view into an offscreen surface, the corner text, then one
    // copy onto the target. A failing step is skipped.
    // offscreen: draw into the flicker-free surface first (the screen); otherwise straight
    // onto the target, which keeps its device pixel ratio (a HiDPI picture).
    void paintView(QPainter *target, qint32 width, qint32 height, bool offscreen = true);
    // Shows the last picture with what was drawn straight onto it since.
    void showFrame();

    // Mouse handling of the picture area; positions in its pixels.
    void mouseDown(Qt::MouseButton button, QPointF pos, QPoint globalPos);
    void mouseMove(Qt::MouseButtons buttons, QPointF pos);
    void mouseUp(Qt::MouseButton button, QPointF pos);
    // "Anzeigen" and the double click: ShowDate for the selection.
    void showSelected();
    // The row at y when it can be marked: not above or below the rows, not the holiday row.
    qint32 usableRowAt(qint32 y) const;
    // The inverted frame of Drag: drawn onto the last picture (shown by showFrame).
    void drawDragFrame(qint32 left, qint32 top, qint32 width, qint32 height);
    // The corner cell with the moment under the mouse, onto the last picture.
    void drawCorner();
    // While a bar is moved: the frame of Drag around the place where it would land, or none.
    void showLanding(qint32 x);
    // Takes the frame of Drag off the picture on screen.
    void eraseDragFrame();
    // Escape while a bar is moved: the move ends with nothing changed or raised, and the mouse
    // is ignored until its button is released.
    void escapeMove();

    // The context menu, built once; prepareMenu sets ticks and enabled states as for opening.
    QMenu *contextMenu();
    void prepareMenu();
    void showMenu(QPoint globalPos);
    void today();
    void showDays(const QString &caption);
    // The date picker: "Datum..." (jump) or "Verschieben" (move the selection there).
    void openDatePicker(bool move);
    void datePicked(QDate date);
    void hScrollChanged(int value);

    // The search panel.
    void openSearchPanel();
    void closeSearchPanel();
    void runSearch(int index);
    // "Neu": NewDate for the proposal with the marked rows.
    void createFromProposal();

    // The bars the last paint showed, with their rectangles on screen.
    QVector<ShownAppointment> visibleAppointments() const;

    ctlGantt *const q;

    cTools tools;
    cCommonCalendar common;
    cContainer options;
    cContainer layout;
    cHolidays holidays;

    GanttModel model;
    GanttStyle style;
    GanttLayout geometry; // layout fields of the last paint, read by hit-testing

    bool optimaleZeilenhoehe = false;
    QString lblVorschlag; // what the search panel shows of the proposal
    bool cmdNeuEnabled = false;

    GanttSurface *calpic = nullptr;
    GanttSearchPanel *panel = nullptr;
    QCalendarWidget *ccrpDtp = nullptr; // the pop-up date picker
    QScrollBar *hScroll = nullptr;
    QScrollBar *vScroll = nullptr;
    bool noRepaint = false; // the vertical bar changes without repainting
    bool resettingHScroll = false;

    QMenu *menu = nullptr;
    QMenu *viewMenu = nullptr;
    QAction *mnuNeu = nullptr;
    QAction *mnuAnzeigen = nullptr;
    QAction *mnuVerschieben = nullptr;

    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;

    // Interaction state.
    qint32 downX = 0;
    qint32 downY = 0;
    bool blnVerschieben = false;
    bool blnVorschlagZiehen = false;
    bool blnInMouseMove = false;
    qint32 movingIndex = 0; // the record whose landing place the frame shows
    bool escaped = false;   // a move was cancelled by Escape; its button is still down
    Presentation presentation = Presentation::Classic;
    bool searching = false; // a search runs; input that would change the model waits
    // Left, top, right, bottom of the frame Drag drew last; all 0 for none.
    qint32 dragLeft = 0, dragTop = 0, dragRight = 0, dragBottom = 0;
    QVariant lastCursor;
    QCursor mouseIcon;

    // The picture on screen, for drawing straight onto it between full paints.
    QImage frame;
    bool showFrameOnly = false;
};

} // namespace Dayplex

#endif
