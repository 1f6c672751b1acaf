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

// One thing the view does after an event. A gesture answers a list of them, done in order:
// the first five change the model, the others are the front end's.
struct GanttStep
{
    enum Kind : quint8 {
        MarkRow,        // value = the row, which takes part in the search
        ToggleRow,      // value = the row, marked or unmarked
        Select,         // text = the selected appointment, empty for none
        Proposal,       // from, to = the proposal, both 0 for none
        MouseMoment,    // from = the moment under the mouse (the corner's text)
        DrawFrame,      // rect = the inverted frame of Drag: left, top, width, height
        EraseFrame,     // the frame of Drag goes
        Corner,         // the corner shows the moment under the mouse
        ShowFrame,      // the kept picture shown as it is, with its frame and corner
        Repaint,
        ToolTip,        // text
        Pointer,        // text = "curMove", or "" for the default pointer
        FirstRow,       // value = the row to show first
        Drop,           // from = where the selection goes: SelectedDateMove(from, 2)
        Menu,           // text = the appointment it opens over; value 1: at rect's corner (a
                        // key), 0: where the mouse is
        DatePicker,
        ShowSelected,
        NewAppointment, // from, to = a new appointment asked for; text = its row's key
        RequestDelete,  // text = the selected, writable appointment Delete was pressed on
    };
    Kind kind;
    qint32 value = 0;
    Date from = 0;
    Date to = 0;
    BarRect rect;
    QString text;
};

// What a gesture answers: its steps in order, the steps done after them also when one of them
// fails (the pointer goes back), and whether a key is not the view's (Tab past either end).
struct GanttActions
{
    QVector<GanttStep> steps;
    QVector<GanttStep> finally;
    bool passOn = false;

    GanttActions &operator<<(const GanttStep &step)
    {
        steps << step;
        return *this;
    }
};

// Makes a step that changes the model; false for a step of the front end.
bool applyModelStep(GanttModel &model, const GanttStep &step);

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
    GanttActions press(const GanttGestureView &view, const GanttPointer &pointer);
    GanttActions move(const GanttGestureView &view, const GanttPointer &pointer);
    GanttActions release(const GanttGestureView &view, const GanttPointer &pointer);
    // Shows the selection; on free time of a usable row it also asks for a new appointment of
    // kGanttNewLength from the moment under the mouse.
    GanttActions doubleClick(const GanttGestureView &view, const GanttPointer &pointer);
    // Escape while the selection is moved: the move ends with nothing changed, and the mouse
    // is ignored until its button is released.
    GanttActions escape();

    // The keys (a Qt::Key with its modifiers): Tab and Shift+Tab walk the appointments, Enter
    // opens one, the menu key and Shift+F10 open the context menu, Alt+Left and Alt+Right move
    // the selection by the step of a drag (ten minutes; a day for one that starts at
    // midnight), Alt+Shift+Left and Alt+Shift+Right by a day. A move shows as a drag's landing
    // frame until Enter makes it or Escape ends it. Delete asks to delete the selection when it
    // may be changed.
    GanttActions keyPress(const GanttGestureView &view, int key, Qt::KeyboardModifiers modifiers);
    // The view got the keyboard by Tab or Shift+Tab: the walk starts from the view itself.
    void enteredByTab() { m_focusIndex = 0; m_keyboardInUse = true; }
    // Whether the focus frame shows: after Tab into the view or a key on it, not after a
    // click, so that a mouse user sees the picture as it always was.
    bool keyboardInUse() const { return m_keyboardInUse; }
    // A bar was selected another way than by a key (a screen reader's action): the keyboard
    // goes there, as with a click.
    void followSelection(qint32 index) { m_focusIndex = index; }
    // The view lost the keyboard: a move waiting for Enter ends.
    GanttActions focusLost();
    // The bar the keyboard is on, one of the selection's; 0 for the view itself.
    qint32 keyboardBar(const GanttModel &model) const;
    bool movePending() const { return m_pendingTarget > 0; }
    // The landing frame of the move waiting for Enter, drawn anew after a full paint, which
    // forgets the frames drawn before; none when no move waits or its place is not in sight.
    std::optional<BarRect> pendingLanding(const GanttGestureView &view) const;

    bool moving() const { return m_moving; }
    bool drawingProposal() const { return m_drawingProposal; }
    // Where the last left press was (the date picker opens there).
    QPoint downPoint() const { return {m_downX, m_downY}; }

private:
    // The frame around the place where the moved bar would land at target; none when the bar
    // or its place is not in sight.
    std::optional<BarRect> landingRect(const GanttGestureView &view, Date target) const;
    // The landing frame drawn, or the frame erased when there is none.
    void landing(const GanttGestureView &view, Date target, GanttActions &action) const;
    GanttActions walk(const GanttGestureView &view, bool forward);
    GanttActions step(const GanttGestureView &view, int key, bool byDay);
    void endPending(GanttActions &action);

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
