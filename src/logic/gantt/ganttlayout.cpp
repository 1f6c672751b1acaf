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

qint32 GanttLayout::xOf(Date moment) const
{
    return rounded(lngNamenBreite + secondsBetween(startDate, moment) / 3600.0 * dblPixelProStunde);
}

qint32 GanttLayout::widthOf(Date s, Date e) const
{
    return cToolbox::MaxLongValue(rounded(secondsBetween(s, e) / 3600.0 * dblPixelProStunde), 5);
}

Date GanttLayout::dateAtX(qint32 x) const
{
    if (x < lngNamenBreite || !(dblPixelProStunde > 0))
        return 0;
    return GanttModel::rundezeit(startDate + (x - lngNamenBreite) / dblPixelProStunde / 24.0);
}

qint32 GanttLayout::rowTop(qint32 row, qint32 firstRow) const
{
    return bounded(qint64(lngZeilenOben) + (qint64(row) - firstRow) * lngZeilenhoehe);
}

qint32 GanttLayout::rowAt(qint32 y, qint32 firstRow, qint32 rowCount) const
{
    const qint64 dy = qint64(y) - lngZeilenOben;
    if (dy <= 0 || lngZeilenhoehe <= 0)
        return 0;
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
