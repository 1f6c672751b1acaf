#ifndef DAYPLEX_FREESLOTSEARCH_H
#define DAYPLEX_FREESLOTSEARCH_H

#include "gantt/ganttmodel.h"

#include <QString>
#include <QStringList>

namespace Dayplex {

// What the search panel holds when a search button is pressed.
struct FreeSlotQuery
{
    double days = 0;         // numeric value of "Dauer ... Tage"; 0 searches in hours
    Date length = 0;         // length in hour mode, a time of day (01:00 = one hour)
    Date windowFrom = 0;     // daily window in hour mode
    Date windowTo = 0;
    Date searchFrom = 0;     // "Suchen ab"
    bool weekends = false;   // Saturdays, Sundays and holidays may be proposed
    double rasterMinutes = 30; // step in hour mode (the layout's strAufloesung)
    // Beside the classic steps, which mark every row after each delivery and find a proposal
    // at midnight again with "<<" when the window starts at midnight: the rows the user marked
    // stay the ones searched for (every row only when none is marked), and "<<" goes on
    // before the last proposal.
    bool keepMarkedRows = false;
    bool pastLastProposal = false;
};

// The view the search moves through. showRange is SetDisplayedRange(first, last, false, false):
// when the days leave the filled range the host delivers new rows and appointments into the
// model before it returns. A last day of 0 keeps the current span.
class FreeSlotHost
{
public:
    virtual ~FreeSlotHost() = default;
    virtual Date displayedFirstDay() const = 0;
    virtual Date displayedLastDay() const = 0;
    virtual void showRange(Date firstDay, Date lastDay) = 0;
    virtual bool abortRequested() = 0;
    virtual void setBusy(bool busy) { Q_UNUSED(busy); }
};

enum class FreeSlotOutcome { Found, NotFound, Aborted, LongerThanWindow };

struct FreeSlotResult
{
    FreeSlotOutcome outcome = FreeSlotOutcome::NotFound;
    Date start = 0;      // the last candidate examined (the proposal when found)
    Date end = 0;
    Date searchFrom = 0; // what "Suchen ab" shows afterwards
    qint64 candidates = 0; // the candidates the search stepped through
    // The message the view shows afterwards with freeSlotTitle(); empty for found and aborted.
    QString message;
};

// The messages of the search, shown with the title "Freie Termine Suchen".
QString freeSlotTooLongText();
QString freeSlotNotFoundText();
QString freeSlotTitle();

// Whether start..end may be proposed: no Saturday or Sunday touched (unless weekends are
// allowed), and every marked row free, plus the holiday row unless weekends are allowed.
bool isSlotFree(const GanttModel &model, Date start, Date end, bool weekends);
// Marks every row but the holiday row, whose flag stays as it is.
void markAllRows(GanttModel &model);
// Marks the rows whose keys are given and unmarks the others, the holiday row again aside;
// changes nothing when none of the keys is a row.
void markRowsByKey(GanttModel &model, const QStringList &keys);
// The keys of the marked rows in row order, joined by "|".
QString markedRowList(const GanttModel &model);
// The whole minutes the panel's hour picker shows for a slot length (a fraction of a day)
// from one minute to under a day; -1 for other lengths, which the user searches as days.
int hourPickerMinutes(double length);

// One press of a search button: steps from the last proposal (or afresh from "Suchen ab")
// forward or backward to the next slot that isSlotFree accepts, moving the view whenever a
// candidate leaves the filled range. Found: the view shows the slot and it becomes the
// proposal. Not found (backward before yesterday, forward beyond 1 January 2099) or aborted:
// the view returns to its first day and "Suchen ab" to its value. The two messages go through
// cToolbox::Message. The model's sucheAb carries the position to the next press.
FreeSlotResult searchFreeSlot(GanttModel &model, FreeSlotHost &host, const FreeSlotQuery &query,
                              bool forward);

} // namespace Dayplex

#endif
