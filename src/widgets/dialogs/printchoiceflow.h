#ifndef DAYPLEX_PRINTCHOICEFLOW_H
#define DAYPLEX_PRINTCHOICEFLOW_H

// The print dialog's choice of sheet and period, when the host offers it: the dialog is answered
// once, a period that does not fit is refused with its German reason, and the chosen sheet then
// prints by its own view's job, whose dialog takes the answer over instead of asking again.
#include "print/printchoice.h"

#include <dayplex/dates.h>

#include <QPointer>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>

namespace Dayplex {

class ctlGantt;
class ucAgenda;

class PrintChoiceFlow
{
public:
    // What the calendar does for the flow beyond its public members.
    struct Calendar
    {
        // The sheet and period the user sees, from whether the calendar is shown and the days
        // of the resource view while it is.
        std::function<PrintChoice(bool calendarShown, std::optional<std::pair<Date, Date>> resourceShown)> preset;
        // Shows the chosen day or week while the screen keeps its picture; answers the pages
        // the period needs.
        std::function<qint32(const PrintChoice &)> show;
        // The screen shows the view again.
        std::function<void()> screenBack;
    };

    void offer(bool offered, ctlGantt *resourceView);
    bool offered() const { return m_offered; }
    // Whether a print of the calendar asks for the choice: not while the chosen sheet prints.
    bool asks() const { return m_offered && !m_printing; }
    // Asks, then prints the chosen sheet; afterwards both views show their days again.
    QVariant run(ucAgenda &calendar, const Calendar &sheets, bool preview);

private:
    bool m_offered = false;
    QPointer<ctlGantt> m_resourceView; // not owned; forgotten when it is deleted
    bool m_printing = false;
};

} // namespace Dayplex

#endif
