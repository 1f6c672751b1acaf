#include "calendar/cellmatrix.h"

#include "shared/ccontainer.h"
#include "shared/stringhash.h"

#include <dayplex/error.h>

#include <QtAlgorithms>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// A matrix beyond this many cells is a caller's mistake, not a calendar (14 days x 1440 rows).
constexpr qint64 kMaxCells = qint64(1) << 24;

int lowestZeroBit(quint64 word)
{
    return int(qCountTrailingZeroBits(~word));
}

} // namespace

void CellMatrix::rebuild(qint32 days, qint32 rows)
{
    ++m_version;
    if (days < 0 || rows < 0)
        throw Error(InvalidArgument,
                    QStringLiteral("Zellen: %1 Tage und %2 Zeilen sind keine gültige Größe.")
                        .arg(days)
                        .arg(rows));
    if (qint64(days) * rows > kMaxCells)
        throw Error(Overflow, QStringLiteral("Zellen: %1 Tage mal %2 Zeilen sind zu viele.")
                                  .arg(days)
                                  .arg(rows));
    const size_t cells = size_t(days) * size_t(rows);
    m_days = days;
    m_rows = rows;
    m_colour.fill(0, qsizetype(cells));
    m_words = 1;
    m_bits.assign(cells, 0);
    m_lowest.assign(cells, 0);
    m_highest.assign(cells, 0);
    m_keys.assign(size_t(days), std::vector<qint32>());
    m_keyCapacity.assign(size_t(days), 0);
    m_minKeyEntries = 0;
    resetKeys();
}

bool CellMatrix::contains(qint32 column, qint32 row) const
{
    return column >= 0 && column < m_days && row >= 0 && row < m_rows;
}

void CellMatrix::checkCell(const char *function, qint32 column, qint32 row) const
{
    if (!contains(column, row))
        throw Error(IndexOutOfRange,
                    QStringLiteral("%1: Tag %2, Zeile %3 liegt außerhalb der Zellen (%4 Tage, %5 "
                                   "Zeilen).")
                        .arg(QLatin1String(function))
                        .arg(column)
                        .arg(row)
                        .arg(m_days)
                        .arg(m_rows));
}

void CellMatrix::checkSegment(const char *function, qint32 column, qint32 rowFrom,
                              qint32 rowTo) const
{
    checkCell(function, column, rowFrom);
    checkCell(function, column, rowTo);
    if (rowFrom > rowTo)
        throw Error(IndexOutOfRange, QStringLiteral("%1: Zeile %2 liegt nach Zeile %3.")
                                         .arg(QLatin1String(function))
                                         .arg(rowFrom)
                                         .arg(rowTo));
}

qint32 CellMatrix::colour(qint32 column, qint32 row) const
{
    checkCell("Farbe", column, row);
    return m_colour[qsizetype(cell(column, row))];
}

void CellMatrix::setColour(qint32 column, qint32 row, qint32 colour)
{
    checkCell("Farbe", column, row);
    m_colour[qsizetype(cell(column, row))] = colour;
    ++m_version;
}

bool CellMatrix::taken(qint32 column, qint32 row, qint32 k) const
{
    const qint32 word = (k - 1) >> 6;
    if (word >= m_words)
        return false;
    const quint64 bits = m_bits[(size_t(column) * m_words + word) * m_rows + row];
    return (bits >> ((k - 1) & 63)) & 1u;
}

QString CellMatrix::belegung(qint32 column, qint32 row) const
{
    checkCell("Belegung", column, row);
    const qint32 length = m_highest[cell(column, row)];
    QString marks(length, QLatin1Char(' '));
    for (qint32 k = m_lowest[cell(column, row)]; k >= 1 && k <= length; ++k) {
        if (taken(column, row, k))
            marks[k - 1] = QLatin1Char('*');
    }
    return marks;
}

QString CellMatrix::dsnAt(qint32 column, qint32 row, qint32 k) const
{
    checkCell("DSN", column, row);
    if (k < 1)
        throw Error(IndexOutOfRange, QStringLiteral("DSN: Spalte %1 gibt es nicht.").arg(k));
    if (!taken(column, row, k))
        return QString();
    return m_keyNames[size_t(keyAt(column, row, k))];
}

void CellMatrix::clearOccupancy()
{
    ++m_version;
    std::fill(m_bits.begin(), m_bits.end(), 0);
    std::fill(m_lowest.begin(), m_lowest.end(), 0);
    std::fill(m_highest.begin(), m_highest.end(), 0);
    m_minKeyEntries = 1;
    resetKeys();
}

void CellMatrix::resetKeys()
{
    m_keyNames.clear();
    m_keyHashes.clear();
    m_keyNames.emplace_back();
    m_keyHashes.push_back(0);
    if (m_keySlots.size() > 65536)
        m_keySlots.assign(64, -1); // a past flood of keys need not be cleared every pass
    else if (m_keySlots.empty())
        m_keySlots.assign(64, -1);
    else
        std::fill(m_keySlots.begin(), m_keySlots.end(), -1);
}

qint32 CellMatrix::findKey(const QString &dsn) const
{
    if (dsn.isEmpty())
        return 0;
    if (m_keySlots.empty())
        return -1;
    const size_t hash = StringHash()(dsn);
    const size_t mask = m_keySlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const qint32 id = m_keySlots[i];
        if (id < 0)
            return -1;
        if (m_keyHashes[size_t(id)] == hash && m_keyNames[size_t(id)] == dsn)
            return id;
    }
}

qint32 CellMatrix::internKey(const QString &dsn)
{
    if (dsn.isEmpty())
        return 0;
    if (m_keySlots.empty())
        resetKeys();
    const size_t hash = StringHash()(dsn);
    size_t mask = m_keySlots.size() - 1;
    size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const qint32 id = m_keySlots[i];
        if (id < 0)
            break;
        if (m_keyHashes[size_t(id)] == hash && m_keyNames[size_t(id)] == dsn)
            return id;
    }
    const qint32 id = qint32(m_keyNames.size());
    m_keyNames.push_back(dsn);
    m_keyHashes.push_back(hash);
    m_keySlots[i] = id;
    if (m_keyNames.size() * 2 > m_keySlots.size()) {
        m_keySlots.assign(m_keySlots.size() * 2, -1);
        mask = m_keySlots.size() - 1;
        for (size_t other = 1; other < m_keyNames.size(); ++other) {
            size_t slot = m_keyHashes[other] & mask;
            while (m_keySlots[slot] >= 0)
                slot = (slot + 1) & mask;
            m_keySlots[slot] = qint32(other);
        }
    }
    return id;
}

void CellMatrix::ensureSubColumns(qint32 column, qint32 k)
{
    if (k > 64 * m_words) {
        const qint32 words = std::max(2 * m_words, (k + 63) / 64);
        std::vector<quint64> bits(size_t(m_days) * words * m_rows, 0);
        for (qint32 c = 0; c < m_days; ++c) {
            std::copy_n(m_bits.begin() + ptrdiff_t(size_t(c) * m_words * m_rows),
                        size_t(m_words) * m_rows,
                        bits.begin() + ptrdiff_t(size_t(c) * words * m_rows));
        }
        m_bits.swap(bits);
        m_words = words;
    }
    qint32 &capacity = m_keyCapacity[size_t(column)];
    if (k > capacity) {
        capacity = std::max({k, 2 * capacity, 16});
        m_keys[size_t(column)].resize(size_t(capacity) * m_rows);
    }
}

qint32 CellMatrix::place(qint32 column, qint32 rowFrom, qint32 rowTo, qint32 keyId)
{
    ++m_version;
    qint32 k = 64 * m_words + 1;
    for (qint32 word = 0; word < m_words; ++word) {
        const quint64 *bits = m_bits.data() + (size_t(column) * m_words + word) * m_rows;
        quint64 any = 0;
        for (qint32 r = rowFrom; r <= rowTo && any != ~quint64(0); ++r)
            any |= bits[r];
        if (any != ~quint64(0)) {
            k = 64 * word + lowestZeroBit(any) + 1;
            break;
        }
    }
    ensureSubColumns(column, k);

    quint64 *bits = m_bits.data() + (size_t(column) * m_words + ((k - 1) >> 6)) * m_rows;
    const quint64 mask = quint64(1) << ((k - 1) & 63);
    qint32 *keys = m_keys[size_t(column)].data() + size_t(k - 1) * m_rows;
    qint32 *lowest = m_lowest.data() + cell(column, 0);
    qint32 *highest = m_highest.data() + cell(column, 0);
    for (qint32 r = rowFrom; r <= rowTo; ++r) {
        bits[r] |= mask;
        keys[r] = keyId;
        if (lowest[r] == 0 || k < lowest[r])
            lowest[r] = k;
        if (k > highest[r])
            highest[r] = k;
    }
    return k;
}

void CellMatrix::zellenBelegungEintragen(qint32 idxtagvon, qint32 idxtagbis, qint32 idxzeilevon,
                                         qint32 idxzeilebis, const QString &dsn)
{
    const char *function = "ZellenBelegungEintragen";
    checkCell(function, idxtagvon, idxzeilevon);
    checkCell(function, idxtagbis, idxzeilebis);
    if (idxtagvon > idxtagbis || (idxtagvon == idxtagbis && idxzeilevon > idxzeilebis))
        throw Error(IndexOutOfRange,
                    QStringLiteral("%1: Tag %2, Zeile %3 liegt nach Tag %4, Zeile %5.")
                        .arg(QLatin1String(function))
                        .arg(idxtagvon)
                        .arg(idxzeilevon)
                        .arg(idxtagbis)
                        .arg(idxzeilebis));
    const qint32 keyId = internKey(dsn);
    forEachDay(idxtagvon, idxtagbis, idxzeilevon, idxzeilebis, m_rows - 1,
               [&](qint32 day, qint32 from, qint32 to) { place(day, from, to, keyId); });
}

qint32 CellMatrix::spaltenBelegen(qint32 idxtag, qint32 idxzeilevon, qint32 idxzeilebis,
                                  const QString &dsn)
{
    checkSegment("SpaltenBelegen", idxtag, idxzeilevon, idxzeilebis);
    return place(idxtag, idxzeilevon, idxzeilebis, internKey(dsn));
}

qint32 CellMatrix::widestTrimmed(qint32 column, qint32 rowFrom, qint32 rowTo) const
{
    const qint32 *lowest = m_lowest.data() + cell(column, 0);
    const qint32 *highest = m_highest.data() + cell(column, 0);
    qint32 widest = 0;
    for (qint32 r = rowFrom; r <= rowTo; ++r) {
        if (highest[r] > 0)
            widest = std::max(widest, highest[r] - lowest[r] + 1);
    }
    return widest;
}

qint32 CellMatrix::sharedSubColumns(qint32 column, qint32 rowFrom, qint32 rowTo) const
{
    checkSegment("Spaltenzahl", column, rowFrom, rowTo);
    return widestTrimmed(column, rowFrom, rowTo);
}

qint32 CellMatrix::firstSubColumnOfKey(qint32 column, qint32 row, qint32 keyId) const
{
    // The key list runs to the last taken sub-column; its free entries hold "".
    const qint32 length = std::max(m_minKeyEntries, m_highest[cell(column, row)]);
    for (qint32 k = 1; k <= length; ++k) {
        const bool isTaken = taken(column, row, k);
        if (isTaken ? keyAt(column, row, k) == keyId : keyId == 0)
            return k;
    }
    return 0;
}

qint32 CellMatrix::firstSubColumnOf(qint32 column, qint32 row, const QString &dsn) const
{
    checkCell("Spalte", column, row);
    const qint32 keyId = findKey(dsn);
    return keyId < 0 ? 0 : firstSubColumnOfKey(column, row, keyId);
}

void applyWorkingTimes(CellMatrix &matrix, const CalendarGrid &grid, const cContainer &options,
                       const cContainer &layout)
{
    const qint32 free = layout.longValue(QStringLiteral("rgbFreizeit"));
    const qint32 work = layout.longValue(QStringLiteral("rgbArbeitszeit"));
    if (!std::isfinite(grid.firstDay) || !std::isfinite(grid.lastDay)
        || grid.lastDay < grid.firstDay)
        return;
    // A range of more than a few years is no calendar view; do not spin on it.
    const qint64 dayCount = qint64(std::min(grid.lastDay - grid.firstDay, 100000.0)) + 1;

    const auto read = [&options](const QString &key) {
        return options.ValueDefault(key, 0).toDouble();
    };
    const auto colourRows = [&](qint32 column, Date from, Date to, qint32 colour) {
        if (!(to - from > 0))
            return;
        qint32 tv = 0, tb = 0, zv = 0, zb = -1;
        if (!grid.terminIndices(from, to, tv, tb, zv, zb, 1))
            return;
        for (qint32 r = std::max(zv, 0); r <= zb && r < matrix.rows(); ++r)
            matrix.setColour(column, r, colour);
    };

    for (qint64 i = 0; i < dayCount; ++i) {
        const Date d = grid.firstDay + Date(i);
        if (d > grid.lastDay)
            break;
        const qint32 column = grid.columnOf(d);
        if (column < 0 || column >= matrix.days())
            continue;
        const QString weekday = QString::number(weekdayNumber(d));
        for (qint32 r = 0; r < matrix.rows(); ++r)
            matrix.setColour(column, r, free);
        colourRows(column, d + read(QLatin1String("timeArbeitsZeitVon") + weekday),
                   d + read(QLatin1String("timeArbeitsZeitBis") + weekday), work);
        for (int k = 1; k <= 5; ++k) {
            const QString pause = QLatin1String("timePause") + QString::number(k);
            colourRows(column, d + read(pause + QLatin1String("Von") + weekday),
                       d + read(pause + QLatin1String("Bis") + weekday), free);
        }
    }
}

} // namespace Dayplex
