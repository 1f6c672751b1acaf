// The resource view's context menu entries, the events they raise, and the date picker's jump
// and move.
#include "gantt/ganttmenu.h"

#include "gantt/ctlgantt_p.h"
#include "gantt/ganttinteraction.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/datepicker.h"
#include "shared/guarded.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <QAction>
#include <QMenu>
#include <iterator>

namespace Dayplex {

namespace {

const char *const kViewCaptions[] = {
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "1 Tag"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "5 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "7 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "3 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "4 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "6 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "8 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "12 Wochen")};

} // namespace

GanttMenu::GanttMenu(ctlGanttPrivate *d)
    : ViewMenu(d->q, View{[](const std::function<void()> &command) { guarded(lcGantt(), command); },
                          [d] { return d->synced().menuState(); }, [d] { return d->q->CurrentDate(); },
                          [d](QMenu *menu, const QString &dsn) { Q_EMIT d->q->contextMenuAboutToShow(menu, dsn); },
                          [this](double value, bool move) { pickerChange(value, move); }, d->calpic})
    , d(d)
{
    ctlGantt *q = d->q;
    QMenu *menu = popUp();
    const auto add = [this](QMenu *to, const char *name, const QString &caption, auto command,
                            EnabledBy enabledBy = EnabledBy::Always) {
        return addEntry(to, QLatin1String(name), caption, command, enabledBy);
    };
    add(menu, "mnuToday", uiText("Dayplex::ctlGantt", "Heute"), [this] { today(); });
    add(menu, "mnuDatum", uiText("Dayplex::ctlGantt", "Datum..."), [this] { openPickerAtMouse(false); });
    add(menu, "mnuCalendar", uiText("Dayplex::ctlGantt", ">>Kalender"), [q] { Q_EMIT q->ShowImCalendar(); });
    add(menu, "mnuFreienTerminSuchen", uiText("Dayplex::ctlGantt", "Freien Termin suchen"), [d] { d->openSearchPanel(); });
    menu->addSeparator();
    add(menu, "mnuNeu", uiText("Dayplex::ctlGantt", "Neu"), [d] { d->createFromProposal(); }, EnabledBy::Create);
    QAction *show = add(menu, "mnuAnzeigen", uiText("Dayplex::ctlGantt", "Anzeigen"), [d] { d->showSelected(); }, EnabledBy::Show);
    add(menu, "mnuVerschieben", uiText("Dayplex::ctlGantt", "Verschieben"), [this] { openPickerAtMouse(true); }, EnabledBy::Move);
    menu->addSeparator();
    add(menu, "mnuMerkmale", uiText("Dayplex::ctlGantt", "Teilnehmer..."), [q] { Q_EMIT q->ChangeFilter(); });
    menu->addSeparator();
    QMenu *viewMenu = menu->addMenu(uiText("Dayplex::ctlGantt", "Ansicht"));
    viewMenu->setObjectName(QStringLiteral("mnuAnsicht"));
    for (int i = 0; i < int(std::size(kViewCaptions)); ++i) {
        // The day count is read from the German caption, whatever the menu shows.
        const qint32 days = ganttDaysFromCaption(QLatin1String(kViewCaptions[i]));
        addDaysEntry(viewMenu, QStringLiteral("mnuAnsichtTage_%1").arg(i), uiText("Dayplex::ctlGantt", kViewCaptions[i]),
                     days, [this, days] { showDays(days); });
    }
    menu->addSeparator();
    add(menu, "mnuOptions", uiText("Dayplex::ctlGantt", "Optionen..."), [q] { q->ShowOptionsDialog(); });
    add(menu, "mnuDrucken", uiText("Dayplex::ctlGantt", "Drucken..."), [q] { q->PrintGantt(false); });
    finish(show);
    // One month at a time, as the drop-down opens at the mouse.
    picker()->setMonthsAcross(1);
    picker()->setMonthsDown(1);
}

void GanttMenu::today()
{
    const Date now = currentDateTime();
    d->q->SetDisplayedRange(cTools::DateOnly(now), nullptr, false, true);
    d->q->Repaint();
    d->panel->setSearchFrom(now);
    d->core.restartSearch();
}

void GanttMenu::showDays(qint32 count)
{
    const Date first = d->q->CurrentDate();
    double last = first + count - 1;
    d->q->SetDisplayedRange(first, &last, false, true);
    d->q->Repaint();
}

void GanttMenu::openPickerAtMouse(bool move)
{
    // At the mouse, moved back onto the screen where it would leave it.
    openPicker(move ? kMoveTag : QString(), d->calpic->mapToGlobal(d->core.gestures.downPoint()));
}

void GanttMenu::pickerChange(double value, bool move)
{
    // The view starts at the picked day's midnight, whatever time the picker kept.
    const Date day = cTools::DateOnly(value);
    if (move && !d->core.model.selectedDate.isEmpty() && !d->core.model.isSelectedReadOnly())
        d->q->SelectedDateMove(day, 2);
    d->q->SetDisplayedRange(day, nullptr, false, true);
    d->q->Repaint();
}

} // namespace Dayplex
