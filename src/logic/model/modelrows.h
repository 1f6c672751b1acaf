#ifndef DAYPLEX_MODELROWS_H
#define DAYPLEX_MODELROWS_H

#include "model/appointmentindex.h"

#include <dayplex/modelroles.h>

#include <QHash>
#include <QStringList>

#include <optional>

class QAbstractItemModel;

namespace Dayplex {

// One row of an appointment model as the classic record wants it.
struct ModelAppointment
{
    int row = -1;
    QString key;
    QString subject;
    Date start = 0;
    Date end = 0;
    bool allDay = false;
    bool done = false;
    bool readOnly = false;
    bool seriesOccurrence = false;
    QStringList participants;
    std::optional<qint32> textColour;
    std::optional<qint32> backgroundColour;
};

QVariant fieldValue(const QAbstractItemModel &model, int row, ModelField field);
// The time the row covers for the index: an all-day appointment through its last day.
AppointmentIndex::Span readSpan(const QAbstractItemModel &model, const AppointmentRoles &roles,
                                int row);
QVector<AppointmentIndex::Span> readSpans(const QAbstractItemModel &model,
                                          const AppointmentRoles &roles, int first, int last);
// Nothing for a row without a readable start.
std::optional<ModelAppointment> readAppointment(const QAbstractItemModel &model,
                                                const AppointmentRoles &roles, int row);
// The participants' names by their keys.
QHash<QString, QString> readParticipants(const QAbstractItemModel &model,
                                         const ParticipantRoles &roles, QStringList *keysInOrder);

} // namespace Dayplex

#endif
