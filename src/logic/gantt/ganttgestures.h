#ifndef DAYPLEX_GANTTGESTURES_H
#define DAYPLEX_GANTTGESTURES_H

#include "gantt/ganttscene.h"

#include <QPoint>
#include <QString>

#include <optional>

namespace Dayplex {

// Where the pointer is, in pixels of the picture area, and which buttons it concerns.
struct GanttPointer
{
    Qt::MouseButton button = Qt::NoButton; // the one pressed or released; NoButton for a move
    Qt::MouseButtons buttons;              // held after the event
    double x = 0;
    double y = 0;
};

// The view a gesture acts on: the model it changes, the picture last painted, the vertical
// scroll bar now, the height of the picture area, and whether row 1 is the holiday row.
struct GanttGestureView
{
    GanttModel &model;
    const GanttScene &scene;
    qint32 firstRow = 1;
    qint32 height = 0;
    bool holidayRow = false;
};

// What the view does after an event, in this order: the inverted frame, the corner text, a
// full repaint, the tooltip, the pointer, and the move, menu, date picker or ShowDate.
struct GanttAction
{
    enum class Frame { Keep, Draw, Erase };
    Frame frame = Frame::Keep;
    BarRect frameRect;        // left, top, width, height as Drag takes them
    bool corner = false;      // the corner shows the moment under the mouse
    bool repaint = false;
    std::optional<QString> toolTip;
    std::optional<QString> pointer; // "curMove", or "" for the default pointer
    Date moveTo = 0;          // SelectedDateMove(moveTo, 2) when above 0
    bool menu = false;
    bool datePicker = false;
    bool showSelected = false;
};

// The Gantt view's mouse and Escape handling without a widget: selecting, marking rows,
// drawing a proposal, and moving the selection with its landing frame and the hairline.
class GanttGestures
{
public:
    GanttAction press(const GanttGestureView &view, const GanttPointer &pointer);
    GanttAction move(const GanttGestureView &view, const GanttPointer &pointer);
    GanttAction release(const GanttGestureView &view, const GanttPointer &pointer);
    GanttAction doubleClick(const GanttGestureView &view, const GanttPointer &pointer);
    // Escape while the selection is moved: the move ends with nothing changed, and the mouse
    // is ignored until its button is released.
    GanttAction escape();

    bool moving() const { return m_moving; }
    bool drawingProposal() const { return m_drawingProposal; }
    // Where the last left press was (the date picker opens there).
    QPoint downPoint() const { return {m_downX, m_downY}; }

private:
    // The frame around the place where the moved bar would land at x, or its erasure.
    void landing(const GanttGestureView &view, qint32 x, GanttAction &action) const;

    qint32 m_downX = 0;
    qint32 m_downY = 0;
    bool m_moving = false;          // blnVerschieben
    bool m_drawingProposal = false; // blnVorschlagZiehen
    qint32 m_movingIndex = 0;       // the record whose landing place the frame shows
    bool m_escaped = false;         // a move was cancelled; its button is still down
};

} // namespace Dayplex

#endif
