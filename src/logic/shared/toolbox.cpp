#include "shared/toolbox.h"

#include "shared/germanformat.h"

#include <dayplex/error.h>

#include <QStringList>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace Dayplex {

namespace {

// Added raster steps and converted times carry rounding noise far below a millisecond; values
// closer than this are the same moment.
constexpr double kTolerance = 1.0 / 86400000.0;

bool same(Date a, Date b)
{
    return std::fabs(a - b) < kTolerance;
}

// a lies clearly before b; false for NaN.
bool before(Date a, Date b)
{
    return a < b - kTolerance;
}

bool atMidnight(Date value)
{
    return std::isfinite(value) && same(value, std::nearbyint(value));
}

bool anyNaN(std::initializer_list<double> values)
{
    for (double v : values) {
        if (std::isnan(v))
            return true;
    }
    return false;
}

qint32 mmToPixel(qint32 millimetres, int dotsPerInch)
{
    const double pixels = std::nearbyint(double(millimetres) * double(dotsPerInch) / 25.4);
    return qint32(qBound(double(std::numeric_limits<qint32>::min()), pixels,
                         double(std::numeric_limits<qint32>::max())));
}

} // namespace

// NaN and infinities come back unchanged.
Date cToolbox::DateOnly(Date value)
{
    return std::isfinite(value) ? std::floor(value) : value;
}

Date cToolbox::TimeOnly(Date value)
{
    return std::isfinite(value) ? value - std::floor(value) : value;
}

// "04.03.2024 10:05", at midnight "04.03.2024"; empty for an invalid date.
QString cToolbox::FormatDateText(Date value)
{
    const QString date = formatGermanDate(value, QStringLiteral("dd.mm.yyyy"));
    if (date.isEmpty())
        return QString();
    if (formatGermanDate(value, QStringLiteral("hh:nn:ss")) == QLatin1String("00:00:00"))
        return date;
    return date + QLatin1Char(' ') + formatGermanDate(value, QStringLiteral("hh:nn"));
}

int cToolbox::WeekOfYear(Date value)
{
    const QDate date = toQDate(value);
    return date.isValid() ? date.weekNumber() : 0;
}

// Half-open intervals. A first interval from midnight to midnight lists whole days and takes in
// its last day; a second interval that starts and ends on one midnight is that whole day. A
// zero-length timed interval is a moment, which overlaps the range it lies in (its start
// included, its end not). An interval ending before it starts, or a NaN, overlaps nothing.
bool cToolbox::IntervalsOverlap(Date from1, Date to1, Date from2, Date to2)
{
    if (anyNaN({from1, to1, from2, to2}))
        return false;
    if (atMidnight(from1) && atMidnight(to1))
        to1 += 1.0;
    if (atMidnight(from2) && same(from2, to2))
        to2 = from2 + 1.0;
    const bool moment1 = same(from1, to1);
    const bool moment2 = same(from2, to2);
    if (moment1 && moment2)
        return same(from1, from2);
    if (moment2)
        return !before(from2, from1) && before(from2, to1);
    if (moment1)
        return !before(from1, from2) && before(from1, to2);
    return before(from2, to1) && before(from1, to2);
}

bool cToolbox::DateInRange(Date from, Date to, Date d)
{
    if (anyNaN({from, to, d}))
        return false;
    return !before(d, from) && !before(to, d);
}

bool cToolbox::dateBefore(Date a, Date b)
{
    return !anyNaN({a, b}) && before(a, b);
}

bool cToolbox::dateAtLeast(Date a, Date b)
{
    return !anyNaN({a, b}) && !before(a, b);
}

// Values within a millisecond are equal. Every comparison with NaN is false, "<>" as well.
bool cToolbox::DateCompare(Date a, const QString &op, Date b)
{
    enum { Eq, Ne, Lt, Le, Gt, Ge } kind;
    const QString o = op.trimmed();
    if (o == QLatin1String("="))
        kind = Eq;
    else if (o == QLatin1String("<>"))
        kind = Ne;
    else if (o == QLatin1String("<"))
        kind = Lt;
    else if (o == QLatin1String("<="))
        kind = Le;
    else if (o == QLatin1String(">"))
        kind = Gt;
    else if (o == QLatin1String(">="))
        kind = Ge;
    else
        throw Error(InvalidArgument,
                    QStringLiteral("DateCompare: unknown operator \"%1\" (use =, <>, <, <=, > or >=)")
                        .arg(op));
    if (anyNaN({a, b}))
        return false;
    switch (kind) {
    case Eq: return same(a, b);
    case Ne: return !same(a, b);
    case Lt: return before(a, b);
    case Le: return !before(b, a);
    case Gt: return before(b, a);
    case Ge: return !before(a, b);
    }
    return false;
}

bool cToolbox::IsOnRaster(Date moment, Date raster)
{
    if (!std::isfinite(raster) || raster <= 0.0)
        throw Error(InvalidArgument,
                    QStringLiteral("IsOnRaster: the raster must be a positive duration, not %1")
                        .arg(raster));
    if (!std::isfinite(moment))
        return false;
    const double steps = std::nearbyint(moment / raster);
    return std::fabs(moment - steps * raster) < kTolerance;
}

bool cToolbox::IsDayOff(Date value)
{
    const int weekday = weekdayNumber(value);
    return weekday == 1 || weekday == 7;
}

qint32 cToolbox::MaxLongValue(qint32 a, qint32 b)
{
    return a > b ? a : b;
}

// A NaN loses against a number.
double cToolbox::MinDouble(double a, double b)
{
    return std::fmin(a, b);
}

// Rectangles that only share an edge do not intersect; an empty one intersects nothing.
bool cToolbox::RectsIntersect(qint32 left1, qint32 top1, qint32 right1, qint32 bottom1,
                            qint32 left2, qint32 top2, qint32 right2, qint32 bottom2)
{
    return left1 < right2 && left2 < right1 && top1 < bottom2 && top2 < bottom1
        && left1 < right1 && top1 < bottom1 && left2 < right2 && top2 < bottom2;
}

qint16 cToolbox::HiWord(qint32 value)
{
    return qint16(quint16(quint32(value) >> 16));
}

qint16 cToolbox::LoWord(qint32 value)
{
    return qint16(quint16(quint32(value) & 0xFFFFu));
}

// Rounds to the millisecond with the same arithmetic as toDate, so a normalised sum of raster
// steps equals the converted wall-clock time bit for bit.
Date cToolbox::NormalizeDate(Date value)
{
    if (!std::isfinite(value))
        return value;
    const double whole = std::floor(value);
    const double ms = std::nearbyint((value - whole) * 86400000.0);
    if (ms >= 86400000.0)
        return whole + 1.0;
    return whole + ms / 86400000.0;
}

bool cToolbox::StartsWith(const QString &text, const QString &prefix)
{
    return prefix.isEmpty() || text.startsWith(prefix, Qt::CaseInsensitive);
}

void cToolbox::TrimTrailingDelimiter(QString &text, const QString &delimiter)
{
    if (!delimiter.isEmpty() && text.endsWith(delimiter))
        text.chop(delimiter.size());
}

// 1-based; an index before the first or after the last piece gives "".
QString cToolbox::GetToken(const QString &text, const QString &delimiter, qint32 index)
{
    if (index < 1)
        return QString();
    if (delimiter.isEmpty())
        return index == 1 ? text : QString();
    const QStringList pieces = text.split(delimiter, Qt::KeepEmptyParts);
    return index <= pieces.size() ? pieces.at(index - 1) : QString();
}

void cToolbox::FilterNumericKey(qint16 &keyCode)
{
    const bool digit = keyCode >= '0' && keyCode <= '9';
    if (!digit && keyCode != 8)
        keyCode = 0;
}

qint32 cToolbox::MmToPixelX(qint32 millimetres, int dotsPerInchX)
{
    return mmToPixel(millimetres, dotsPerInchX);
}

qint32 cToolbox::MmToPixelY(qint32 millimetres, int dotsPerInchY)
{
    return mmToPixel(millimetres, dotsPerInchY);
}

// Colours are Windows COLORREF values, 0x00BBGGRR.
qint32 cToolbox::DefaultFreeTimeColor()
{
    return 0x00E0E0E0; // light grey
}

qint32 cToolbox::DefaultSelectionColor()
{
    return 0x00F0D0A0; // light sky blue, RGB(160, 208, 240)
}

qint32 cToolbox::GridLineColor()
{
    return 0x00C0C0C0; // silver
}

void requireValidDate(Date value, const char *member, const char *argument)
{
    if (isValidDate(value))
        return;
    if (argument)
        throw Error(InvalidArgument, QStringLiteral("%1: ungültiger Datumswert (%2).")
                                         .arg(QLatin1String(member), QLatin1String(argument)));
    throw Error(InvalidArgument,
                QStringLiteral("%1: ungültiger Datumswert.").arg(QLatin1String(member)));
}

} // namespace Dayplex
