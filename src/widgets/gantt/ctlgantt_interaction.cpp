// The resource view's mouse and keyboard handling, context menu entries and date picker, and the
// core's events as signals.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttinteraction.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/answersteps.h"
#include "shared/datepicker.h"
#include "shared/guarded.h"
#include "shared/uitext.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <iterator>

namespace Dayplex {

namespace {

const char *const kViewCaptions[] = {
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "1 Tag"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "5 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "7 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "3 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "4 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "6 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "8 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "12 Wochen")};

} // namespace

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
    // A new start day starts the next search afresh.
    QObject::connect(panel, &GanttSearchPanel::searchFromEdited, q, [this] { core.model.sucheAb = 0; });
    QObject::connect(panel, &GanttSearchPanel::daysFocused, q, [this] {
        // The modern presentation keeps the rows the user marked for the search.
        if (core.presentation == Presentation::Modern)
            return;
        guarded(lcGantt(), [&] {
            markAllRows(core.model);
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
            openDatePicker(false);
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

void ctlGanttPrivate::buildMenu()
{
    menu = std::make_unique<ViewMenu>(
        q, ViewMenu::View{[](const std::function<void()> &command) { guarded(lcGantt(), command); },
                          [this] { return synced().menuState(); }, [this] { return q->CurrentDate(); },
                          [this](QMenu *popUp, const QString &dsn) { Q_EMIT q->contextMenuAboutToShow(popUp, dsn); },
                          [this](double value, bool move) { datePicked(value, move); }, calpic});
    using E = ViewMenu::EnabledBy;
    QMenu *popUp = menu->popUp();
    const auto add = [this](QMenu *to, const char *name, const QString &caption, auto command, E enabledBy = E::Always) {
        return menu->addEntry(to, QLatin1String(name), caption, command, enabledBy);
    };
    add(popUp, "mnuToday", uiText("Dayplex::ctlGantt", "Heute"), [this] { today(); });
    add(popUp, "mnuDatum", uiText("Dayplex::ctlGantt", "Datum..."), [this] { openDatePicker(false); });
    add(popUp, "mnuCalendar", uiText("Dayplex::ctlGantt", ">>Kalender"), [this] { Q_EMIT q->ShowImCalendar(); });
    add(popUp, "mnuFreienTerminSuchen", uiText("Dayplex::ctlGantt", "Freien Termin suchen"),
        [this] { openSearchPanel(); });
    popUp->addSeparator();
    add(popUp, "mnuNeu", uiText("Dayplex::ctlGantt", "Neu"), [this] { createFromProposal(); }, E::Create);
    QAction *show = add(popUp, "mnuAnzeigen", uiText("Dayplex::ctlGantt", "Anzeigen"), [this] { showSelected(); }, E::Show);
    add(popUp, "mnuVerschieben", uiText("Dayplex::ctlGantt", "Verschieben"), [this] { openDatePicker(true); }, E::Move);
    popUp->addSeparator();
    add(popUp, "mnuMerkmale", uiText("Dayplex::ctlGantt", "Teilnehmer..."), [this] { Q_EMIT q->ChangeFilter(); });
    popUp->addSeparator();
    QMenu *viewMenu = popUp->addMenu(uiText("Dayplex::ctlGantt", "Ansicht"));
    viewMenu->setObjectName(QStringLiteral("mnuAnsicht"));
    for (int i = 0; i < int(std::size(kViewCaptions)); ++i) {
        // The day count is read from the German caption, whatever the menu shows.
        const qint32 days = ganttDaysFromCaption(QLatin1String(kViewCaptions[i]));
        menu->addDaysEntry(viewMenu, QStringLiteral("mnuAnsichtTage_%1").arg(i),
                           uiText("Dayplex::ctlGantt", kViewCaptions[i]), days, [this, days] { showDays(days); });
    }
    popUp->addSeparator();
    add(popUp, "mnuOptions", uiText("Dayplex::ctlGantt", "Optionen..."), [this] { q->ShowOptionsDialog(); });
    add(popUp, "mnuDrucken", uiText("Dayplex::ctlGantt", "Drucken..."), [this] { q->PrintGantt(false); });
    menu->finish(show);
    // One month at a time, as the drop-down opens at the mouse.
    menu->picker()->setMonthsAcross(1);
    menu->picker()->setMonthsDown(1);
}

void ctlGanttPrivate::today()
{
    const Date now = currentDateTime();
    q->SetDisplayedRange(cTools::DateOnly(now), nullptr, false, true);
    q->Repaint();
    panel->setSearchFrom(now);
    core.model.sucheAb = 0;
}

void ctlGanttPrivate::showDays(qint32 count)
{
    const Date first = q->CurrentDate();
    double last = first + count - 1;
    q->SetDisplayedRange(first, &last, false, true);
    q->Repaint();
}

void ctlGanttPrivate::openDatePicker(bool move)
{
    // At the mouse, moved back onto the screen where it would leave it.
    menu->openPicker(move ? ViewMenu::kMoveTag : QString(), calpic->mapToGlobal(core.gestures.downPoint()));
}

void ctlGanttPrivate::datePicked(double value, bool move)
{
    // The view starts at the picked day's midnight, whatever time the picker kept.
    const Date day = cTools::DateOnly(value);
    if (move && !core.model.selectedDate.isEmpty() && !core.model.isSelectedReadOnly())
        q->SelectedDateMove(day, 2);
    q->SetDisplayedRange(day, nullptr, false, true);
    q->Repaint();
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
    core.events.dateChanged = [this](const QString &dsn, Date start, Date end) {
        Q_EMIT q->DateChanged(dsn, start, end);
    };
    core.events.seriesDateChanged = [this](const QString &dsn, SeriesScope scope, Date start, Date end) {
        Q_EMIT q->seriesDateChanged(dsn, scope, start, end);
    };
    core.proposalShown = [this](const QString &label, bool newEnabled) {
        panel->showProposal(label, newEnabled);
    };
}

} // namespace Dayplex
