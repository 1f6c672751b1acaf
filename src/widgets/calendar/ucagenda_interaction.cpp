// The calendar's mouse and keyboard handling: the events go to the gesture logic, and what it
// answers is carried out here; the change question and the core's events as signals.
#include "calendar/ucagenda_p.h"

#include "shared/answersteps.h"
#include "shared/changesignals.h"
#include "shared/changeprompt.h"

#include <QTimer>
#include <QWidget>

namespace Dayplex {

namespace {

constexpr int kAutoScrollMilliseconds = 100;

} // namespace

void ucAgendaPrivate::surfacePress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at, QPoint)
{
    if (core.gesture.keyboardInUse())
        pic->update(); // the focus frame goes
    // A stale gesture is painted away before the press goes in again.
    core.pressAndPerform(button, buttons, at.x(), at.y(), [this](const GestureResult &r) { perform(r); });
}

void ucAgendaPrivate::surfaceMove(Qt::MouseButtons buttons, QPointF at)
{
    perform(core.move(buttons, at.x(), at.y()));
}

void ucAgendaPrivate::surfaceRelease(Qt::MouseButton, Qt::MouseButtons buttons, QPointF at)
{
    perform(core.release(buttons != Qt::NoButton, at.x(), at.y()));
}

void ucAgendaPrivate::surfaceDoubleClick(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                                         QPoint globalAt)
{
    // The second press of a left double click is the double click only; other buttons press.
    if (button != Qt::LeftButton)
        surfacePress(button, buttons, at, globalAt);
    else
        perform(core.doubleClick(at.x(), at.y()));
}

bool ucAgendaPrivate::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!core.gesture.keyboardInUse())
        pic->update(); // the focus frame comes
    const GestureResult result = core.keyPress(key, modifiers);
    perform(result);
    return !result.passOn;
}

void ucAgendaPrivate::surfaceFocusIn(Qt::FocusReason reason)
{
    core.focusGained(reason);
    pic->update();
}

void ucAgendaPrivate::surfaceFocusOut()
{
    perform(core.focusLost());
    pic->update();
}

void ucAgendaPrivate::autoScrollTick()
{
    perform(core.autoScrollTick());
}

void ucAgendaPrivate::perform(const GestureResult &result)
{
    const auto run = [this](const GestureAction &a) {
        using A = GestureAction;
        if (core.applyOwnStep(a))
            return;
        switch (a.kind) {
        case A::Repaint:
            q->Repaint();
            break;
        case A::UpdateLater:
            if (pic)
                pic->update();
            break;
        case A::Ghost:
            q->DrawDragDrop(a.rect.x(), a.rect.y(), a.rect.width(), a.rect.height());
            break;
        case A::Cursor:
            if (a.text.isEmpty())
                q->MousePointer(0);
            else
                q->MousePointer(a.text);
            break;
        case A::Tooltip:
            if (pic && pic->toolTip() != a.text)
                pic->setToolTip(a.text);
            break;
        case A::OpenContextMenu:
            if (openContextMenu)
                openContextMenu(a.rect.topLeft());
            break;
        case A::OpenDatePicker:
            if (openDatePicker)
                openDatePicker();
            break;
        case A::Drop:
            q->SelectedDateMove(a.from, a.value);
            break;
        case A::ConfirmResize:
            if (core.data.store.contains(a.value))
                decideChange(a.value);
            break;
        case A::ShowSelected:
            showSelected();
            break;
        case A::StartAutoScroll:
            // A running timer keeps its rhythm; restarting it with every move would stop it
            // ticking while the mouse keeps moving.
            if (!timerAutoScroll->isActive())
                timerAutoScroll->start(kAutoScrollMilliseconds);
            break;
        case A::StopAutoScroll:
            q->StopAutoScroll();
            break;
        case A::NewAppointment:
            Q_EMIT q->newAppointmentRequested(a.from, a.to, a.value != 0);
            break;
        case A::RequestDelete:
            Q_EMIT q->deleteRequested(a.text);
            break;
        default: // PressAgain, or one of the core's own
            break;
        }
    };
    runAnswer(result, run, [&] {
        if (core.answerFailed(result))
            q->Repaint();
    }, [] {});
}

void ucAgendaPrivate::decideChange(qint32 index)
{
    const std::optional<ChangeRequest> request = core.changeRequest(index);
    if (!request)
        return;
    const ChangeAnswer answer = askChange(*request, [this] { q->Repaint(); });
    if (!core.commitChange(*request, answer))
        q->Repaint();
    core.raiseChange(*request, answer);
}

void ucAgendaPrivate::showSelected()
{
    const QString dsn = q->SelectedDate();
    if (!dsn.isEmpty())
        Q_EMIT q->ShowDate(dsn);
}

void ucAgendaPrivate::connectCoreEvents()
{
    core.events.needDates = [this](Date first, Date last, const QString &fields) {
        if (q->Enabled)
            Q_EMIT q->NeedDates(first, last, fields);
    };
    raiseChangesAsSignals(core.events, q);
}

} // namespace Dayplex
