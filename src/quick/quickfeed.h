#ifndef DAYPLEX_QUICKFEED_H
#define DAYPLEX_QUICKFEED_H

#include "model/modelfeed.h"

namespace Dayplex {

class AgendaItem;
class ResourceViewItem;

// The model's answer delivered into the calendar item's core, as the host's calls would.
class AgendaFeed : public FeedTarget
{
public:
    explicit AgendaFeed(AgendaItem *item) : m_item(item) {}
    void enable() override;
    void refresh() override;
    void fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
              const ModelParticipants &participants, bool participantModel) override;

private:
    AgendaItem *const m_item;
};

// The model's answer delivered into the resource view item's core: the rows of the participant
// model, or else of the shown appointments' participants, and a bar in each participant's row.
class GanttFeed : public FeedTarget
{
public:
    explicit GanttFeed(ResourceViewItem *item) : m_item(item) {}
    void enable() override;
    void refresh() override;
    void fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
              const ModelParticipants &participants, bool participantModel) override;

private:
    ResourceViewItem *const m_item;
};

} // namespace Dayplex

#endif
