#include "model/modelrows.h"

#include "model/modelvalues.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace Dayplex {

QVariant fieldValue(const QAbstractItemModel &model, int row, ModelField field)
{
    if (field.column < 0 || field.column >= model.columnCount())
        return {};
    return model.data(model.index(row, field.column), field.role);
}

AppointmentIndex::Span readSpan(const QAbstractItemModel &model, const AppointmentRoles &roles,
                                int row)
{
    const std::optional<Date> start = dateFromModel(fieldValue(model, row, roles.start));
    if (!start)
        return {};
    const Date end = std::max(*start, dateFromModel(fieldValue(model, row, roles.end)).value_or(*start));
    const bool allDay = fieldValue(model, row, roles.allDay).toBool();
    return {*start, allDay ? end + 1 : end};
}

QVector<AppointmentIndex::Span> readSpans(const QAbstractItemModel &model,
                                          const AppointmentRoles &roles, int first, int last)
{
    QVector<AppointmentIndex::Span> spans;
    spans.reserve(last - first + 1);
    for (int row = first; row <= last; ++row)
        spans.append(readSpan(model, roles, row));
    return spans;
}

std::optional<ModelAppointment> readAppointment(const QAbstractItemModel &model,
                                                const AppointmentRoles &roles, int row)
{
    const std::optional<Date> start = dateFromModel(fieldValue(model, row, roles.start));
    if (!start)
        return std::nullopt;
    ModelAppointment a;
    a.row = row;
    a.key = fieldValue(model, row, roles.key).toString();
    a.subject = fieldValue(model, row, roles.subject).toString();
    a.start = *start;
    // An end before the start ends at the start, as the index takes it.
    a.end = std::max(*start, dateFromModel(fieldValue(model, row, roles.end)).value_or(*start));
    a.allDay = fieldValue(model, row, roles.allDay).toBool();
    a.done = fieldValue(model, row, roles.done).toBool();
    const bool editable = roles.start.column < 0 || !roles.readOnlyByFlags
        || model.flags(model.index(row, roles.start.column)).testFlag(Qt::ItemIsEditable);
    a.readOnly = !editable || fieldValue(model, row, roles.readOnly).toBool();
    a.seriesOccurrence = fieldValue(model, row, roles.seriesOccurrence).toBool();
    a.participants = keysFromModel(fieldValue(model, row, roles.participant));
    a.textColour = colourFromModel(fieldValue(model, row, roles.textColour));
    a.backgroundColour = colourFromModel(fieldValue(model, row, roles.backgroundColour));
    return a;
}

QHash<QString, QString> readParticipants(const QAbstractItemModel &model,
                                         const ParticipantRoles &roles, QStringList *keysInOrder)
{
    QHash<QString, QString> names;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString key = fieldValue(model, row, roles.key).toString();
        if (key.isEmpty() || names.contains(key))
            continue;
        const QString name = fieldValue(model, row, roles.name).toString();
        names.insert(key, name.isEmpty() ? key : name);
        keysInOrder->append(key);
    }
    return names;
}

} // namespace Dayplex
