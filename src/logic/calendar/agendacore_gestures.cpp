// The calendar core's events: each goes to the gesture with the view it happens on and comes
// back as actions for the front end; and the change question as a request.
#include "calendar/agendacore.h"

#include "shared/toolbox.h"

#include <dayplex/error.h>
#include <dayplex/kalenderobjekttyp.h>

#include <algorithm>

namespace Dayplex {

GestureView AgendaCore::gestureView() const
{
    GestureView view(scene, data.store, grid);
    view.selectionStart = selection.start;
    view.selectionEnd = selection.endSlot;
    view.selectedIndex = selection.index;
    view.surfaceTop = surfaceArea.top();
    view.surfaceWidth = surfaceArea.width();
    view.surfaceHeight = surfaceArea.height();
    view.lastRowVisible = lastRowVisible();
    view.modern = presentation == Presentation::Modern;
    return view;
}

GestureResult AgendaCore::press(Qt::MouseButton button, bool othersHeld, double x, double y)
{
    return gesture.press(gestureView(), button, othersHeld, x, y);
}

void AgendaCore::pressAndPerform(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y,
                                 const std::function<void(const GestureResult &)> &perform)
{
    const bool othersHeld = (buttons & ~button) != Qt::NoButton;
    const GestureResult result = press(button, othersHeld, x, y);
    perform(result);
    if (!result.steps.isEmpty() && result.steps.last().kind == GestureAction::PressAgain)
        perform(press(button, othersHeld, x, y));
}

bool AgendaCore::answerFailed(const GestureResult &result)
{
    if (!result.restoreOnFailure)
        return false;
    restoreSelectedTimes();
    return true;
}

GestureResult AgendaCore::move(Qt::MouseButtons buttons, double x, double y)
{
    return gesture.move(gestureView(), buttons & kViewButtons, x, y);
}

GestureResult AgendaCore::release(bool stillHeld, double x, double y)
{
    return gesture.release(gestureView(), stillHeld, x, y);
}

GestureResult AgendaCore::doubleClick(double x, double y)
{
    return gesture.doubleClick(gestureView(), x, y);
}

GestureResult AgendaCore::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    return gesture.keyPress(gestureView(), key, modifiers);
}

void AgendaCore::focusGained(Qt::FocusReason reason)
{
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
        gesture.enteredByTab();
}

bool AgendaCore::applyOwnStep(const GestureAction &action)
{
    using A = GestureAction;
    switch (action.kind) {
    case A::SetSelection:
        selection.start = action.from;
        selection.endSlot = action.to;
        return true;
    case A::SetSelectionStart:
        setSelectionStart(action.from);
        return true;
    case A::SetSelectionEnd:
        setSelectionEnd(action.from);
        return true;
    case A::SelectIndex:
        selection.index = action.value;
        return true;
    case A::SelectKey:
        selectKey(action.text);
        return true;
    case A::SetTimes:
        if (data.store.contains(action.value))
            data.store.setTimes(action.value, action.from, action.to);
        return true;
    case A::RestoreTimes:
        restoreSelectedTimes();
        return true;
    case A::SetDayInfoHeight:
        grid.dayInfoHeight = std::max(action.value, 1);
        return true;
    case A::SetFirstTime:
        setFirstTime(action.from);
        return true;
    // A repaint follows the step in the answer.
    case A::EnsureSelectionVisible:
        ensureVisible(selection.start);
        return true;
    case A::EnsureVisible:
        ensureVisible(action.from);
        return true;
    default:
        return false;
    }
}

GestureResult AgendaCore::focusLost()
{
    return gesture.focusLost(gestureView());
}

GestureResult AgendaCore::autoScrollTick()
{
    return gesture.autoScrollTick(gestureView());
}

std::optional<ChangeRequest> AgendaCore::changeRequest(qint32 index) const
{
    if (!data.store.contains(index))
        return std::nullopt;
    const TerminEintrag &e = data.store.at(index);
    ChangeRequest request;
    request.index = index;
    request.moved = {index};
    request.generation = data.store.generation();
    request.text = e.memo;
    request.question = changeQuestion(data.store.details(e.dsn));
    request.confirm = settings.confirmChanges;
    request.start = e.dateStart;
    request.end = e.dateEnd;
    request.startOrig = e.dateStartOrig;
    request.endOrig = e.dateEndOrig;
    if (!request.changed())
        return std::nullopt;
    return request;
}

bool AgendaCore::commitChange(const ChangeRequest &request, const ChangeAnswer &answer)
{
    const bool stands = request.stands(answer);
    const Date start = stands ? request.start : request.startOrig;
    const Date end = stands ? request.end : request.endOrig;
    // Records that replaced the asked one keep their times.
    if (data.store.generation() == request.generation && data.store.contains(request.index))
        data.store.setAllTimes(request.index, start, end, start, end);
    return stands;
}

void AgendaCore::raiseChange(const ChangeRequest &request, const ChangeAnswer &answer)
{
    // A host that filled the store anew while the question was open has no such change.
    if (!request.stands(answer) || data.store.generation() != request.generation
        || !data.store.contains(request.index))
        return;
    // Copies: a handler that refreshes the store must not pull the values from under the
    // handlers after it.
    const TerminEintrag &e = data.store.at(request.index);
    raiseChanged(events, request, answer, e.dsn, e.dateStart, e.dateEnd);
}

bool AgendaCore::moveSelected(Date newDate, qint32 targetKind)
{
    const qint32 index = selection.index;
    if (!data.store.contains(index))
        return false;
    if (!isValidDate(newDate))
        throw Error(InvalidArgument, QStringLiteral("SelectedDateMove: ungültiger Datumswert."));
    const TerminEintrag &e = data.store.at(index);
    const Date duration = e.dateEnd - e.dateStart;
    const Date start = cToolbox::NormalizeDate(
        targetKind == tageszelle ? newDate + cToolbox::TimeOnly(e.dateStart) : newDate);
    const Date end = cToolbox::NormalizeDate(start + duration);
    if (!isValidDate(start) || !isValidDate(end))
        throw Error(Overflow,
                    QStringLiteral("SelectedDateMove: der Termin läge außerhalb des Kalenders."));
    data.store.setTimes(index, start, end);
    return true;
}

} // namespace Dayplex
