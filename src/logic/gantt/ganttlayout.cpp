#include "gantt/ganttlayout.h"

#include "shared/toolbox.h"
#include "shared/germanformat.h"
#include "shared/rounding.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Dayplex {

namespace {

constexpr Date kEndOfDay = 1439.0 / 1440.0; // 23:59
constexpr double kMsPerDay = 86400000.0;
// Geometry far outside any surface is kept below this, so that sums of two coordinates stay
// in 32 bits. Nothing at that distance is ever visible.
constexpr qint64 kFar = qint64(1) << 30;
constexpr qint32 kNameChars = 13; // the length of "Breite Merkma"
// A folded hour takes this share of a working hour's width: the bands stay wide enough to
// drop on, and the working hours get nearly the whole day.
constexpr double kBandShare = 1.0 / 8.0;

qint32 bounded(qint64 value)
{
    return qint32(std::clamp(value, -kFar, kFar));
}

// Rounded, and held within kFar either way.
qint32 rounded(double value)
{
    return roundedClamped(value, double(-kFar), double(kFar));
}

qint32 checked(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("Overflow: coordinate outside the 32-bit range"));
    return qint32(value);
}

// Whole seconds between two moments; rounding absorbs the noise of date arithmetic.
double secondsBetween(Date from, Date to)
{
    return std::nearbyint((to - from) * 86400.0);
}

// An end at midnight, allowing for a rounding error below a millisecond. Valid dates times
// milliseconds per day stay far inside 64 bits.
bool isMidnight(Date value)
{
    return std::llround(value * kMsPerDay) % 86400000 == 0;
}

// The end of a bar or proposal: an end at midnight stands for the whole day up to 23:59.
Date barEnd(Date bis, Date dEnd)
{
    Date e = bis;
    if (isMidnight(bis))
        e = bis + kEndOfDay;
    return std::min(e, dEnd);
}

} // namespace

double GanttLayout::workRate() const
{
    const double workHours = (workTo - workFrom) * 24;
    const double bandHours = 24 - workHours;
    return dayWidth / (workHours + bandHours * kBandShare);
}

double GanttLayout::bandRate() const
{
    return workRate() * kBandShare;
}

qint32 GanttLayout::rowHeight(qint32 row) const
{
    if (row >= 1 && row < rowStarts.size())
        return qint32(rowStarts.at(row) - rowStarts.at(row - 1));
    return lngZeilenhoehe;
}

namespace {

// Pixels from the day's midnight to the time of day f (0..1) on the folded axis.
double foldedWithin(const GanttLayout &l, double f)
{
    const double on = l.workRate() * 24, off = l.bandRate() * 24;
    if (f < l.workFrom)
        return f * off;
    if (f < l.workTo)
        return l.workFrom * off + (f - l.workFrom) * on;
    return l.workFrom * off + (l.workTo - l.workFrom) * on + (f - l.workTo) * off;
}

// The time of day (0..1) at px pixels after the day's midnight; the inverse of foldedWithin.
double foldedTimeAt(const GanttLayout &l, double px)
{
    const double on = l.workRate() * 24, off = l.bandRate() * 24;
    const double before = l.workFrom * off;
    const double work = (l.workTo - l.workFrom) * on;
    if (px < before)
        return px / off;
    if (px < before + work)
        return l.workFrom + (px - before) / on;
    return l.workTo + (px - before - work) / off;
}

// The offset of row `row` from the first row's top; below the rows of their own height the
// rows are lngZeilenhoehe high.
qint64 rowOffset(const GanttLayout &l, qint32 row)
{
    const qint64 index = qint64(row) - 1;
    if (l.rowStarts.isEmpty())
        return index * l.lngZeilenhoehe;
    const qint64 last = l.rowStarts.size() - 1;
    if (index <= 0)
        return index * l.lngZeilenhoehe;
    if (index <= last)
        return l.rowStarts.at(index);
    return l.rowStarts.at(last) + (index - last) * l.lngZeilenhoehe;
}

} // namespace

qint32 GanttLayout::xOf(Date moment) const
{
    if (folded()) {
        // Whole seconds from the first midnight, then split into days and the time of day.
        const double seconds = secondsBetween(dayOrigin, moment);
        const double day = std::floor(seconds / 86400.0);
        const double f = (seconds - day * 86400.0) / 86400.0;
        return rounded(lngNamenBreite + day * dayWidth + foldedWithin(*this, f));
    }
    return rounded(lngNamenBreite + secondsBetween(startDate, moment) / 3600.0 * dblPixelProStunde);
}

qint32 GanttLayout::widthOf(Date s, Date e) const
{
    if (folded())
        return cToolbox::MaxLongValue(qint32(std::clamp(qint64(xOf(e)) - xOf(s), -kFar, kFar)), 5);
    return cToolbox::MaxLongValue(rounded(secondsBetween(s, e) / 3600.0 * dblPixelProStunde), 5);
}

Date GanttLayout::dateAtX(qint32 x) const
{
    if (x < lngNamenBreite || !(dblPixelProStunde > 0))
        return 0;
    if (folded() && dayWidth > 0) {
        const double px = x - lngNamenBreite;
        const double day = std::floor(px / dayWidth);
        return GanttModel::rundezeit(dayOrigin + day + foldedTimeAt(*this, px - day * dayWidth));
    }
    return GanttModel::rundezeit(startDate + (x - lngNamenBreite) / dblPixelProStunde / 24.0);
}

qint32 GanttLayout::rowTop(qint32 row, qint32 firstRow) const
{
    if (!rowStarts.isEmpty())
        return bounded(qint64(lngZeilenOben) + rowOffset(*this, row) - rowOffset(*this, firstRow));
    return bounded(qint64(lngZeilenOben) + (qint64(row) - firstRow) * lngZeilenhoehe);
}

qint32 GanttLayout::rowAt(qint32 y, qint32 firstRow, qint32 rowCount) const
{
    const qint64 dy = qint64(y) - lngZeilenOben;
    if (dy <= 0 || lngZeilenhoehe <= 0)
        return 0;
    if (!rowStarts.isEmpty()) {
        const qint64 at = dy + rowOffset(*this, firstRow);
        qint32 row = 0;
        const qint64 last = rowStarts.size() - 1;
        if (at < rowStarts.at(last)) {
            // The last row whose top lies above at.
            const auto it = std::upper_bound(rowStarts.cbegin(), rowStarts.cend(), at);
            row = qint32(it - rowStarts.cbegin());
        } else {
            row = qint32(last + 1 + (at - rowStarts.at(last)) / lngZeilenhoehe);
        }
        return row <= rowCount ? row : 0;
    }
    const qint64 index = dy / lngZeilenhoehe + firstRow;
    return index <= rowCount ? qint32(index) : 0;
}

GanttLayout ganttLayout(qint32 offsetx, qint32 offsety, qint32 width, qint32 height, qint32 th,
                        qint32 cw, Date startDate, Date endDate, qint32 rowCount,
                        bool optimalRowHeight, qint32 minRows)
{
    if (!isValidDate(startDate) || !isValidDate(endDate))
        throw Error(InvalidArgument,
                    QStringLiteral("Gantt: der angezeigte Zeitraum ist kein gültiger Datumsbereich."));
    // A font without extent would divide by zero below.
    th = std::max(th, 1);
    cw = std::max(cw, 1);

    GanttLayout l;
    l.offsetx = offsetx;
    l.offsety = offsety;
    l.width = width;
    l.height = height;
    l.startDate = startDate;
    l.dEnd = std::floor(endDate) + 1;
    // Hour boundaries crossed from the first moment to the end of the last day.
    const qint64 startHour = qint64(std::floor(std::nearbyint(startDate * kMsPerDay) / 3600000.0));
    l.hours = qint64(l.dEnd) * 24 - startHour;
    // A first day after the last (the fields are public) still gets a finite scale.
    if (l.hours < 1)
        l.hours = 1;

    l.lngZeilenhoehe = rounded(th * 1.4);
    l.lngKopfhoehe = rounded(th * 1.2);
    l.lngZeichenbreite = cw;
    l.lngNamenBreite = checked(qint64(offsetx) + qint64(kNameChars) * cw);
    l.dblPixelProStunde = double(qint64(width) - qint64(kNameChars) * cw) / double(l.hours);
    l.lngZeilenOben = checked(qint64(offsety) + 2 * qint64(l.lngKopfhoehe));
    l.lngPixelProTag = rounded(l.dblPixelProStunde * 24);

    const qint64 room = qint64(height) - 3 * qint64(l.lngKopfhoehe);
    if (optimalRowHeight && rowCount >= 1 && qint64(l.lngZeilenhoehe) * rowCount < room)
        l.lngZeilenhoehe = rounded(double(room) / rowCount);
    const qint32 lines = std::max(minRows, 1);
    l.lngZeilenhoehe = cToolbox::MaxLongValue(rounded(lines * (th * 1.4)), l.lngZeilenhoehe);
    return l;
}

void foldAxis(GanttLayout &l, Date workFrom, Date workTo)
{
    if (!(workFrom >= 0 && workTo <= 1 && workTo > workFrom) || (workFrom == 0 && workTo == 1))
        return;
    l.workFrom = workFrom;
    l.workTo = workTo;
    l.dayOrigin = std::floor(l.startDate);
    const double days = std::max(l.dEnd - l.dayOrigin, 1.0);
    l.dayWidth = double(qint64(l.width) - (qint64(l.lngNamenBreite) - l.offsetx)) / days;
    l.dblPixelProStunde = l.dayWidth / 24;
    l.lngPixelProTag = rounded(l.dayWidth);
}

void setRowHeights(GanttLayout &l, const QVector<qint32> &heights)
{
    l.rowStarts.resize(heights.size() + 1);
    l.rowStarts[0] = 0;
    for (qsizetype i = 0; i < heights.size(); ++i)
        l.rowStarts[i + 1] = l.rowStarts.at(i) + std::max(heights.at(i), 1);
}

HeaderScale ganttHeaderScale(const GanttLayout &layout)
{
    HeaderScale scale;
    const double cw = std::max(layout.lngZeichenbreite, 1);
    const double slots = double(qint64(layout.width) - layout.lngNamenBreite + layout.offsetx) / (2 * cw);
    const double days = std::floor(layout.dEnd + 0.999) - std::floor(layout.startDate);
    double perDay = days >= 1 ? std::floor(slots / days) : 1;
    // Less than one slot a day (or no room at all) counts as one.
    if (!(perDay >= 1))
        perDay = 1;
    qint32 hourStep = qint32(std::min(std::floor(24.0 / perDay), 24.0)) + 1;
    while (hourStep < 25 && 24 % hourStep != 0)
        ++hourStep;
    if (hourStep > 24)
        hourStep = 24;
    scale.hourStep = hourStep;
    scale.spanDays = layout.dEnd - layout.startDate;
    if (hourStep < 24)
        scale.dayStep = 1;
    else if (scale.spanDays > 150)
        scale.dayStep = 63;
    else if (scale.spanDays > 25)
        scale.dayStep = 7;
    else
        scale.dayStep = 21;
    return scale;
}

QString ganttDayLabel(Date day, qint32 cellWidth, qint32 cw)
{
    if (qint64(cellWidth) > 10 * qint64(cw))
        return formatGermanDate(day, QStringLiteral("Short Date")) + QLatin1Char(' ')
               + formatGermanDate(day, QStringLiteral("ddd"));
    return formatGermanDate(day, QStringLiteral("d.m"));
}

QString ganttHourLabel(qint64 h, const HeaderScale &scale, Date startDate)
{
    if (scale.hourStep < 24)
        return QString::number(h % 24);
    const Date day = startDate + double(h) / 24.0;
    if (scale.spanDays < 100)
        return formatGermanDate(day, QStringLiteral("ddd"));
    return QString::number(cToolbox::WeekOfYear(day));
}

QString ganttCornerText(Date datMaus)
{
    const Date d = GanttModel::rundezeit(datMaus);
    if (!(d > 0) || !isValidDate(d))
        return QString();
    return QLatin1Char(' ') + formatGermanDate(d, QStringLiteral("ddd")) + QStringLiteral(", ")
           + formatGermanDate(d, QStringLiteral("Short Date")) + QStringLiteral("\r\n ")
           + formatGermanDate(d, QStringLiteral("Short Time")) + QStringLiteral(" Uhr ")
           + QString::number(cToolbox::WeekOfYear(d)) + QStringLiteral(". Wo");
}

QString ganttProposalLabel(Date von, Date bis)
{
    return uiText("Dayplex::ctlGantt", "Von: ") + cToolbox::FormatDateText(von) + QStringLiteral("\r\n")
           + uiText("Dayplex::ctlGantt", "Bis: ")
           + cToolbox::FormatDateText(bis);
}

BarRect ganttBarRect(const GanttLayout &layout, Date von, Date bis, qint32 row, qint32 firstRow)
{
    if (row < 1 || row < firstRow || bis < layout.startDate || von >= layout.dEnd)
        return {};
    const Date s = std::max(von, layout.startDate);
    const Date e = barEnd(bis, layout.dEnd);
    if (s > e)
        return {};
    BarRect bar;
    bar.left = layout.xOf(s);
    bar.top = bounded(qint64(layout.rowTop(row, firstRow)) + 2);
    bar.width = layout.widthOf(s, e);
    bar.height = layout.lngZeilenhoehe - 4;
    return bar;
}

BarRect ganttProposalRect(const GanttLayout &layout, Date von, Date bis, qint32 y)
{
    const Date s = std::max(von, layout.startDate);
    const Date e = barEnd(bis, layout.dEnd);
    if (!(s <= e))
        return {};
    BarRect rect;
    rect.left = layout.xOf(s);
    rect.top = y;
    rect.width = layout.widthOf(s, e);
    rect.height = layout.lngZeilenhoehe;
    return rect;
}

namespace {

// One bar in the order of the key texts of the sorted list: the row and the left edge as ten
// digits, "|", the index.
struct SortItem
{
    qint32 row;
    qint32 left;
    qint32 index;
    qint32 digits; // of the index
};

qint32 decimalDigits(qint32 value)
{
    qint32 n = 1;
    for (; value >= 10; value /= 10)
        ++n;
    return n;
}

// The decimal texts of two positive numbers compared character by character: the shorter is
// padded with zeros to the same length, and on a tie it is the smaller, being a prefix.
bool indexTextBefore(const SortItem &a, const SortItem &b)
{
    qint64 x = a.index, y = b.index;
    for (qint32 k = a.digits; k < b.digits; ++k)
        x *= 10;
    for (qint32 k = b.digits; k < a.digits; ++k)
        y *= 10;
    return x != y ? x < y : a.digits < b.digits;
}

// Order of the 10-digit left edge as text: "-..." before digits, negatives by their digits.
bool leftBefore(qint32 a, qint32 b)
{
    const bool negA = a < 0, negB = b < 0;
    if (negA != negB)
        return negA;
    return negA ? qint64(a) > qint64(b) : a < b;
}

bool itemBefore(const SortItem &a, const SortItem &b)
{
    if (a.row != b.row)
        return a.row < b.row;
    if (a.left != b.left)
        return leftBefore(a.left, b.left);
    // The index is compared as text: "10" comes before "9".
    return indexTextBefore(a, b);
}

} // namespace

BarPass ganttLayoutBars(const GanttModel &model, const GanttLayout &layout, qint32 firstRow,
                        qint32 fromRow, qint32 toRow)
{
    BarPass pass;
    std::vector<SortItem> items;
    pass.rects.resize(model.dateCount());
    // Rows above the first visible one keep no bars.
    for (qint32 row = std::max({fromRow, firstRow, 1}); row <= std::min(toRow, model.rowCount());
         ++row) {
        for (const qint32 i : model.datesOfRow(row)) {
            const GanttEintrag &e = model.date(i);
            const BarRect bar = ganttBarRect(layout, e.von, e.bis, row, firstRow);
            pass.rects[i - 1] = bar;
            if (!bar.isNull())
                items.push_back({row, bar.left, i, decimalDigits(i)});
        }
    }
    std::sort(items.begin(), items.end(), itemBefore);

    qint32 prev = 0;
    for (size_t k = 0; k < items.size(); ++k) {
        const SortItem &item = items[k];
        if (k == 0 || items[k - 1].row != item.row)
            prev = 0;
        const qint32 i = item.index;
        if (prev > 0) {
            BarRect &p = pass.rects[prev - 1];
            BarRect &c = pass.rects[i - 1];
            if (p.left > 0 && qint64(p.left) + p.width - 2 > c.left) {
                p.height = rounded(p.height / 2.0);
                c.height = p.height;
                c.top = bounded(qint64(p.top) + p.height + 1);
                pass.markers.append({p.top, p.height});
            }
        }
        prev = i;
    }
    return pass;
}

} // namespace Dayplex
