#ifndef DAYPLEX_GANTTGESTURES_H
#define DAYPLEX_GANTTGESTURES_H

#include "gantt/ganttscene.h"

#include <QPoint>
#include <QString>
#include <QVector>

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

// The view a gesture reads: the model, the picture last painted, the vertical scroll bar now,
// the height of the picture area, and whether row 1 is the holiday row.
struct GanttGestureView
{
    const GanttModel &model;
    const GanttScene &scene;
    qint32 firstRow = 1;
    qint32 height = 0;
    bool holidayRow = false;
};

// A change of the model a gesture asks for.
struct GanttModelStep
{
    enum Kind : quint8 {
        MarkRow,     // row = the row, which takes part in the search
        ToggleRow,   // row = the row, marked or unmarked
        Select,      // key = the selected appointment, empty for none
        Proposal,    // from, to = the proposal, both 0 for none
        MouseMoment, // from = the moment under the mouse (the corner's text)
    };
    Kind kind;
    qint32 row = 0;
    Date from = 0;
    Date to = 0;
    QString key;
};

// What the view does after an event, in this order: the model steps, the inverted frame, the
// corner text, a full repaint, the tooltip, the pointer, and the move, menu, date picker or
// ShowDate.
struct GanttAction
{
    QVector<GanttModelStep> modelSteps;
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
    std::optional<QPoint> menuAt; // a menu opened by a key, in pixels of the picture area
    QString menuKey;              // the appointment the menu opens over; empty over free time
    qint32 firstRow = 0;          // scroll so that this row is the first shown; 0 keeps it
    std::optional<QString> deleteKey; // Delete pressed on this selected, writable appointment
    // A double click on free time of a row asks for a new appointment there; newFrom 0: none.
    Date newFrom = 0;
    Date newTo = 0;
    QString newRow;
    bool passOn = false;          // the key is not the view's (Tab past either end leaves it)
};

// Makes the model steps of an action, in their order.
void applyModelSteps(GanttModel &model, const QVector<GanttModelStep> &steps);

// The length of an appointment a double click on free time asks for: one hour.
constexpr Date kGanttNewLength = 1.0 / 24.0;

// The appointments Tab walks: each key a click could select once, by its bar in the highest
// row, in time order; those that touch the shown days from firstDay to the midnight dEnd.
QVector<qint32> ganttKeyboardOrder(const GanttModel &model, Date firstDay, Date dEnd);

// The Gantt view's mouse and Escape handling without a widget: selecting, marking rows,
// drawing a proposal, and moving the selection with its landing frame and the hairline. It
// takes events with the view they happen on and answers what to do; it changes nothing but
// its own state.
class GanttGestures
{
public:
    GanttAction press(const GanttGestureView &view, const GanttPointer &pointer);
    GanttAction move(const GanttGestureView &view, const GanttPointer &pointer);
    GanttAction release(const GanttGestureView &view, const GanttPointer &pointer);
    // Shows the selection; on free time of a usable row it also asks for a new appointment of
    // kGanttNewLength from the moment under the mouse.
    GanttAction doubleClick(const GanttGestureView &view, const GanttPointer &pointer);
    // Escape while the selection is moved: the move ends with nothing changed, and the mouse
    // is ignored until its button is released.
    GanttAction escape();

    // The keys (a Qt::Key with its modifiers): Tab and Shift+Tab walk the appointments, Enter
    // opens one, the menu key and Shift+F10 open the context menu, Alt+Left and Alt+Right move
    // the selection by the step of a drag (ten minutes; a day for one that starts at
    // midnight), Alt+Shift+Left and Alt+Shift+Right by a day. A move shows as a drag's landing
    // frame until Enter makes it or Escape ends it. Delete asks to delete the selection when it
    // may be changed.
    GanttAction keyPress(const GanttGestureView &view, int key, Qt::KeyboardModifiers modifiers);
    // The view got the keyboard by Tab or Shift+Tab: the walk starts from the view itself.
    void enteredByTab() { m_focusIndex = 0; m_keyboardInUse = true; }
    // Whether the focus frame shows: after Tab into the view or a key on it, not after a
    // click, so that a mouse user sees the picture as it always was.
    bool keyboardInUse() const { return m_keyboardInUse; }
    // A bar was selected another way than by a key (a screen reader's action): the keyboard
    // goes there, as with a click.
    void followSelection(qint32 index) { m_focusIndex = index; }
    // The view lost the keyboard: a move waiting for Enter ends.
    GanttAction focusLost();
    // The bar the keyboard is on, one of the selection's; 0 for the view itself.
    qint32 keyboardBar(const GanttModel &model) const;
    bool movePending() const { return m_pendingTarget > 0; }
    // The landing frame of the move waiting for Enter, drawn anew after a full paint, which
    // forgets the frames drawn before; no frame when none waits.
    GanttAction pendingLanding(const GanttGestureView &view) const;

    bool moving() const { return m_moving; }
    bool drawingProposal() const { return m_drawingProposal; }
    // Where the last left press was (the date picker opens there).
    QPoint downPoint() const { return {m_downX, m_downY}; }

private:
    // The frame around the place where the moved bar would land at x, or its erasure.
    void landing(const GanttGestureView &view, Date target, GanttAction &action) const;
    GanttAction walk(const GanttGestureView &view, bool forward);
    GanttAction step(const GanttGestureView &view, int key, bool byDay);
    void endPending(GanttAction &action);

    qint32 m_downX = 0;
    qint32 m_downY = 0;
    bool m_moving = false;          // blnVerschieben
    bool m_drawingProposal = false; // blnVorschlagZiehen
    qint32 m_movingIndex = 0;       // the record whose landing place the frame shows
    bool m_escaped = false;         // a move was cancelled; its button is still down
    qint32 m_focusIndex = 0;        // the bar the keyboard is on
    Date m_pendingTarget = 0;       // where a move by the keys would drop the selection
    bool m_keyboardInUse = false;
};

} // namespace Dayplex

#endif
