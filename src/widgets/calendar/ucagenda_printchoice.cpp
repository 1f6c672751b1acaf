// The print dialog's choice of sheet and period, and the job of the chosen sheets.
#include "calendar/ucagenda_p.h"

#include "dialogs/cprintdialog.h"
#include "print/printchoice.h"
#include "shared/uitext.h"

#include <dayplex/ctlgantt.h>

#include <QScopeGuard>

namespace Dayplex {

namespace {

// Whether the view is shown in its window, or will be once the window is.
bool shownInWindow(const QWidget &view)
{
    return view.isVisibleTo(view.window());
}

// The sheet and period the user sees: the resource view's while it is shown instead of the
// calendar, else the calendar's.
PrintChoice presetChoice(const ucAgenda &calendar, const AgendaCore &core, const ctlGantt *resourceView)
{
    std::optional<std::pair<Date, Date>> resourceShown;
    if (resourceView && shownInWindow(*resourceView))
        resourceShown.emplace(resourceView->mStartDate, resourceView->mEndDate);
    return core.presetChoice(shownInWindow(calendar), resourceShown);
}

// Shows the resource view over the period and prints it; afterwards it shows its days again.
QVariant printResourceView(ctlGantt &view, const PrintChoice &choice, bool preview)
{
    const Date shownFirst = view.mStartDate;
    double shownLast = view.mEndDate;
    double last = choice.lastDay;
    view.SetDisplayedRange(choice.firstDay, &last, false, false);
    const auto back = qScopeGuard([&view, shownFirst, &shownLast] {
        view.SetDisplayedRange(shownFirst, &shownLast, false, false);
        view.Repaint();
    });
    return view.PrintGantt(preview);
}

} // namespace

/*
    The dialog is answered once for the choice; the job of the chosen sheets then takes its
    printer and preview over, with the pages the period needs, so the user is asked only once.
*/
QVariant ucAgendaPrivate::printChosen(bool preview)
{
    QWidget *window = q->window();
    cPrintDialog dialog(window);
    dialog.setMode(1);
    ctlGantt *resourceView = printChoice.resourceView;
    dialog.offerChoice(presetChoice(*q, core, resourceView), resourceView != nullptr);
    if (!dialog.Show() || !dialog.choice())
        return QVariant();
    const PrintChoice choice = *dialog.choice();
    const QString refusal = printChoiceError(choice, resourceView != nullptr);
    if (!refusal.isEmpty()) {
        cTools::Message(refusal, Prompt::Kind::Information, uiText("Dayplex::cCommonCalendar", "Drucken"));
        return QVariant();
    }
    // The job's dialog takes the answer over instead of asking again.
    const cPrintDialog::Handler before = cPrintDialog::setHandler(cPrintDialog::takeOver(dialog));
    const auto askAgain = qScopeGuard([&before] { cPrintDialog::setHandler(before); });
    if (choice.sheet == PrintSheet::Resource)
        return printResourceView(*resourceView, choice, preview);

    const Date shownFirst = core.grid.firstDay;
    double shownLast = core.grid.lastDay;
    if (pic)
        screenWhilePrinting = picture(pic->size(), pic->devicePixelRatioF()).copy();
    dialog.setPageCount(core.showChoice(choice));

    printChoice.running = true;
    const auto back = qScopeGuard([this, shownFirst, &shownLast] {
        printChoice.running = false;
        screenWhilePrinting = QImage();
        q->SetDisplayedRange(shownFirst, &shownLast, false, true);
        q->Repaint();
    });
    return q->PrintCalendar(preview);
}

} // namespace Dayplex
