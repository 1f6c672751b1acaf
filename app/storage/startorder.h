// A range read's appointments in the order of their start, then their id, handed on as the
// rows come: each is moved once, into its place, and the earlier ones are out (a view fills
// with them) while the server still sends the later ones.
#ifndef TERMINPLANER_STARTORDER_H
#define TERMINPLANER_STARTORDER_H

#include "database.h"

#include <functional>
#include <vector>

namespace Terminplaner {

class StartOrder
{
public:
    using Take = std::function<void(Appointment &&)>;

    // The single rows come in parts whose ranges of start ascend and do not overlap, each
    // part's rows in any order; partStarts are where the parts after the first begin,
    // ascending (none: one part). The occurrences of series are known before, in any order.
    StartOrder(QVector<Appointment> occurrences, std::vector<Dayplex::Date> partStarts, Take take);

    void add(Appointment &&single);
    // Hands on what is held.
    void finish();

private:
    struct Key
    {
        Dayplex::Date start;
        qint64 id;
        qsizetype index;
        bool operator<(const Key &other) const
        {
            return start != other.start ? start < other.start : id < other.id;
        }
    };

    // Hands on the single rows held and the occurrences that start before limit, merged.
    void handOnBefore(Dayplex::Date limit);

    QVector<Appointment> m_occurrences;
    std::vector<Key> m_occurrenceOrder;
    size_t m_nextOccurrence = 0;
    std::vector<Dayplex::Date> m_partStarts;
    size_t m_nextPart = 0;
    QVector<Appointment> m_held;
    std::vector<Key> m_heldOrder;
    Take m_take;
};

} // namespace Terminplaner

#endif
