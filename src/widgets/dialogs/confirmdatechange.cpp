#include "dialogs/ccommoncalendar.h"

#include "calendar/appointmentstore.h"
#include "shared/ctools.h"
#include "shared/changerequest.h"

#include <dayplex/error.h>

#include <QMetaObject>
#include <QObject>

#include <functional>

namespace Dayplex {

namespace {

// The automation error of a late-bound call of a member the object does not have.
constexpr int kMemberMissing = 438;

void repaintView(QObject *control)
{
    if (!QMetaObject::invokeMethod(control, "Repaint", Qt::DirectConnection))
        throw Error(kMemberMissing,
                    QStringLiteral("ConfirmDateChange: die Ansicht hat keine Methode Repaint."));
}

// The shown and confirmed times of an appointment.
struct Times
{
    double start;
    double end;
    double startOrig;
    double endOrig;
};

// Whether the view wants the classic question: an empty answer counts as "no confirmation
// wanted".
bool confirmWanted(QObject *control)
{
    const QVariant confirm = control->property("ConfirmChanges");
    return confirm.isValid() && !confirm.isNull() && confirm.toBool();
}

// The request the shared question reads.
ChangeRequest requestOf(const QString &text, const Times &times)
{
    ChangeRequest request;
    request.text = text;
    request.start = times.start;
    request.end = times.end;
    request.startOrig = times.startOrig;
    request.endOrig = times.endOrig;
    return request;
}

bool askClassic(const QString &text, const Times &times, QObject *control)
{
    if (!confirmWanted(control))
        return true;
    return cTools::Confirm(classicChangeQuestion(requestOf(text, times)), true);
}

// The confirmation of one change, asked by ask once the view shows the new place; store
// receives the times decided on before the view repaints them, and nothing when an error ends
// it.
bool decide(Times times, QObject *control, const std::function<bool(const Times &)> &ask,
            const std::function<void(const Times &)> &store)
{
    if (!requestOf(QString(), times).changed())
        return false;
    if (!control)
        throw Error(InvalidArgument, QStringLiteral("ConfirmDateChange: keine Ansicht angegeben."));

    repaintView(control);
    if (ask(times)) {
        times.startOrig = times.start;
        times.endOrig = times.end;
        store(times);
        return true;
    }
    times.start = times.startOrig;
    times.end = times.endOrig;
    store(times);
    repaintView(control);
    return false;
}

} // namespace

bool cCommonCalendar::ConfirmDateChange(TerminEintrag &entry, QObject *control)
{
    return ConfirmDateChange(entry.memo, entry.dateStart, entry.dateEnd, entry.dateStartOrig,
                             entry.dateEndOrig, control);
}

/*!
    Decides the fate of a moved or resized appointment. Nothing changed (within a millisecond,
    the noise raster steps leave): false, no repaint, no question. Otherwise the view repaints
    to show the new place; when its ConfirmChanges is on, the four-line question is asked
    through cTools::Confirm. Agreed (or not asked): the new times become the confirmed ones and
    the result is true. Refused: the confirmed times are put back, the view repaints again and
    the result is false. Errors of the view or of the question reach the caller with the
    record as it was when they occurred.
*/
bool cCommonCalendar::ConfirmDateChange(const QString &text, double &start, double &end,
                                        double &startOrig, double &endOrig, QObject *control)
{
    const auto ask = [&text, control](const Times &t) { return askClassic(text, t, control); };
    return decide({start, end, startOrig, endOrig}, control, ask, [&](const Times &t) {
        start = t.start;
        end = t.end;
        startOrig = t.startOrig;
        endOrig = t.endOrig;
    });
}

} // namespace Dayplex
