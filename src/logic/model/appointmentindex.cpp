#include "model/appointmentindex.h"

#include <algorithm>

namespace Dayplex {

namespace {

// Upper lengths of the classes in days; the last class takes everything longer.
constexpr std::array<Date, 4> kClassLimits{1, 7, 31, 366};

} // namespace

int AppointmentIndex::lengthClass(Span span)
{
    const Date length = span.to - span.from;
    const auto limit = std::lower_bound(kClassLimits.begin(), kClassLimits.end(), length);
    return int(limit - kClassLimits.begin());
}

void AppointmentIndex::reset(const QVector<Span> &spansByRow)
{
    m_spans = spansByRow;
    for (auto &entries : m_byStart)
        entries.clear();
    m_reach.fill(0);
    for (int row = 0; row < m_spans.size(); ++row) {
        const Span span = m_spans.at(row);
        if (!span.isValid())
            continue;
        const int c = lengthClass(span);
        m_byStart[c].push_back({span.from, row});
        m_reach[c] = std::max(m_reach[c], span.to - span.from);
    }
    for (auto &entries : m_byStart)
        std::sort(entries.begin(), entries.end());
}

void AppointmentIndex::add(int row, Span span)
{
    if (!span.isValid())
        return;
    const int c = lengthClass(span);
    auto &entries = m_byStart[c];
    const Entry entry{span.from, row};
    entries.insert(std::lower_bound(entries.begin(), entries.end(), entry), entry);
    m_reach[c] = std::max(m_reach[c], span.to - span.from);
}

void AppointmentIndex::remove(int row, Span span)
{
    if (!span.isValid())
        return;
    auto &entries = m_byStart[lengthClass(span)];
    const auto at = std::lower_bound(entries.begin(), entries.end(), Entry{span.from, row});
    if (at != entries.end() && at->row == row)
        entries.erase(at);
}

void AppointmentIndex::setSpan(int row, Span span)
{
    remove(row, m_spans.at(row));
    m_spans[row] = span;
    add(row, span);
}

void AppointmentIndex::insertRows(int first, const QVector<Span> &spans)
{
    const int count = int(spans.size());
    for (auto &entries : m_byStart)
        for (Entry &entry : entries)
            if (entry.row >= first)
                entry.row += count;
    m_spans.insert(first, count, Span{});
    for (int i = 0; i < count; ++i) {
        m_spans[first + i] = spans.at(i);
        add(first + i, spans.at(i));
    }
}

void AppointmentIndex::removeRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        remove(row, m_spans.at(row));
    const int count = last - first + 1;
    for (auto &entries : m_byStart)
        for (Entry &entry : entries)
            if (entry.row > last)
                entry.row -= count;
    m_spans.remove(first, count);
}

QVector<int> AppointmentIndex::rowsIn(Date first, Date last) const
{
    QVector<int> rows;
    for (int c = 0; c < kClasses; ++c) {
        const auto &entries = m_byStart[c];
        auto at = std::lower_bound(entries.begin(), entries.end(), Entry{first - m_reach[c], -1});
        for (; at != entries.end() && at->from <= last; ++at)
            if (m_spans.at(at->row).to >= first)
                rows.append(at->row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace Dayplex
