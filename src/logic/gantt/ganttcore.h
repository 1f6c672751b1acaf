#ifndef DAYPLEX_GANTTCORE_H
#define DAYPLEX_GANTTCORE_H

// The resource view without a window: everything a front end (the QWidget control, a Qt Quick
// item) does not do itself. A front end hands in events as plain values, performs the actions
// they answer, shows the picture the core keeps and forwards the host events of `events`.
#include "gantt/freeslotsearch.h"
#include "gantt/ganttgestures.h"
#include "gantt/ganttmodel.h"
#include "gantt/ganttscene.h"
#include "gantt/ganttsettings.h"
#include "shared/boxinsides.h"
#include "shared/changerequest.h"
#include "shared/cholidays.h"
#include "shared/dragframe.h"
#include "shared/menustate.h"

#include <dayplex/presentation.h>

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>

class QPainter;

namespace Dayplex {

class cDC;

// What a screen picture shows: its content, the current-time line's column in its geometry
// and its size. While it stays the same, the kept picture is shown again instead of being
// painted anew.
struct ScreenKey
{
    GanttPictureKey content;
    qint32 nowColumn = 0;
    QSize size;

    bool operator==(const ScreenKey &other) const
    {
        return content == other.content && nowColumn == other.nowColumn && size == other.size;
    }
};

// What a front end adds to a free-slot search: whether the user asked to stop (which lets
// events through) and the busy pointer.
struct SlotSearchFrontEnd
{
    std::function<bool()> abortRequested;
    std::function<void(bool)> setBusy;
};

class GanttCore
{
public:
    // Looking for an abort lets events through; more often than this it would slow the search.
    static constexpr qint64 kAbortCheckMs = 50;

    // The host protocol (NeedDates, DateChanged, seriesDateChanged), forwarded by the front end.
    ViewEvents events;
    // The search panel's text of a proposal a paint computed, and whether "Neu" may create it.
    std::function<void(const QString &label, bool newEnabled)> proposalShown;

    // The default options; the first day now, the last today, so that the first range request
    // without a last day shows the layout's number of days.
    GanttCore();

    // --- range, data and settings ---
    // Shows dayFirstDay on (see ctlGantt::SetDisplayedRange); raises needDates when the days
    // leave the filled range, never from inside its handler; writes the last day back.
    void setDisplayedRange(Date dayFirstDay, double *dayLastDay, bool byDefault, bool alignOnWeekday);
    // By a day for 1 and -1, else by a page of the shown days in the direction of the sign.
    void scrollDays(double direction);
    // The same for Scroll's argument: one that is no number throws Dayplex::Error 13.
    void scrollDays(const QVariant &direction);
    // The weekday (1 = Sunday ... 7 = Saturday, 0 none) a range moves back to; other values
    // throw Dayplex::Error 5 and keep the one in force.
    void setAlignWeekday(qint32 weekday);
    // Records the delivered range, empties the model and adds the holiday row when wanted.
    void setFilledRange(Date start, Date end);
    // Forgets the filled range and asks for the shown days again; shown days that are no
    // dates (a host writes them) throw Dayplex::Error 5.
    void refresh();
    // Empties the rows and the bars.
    void clear();
    // What the appointment with the key is beyond its record (series, participants).
    void setAppointmentDetails(const QString &key, const AppointmentDetails &details);
    // Merges an options string and applies it (nothing changed when it throws).
    void setOptions(const QString &options);
    // Takes new settings; the kept picture follows at its next paint.
    void applySettings(GanttSettings next);
    // The free-slot search the panel asks for, stepped in the layout's raster; the modern
    // presentation keeps the rows the user marked and goes on before the last proposal.
    FreeSlotQuery freeSlotQuery(FreeSlotQuery asked) const;
    // The search panel opened: the next search starts afresh, over every row.
    void openSearch();
    // A new start day or day: the next search starts afresh from it.
    void restartSearch();
    // The panel's days field took the keyboard: every row is marked again, except in the modern
    // presentation, which keeps the rows the user marked. True when the rows were marked.
    bool markRowsForDays();
    // One press of a search button over the core's own range (see searchFreeSlot); the front
    // end is asked for an abort at most every kAbortCheckMs.
    FreeSlotResult searchFreeSlot(const FreeSlotQuery &asked, bool forward, const SlotSearchFrontEnd &frontEnd);
    // isTerminFrei and isTerminFreiMerkmal (see isSlotFree and GanttModel::isRowFree); dates
    // that are none throw Dayplex::Error 5.
    bool isSlotFree(Date start, Date end, bool weekends) const;
    bool isRowFree(Date start, Date end, const QString &row) const;
    // The proposal from start to end, shown in the marked rows at the next paint; dates that
    // are none throw Dayplex::Error 5 and change nothing.
    void propose(Date start, Date end);
    MenuState menuState() const;
    // Selects the entry as a click on its bar does, and the keyboard follows.
    void selectEntry(qint32 index);

    // --- scene and picture ---
    // What a picture of the view shows now.
    GanttContent content(bool printing, bool modern) const;
    // Computes the picture of the rectangle, makes it the last one and draws it; with
    // showProposal the proposal goes to proposalShown. When it cannot be computed only the
    // background is drawn and the error is passed on.
    void drawScene(cDC &dc, const GanttContent &content, qint32 offsetx, qint32 offsety,
                   qint32 width, qint32 height, qint32 th, qint32 cw, bool showProposal);
    // The whole view with its corner in a new image of size logical pixels at the ratio; a
    // failing step is skipped. Null where cDC::pictureSize finds no picture.
    QImage paintToImage(const QSize &size, qreal devicePixelRatio);
    // Whether the kept picture shows what a full paint would show now: nothing to paint.
    bool keptShowsNow() const;
    // The window's pixels under the surface, when the surface's paint may write them all.
    using WindowPixels = std::function<std::optional<QImage>()>;
    // One paint of the surface, its key computed once: a picture that changed, or that the
    // screen had straight while the kept one is owed, is painted whole into the window's pixels
    // (unscaled, with the frame of Drag inverted on it; the kept picture is then owed), when
    // there are any; else the kept picture is brought up to date (painted anew only when what it
    // shows changed) to be drawn by drawScreen. Either way with the landing frame of a move by
    // the keys; keptOnly shows the kept picture as it is. True when painted into the pixels.
    bool paintForSurface(const WindowPixels &windowPixels, bool keptOnly);
    // The kept picture brought up to date without the window's pixels (an item, an image).
    void prepareScreen(bool keptOnly);
    // The kept picture with the frame of Drag inverted over it, onto the target.
    void drawScreen(QPainter &target) const;
    // The frame around the bar the keyboard is on, or around the picture.
    void paintFocusFrame(QPainter &target) const;
    // The frame of Drag: moved (nothing when left is the same; -1 forgets it; throws when an
    // edge leaves the 32-bit range) or taken away (true when there was one). Its pixels join
    // shownChanges.
    void drawDragFrame(qint32 left, qint32 top, qint32 width, qint32 height);
    bool eraseDragFrame();
    // The corner with the moment under the mouse, onto the kept picture; as a full paint
    // leaves it (with the presentation's ellipsis) or as the mouse does.
    void drawCorner(bool fullPaint = false);
    // A row band of the time area in a colour, straight onto the kept picture (ZeilenFarbe).
    void fillRowBand(qint32 top, qint32 colour);

    // --- events in, actions out (x, y in logical pixels of the picture area) ---
    GanttGestureView gestureView() const;
    GanttActions press(const GanttPointer &pointer);
    GanttActions move(const GanttPointer &pointer);
    GanttActions release(const GanttPointer &pointer);
    GanttActions doubleClick(const GanttPointer &pointer);
    GanttActions keyPress(int key, Qt::KeyboardModifiers modifiers);
    // Tab brings the keyboard in use at once: the focus frame shows without a key pressed.
    void focusGained(Qt::FocusReason reason);
    GanttActions focusLost();

    // --- the change question, asked by the front end (also later: it may not block) ---
    // Moves every bar of the selected key to newDate keeping its length; the question for the
    // last of them. None without a selection; throws for a date out of the calendar.
    std::optional<ChangeRequest> moveSelected(Date newDate);
    // The answer: the moved bars keep their new times or get the confirmed ones back (true
    // when the change stands); then the change is raised when it stands.
    bool commitChange(const ChangeRequest &request, const ChangeAnswer &answer);
    void raiseChange(const ChangeRequest &request, const ChangeAnswer &answer);
    // The question failed: the moved bars get their confirmed times back.
    void revertChange(const ChangeRequest &request);

    // --- printing's scene side ---
    // The print layout strLayoutDruckGantt in force; returns it.
    const cContainer &applyPrintLayout();
    // The screen layout strLayoutScreenGantt back, and firstDay shown again with its span.
    void restoreScreenLayout(Date firstDay);
    // One printed view (PrintAnsicht) into a rectangle of an active painter.
    void printView(QPainter *painter, qint32 x, qint32 y, qint32 width, qint32 height);
    // The modern job: the pages of days and rows the period needs in the area; then page n.
    qint32 modernPageCount(QPainter &painter, const QRect &area);
    void paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages);

    // --- state (read by the front end; written through the members above where they exist) ---
    GanttSettings settings;
    quint64 settingsRevision = 0;        // counts applySettings: the style's part of the key
    cHolidays holidays;                  // the holidays of the holiday row
    bool optimaleZeilenhoehe = false;    // a stored flag of the host
    Presentation presentation = Presentation::Classic;      // the screen's
    Presentation printPresentation = Presentation::Classic; // the paper's
    // The screen's presentation for a front end that switches it; false when it was in force.
    bool setPresentation(Presentation value)
    {
        const bool changed = value != presentation;
        presentation = value;
        return changed;
    }
    GanttModel model;                    // rows, bars, selection, proposal, filled range
    int needDatesDepth = 0;              // inside the NeedDates handler
    Date startDate = 0;                  // the shown days (the control's mStartDate, mEndDate)
    Date endDate = 0;
    qint32 firstRow = 1;                 // the first row shown (the vertical scroll position)
    bool forPrinting = false;            // the classic print mode
    QSize surfaceSize;                   // the picture area in logical pixels
    bool surfaceVisible = false;
    // The last picture painted (screen, image or paper): hit-testing and pixel-to-date read it.
    GanttScene scene;
    QString lblVorschlag;                // what the search panel shows of the proposal
    bool cmdNeuEnabled = false;
    // The kept screen picture, painted anew only when what it shows changed (ScreenKey).
    QImage picture;
    ScreenKey pictureKey;
    GanttScene screenScene;              // the scene of the kept picture
    bool pictureStale = true;            // never painted, or drawn onto since (ZeilenFarbe)
    bool pictureOwed = false;            // its pixels went straight to the screen instead
    QRegion shownChanges;                // changed on the kept picture or its frame since shown
    quint64 pictureRenders = 0;          // how often the picture was painted anew
    BoxInsides insides;                  // bars drawn before, copied when only moved
    Date cornerDate = 0;                 // the moment the kept corner shows
    bool cornerFullPaint = false;        // and whether a full paint drew it
    DragFrame drag;                      // the frame Drag drew last
    GanttGestures gestures;              // mouse and keys, answering actions
    // The pages of the modern print job that runs: each its days and its rows.
    struct PrintedPage
    {
        Date firstDay = 0;
        Date lastDay = 0;
        qint32 firstRow = 1;
        qint32 lastRow = 0;
    };
    QVector<PrintedPage> printedPages;

private:
    // The font, the two measures and the whole view with its corner, onto the surface.
    void paintAll(cDC &dc, qint32 width, qint32 height, const GanttContent &shown);
    // The whole picture of what is shown onto target (nothing drawn when null).
    void paintWhole(QImage *target, QSize size, const GanttContent &shown);
    // What the screen shows now, and the key of the kept picture for it.
    GanttContent shownContent() const;
    ScreenKey screenKey(const GanttContent &shown) const;
    // The current-time line's column in the geometry of the kept picture.
    qint32 nowColumnShown(Date now) const;
    // Whether the kept picture differs from what the key stands for, or was drawn onto since.
    bool pictureChanged(const ScreenKey &key) const;
    // The kept picture in the surface's size (null when it does not fit), its pixels unset.
    void sizePicture();
    // What a whole paint of the picture for key leaves: the kept key, with the current-time
    // column in the geometry just painted, its scene and corner, and whether the kept image
    // owes the pixels that went to the screen instead.
    void keepPainted(ScreenKey key, Date now, bool owed);
    // After a full paint: the frame of Drag starts afresh, or with the landing of the keys.
    void settleScreen(bool rendered);
    // An owed kept picture painted now, for what reads or draws onto it.
    void catchUp();
    // The frame of Drag inverted on an image of the surface within area.
    void invertFrame(QImage &image, const QRect &area) const;
    // The pixels of the frame of Drag join shownChanges.
    void frameChanges();
    // What is drawn straight onto the kept picture under the frame of Drag is inverted, as if
    // the frame had been inverted into the picture: taking the frame away inverts it back.
    void invertUnderFrame(const QRect &area);
    GanttContent printedContent(Date firstDay, Date lastDay, qint32 firstRow) const;
};

} // namespace Dayplex

#endif
