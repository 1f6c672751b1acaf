#include "overlaps.h"

#include <QDate>
#include <cmath>

namespace Terminplaner {

namespace {

// The span an appointment blocks: an all-day one from the midnight of its first day to the
// midnight after its last.
std::pair<Dayplex::Date, Dayplex::Date> span(const Appointment &a)
{
    if (a.allDay)
        return {std::floor(a.start), std::floor(std::max(a.end, a.start)) + 1.0};
    return {a.start, a.end};
}

bool same(const Appointment &planned, const Appointment &booked)
{
    if (planned.id == 0)
        return false;
    if (booked.id == planned.id)
        return true;
    // An unchanged occurrence of the planned series carries the series' id as its own.
    return booked.seriesId == planned.id;
}

} // namespace

QVector<Appointment> germanHolidays(int year)
{
    const QDate easter = [year] {
        // Gregorian computus (anonymous algorithm).
        const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
        const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
        const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
        const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
        return QDate(year, month, day);
    }();
    const QList<std::pair<QDate, const char *>> days = {
        {QDate(year, 1, 1), "Neujahr"},
        {easter.addDays(-2), "Karfreitag"},
        {easter.addDays(1), "Ostermontag"},
        {QDate(year, 5, 1), "Tag der Arbeit"},
        {easter.addDays(39), "Christi Himmelfahrt"},
        {easter.addDays(50), "Pfingstmontag"},
        {QDate(year, 10, 3), "Tag der Deutschen Einheit"},
        {QDate(year, 12, 25), "1. Weihnachtstag"},
        {QDate(year, 12, 26), "2. Weihnachtstag"},
    };
    QVector<Appointment> holidays;
    for (const auto &[date, name] : days) {
        Appointment h;
        h.text = QString::fromUtf8(name);
        h.start = h.end = Dayplex::toDate(date);
        h.allDay = true;
        holidays.append(h);
    }
    std::sort(holidays.begin(), holidays.end(), [](const Appointment &x, const Appointment &y) { return x.start < y.start; });
    return holidays;
}

QVector<Appointment> findOverlaps(const Appointment &planned, const QList<int> &participants,
                                  const QVector<Appointment> &booked)
{
    QVector<Appointment> found;
    if (planned.note)
        return found;
    const auto [from, to] = span(planned);
    for (const Appointment &b : booked) {
        if (b.note || same(planned, b))
            continue;
        const QList<int> whose = b.participantId == 0 && b.participantIds.isEmpty() ? QList<int>() : b.allParticipants();
        const bool holiday = whose.isEmpty();
        const bool shared = std::any_of(whose.begin(), whose.end(), [&](int id) { return participants.contains(id); });
        if (!holiday && !shared)
            continue;
        const auto [bookedFrom, bookedTo] = span(b);
        // A holiday takes a day; anything else its time. Back to back is no overlap.
        const bool overlaps = holiday ? std::floor(from) < bookedTo && bookedFrom < std::max(to, from + Dayplex::kOneSecond)
                                      : from < bookedTo && bookedFrom < to;
        if (overlaps)
            found.append(b);
    }
    return found;
}

} // namespace Terminplaner
