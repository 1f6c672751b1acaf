#ifndef DAYPLEX_CELLMATRIX_H
#define DAYPLEX_CELLMATRIX_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"

#include <QRect>
#include <QString>
#include <QVector>

#include <vector>

namespace Dayplex {

class cContainer;
struct AppointmentLayout;

// The background colour and the occupancy of every cell: day column c (from 0) by time row r
// (from 0). Sub-columns k count from 1; a cell's marks read like the text "** *": character k
// is '*' when sub-column k is taken. Members given a cell outside the matrix throw
// Dayplex::Error (index out of range) and change nothing.
class CellMatrix
{
public:
    // Empties every cell (colour 0, no marks) for days x (lastRow + 1) cells.
    void rebuild(qint32 days, qint32 rows);
    qint32 days() const { return m_days; }
    // Grows with every change of colours or occupancy.
    quint64 version() const { return m_version; }
    qint32 rows() const { return m_rows; }
    bool contains(qint32 column, qint32 row) const;

    qint32 colour(qint32 column, qint32 row) const;
    void setColour(qint32 column, qint32 row, qint32 colour);

    // Marks of one cell as text, e.g. "* *" (blanks for free sub-columns), and the key placed in
    // sub-column k (1-based, k < 1 is out of range; "" when none).
    QString belegung(qint32 column, qint32 row) const;
    QString dsnAt(qint32 column, qint32 row, qint32 k) const;

    // Forgets every mark and key; colours stay.
    void clearOccupancy();
    // Splits the rows of tv..tb, zv..zb into one segment per day and places each.
    void zellenBelegungEintragen(qint32 idxtagvon, qint32 idxtagbis, qint32 idxzeilevon,
                                 qint32 idxzeilebis, const QString &dsn);
    // Places one segment in the lowest sub-column free in all its rows; returns that k.
    qint32 spaltenBelegen(qint32 idxtag, qint32 idxzeilevon, qint32 idxzeilebis,
                          const QString &dsn);
    // The widest trimmed mark text over the rows (the number of sub-columns the segment shares
    // its width with), and the first k of row zv holding the key (0 when none).
    qint32 sharedSubColumns(qint32 column, qint32 rowFrom, qint32 rowTo) const;
    qint32 firstSubColumnOf(qint32 column, qint32 row, const QString &dsn) const;

private:
    friend AppointmentLayout layoutAppointments(const AppointmentStore &store, CellMatrix &matrix,
                                                const CalendarGrid &grid, bool forPrinting);

    // Unchecked workers behind the public members; keys are interned to ids (0 is "").
    qint32 internKey(const QString &dsn);
    qint32 findKey(const QString &dsn) const; // -1 when never placed
    qint32 place(qint32 column, qint32 rowFrom, qint32 rowTo, qint32 keyId);
    // Calls f(day, rowFrom, rowTo) for each day of an interval running from row zv of day tv
    // to row zb of day tb: the first day to the last row, whole days between, the last from 0.
    template <typename F>
    static void forEachDay(qint32 tv, qint32 tb, qint32 zv, qint32 zb, qint32 lastRow, F f)
    {
        if (tv == tb) {
            f(tv, zv, zb);
            return;
        }
        if (tv > tb)
            return;
        f(tv, zv, lastRow);
        for (qint32 t = tv + 1; t < tb; ++t)
            f(t, 0, lastRow);
        f(tb, 0, zb);
    }
    qint32 widestTrimmed(qint32 column, qint32 rowFrom, qint32 rowTo) const;
    qint32 firstSubColumnOfKey(qint32 column, qint32 row, qint32 keyId) const;
    bool taken(qint32 column, qint32 row, qint32 k) const;
    qint32 keyAt(qint32 column, qint32 row, qint32 k) const
    {
        return m_keys[size_t(column)][size_t(k - 1) * size_t(m_rows) + size_t(row)];
    }
    size_t cell(qint32 column, qint32 row) const
    {
        return size_t(column) * size_t(m_rows) + size_t(row);
    }
    void resetKeys();
    void ensureSubColumns(qint32 column, qint32 k);
    void checkCell(const char *function, qint32 column, qint32 row) const;
    void checkSegment(const char *function, qint32 column, qint32 rowFrom, qint32 rowTo) const;

    qint32 m_days = 0;
    qint32 m_rows = 0;
    quint64 m_version = 0;
    QVector<qint32> m_colour; // by cell
    // Taken sub-columns as bits, laid out column, word, row: the rows of one segment lie next to
    // each other, so the search for a free sub-column reads one short run per word.
    std::vector<quint64> m_bits;
    qint32 m_words = 1;
    std::vector<qint32> m_lowest;  // by cell: lowest taken k, 0 when none
    std::vector<qint32> m_highest; // by cell: highest taken k = length of the marks
    // Keys by column, then sub-column, then row; valid only where the bit is set.
    std::vector<std::vector<qint32>> m_keys;
    std::vector<qint32> m_keyCapacity; // sub-columns m_keys holds per column
    // Every key list has at least this many entries: 0 after rebuild, 1 after clearOccupancy.
    qint32 m_minKeyEntries = 0;
    // Interned keys: open addressing over m_keyNames, which holds "" at id 0.
    std::vector<qint32> m_keySlots;
    std::vector<QString> m_keyNames;
    std::vector<size_t> m_keyHashes;
};

// Colours every cell as free or working time from the options (working time and up to five
// pauses per weekday) and the layout colours rgbFreizeit / rgbArbeitszeit.
void applyWorkingTimes(CellMatrix &matrix, const CalendarGrid &grid, const cContainer &options,
                       const cContainer &layout);

// One day segment of a timed appointment, placed in its sub-column.
struct SegmentBox
{
    qint32 index = 0;      // record index in the store (1-based)
    qint32 column = 0;     // day column
    qint32 rowFrom = 0;
    qint32 rowTo = 0;
    qint32 subColumn = 0;  // 0-based
    qint32 subColumns = 1; // shared with this many
    QRect box;             // x, y, w, h as computed; only boxes with h > 0 are kept
    qint32 timeBarWidth = 0; // m: the strip left of the box at box.x() - m
    bool inexact = false;
};

// An all-day entry in its band row.
struct AllDayBox
{
    qint32 index = 0;
    qint32 bandRow = 1;     // from 1
    QRect box;              // x, y, w, and the row height
};

struct AppointmentLayout
{
    QVector<SegmentBox> segments; // in store order, each appointment's days in order; h > 0
    QVector<AllDayBox> allDay;    // in store order
};

// The appointment pass of one view: fills the occupancy of the matrix with the appointments
// that touch the displayed days, and places every segment and all-day entry with the geometry
// of the grid; an end before its start counts as the start. forPrinting clips segments to the time grid and marks them inexact. Day segments
// outside the matrix are left out; a raster that is not positive throws Dayplex::Error (invalid
// argument) before anything changes.
AppointmentLayout layoutAppointments(const AppointmentStore &store, CellMatrix &matrix,
                                     const CalendarGrid &grid, bool forPrinting);

// The all-day entries of one day column that the band cuts off: their boxes end below it.
struct BandOverflow
{
    qint32 column = 0;
    QVector<qint32> hidden; // record indices, in store order
    QRect marker;           // where the painter put the "+n" marker
};

// Whether the entry's box reaches below the band, so that the band hides it.
bool hiddenByBand(const AllDayBox &entry, const GridGeometry &g);
// One record per day column whose band hides entries, in column order.
QVector<BandOverflow> bandOverflows(const AppointmentLayout &layout, const CalendarGrid &grid);

} // namespace Dayplex

#endif
