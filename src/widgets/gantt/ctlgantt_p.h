#ifndef DAYPLEX_CTLGANTT_P_H
#define DAYPLEX_CTLGANTT_P_H

#include "dialogs/ccommoncalendar.h"
#include "gantt/ganttcore.h"
#include "gantt/ganttmenu.h"
#include "gantt/gantttable.h"
#include "gantt/rowscrollbar.h"
#include "shared/cursors.h"
#include "shared/ctools.h"
#include "shared/viewsurface.h"

#include <dayplex/ctlgantt.h>

#include <QList>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QVariant>

namespace Dayplex {

class cDC;
class GanttSearchPanel;
class SpinnerBar;

// The QWidget front end of the resource view: the picture area, the search panel, the scroll
// bars, the menu; the view itself is the core's.
class ctlGanttPrivate : public SurfaceEvents
{
public:
    explicit ctlGanttPrivate(ctlGantt *q);
    // Creates the search panel, the picture area and the two scroll bars.
    void createChildren();
    // Wires the search panel and the date picker to the view.
    void connectChildren();

    static ctlGanttPrivate *get(ctlGantt *gantt) { return gantt->d.get(); }

    // The picture area: below the search panel when it shows, without the two scroll bars.
    QRect pictureRect() const;
    void arrange();
    qint32 firstRow() const;
    // AddMerkmal's scroll bar update: the maximum follows the row count without a repaint.
    void updateRowMaximum();
    // The core with what it reads of the control brought in: the shown days (mStartDate and
    // mEndDate, which the host may write), ForPrinting, the first row and the picture area.
    GanttCore &synced();
    // The core's shown days written back to mStartDate and mEndDate.
    void publishRange();
    // A change of the core's shown days, written back also when it fails.
    void changeRange(const std::function<void(GanttCore &)> &change);
    // The core's events raised as the control's signals, its proposal shown in the panel.
    void connectCoreEvents();
    // The screen: the kept picture, painted anew when what it shows changed, with the frame of
    // Drag over it and the focus frame.
    void paintScreen(QPainter &target);
    // Shows the kept picture as it is, with the frame of Drag.
    void showFrame();

    // The events of the picture area, handed to the core with the control's state brought in,
    // and its answer carried out; while a search runs, input that would change the model waits.
    bool surfacePaint(QWidget &surface, const QRegion &exposed) override;
    bool surfaceTab(int key, Qt::KeyboardModifiers modifiers) override;
    bool surfaceKey(int key, Qt::KeyboardModifiers modifiers) override;
    void surfaceFocusIn(Qt::FocusReason reason) override;
    void surfaceFocusOut() override;
    void surfacePress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at, QPoint globalAt) override;
    void surfaceMove(Qt::MouseButtons buttons, QPointF at) override;
    void surfaceRelease(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at) override;
    void surfaceDoubleClick(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                            QPoint globalAt) override;
    void surfacePaletteChanged() override { core.pictureStale = true; }
    // Does what a gesture answered, in its order; globalPos places a menu the mouse opened.
    void perform(const GanttActions &actions, QPoint globalPos = QPoint());
    // A key on the picture area (a Qt::Key with its modifiers); false when it is not the
    // view's and goes on to the parent (Tab past the last appointment leaves the view).
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);
    // "Anzeigen" and the double click: ShowDate for the selection.
    void showSelected();
    // The search panel.
    void openSearchPanel();
    void closeSearchPanel();
    void runSearch(int index);
    // "Neu": NewDate for the proposal with the marked rows.
    void createFromProposal();
    // The print job of the shown days; the screen shows its days again afterwards.
    QVariant print(bool preview);

    ctlGantt *const q;

    GanttCore core;
    // The core as a table for screen readers.
    const GanttTable table{core};
    cTools tools;
    cCommonCalendar common;
    bool showKeptOnly = false; // the next paint shows the kept picture as it is

    // Mouse and keyboard.
    bool blnInMouseMove = false; // nested moves are ignored
    bool searching = false; // a search runs; input that would change the model waits
    SurfacePointer pointer;

    // Child widgets.
    ViewSurface *calpic = nullptr;
    GanttSearchPanel *panel = nullptr;
    SpinnerBar *hScroll = nullptr;
    RowScrollBar *vScroll = nullptr;
    bool noRepaint = false; // the vertical bar changes without repainting
    // The context menu and the date picker, with the view's entries.
    std::unique_ptr<GanttMenu> menu;
};

} // namespace Dayplex

#endif
