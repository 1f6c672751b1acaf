#ifndef DAYPLEX_CALENDARSCENE_H
#define DAYPLEX_CALENDARSCENE_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarstyle.h"
#include "calendar/cellmatrix.h"
#include "calendar/hitregion.h"
#include "shared/drawconstants.h"

#include <QRect>
#include <QRegion>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>
#include <tuple>
#include <utility>

namespace Dayplex {

// The calendar's frames and grid lines.
constexpr qint32 kLineColour = kBlack;

// A cell framed by one line: the frame colour fills its rectangle, the fill colour its inside,
// and the caption sits at its alignment in the text colour.
struct SceneCell
{
    QRect rect;
    qint32 frame = 0;
    qint32 fill = 0;
    qint32 text = 0;
    QString caption;
    qint32 align = 0;
};

// An appointment box: a black frame around its fill, and its text inside a further margin.
struct SceneBox
{
    QRect rect;
    ColourPair colours;
    QString text;
    bool allDay = false; // one centred line; timed boxes wrap words
    bool struck = false;
    // Set when "+n" markers lie on the box: the text keeps to this strip of its inside, the
    // widest the markers leave (empty when they leave none). Null: the whole inside.
    QRect textRect;
    // The modern presentation's sign of an occurrence of a series; null for none.
    QRect seriesSign;
};

// One thing drawn over the grid, in store order: an all-day box clipped to the band, or a day
// segment clipped to the time grid with its time bar left of it.
struct SceneAppointment
{
    qint32 index = 0;    // the record
    qint32 column = -1;  // a segment's day column
    bool allDay = false;
    QRect clip;          // left, top, right, bottom edges (exclusive), as SetClipRec takes them
    QRect timeBar;       // segments only
    SceneBox box;
};

// What a view of the calendar shows, computed before it is painted: the geometry, the grid's
// cells, the appointments, the "+n" markers and the hit regions in registration order. The
// painter only draws it; hit testing and the gestures read it.
struct CalendarScene
{
    CalendarGrid grid;              // with the geometry of this view (and a print page's end time)
    QRect area;
    qint32 background = 0xFFFFFF;
    qint32 timeBarColour = 0;
    bool ellipsis = false;          // the modern presentation's texts
    QVector<SceneCell> cells;       // time column, day columns, headers, splitter and corners
    QVector<SceneAppointment> appointments;
    QVector<BandOverflow> overflows; // modern only, with their markers
    QVector<SceneCell> overflowMarkers;
    QRect overflowClip;             // the band, as SetClipRec takes it
    HitRegionList hits;
    Date lastVisibleTime = 0;       // time of the lowest time row shown
    qint32 rowsInSight = 0;         // time rows the grid has room for, 0 before a paint
};

// Everything a view depends on.
struct SceneInput
{
    SceneInput(const AppointmentStore &store, const CellMatrix &matrix, const CalendarGrid &grid,
               const CalendarStyle &style, quint64 styleRevision = 0)
        : store(store), matrix(matrix), grid(grid), style(style), styleRevision(styleRevision)
    {
    }

    const AppointmentStore &store;
    const CellMatrix &matrix;   // the cell colours; the occupancy is laid out afresh
    const CalendarGrid &grid;   // range and raster; the geometry is computed here
    const CalendarStyle &style;
    quint64 styleRevision;      // counts the changes of the style
    QRect area;
    qint32 charWidth = 0;       // width of "w" and height of "Wy" in the view font
    qint32 charHeight = 0;
    Date selectionStart = 0;    // 0 = no time selection
    Date selectionEndSlot = 0;  // start of the last selected slot
    qint32 selectedIndex = 0;
    bool forPrinting = false;
    bool modern = false;        // ellipsis, "+n" markers, readable and distinct colours
    Date today = 0;
    Date currentDate = 0;       // for the week label
    std::function<qint32(const QString &)> textWidth; // for the "+n" markers
    // Where the appointments are laid out; kept by the view so that its storage is not
    // allocated again for every picture. Null: a fresh one.
    CellMatrix *occupancy = nullptr;

    // The kept picture's key: each field as the value that stands for it (a version for the
    // store, the cells and the style), in two parts: what a time selection changes (the cells
    // and the week label) and the rest. The binding names every field, so that one added to
    // the input does not compile until it has its place here.
    auto pictureKey() const
    {
        const auto &[store_, matrix_, grid_, style_, styleRevision_, area_, charWidth_,
                     charHeight_, selectionStart_, selectionEndSlot_, selectedIndex_,
                     forPrinting_, modern_, today_, currentDate_, textWidth_, occupancy_] = *this;
        // Measured in the style's font or tools of the computation, not what it shows.
        (void)style_, (void)charWidth_, (void)charHeight_, (void)textWidth_, (void)occupancy_;
        return std::make_pair(std::make_tuple(store_.version(), matrix_.version(),
                                              grid_.pictureKey(), styleRevision_, area_,
                                              selectedIndex_, forPrinting_, modern_, today_),
                              std::make_tuple(selectionStart_, selectionEndSlot_, currentDate_));
    }
};
using ScenePictureKey = decltype(std::declval<const SceneInput &>().pictureKey());

// The title of a day column: "Mo, 04.03.2024", or "Mo, 4." when the column is narrow.
QString dayHeaderText(Date day, bool narrow);

// The view from the input. Reads the store, never writes it: an end before its start is laid
// out as ending at the start. Throws Dayplex::Error for a raster that is not positive.
// appointmentsOf: a view computed from the same input but for the time selection, whose
// appointments, markers and their regions are taken over instead of laid out again.
CalendarScene computeCalendarScene(const SceneInput &input,
                                   const CalendarScene *appointmentsOf = nullptr);

// The rectangles of the grid's cells that differ between two views of the same geometry;
// nullopt when the views differ in more than their cells' colours and captions.
std::optional<QRegion> changedCells(const CalendarScene &before, const CalendarScene &after);

} // namespace Dayplex

#endif
