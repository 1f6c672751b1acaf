#include "model/modelfields.h"

#include <QAbstractItemModel>

#include <optional>
#include <utility>
#include <vector>

namespace Dayplex {

namespace {

using FieldList = std::vector<std::pair<const char *, ModelField *>>;

FieldList fieldsOf(AppointmentRoles &r)
{
    return {{"key", &r.key}, {"subject", &r.subject}, {"start", &r.start}, {"end", &r.end},
            {"allDay", &r.allDay}, {"done", &r.done}, {"readOnly", &r.readOnly},
            {"participant", &r.participant}, {"seriesOccurrence", &r.seriesOccurrence},
            {"textColour", &r.textColour}, {"backgroundColour", &r.backgroundColour}};
}

FieldList fieldsOf(ParticipantRoles &r)
{
    return {{"key", &r.key}, {"name", &r.name}};
}

int roleNamed(const QAbstractItemModel &model, const QString &name)
{
    const QHash<int, QByteArray> names = model.roleNames();
    for (auto it = names.begin(); it != names.end(); ++it)
        if (QString::fromUtf8(it.value()) == name)
            return it.key();
    return -1;
}

// A ListModel's roles are named after the fields: it has a "key" or a "start" role.
bool namesTheFields(const QAbstractItemModel &model)
{
    return roleNamed(model, QStringLiteral("key")) >= 0 || roleNamed(model, QStringLiteral("start")) >= 0;
}

// The role of a value: a number as it is, a text as the model's role of that name.
std::optional<int> roleOf(const QAbstractItemModel &model, const QVariant &value)
{
    bool number = false;
    const int role = value.toInt(&number);
    if (number && value.typeId() != QMetaType::QString)
        return role;
    const int named = roleNamed(model, value.toString());
    return named < 0 ? std::nullopt : std::optional<int>(named);
}

std::optional<ModelField> placeOf(const QAbstractItemModel &model, const QVariant &value)
{
    if (value.typeId() == QMetaType::QString) {
        const std::optional<int> role = roleOf(model, value);
        return role ? std::optional<ModelField>(ModelField{0, *role}) : std::nullopt;
    }
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap place = value.toMap();
        bool number = false;
        const int column = place.value(QStringLiteral("column"), 0).toInt(&number);
        const QVariant roleValue = place.value(QStringLiteral("role"), int(Qt::EditRole));
        const std::optional<int> role = roleOf(model, roleValue);
        if (!number || !role)
            return std::nullopt;
        return ModelField{column, *role};
    }
    bool number = false;
    const int column = value.toInt(&number);
    return number ? std::optional<ModelField>(ModelField{column, Qt::EditRole}) : std::nullopt;
}

template<typename Roles>
Roles rolesFor(const QAbstractItemModel &model, const QVariantMap &fields, QStringList *problems)
{
    Roles roles;
    const FieldList list = fieldsOf(roles);
    // A model that names its roles after the fields keeps them in its one column.
    if (namesTheFields(model))
        for (const auto &[name, field] : list) {
            const int role = roleNamed(model, QString::fromLatin1(name));
            *field = role < 0 ? ModelField{-1, Qt::EditRole} : ModelField{0, role};
        }
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        ModelField *field = nullptr;
        for (const auto &[name, f] : list)
            if (it.key() == QLatin1String(name))
                field = f;
        if (!field) {
            problems->append(QStringLiteral("Das Feld \"%1\" gibt es nicht.").arg(it.key()));
            continue;
        }
        const std::optional<ModelField> place = placeOf(model, it.value());
        if (!place) {
            problems->append(QStringLiteral("Das Feld \"%1\" nennt keine Spalte und keine Rolle des "
                                            "Modells: %2.")
                                 .arg(it.key(), it.value().toString()));
            continue;
        }
        *field = *place;
    }
    return roles;
}

} // namespace

AppointmentRoles appointmentRolesFor(const QAbstractItemModel &model, const QVariantMap &fields,
                                     QStringList *problems)
{
    AppointmentRoles roles = rolesFor<AppointmentRoles>(model, fields, problems);
    // A QML ListModel flags no role editable, yet takes setData.
    roles.readOnlyByFlags = !namesTheFields(model);
    return roles;
}

ParticipantRoles participantRolesFor(const QAbstractItemModel &model, const QVariantMap &fields,
                                     QStringList *problems)
{
    return rolesFor<ParticipantRoles>(model, fields, problems);
}

} // namespace Dayplex
