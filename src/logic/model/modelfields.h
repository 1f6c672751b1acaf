#ifndef DAYPLEX_MODELFIELDS_H
#define DAYPLEX_MODELFIELDS_H

#include <dayplex/modelroles.h>

#include <QStringList>
#include <QVariantMap>

class QAbstractItemModel;

namespace Dayplex {

// Where a QML host says the fields are, read into the roles of the model binding. A model
// whose roles name the fields ("key", "subject", "start" ...: a ListModel) is read by those
// roles in its one column; any other by the columns of AppointmentRoles. An entry of `fields`
// names a field's place: a role name, a column number, or {"column": n, "role": name or number}.
// What cannot be read is named in `problems` (German) and leaves that field as it was.
AppointmentRoles appointmentRolesFor(const QAbstractItemModel &model, const QVariantMap &fields,
                                     QStringList *problems);
ParticipantRoles participantRolesFor(const QAbstractItemModel &model, const QVariantMap &fields,
                                     QStringList *problems);

} // namespace Dayplex

#endif
