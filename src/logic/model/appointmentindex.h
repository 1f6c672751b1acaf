#ifndef DAYPLEX_APPOINTMENTINDEX_H
#define DAYPLEX_APPOINTMENTINDEX_H

#include <dayplex/dates.h>

#include <QVector>

#include <array>
#include <vector>

namespace Dayplex {

// The rows of an item model by the time they cover, so that a view's days are answered from
// the few rows near them instead of every row. Rows are kept sorted by start in classes of
// length (up to a day, a week, a month, a year, longer): a query looks back from its start only
// as far as the longest appointment of a class reaches, so one long appointment does not make
// every query read the whole model. Row numbers follow the model's inserts and removals.
class AppointmentIndex
{
public:
    // A closed stretch of time; a row whose start is not a date has none and is never found.
    struct Span
    {
        Date from = 0;
        Date to = -1;
        bool isValid() const { return to >= from; }
        bool overlaps(Date first, Date last) const { return isValid() && from <= last && to >= first; }
    };

    void reset(const QVector<Span> &spansByRow);
    int rowCount() const { return int(m_spans.size()); }
    Span span(int row) const { return m_spans.at(row); }
    void setSpan(int row, Span span);
    // Rows first .. first + spans.size() - 1 are new; the rows from first on move down.
    void insertRows(int first, const QVector<Span> &spans);
    // Rows first .. last are gone; the rows after them move up.
    void removeRows(int first, int last);
    // The rows whose span overlaps first .. last (both included), in row order.
    QVector<int> rowsIn(Date first, Date last) const;

private:
    struct Entry
    {
        Date from;
        int row;
        bool operator<(const Entry &other) const
        {
            return from < other.from || (from == other.from && row < other.row);
        }
    };
    static constexpr int kClasses = 5;
    static int lengthClass(Span span);
    void add(int row, Span span);
    void remove(int row, Span span);

    QVector<Span> m_spans;
    std::array<std::vector<Entry>, kClasses> m_byStart;
    // How far an appointment of a class reaches beyond its start at most; grows with the
    // longest one added, never shrinks before the next reset.
    std::array<Date, kClasses> m_reach{};
};

} // namespace Dayplex

#endif
