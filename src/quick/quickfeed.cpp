#include "quickfeed.h"

#include "agendaitem.h"
#include "resourceviewitem.h"
#include "shared/logging.h"

namespace Dayplex {

void AgendaFeed::enable()
{
    m_item->setProperty("needDatesEnabled", true);
}

void AgendaFeed::refresh()
{
    m_item->refresh();
}

void AgendaFeed::fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
                      const ModelParticipants &participants, bool)
{
    AgendaCore &core = m_item->m_core;
    // A reload keeps the selected appointment selected, as long as it is still shown.
    const QString selected = core.selectedKey();
    core.setFilledRange(first, last);
    core.data.store.reserve(core.data.store.count() + qint32(appointments.size()));
    for (const ModelAppointment &a : appointments) {
        try {
            core.data.store.add(a.key, a.subject, a.start, a.end, a.allDay, textColourOf(a), a.done,
                                backgroundColourOf(a), a.readOnly, false);
            tellDetails(core, a, participants);
        } catch (...) {
            warnCaught(lcModel(), QStringLiteral("row %1 of the model").arg(a.row));
        }
    }
    if (!selected.isEmpty())
        core.selectKey(selected);
}

void GanttFeed::enable()
{
    m_item->setProperty("needDatesEnabled", true);
}

void GanttFeed::refresh()
{
    m_item->refresh();
}

void GanttFeed::fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
                     const ModelParticipants &participants, bool participantModel)
{
    GanttCore &core = m_item->m_core;
    const QString selected = core.model.selectedDate;
    core.setFilledRange(first, last);
    for (const QString &key : participantRows(appointments, participants, participantModel))
        core.model.addMerkmal(participants.nameOf(key), key);
    for (const ModelAppointment &a : appointments) {
        try {
            // A meeting is a bar in each of its participants' rows.
            for (const QString &row : a.participants)
                core.model.addDate(a.key, a.subject, a.start, a.end, a.allDay, textColourOf(a),
                                   a.done, backgroundColourOf(a), a.readOnly, row, false, false);
            tellDetails(core, a, participants);
        } catch (...) {
            warnCaught(lcModel(), QStringLiteral("row %1 of the model").arg(a.row));
        }
    }
    if (!selected.isEmpty())
        core.model.selectedDate = selected;
}

} // namespace Dayplex
