#ifndef DAYPLEX_MODELROLES_H
#define DAYPLEX_MODELROLES_H

/// \file modelroles.h
/// Where the fields of appointments and participants are found in an item model; used by the
/// widgets' ModelBinding and by the Qt Quick items alike.

#include <QtCore/qnamespace.h>

namespace Dayplex {

/// Where a field of an appointment or participant is found in a model: a column of the top-level
/// rows and a role. A negative column means the model has no such field.
struct ModelField
{
    /// The column of the field in every top-level row; negative when the model lacks the field.
    int column = -1;
    /// The role the field is read and written with.
    int role = Qt::EditRole;
};

/// Where each field of an appointment is in the appointment model, one row per appointment.
/// The defaults are one column per field in this order, read with Qt::EditRole, and the colours
/// as the foreground and background of the subject's item; a model with fewer columns simply
/// lacks the later fields, which then take the value named below.
struct AppointmentRoles
{
    /// The appointment's key text (the classic dsn); text or number.
    ModelField key{0};
    /// The text shown in the box or bar.
    ModelField subject{1};
    /// Start and end: QDateTime, QDate, ISO 8601 text or automation date. A row without a
    /// readable start is not shown; an end before the start ends at the start.
    ModelField start{2};
    /// See start.
    ModelField end{3};
    /// An all-day appointment, from 00:00 of its first day to 00:00 of its last; false if absent.
    ModelField allDay{4};
    /// Done: struck through when the layout asks for it; false if absent.
    ModelField done{5};
    /// May not be moved or resized; false if absent. A start the model does not let edit
    /// (no Qt::ItemIsEditable) makes the appointment read-only as well.
    ModelField readOnly{6};
    /// The key of the participant row of the resource view, or several keys (a QStringList or
    /// a text joined with "|"): a meeting, shown as a bar in each of its participants' rows
    /// and named with their names in tooltips and screen readers.
    ModelField participant{7};
    /// True for an occurrence of a recurring series (see series.h); false if absent.
    ModelField seriesOccurrence{8};
    /// Text and background colour: QColor, QBrush, a colour name or 0xRRGGBB. Without one the
    /// view's own colours of an appointment apply.
    ModelField textColour{1, Qt::ForegroundRole};
    /// See textColour.
    ModelField backgroundColour{1, Qt::BackgroundRole};
    /// Whether a start the model does not flag Qt::ItemIsEditable makes the appointment
    /// read-only. Off for a model that takes setData without saying so (a QML ListModel);
    /// the readOnly field still applies.
    bool readOnlyByFlags = true;
};

/// Where the key and the name of a participant are in the participant model, one row each.
struct ParticipantRoles
{
    /// The key of the row, which appointments name in their participant field.
    ModelField key{0};
    /// The name shown in the row; the key when empty.
    ModelField name{1};
};

} // namespace Dayplex

#endif
