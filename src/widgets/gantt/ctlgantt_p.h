#ifndef DAYPLEX_CTLGANTT_P_H
#define DAYPLEX_CTLGANTT_P_H

#include "dialogs/ccommoncalendar.h"
#include "gantt/ganttgestures.h"
#include "gantt/ganttmodel.h"
#include "gantt/ganttscene.h"
#include "gantt/ganttsettings.h"
#include "shared/boxinsides.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ctlgantt.h>

#include <QCursor>
#include <QList>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QVariant>

class QAction;
class QCalendarWidget;
class QMenu;
class QScrollBar;

namespace Dayplex {

class cDC;
class GanttSearchPanel;
class GanttSurface;
struct ShownAppointment;

// What a screen picture shows besides the corner: its content and its size. While it stays
// the same, the kept picture is shown again instead of being painted anew.
using ScreenKey = std::pair<GanttPictureKey, QSize>;

class ctlGanttPrivate
{
public:
    explicit ctlGanttPrivate(ctlGantt *q);
    // Wires the search panel and the date picker to the view.
    void connectChildren();

    static ctlGanttPrivate *get(ctlGantt *gantt) { return gantt->d.get(); }

    // The picture area: below the search panel when it shows, without the two scroll bars.
    QRect pictureRect() const;
    void arrange();
    qint32 firstRow() const;
    // AddMerkmal's scroll bar update: the maximum follows the row count without a repaint.
    void updateRowMaximum();
    // Takes new settings; the screen picture follows at its next paint.
    void applySettings(GanttSettings next);
    // The whole view with its corner text straight onto the target, which keeps its device
    // pixel ratio (paintToImage). A failing step is skipped.
    void paintView(QPainter *target, qint32 width, qint32 height);
    // The screen: the kept picture, painted anew when what it shows changed, with the frame of
    // Drag over it. A full paint (any but showFrame's) forgets that frame.
    void paintScreen(QPainter &target);
    // The frame of Drag inverted over the kept picture, onto the target.
    void drawDragOverlay(QPainter &target) const;
    // What the screen picture would show if painted now.
    ScreenKey pictureKeyNow() const;
    // Whether the screen shows what a full paint would show now: nothing to paint.
    bool screenShowsNow() const;
    // The pixels of the frame of Drag join the changes showFrame shows.
    void frameChanges();
    // What is drawn straight onto the kept picture under the frame of Drag is inverted, as if
    // the frame had been inverted into the picture: taking the frame away inverts it back.
    void invertUnderFrame(const QRect &area);
    // What a picture shows now.
    GanttContent content(bool forPrinting, bool modern) const;
    // Computes the picture of the target rectangle, makes it the last one and draws it; with
    // showProposal the panel shows its proposal. When it cannot be computed only the
    // background is drawn and the error is passed on.
    void drawScene(cDC &dc, const GanttContent &content, qint32 offsetx, qint32 offsety,
                   qint32 width, qint32 height, qint32 th, qint32 cw, bool showProposal);
    // Shows the kept picture as it is, with the frame of Drag.
    void showFrame();

    // What the gestures read: the model, the last picture, the scroll bar, the holiday row.
    GanttGestureView gestureView() const;
    // Does what a gesture answered; globalPos places a menu the mouse opened.
    void perform(const GanttAction &action, QPoint globalPos = QPoint());
    // A key on the picture area (a Qt::Key with its modifiers); false when it is not the
    // view's and goes on to the parent (Tab past the last appointment leaves the view).
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);
    // The frame around the bar the keyboard is on, or around the picture area.
    void paintFocusFrame(QPainter &target);
    // "Anzeigen" and the double click: ShowDate for the selection.
    void showSelected();
    // The inverted frame of Drag, shown over the kept picture by showFrame.
    void drawDragFrame(qint32 left, qint32 top, qint32 width, qint32 height);
    // The corner cell with the moment under the mouse, onto the kept picture; as a full paint
    // leaves it (fullPaint, with the presentation's ellipsis) or as the mouse does.
    void drawCorner(bool fullPaint = false);
    // Takes the frame of Drag off the picture on screen.
    void eraseDragFrame();

    // The context menu, built once; prepareMenu sets ticks and enabled states as for opening.
    QMenu *contextMenu();
    void prepareMenu();
    // dsn: the appointment the menu opens over, for the host's entries.
    void showMenu(QPoint globalPos, const QString &dsn = QString());
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

    // The modern print: the period over as many pages as it needs.
    QVariant printModern(bool preview);
    qint32 modernPageCount(QPainter &painter, const QRect &area);
    void paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages);
    GanttContent printedContent(Date firstDay, Date lastDay, qint32 firstRow) const;

    // The bars the last paint showed, with their rectangles on screen.
    QVector<ShownAppointment> visibleAppointments() const;

    ctlGantt *const q;

    // Settings and services.
    GanttSettings settings;
    cTools tools;
    cCommonCalendar common;
    cHolidays holidays;
    bool optimaleZeilenhoehe = false;
    Presentation presentation = Presentation::Classic;
    Presentation printPresentation = Presentation::Classic;
    // The pages of the modern print job that runs: each its days and its rows.
    struct PrintedPage
    {
        Date firstDay = 0;
        Date lastDay = 0;
        qint32 firstRow = 1;
        qint32 lastRow = 0;
    };
    QVector<PrintedPage> printedPages;

    // What the host delivered, and the view state that is not geometry.
    GanttModel model;
    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;

    // The last picture painted (screen, image or paper): hit-testing and pixel-to-date read it.
    GanttScene scene;
    QString lblVorschlag; // what the search panel shows of the proposal
    bool cmdNeuEnabled = false;

    // The picture on screen, painted anew only when what it shows changed (ScreenKey).
    QImage picture;
    ScreenKey pictureKey;
    GanttScene screenScene;    // the scene of the kept picture
    bool pictureStale = true;  // never painted, or drawn onto since (ZeilenFarbe)
    bool showKeptOnly = false; // the next paint shows the kept picture as it is
    QRegion shownChanges;      // changed on the kept picture or its frame since last shown
    quint64 settingsRevision = 0;
    quint64 pictureRenders = 0; // how often the picture was painted anew
    BoxInsides insides;
    // The moment the kept corner shows, and whether a full paint drew it.
    Date cornerDate = 0;
    bool cornerFullPaint = false;
    // Left, top, right, bottom of the frame Drag drew last; all 0 for none.
    qint32 dragLeft = 0, dragTop = 0, dragRight = 0, dragBottom = 0;

    // Mouse and keyboard.
    GanttGestures gestures;
    bool blnInMouseMove = false; // nested moves are ignored
    bool searching = false; // a search runs; input that would change the model waits
    QVariant lastCursor;
    QCursor mouseIcon;

    // Child widgets.
    GanttSurface *calpic = nullptr;
    GanttSearchPanel *panel = nullptr;
    QCalendarWidget *ccrpDtp = nullptr; // the pop-up date picker
    QScrollBar *hScroll = nullptr;
    QScrollBar *vScroll = nullptr;
    bool noRepaint = false; // the vertical bar changes without repainting
    bool resettingHScroll = false;
    QMenu *menu = nullptr;
    QList<QAction *> ownMenuEntries; // the view's; a host's go again before each opening
    QMenu *viewMenu = nullptr;
    QAction *mnuNeu = nullptr;
    QAction *mnuAnzeigen = nullptr;
    QAction *mnuVerschieben = nullptr;
};

} // namespace Dayplex

#endif
