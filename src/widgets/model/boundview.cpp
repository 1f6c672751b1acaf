#include "model/boundview.h"

#include "shared/logging.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QPointer>

namespace Dayplex {

namespace {

template<typename View>
class ViewOf : public FeedTarget
{
public:
    explicit ViewOf(View *view) : m_view(view) {}
    void enable() override { m_view->Enabled = true; }
    void refresh() override
    {
        if (m_view)
            m_view->Refresh();
    }

    // A reload keeps the selected appointment selected, as long as it is still shown.
    void fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
              const ModelParticipants &participants, bool participantModel) final
    {
        const QString selected = m_view->SelectedDate();
        m_view->SetFilledRange(first, last);
        deliver(appointments, participants, participantModel);
        if (!selected.isEmpty())
            m_view->setSelectedDate(selected);
    }

protected:
    virtual void deliver(const QVector<ModelAppointment> &appointments,
                         const ModelParticipants &participants, bool participantModel) = 0;

    QPointer<View> m_view;
};

class AgendaView : public ViewOf<ucAgenda>
{
public:
    using ViewOf::ViewOf;
    void deliver(const QVector<ModelAppointment> &appointments,
                 const ModelParticipants &participants, bool) override
    {
        for (const ModelAppointment &a : appointments) {
            try {
                m_view->AddDate(a.key, a.subject, a.start, a.end, a.allDay, textColourOf(a), a.done,
                                backgroundColourOf(a), a.readOnly);
                tellDetails(*m_view, a, participants);
            } catch (...) {
                warnCaught(lcModel(), QStringLiteral("row %1 of the model").arg(a.row));
            }
        }
    }
};

class GanttView : public ViewOf<ctlGantt>
{
public:
    using ViewOf::ViewOf;
    void deliver(const QVector<ModelAppointment> &appointments,
                 const ModelParticipants &participants, bool participantModel) override
    {
        for (const QString &key : participantRows(appointments, participants, participantModel))
            m_view->AddMerkmal(participants.nameOf(key), key);
        for (const ModelAppointment &a : appointments) {
            try {
                // A meeting is a bar in each of its participants' rows.
                for (const QString &row : a.participants)
                    m_view->AddDate(a.key, a.subject, a.start, a.end, a.allDay, textColourOf(a),
                                    a.done, backgroundColourOf(a), a.readOnly, row, false);
                tellDetails(*m_view, a, participants);
            } catch (...) {
                warnCaught(lcModel(), QStringLiteral("row %1 of the model").arg(a.row));
            }
        }
    }
};

} // namespace

std::unique_ptr<FeedTarget> boundView(ucAgenda *view)
{
    return std::make_unique<AgendaView>(view);
}

std::unique_ptr<FeedTarget> boundView(ctlGantt *view)
{
    return std::make_unique<GanttView>(view);
}

} // namespace Dayplex
