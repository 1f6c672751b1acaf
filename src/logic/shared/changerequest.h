#ifndef DAYPLEX_CHANGEREQUEST_H
#define DAYPLEX_CHANGEREQUEST_H

// The question a moved or resized appointment calls for, as a request a front end answers
// when it can (a Qt Quick front end cannot block on a window), and the host events both
// views' cores raise.
#include "shared/serieschange.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace Dayplex {

// Yes or no for the classic question; the scope (nothing for "Abbrechen") for a series.
struct ChangeAnswer
{
    bool accepted = false;
    std::optional<SeriesScope> scope;
};

struct ChangeRequest
{
    qint32 index = 0;        // the record asked about, in the view's store or model
    QVector<qint32> moved;   // every record the change moved (the resource view's bars of a key)
    quint64 generation = 0;  // the store's filling it belongs to
    QString text;            // the appointment's text, for the question
    ChangeQuestion question = ChangeQuestion::Classic;
    bool confirm = false;    // the classic question is asked (ConfirmChanges); else it stands
    Date start = 0;          // the new times
    Date end = 0;
    Date startOrig = 0;      // the confirmed times it came from
    Date endOrig = 0;

    // Whether the times differ from the confirmed ones by more than the raster's noise; a
    // request without a change is answered "no" without a question.
    bool changed() const;
    bool stands(const ChangeAnswer &answer) const;
};

// The classic four-line question "Soll der Eintrag ... verändert werden".
QString classicChangeQuestion(const ChangeRequest &request);

// The events of the host protocol a view's core raises; its front end forwards them. Each
// may throw; the core is consistent when one does.
struct ViewEvents
{
    // The shown days left the filled range: the host answers with SetFilledRange and
    // AddDate (strAusgabefelder as the fields). Not asked again from inside the handler.
    std::function<void(Date first, Date last, const QString &fields)> needDates;
    // A moved or resized appointment whose change stands; the series form with its scope.
    std::function<void(const QString &dsn, Date start, Date end)> dateChanged;
    std::function<void(const QString &dsn, SeriesScope scope, Date start, Date end)> seriesDateChanged;
};

// dateChanged, or seriesDateChanged with the answer's scope, with copies of the values.
void raiseChanged(const ViewEvents &events, const ChangeRequest &request,
                  const ChangeAnswer &answer, QString dsn, Date start, Date end);

} // namespace Dayplex

#endif
