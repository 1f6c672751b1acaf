#include "germanformat.h"

#include <cmath>
#include <vector>

namespace Dayplex {

namespace {

const char *const kWeekdays[] = {"Sonntag",  "Montag",  "Dienstag", "Mittwoch",
                                 "Donnerstag", "Freitag", "Samstag"};
const char *const kMonths[] = {"Januar",    "Februar", "März",     "April",
                               "Mai",       "Juni",    "Juli",     "August",
                               "September", "Oktober", "November", "Dezember"};

// The moment as the texts show it. Texts carry whole seconds only, so the value is rounded to
// the nearest second first (half to even), as automation date texts are: 23:59:59.6 reads as
// the following midnight. The last second of 9999-12-31 stays on that day.
struct Moment
{
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool toMoment(Date value, Moment &moment)
{
    if (!isValidDate(value))
        return false;
    double whole = std::floor(value);
    double seconds = std::nearbyint((value - whole) * 86400.0);
    if (seconds >= 86400.0) {
        if (whole + 1.0 >= kMaxDate) {
            seconds = 86399.0;
        } else {
            whole += 1.0;
            seconds -= 86400.0;
        }
    }
    moment.date = toQDate(whole);
    const int s = int(seconds);
    moment.hour = s / 3600;
    moment.minute = s / 60 % 60;
    moment.second = s % 60;
    return moment.date.isValid();
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

int runLength(const QString &format, int pos)
{
    const QChar c = format.at(pos).toLower();
    int n = 1;
    while (pos + n < format.size() && format.at(pos + n).toLower() == c)
        ++n;
    return n;
}

QString expand(const Moment &m, const QString &format)
{
    QString out;
    bool afterHour = false; // m and mm right after an hour (separators between) mean minutes
    int pos = 0;
    while (pos < format.size()) {
        const QChar raw = format.at(pos);
        const QChar c = raw.toLower();
        if (raw == QLatin1Char('\\')) {
            if (pos + 1 < format.size())
                out += format.at(pos + 1);
            pos += 2;
            continue;
        }
        if (raw == QLatin1Char('"')) {
            const int end = format.indexOf(QLatin1Char('"'), pos + 1);
            const int stop = end < 0 ? int(format.size()) : end;
            out += format.mid(pos + 1, stop - pos - 1);
            pos = stop + 1;
            continue;
        }
        const int run = runLength(format, pos);
        if (c == QLatin1Char('d')) {
            const int n = qMin(run, 4);
            const int weekday = m.date.dayOfWeek() % 7 + 1;
            if (n == 1)
                out += QString::number(m.date.day());
            else if (n == 2)
                out += twoDigits(m.date.day());
            else if (n == 3)
                out += germanWeekdayShortName(weekday);
            else
                out += germanWeekdayName(weekday);
            pos += n;
            afterHour = false;
        } else if (c == QLatin1Char('m')) {
            const int n = qMin(run, 4);
            if (n <= 2 && afterHour) {
                out += n == 1 ? QString::number(m.minute) : twoDigits(m.minute);
            } else if (n == 1) {
                out += QString::number(m.date.month());
            } else if (n == 2) {
                out += twoDigits(m.date.month());
            } else if (n == 3) {
                out += germanMonthName(m.date.month()).left(3);
            } else {
                out += germanMonthName(m.date.month());
            }
            pos += n;
            afterHour = false;
        } else if (c == QLatin1Char('y') && run >= 2) {
            const int n = run >= 4 ? 4 : 2;
            if (n == 4)
                out += QString::number(m.date.year()).rightJustified(4, QLatin1Char('0'));
            else
                out += twoDigits(m.date.year() % 100);
            pos += n;
            afterHour = false;
        } else if (c == QLatin1Char('h') || c == QLatin1Char('n') || c == QLatin1Char('s')) {
            const int n = qMin(run, 2);
            const int v = c == QLatin1Char('h') ? m.hour : c == QLatin1Char('n') ? m.minute
                                                                                  : m.second;
            out += n == 1 ? QString::number(v) : twoDigits(v);
            pos += n;
            afterHour = c == QLatin1Char('h');
        } else {
            out += raw;
            ++pos;
        }
    }
    return out;
}

} // namespace

QString formatGermanDate(Date value, const QString &format)
{
    Moment m;
    if (!toMoment(value, m))
        return QString();
    const QString name = format.trimmed();
    auto is = [&name](const char *named) {
        return name.compare(QLatin1String(named), Qt::CaseInsensitive) == 0;
    };
    if (is("Short Date"))
        return expand(m, QStringLiteral("dd.mm.yyyy"));
    if (is("Short Time"))
        return germanShortTime(value);
    if (is("Long Date"))
        return expand(m, QStringLiteral("dddd, d. mmmm yyyy"));
    // An empty format means the general date, as in the automation Format function.
    if (is("General Date") || name.isEmpty()) {
        if (m.hour == 0 && m.minute == 0 && m.second == 0)
            return expand(m, QStringLiteral("dd.mm.yyyy"));
        return expand(m, QStringLiteral("dd.mm.yyyy hh:nn:ss"));
    }
    return expand(m, format);
}

QString germanShortTime(Date value)
{
    Moment m;
    if (!toMoment(value, m))
        return QString();
    // Shared texts of the minutes of a day: a view shows a few of them many times over.
    static const std::vector<QString> texts = [] {
        std::vector<QString> all;
        all.reserve(24 * 60);
        for (int minute = 0; minute < 24 * 60; ++minute)
            all.push_back(twoDigits(minute / 60) + QLatin1Char(':') + twoDigits(minute % 60));
        return all;
    }();
    return texts[size_t(m.hour * 60 + m.minute)];
}

QString germanWeekdayName(int weekdayNumber)
{
    if (weekdayNumber < 1 || weekdayNumber > 7)
        return QString();
    return QString::fromUtf8(kWeekdays[weekdayNumber - 1]);
}

QString germanWeekdayShortName(int weekdayNumber)
{
    return germanWeekdayName(weekdayNumber).left(2);
}

QString germanMonthName(int month)
{
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf8(kMonths[month - 1]);
}

} // namespace Dayplex
