#ifndef DAYPLEX_QUICKFEED_H
#define DAYPLEX_QUICKFEED_H

#include "model/modelfeed.h"

namespace Dayplex {

class AgendaItem;

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

} // namespace Dayplex

#endif
