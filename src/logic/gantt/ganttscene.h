#ifndef DAYPLEX_GANTTSCENE_H
#define DAYPLEX_GANTTSCENE_H

#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"
#include "gantt/ganttmodern.h"
#include "gantt/ganttstyle.h"

#include <QString>
#include <QVector>

#include <tuple>
#include <utility>

namespace Dayplex {

// What one picture of the Gantt view shows: the rows and appointments, the style, the days,
// the first visible row, and whether it is printed (no selection, marking, proposal or
// current-time line) or modern (ellipsis, readable and distinct colours).
struct GanttContent
{
    const GanttModel &model;
    const GanttStyle &style;
    quint64 styleRevision = 0; // counts the changes of the style
    Date startDate = 0; // mStartDate
    Date endDate = 0;   // mEndDate
    qint32 firstRow = 1; // the vertical scroll bar's value
    bool forPrinting = false;
    bool modern = false;
    Date now = 0;
    // The working hours (times of day) the modern look shows wide; the hours around them are
    // folded into narrow bands. Nothing is folded while workTo <= workFrom.
    Date workFrom = 0;
    Date workTo = 0;

    // The kept picture's key: each field as the value that stands for it, the model by its
    // revision with the selection and the proposal it does not count, the style by its
    // revision; the time counts by the current-time line's column in the geometry of the
    // picture shown, which the screen's key adds (GanttCore's ScreenKey). The binding names
    // every field, so that one added here does not compile until it has its place.
    auto pictureKey() const
    {
        const auto &[model_, style_, styleRevision_, startDate_, endDate_, firstRow_,
                     forPrinting_, modern_, now_, workFrom_, workTo_] = *this;
        (void)style_;
        (void)now_;
        return std::make_tuple(model_.revision(), model_.selectedDate, model_.vorschlagVon,
                               model_.vorschlagBis, styleRevision_, startDate_, endDate_,
                               firstRow_, forPrinting_, modern_, workFrom_, workTo_);
    }
    // The column of the current-time line in a picture's geometry, the lowest number without.
    static qint32 nowColumn(const GanttLayout &layout, Date now);
};
using GanttPictureKey = decltype(std::declval<const GanttContent &>().pictureKey());

// One picture of the Gantt view computed before it is drawn: the geometry and header scale, the
// bar rectangle of every appointment (all 0 when the bar is not on screen) with the overlap
// staircase, and what the search panel shows of the proposal. Hit-testing and the conversion of
// pixels to dates read the picture last painted; painting only draws it.
struct GanttScene
{
    GanttLayout layout;
    HeaderScale scale;
    qint32 firstRow = 1;   // at least 1
    qint32 right = 0;      // offsetx + width
    qint32 bottom = 0;     // offsety + height
    bool nowVisible = false;
    qint32 selectionFill = 0; // the modern selection colour, apart from every bar's own colour
    // The bars of the rows from firstRow to lastRow, those that reach into the picture. The
    // rows below are laid out only when a hit-test asks for them.
    BarPass bars;
    qint32 lastRow = 0;
    // The modern look: appointments in lanes, the hour row over the working hours.
    bool modern = false;
    GanttLanes lanes;
    QVector<HourTick> ticks;
    quint64 modelGeneration = 0; // the appointment list the rectangles belong to

    // The search panel's proposal text and "Neu" state; only when at least one row is painted.
    bool panelUpdated = false;
    QString lblVorschlag;
    bool cmdNeuEnabled = false;

    // The bar of appointment `index` (1-based) in this picture; all 0 for none.
    BarRect bar(const GanttModel &model, qint32 index) const;
    // Whether the rectangles are those of the model's appointments.
    bool holds(const GanttModel &model) const { return model.generation() == modelGeneration; }
    // The first appointment whose bar holds the pixel (x, y), edges included; 0 for none, and
    // 0 once the model's appointments were replaced since this picture.
    qint32 entryAt(const GanttModel &model, qint32 x, qint32 y) const;
    // The bars of the rows fromRow to toRow as this picture lays them out.
    BarPass layoutBars(const GanttModel &model, qint32 fromRow, qint32 toRow) const;
};

// The picture of `content` in the target rectangle, th the text height and cw the character
// width. Invalid dates throw Dayplex::Error 5; an edge outside the 32-bit range Error 6.
GanttScene ganttScene(const GanttContent &content, qint32 offsetx, qint32 offsety, qint32 width,
                      qint32 height, qint32 th, qint32 cw);

} // namespace Dayplex

#endif
