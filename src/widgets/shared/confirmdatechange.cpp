#include "dialogs/ccommoncalendar.h"

#include "calendar/appointmentstore.h"
#include "shared/ctools.h"
#include "shared/germanformat.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QMetaObject>
#include <QObject>

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

QString generalDate(double value)
{
    return formatGermanDate(value, QStringLiteral("General Date"));
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
    if (cTools::DateCompare(start, QStringLiteral("="), startOrig)
        && cTools::DateCompare(end, QStringLiteral("="), endOrig))
        return false;
    if (!control)
        throw Error(InvalidArgument, QStringLiteral("ConfirmDateChange: keine Ansicht angegeben."));

    repaintView(control);
    bool accepted = true;
    // An empty answer counts as "no confirmation wanted".
    const QVariant confirm = control->property("ConfirmChanges");
    if (confirm.isValid() && !confirm.isNull() && confirm.toBool()) {
        // One pass over the placeholders: a "%2" in the appointment's text stays as it is.
        const QString question = uiText("Dayplex::cCommonCalendar",
                                        "Soll der Eintrag '%1'\r\n von %2 - %3\r\n"
                                        " auf %4 - %5\r\nverändert werden")
                                     .arg(text, generalDate(startOrig), generalDate(endOrig),
                                          generalDate(start), generalDate(end));
        accepted = cTools::Confirm(question, true);
    }
    if (accepted) {
        startOrig = start;
        endOrig = end;
        return true;
    }
    start = startOrig;
    end = endOrig;
    repaintView(control);
    return false;
}

} // namespace Dayplex
