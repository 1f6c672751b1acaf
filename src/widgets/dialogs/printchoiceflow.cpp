#include "dialogs/printchoiceflow.h"

#include "dialogs/cprintdialog.h"
#include "shared/ctools.h"
#include "shared/uitext.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QScopeGuard>

namespace Dayplex {

namespace {

// Whether the view is shown in its window, or will be once the window is.
bool shownInWindow(const QWidget &view)
{
    return view.isVisibleTo(view.window());
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

void PrintChoiceFlow::offer(bool offered, ctlGantt *resourceView)
{
    m_offered = offered;
    m_resourceView = resourceView;
}

QVariant PrintChoiceFlow::run(ucAgenda &calendar, const Calendar &sheets, bool preview)
{
    ctlGantt *resourceView = m_resourceView;
    std::optional<std::pair<Date, Date>> resourceShown;
    if (resourceView && shownInWindow(*resourceView))
        resourceShown.emplace(resourceView->mStartDate, resourceView->mEndDate);
    cPrintDialog dialog(calendar.window());
    dialog.setMode(1);
    dialog.offerChoice(sheets.preset(shownInWindow(calendar), resourceShown), resourceView != nullptr);
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

    const Date shownFirst = calendar.FirstDay();
    double shownLast = calendar.LastDay();
    dialog.setPageCount(sheets.show(choice));
    m_printing = true;
    const auto back = qScopeGuard([this, &calendar, &sheets, shownFirst, &shownLast] {
        m_printing = false;
        sheets.screenBack();
        calendar.SetDisplayedRange(shownFirst, &shownLast, false, true);
        calendar.Repaint();
    });
    return calendar.PrintCalendar(preview);
}

} // namespace Dayplex
