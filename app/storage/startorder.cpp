#include "startorder.h"

#include <algorithm>
#include <limits>

namespace Terminplaner {

StartOrder::StartOrder(QVector<Appointment> occurrences, std::vector<Dayplex::Date> partStarts, Take take)
    : m_occurrences(std::move(occurrences)), m_partStarts(std::move(partStarts)), m_take(std::move(take))
{
    m_occurrenceOrder.reserve(size_t(m_occurrences.size()));
    for (qsizetype i = 0; i < m_occurrences.size(); ++i)
        m_occurrenceOrder.push_back({m_occurrences.at(i).start, m_occurrences.at(i).id, i});
    std::sort(m_occurrenceOrder.begin(), m_occurrenceOrder.end());
}

void StartOrder::add(Appointment &&single)
{
    const size_t part = m_nextPart;
    while (m_nextPart < m_partStarts.size() && single.start >= m_partStarts[m_nextPart])
        ++m_nextPart;
    // A later part has begun: nothing still to come starts before it.
    if (m_nextPart != part)
        handOnBefore(m_partStarts[m_nextPart - 1]);
    m_held.append(std::move(single));
}

void StartOrder::finish()
{
    handOnBefore(std::numeric_limits<Dayplex::Date>::infinity());
}

void StartOrder::handOnBefore(Dayplex::Date limit)
{
    m_heldOrder.clear();
    for (qsizetype i = 0; i < m_held.size(); ++i)
        m_heldOrder.push_back({m_held.at(i).start, m_held.at(i).id, i});
    std::sort(m_heldOrder.begin(), m_heldOrder.end());
    const auto occurrencesBefore = [this](const auto &goesOn) {
        for (; m_nextOccurrence < m_occurrenceOrder.size() && goesOn(m_occurrenceOrder[m_nextOccurrence]);
             ++m_nextOccurrence)
            m_take(std::move(m_occurrences[m_occurrenceOrder[m_nextOccurrence].index]));
    };
    for (const Key &single : m_heldOrder) {
        occurrencesBefore([&single](const Key &occurrence) { return occurrence < single; });
        m_take(std::move(m_held[single.index]));
    }
    occurrencesBefore([limit](const Key &occurrence) { return occurrence.start < limit; });
    m_held.clear();
}

} // namespace Terminplaner
