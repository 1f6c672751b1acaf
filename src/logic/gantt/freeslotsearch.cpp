#include "gantt/freeslotsearch.h"

#include <QStringList>

#include "shared/toolbox.h"
#include "shared/logging.h"
#include "shared/rasterminutes.h"
#include "shared/uitext.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// Fitting a candidate settles within three rounds; more means the window cannot hold it.
constexpr int kMaxFitRounds = 8;

const Date kLastSearchDay = toDate(QDate(2099, 1, 1));

// Candidates are sums of raster steps; whole milliseconds keep them on the raster.
Date norm(Date value)
{
    return cToolbox::NormalizeDate(value);
}

// Why a slot is refused: a day off among its days, or an appointment of the first checked row
// that blocks it (its start and end).
struct Refusal
{
    bool free = false;
    bool dayOff = false;
    Date von = 0, bis = 0;
};

Refusal refusal(const GanttModel &model, Date start, Date end, bool weekends)
{
    Refusal r;
    if (!isValidDate(start) || !isValidDate(end))
        return r;
    if (!weekends) {
        // Whole days, so that a day-mode candidate of any length costs at most a week.
        const Date last = cToolbox::DateOnly(end);
        for (Date d = cToolbox::DateOnly(start); d <= last; d += 1) {
            if (cToolbox::IsDayOff(d)) {
                r.dayOff = true;
                return r;
            }
        }
    }
    for (qint32 i = 1; i <= model.rowCount(); ++i) {
        const MerkmalEintrag &row = model.row(i);
        const bool checked = row.blnMarkiert || (!weekends && row.dsn == GanttModel::holidayRowDsn());
        if (checked && !model.isRowFree(row.dsn, start, end, &r.von, &r.bis))
            return r;
    }
    r.free = true;
    return r;
}

struct Candidate
{
    Date start = 0;
    Date end = 0;
};

class Search
{
public:
    Search(GanttModel &model, FreeSlotHost &host, const FreeSlotQuery &query, bool forward)
        : model(model)
        , host(host)
        , q(query)
        , forward(forward)
    {
        const double n = std::nearbyint(query.days);
        days = std::isfinite(n) && n > 0 ? n : 0;
        length = timeOf(query.length);
        from = timeOf(query.windowFrom);
        to = timeOf(query.windowTo);
        const double minutes = usableRasterMinutes(query.rasterMinutes);
        step = (days > 0 ? days : minutes * kOneMinute) * (forward ? 1 : -1);
    }

    FreeSlotResult run();

private:
    static Date timeOf(Date value) { return std::isfinite(value) ? cToolbox::TimeOnly(value) : 0; }
    bool fit(Candidate &c) const;
    qint64 candidateBound(Date first, Date earliest) const;
    Date skipRefused(Date position, const Refusal &why) const;

    GanttModel &model;
    FreeSlotHost &host;
    const FreeSlotQuery &q;
    const bool forward;
    double days = 0;
    Date length = 0, from = 0, to = 0, step = 0;
};

// Day mode: whole days from the candidate's day. Hour mode: into the daily window, going to
// the next day's window start (forward) or the day before's latest start (backward).
bool Search::fit(Candidate &c) const
{
    if (days > 0) {
        c.start = cToolbox::DateOnly(c.start);
        c.end = c.start + days - 1;
        return true;
    }
    for (int round = 0; round < kMaxFitRounds; ++round) {
        if (cToolbox::DateCompare(cToolbox::TimeOnly(c.start), QStringLiteral("<"), from)) {
            c.start = forward ? norm(cToolbox::DateOnly(c.start) + from)
                              : norm(cToolbox::DateOnly(c.start) - 1 + to - length);
        }
        c.end = norm(c.start + length);
        if (!cToolbox::DateCompare(cToolbox::TimeOnly(c.end), QStringLiteral(">"), to))
            return true;
        c.start = cToolbox::DateOnly(c.start) + 1;
    }
    return false;
}

// Hour mode: the later candidates of the same day that are refused for the same reason (the
// day is off, or each still overlaps the blocking appointment) are passed in one step. They
// stay within the window and the day, where no fit would move them, so the search examines
// the same slots as step by step, but crosses a row busy for years in a few steps a day.
// Returns the last candidate passed over, or position when there is none.
Date Search::skipRefused(Date position, const Refusal &why) const
{
    if (days > 0 || !(length > 0))
        return position;
    const Date day = cToolbox::DateOnly(position);
    // A second of margin keeps every passed candidate clear of the rules' tolerance.
    if (!(position >= day + from + kOneSecond) || !(position + length <= day + to - kOneSecond))
        return position;
    Date limit;
    if (forward) {
        limit = day + to - length - kOneSecond;
        if (!why.dayOff)
            limit = std::min(limit, why.bis - kOneSecond);
    } else {
        limit = day + from + kOneSecond;
        if (!why.dayOff)
            limit = std::max(limit, why.von - length + kOneSecond);
    }
    const double steps = std::floor(std::fabs(limit - position) / std::fabs(step));
    if (!(forward ? limit > position : limit < position) || !(steps >= 1))
        return position;
    return norm(position + std::min(steps, 1e6) * step);
}

// The most candidates a search from first can examine before it reaches its limit (yesterday
// going backward, 1 January 2099 going forward): every raster step (every block of days) of
// the days in between once, and once more after a fit that went on to the next day, plus a
// few for the days at the ends.
qint64 Search::candidateBound(Date first, Date earliest) const
{
    const Date span = forward ? kLastSearchDay - first : std::min(first, kLastSearchDay) - earliest;
    const double days = std::max(span, 0.0) + 2;
    const double perDay = 1 / std::fabs(step) + 1;
    return qint64(std::ceil(days * perDay * 2)) + 8;
}

FreeSlotResult Search::run()
{
    FreeSlotResult result;
    result.searchFrom = q.searchFrom;
    if (days == 0 && cToolbox::DateCompare(length, QStringLiteral(">"), to - from)) {
        result.message = freeSlotTooLongText();
        result.outcome = FreeSlotOutcome::LongerThanWindow;
        return result;
    }
    const Date rememberedFirstDay = host.displayedFirstDay();
    host.setBusy(true);
    const auto busy = qScopeGuard([this] { host.setBusy(false); });

    model.vorschlagVon = 0;
    bool fresh = false;
    if (model.sucheAb == 0) {
        model.sucheAb = cToolbox::DateOnly(q.searchFrom);
        fresh = true;
    }
    // Backward, yesterday is the earliest day examined.
    const Date earliest = currentDate() - 1;
    const qint64 maxCandidates = candidateBound(model.sucheAb, earliest);
    Candidate c{model.sucheAb, model.sucheAb};
    // Where the next step starts: the last candidate examined, as fitted.
    Date position = model.sucheAb;
    Date lastMidnightExamined = qQNaN();
    // The last press proposed that midnight: it counts as examined.
    if (q.pastLastProposal && !fresh && position == cToolbox::DateOnly(position))
        lastMidnightExamined = position;
    // The keys of the rows the user marked, marked again in the rows each delivery brings.
    QStringList marked;
    for (qint32 r = 1; q.keepMarkedRows && r <= model.rowCount(); ++r) {
        if (model.row(r).blnMarkiert && model.row(r).dsn != GanttModel::holidayRowDsn())
            marked << model.row(r).dsn;
    }
    const auto markRows = [this, &marked] {
        if (marked.isEmpty()) {
            markAllRows(model);
            return;
        }
        for (qint32 r = 1; r <= model.rowCount(); ++r) {
            MerkmalEintrag &row = model.row(r);
            if (row.dsn != GanttModel::holidayRowDsn())
                row.blnMarkiert = marked.contains(row.dsn);
        }
    };
    Date askedFirst = qQNaN(), askedLast = qQNaN();
    FreeSlotOutcome outcome = FreeSlotOutcome::NotFound;
    for (;;) {
        if (++result.candidates > maxCandidates) {
            qCWarning(lcSearch, "free-slot search stopped after %lld candidates short of its limits",
                     static_cast<long long>(maxCandidates));
            break;
        }
        if (!fresh)
            position = norm(position + step);
        fresh = false;
        c.start = position;
        // A candidate that cannot be fitted or leaves the calendar ends the search as a limit.
        if (!isValidDate(c.start) || !fit(c) || !isValidDate(c.start) || !isValidDate(c.end))
            break;
        // Backward with a window from midnight, a candidate that ends after the window is pushed
        // on to the next midnight, which the steps reach again and again. That midnight was
        // examined already: the candidate counts as examined, and the steps go on from where
        // they were, so that the search passes the day instead of circling in it.
        if (!forward && c.start > position && c.start == lastMidnightExamined)
            continue;
        position = c.start;
        if (c.start == cToolbox::DateOnly(c.start))
            lastMidnightExamined = c.start;
        // Once per displayed range, also from a host that does not record what it delivered:
        // it would be asked again for every candidate.
        const Date startDay = cToolbox::DateOnly(c.start), endDay = cToolbox::DateOnly(c.end);
        if ((endDay > model.filledEnd || startDay < model.filledStart)
            && !(startDay >= askedFirst && endDay <= askedLast)) {
            host.showRange(c.start, 0);
            markRows();
            askedFirst = host.displayedFirstDay();
            askedLast = host.displayedLastDay();
        }
        result.searchFrom = c.start;
        if ((!forward && c.start < earliest) || c.start > kLastSearchDay)
            break;
        const Refusal why = refusal(model, c.start, c.end, q.weekends);
        if (why.free) {
            outcome = FreeSlotOutcome::Found;
            break;
        }
        position = skipRefused(position, why);
        if (host.abortRequested()) {
            outcome = FreeSlotOutcome::Aborted;
            break;
        }
    }

    if (outcome == FreeSlotOutcome::Found) {
        host.showRange(c.start, 0);
        if (!GanttModel::isIntervallSichtbar(host.displayedFirstDay(), host.displayedLastDay(),
                                             c.start, c.end))
            host.showRange(cToolbox::DateOnly(c.start) - 1, cToolbox::DateOnly(c.end) + 1);
        markRows();
        // After the range moves: a delivery clears the proposal.
        model.vorschlagVon = c.start;
        model.vorschlagBis = c.end;
    } else {
        if (outcome == FreeSlotOutcome::NotFound)
            result.message = freeSlotNotFoundText();
        host.showRange(rememberedFirstDay, 0);
        result.searchFrom = q.searchFrom;
    }
    model.sucheAb = c.start;
    result.outcome = outcome;
    result.start = c.start;
    result.end = c.end;
    return result;
}

} // namespace

QString freeSlotTooLongText()
{
    return uiText("Dayplex::ctlGantt", "Der gesuchte Termin ist länger als der Suchbereich.");
}

QString freeSlotNotFoundText()
{
    return uiText("Dayplex::ctlGantt", "Leider kann kein passender Terminvorschlag gefunden werden.");
}

QString freeSlotTitle()
{
    return uiText("Dayplex::ctlGantt", "Freie Termine Suchen");
}

bool isSlotFree(const GanttModel &model, Date start, Date end, bool weekends)
{
    return refusal(model, start, end, weekends).free;
}

void markAllRows(GanttModel &model)
{
    for (qint32 r = 1; r <= model.rowCount(); ++r) {
        MerkmalEintrag &row = model.row(r);
        if (row.dsn != GanttModel::holidayRowDsn())
            row.blnMarkiert = true;
    }
}

void markRowsByKey(GanttModel &model, const QStringList &keys)
{
    bool any = false;
    for (qint32 r = 1; r <= model.rowCount(); ++r)
        any |= keys.contains(model.row(r).dsn);
    for (qint32 r = 1; any && r <= model.rowCount(); ++r) {
        MerkmalEintrag &row = model.row(r);
        if (row.dsn != GanttModel::holidayRowDsn())
            row.blnMarkiert = keys.contains(row.dsn);
    }
}

int hourPickerMinutes(double length)
{
    const double minutes = length * 1440.0;
    if (!(minutes >= 1.0 && length < 1.0))
        return -1;
    // Rounded up to a whole day the picker would wrap round to 00:00.
    return std::min(1439, int(std::nearbyint(minutes)));
}

QString markedRowList(const GanttModel &model)
{
    QString list;
    for (qint32 r = 1; r <= model.rowCount(); ++r) {
        if (model.row(r).blnMarkiert)
            list += model.row(r).dsn + QLatin1Char('|');
    }
    cToolbox::TrimTrailingDelimiter(list, QStringLiteral("|"));
    return list;
}

FreeSlotResult searchFreeSlot(GanttModel &model, FreeSlotHost &host, const FreeSlotQuery &query,
                              bool forward)
{
    return Search(model, host, query, forward).run();
}

} // namespace Dayplex
