// The resource view's mouse and keyboard handling: the events go to the core, and what it answers
// is carried out here; the search panel's buttons and the core's events as signals.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttsearchpanel.h"
#include "shared/answersteps.h"
#include "shared/changesignals.h"
#include "shared/guarded.h"

#include <QPushButton>
#include <QScopeGuard>

namespace Dayplex {

void ctlGanttPrivate::connectChildren()
{
    for (int index = 0; index < 2; ++index) {
        QObject::connect(panel->cmdAuto[index], &QPushButton::clicked, q,
                         [this, index] { guarded(lcGantt(), [&] { runSearch(index); }); });
    }
    QObject::connect(panel->cmdNeu, &QPushButton::clicked, q,
                     [this] { guarded(lcGantt(), [&] { createFromProposal(); }); });
    QObject::connect(panel->cmdClose, &QPushButton::clicked, q,
                     [this] { guarded(lcGantt(), [&] { closeSearchPanel(); }); });
    QObject::connect(panel, &GanttSearchPanel::searchFromEdited, q, [this] { core.restartSearch(); });
    QObject::connect(panel, &GanttSearchPanel::daysFocused, q, [this] {
        guarded(lcGantt(), [&] {
            if (core.markRowsForDays())
                q->Repaint();
        });
    });
}

void ctlGanttPrivate::perform(const GanttActions &actions, QPoint globalPos)
{
    const auto run = [&](const GanttStep &a) {
        using S = GanttStep;
        if (applyModelStep(core.model, a))
            return;
        switch (a.kind) {
        case S::DrawFrame:
            core.drawDragFrame(a.rect.left, a.rect.top, a.rect.width, a.rect.height);
            break;
        case S::EraseFrame:
            if (core.eraseDragFrame())
                showFrame();
            break;
        case S::Corner:
            core.drawCorner();
            break;
        case S::ShowFrame:
            showFrame();
            break;
        case S::Repaint:
            q->Repaint();
            break;
        case S::ToolTip:
            if (calpic->toolTip() != a.text)
                calpic->setToolTip(a.text);
            break;
        case S::Pointer:
            q->MousePointer(a.text.isEmpty() ? QVariant(0) : QVariant(a.text));
            break;
        case S::FirstRow:
            vScroll->setValue(a.value);
            break;
        case S::Drop:
            q->SelectedDateMove(a.from, 2);
            break;
        case S::Menu:
            menu->popup(a.value ? calpic->mapToGlobal(QPoint(a.rect.left, a.rect.top)) : globalPos, a.text);
            break;
        case S::DatePicker:
            menu->openPickerAtMouse(false);
            break;
        case S::ShowSelected:
            showSelected();
            break;
        case S::NewAppointment:
            Q_EMIT q->newAppointmentRequested(a.from, a.to, a.text);
            break;
        case S::RequestDelete:
            Q_EMIT q->deleteRequested(a.text);
            break;
        default:
            break;
        }
    };
    // The pointer goes back also when a step fails.
    runAnswer(actions, run, [] {}, [] {});
}

namespace {

GanttPointer pointerOf(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at)
{
    return {button, buttons, at.x(), at.y()};
}

} // namespace

bool ctlGanttPrivate::surfaceTab(int key, Qt::KeyboardModifiers modifiers)
{
    return !searching && keyPress(key, modifiers);
}

bool ctlGanttPrivate::surfaceKey(int key, Qt::KeyboardModifiers modifiers)
{
    return searching || keyPress(key, modifiers);
}

void ctlGanttPrivate::surfaceFocusIn(Qt::FocusReason reason)
{
    core.focusGained(reason);
    calpic->update();
}

void ctlGanttPrivate::surfaceFocusOut()
{
    calpic->update();
    perform(core.focusLost());
}

void ctlGanttPrivate::surfacePress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                                   QPoint globalAt)
{
    if (searching)
        return;
    if (core.gestures.keyboardInUse())
        calpic->update(); // the focus frame goes
    perform(synced().press(pointerOf(button, buttons, at)), globalAt);
}

void ctlGanttPrivate::surfaceMove(Qt::MouseButtons buttons, QPointF at)
{
    // Nested moves are ignored.
    if (blnInMouseMove || searching)
        return;
    blnInMouseMove = true;
    const auto moveEnds = qScopeGuard([this] { blnInMouseMove = false; });
    perform(synced().move(pointerOf(Qt::NoButton, buttons, at)));
}

void ctlGanttPrivate::surfaceRelease(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at)
{
    perform(synced().release(pointerOf(button, buttons, at)));
}

void ctlGanttPrivate::surfaceDoubleClick(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                                         QPoint)
{
    perform(synced().doubleClick(pointerOf(button, buttons, at)));
}

bool ctlGanttPrivate::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!core.gestures.keyboardInUse())
        calpic->update(); // the focus frame comes
    const GanttActions actions = synced().keyPress(key, modifiers);
    perform(actions);
    return !actions.passOn;
}

void ctlGanttPrivate::showSelected()
{
    if (!core.model.selectedDate.isEmpty())
        Q_EMIT q->ShowDate(core.model.selectedDate);
}

void ctlGanttPrivate::connectCoreEvents()
{
    core.events.needDates = [this](Date first, Date last, const QString &fields) {
        if (!q->Enabled)
            return;
        // The handler reads the days the view shows now.
        publishRange();
        Q_EMIT q->NeedDates(first, last, fields);
    };
    raiseChangesAsSignals(core.events, q);
    core.proposalShown = [this](const QString &label, bool newEnabled) {
        panel->showProposal(label, newEnabled);
    };
}

} // namespace Dayplex
