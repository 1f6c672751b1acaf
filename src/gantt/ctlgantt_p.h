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

#include <QImage>
#include <QRect>

class QScrollBar;

namespace Dayplex {

class ctlGanttPrivate
{
public:
    explicit ctlGanttPrivate(ctlGantt *q);

    static ctlGanttPrivate *get(ctlGantt *gantt) { return gantt->d.get(); }

    // Reads a layout string into the layout container and the style; throws on a value that
    // cannot be read (the caller restores the container).
    void applyLayout(const QString &layoutString);
    // The picture area: the control without the two scroll bars.
    QRect pictureRect() const;
    void arrange();
    qint32 firstRow() const;
    // AddMerkmal's scroll bar update: the maximum follows the row count without a repaint.
    void updateRowMaximum();
    // The screen paint: the whole view into an offscreen surface, the corner text, then one
    // copy onto the target. A failing step is skipped.
    void paintView(QPainter *target, qint32 width, qint32 height);

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
    Date searchFrom = 0; // daily window of the free-slot search, from the options
    Date searchTo = 0;
    QString lblVorschlag; // what the search panel shows of the proposal
    bool cmdNeuEnabled = false;

    QScrollBar *hScroll = nullptr;
    QScrollBar *vScroll = nullptr;
    bool noRepaint = false; // the vertical bar changes without repainting

    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;

    // The picture on screen, for drawing straight onto it between full paints.
    QImage frame;
    bool showFrameOnly = false;
};

} // namespace Dayplex

#endif
