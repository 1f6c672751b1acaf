// The demo team and its appointments for the first start: deterministic, so that screenshots
// and tests look the same on every machine for the same anchor day.
#include "database.h"

#include <QHash>
#include <QSet>
#include <array>

namespace Terminplaner {

namespace {

constexpr qint32 winColor(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

constexpr qint32 kBlack = winColor(0, 0, 0);
constexpr qint32 kGreyText = winColor(90, 90, 90);
constexpr qint32 kMeeting = winColor(198, 224, 255);
constexpr qint32 kCustomer = winColor(200, 238, 200);
constexpr qint32 kTraining = winColor(255, 222, 173);
constexpr qint32 kDesk = winColor(255, 248, 196);
constexpr qint32 kHoliday = winColor(226, 208, 242);
constexpr qint32 kTravel = winColor(255, 205, 205);
constexpr qint32 kPrivate = winColor(222, 222, 222);
constexpr qint32 kNote = winColor(236, 246, 255);

// A small xorshift generator: std::uniform_int_distribution differs between standard
// libraries, this does not.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return quint32(m_state >> 32);
    }
    int below(int n) { return int(next() % quint32(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N>
    const T &pick(const std::array<T, N> &items) { return items[size_t(below(int(N)))]; }

private:
    quint64 m_state;
};

struct Subject
{
    const char *text;
    int minMinutes;
    int maxMinutes;
    qint32 color;
    bool lunch = false; // starts at noon
};

const std::array<Subject, 12> kCommonSubjects = {{
    {"Projektbesprechung", 60, 90, kMeeting},
    {"Abteilungsbesprechung", 30, 60, kMeeting},
    {"Telefonkonferenz mit Zulieferer", 30, 45, kMeeting},
    {"Mitarbeitergespräch", 45, 60, kMeeting},
    {"Schulung Excel", 120, 180, kTraining},
    {"Schulung Datenschutz (DSGVO)", 90, 120, kTraining},
    {"Budgetplanung 2027", 60, 120, kDesk},
    {"Angebot Stadtwerke ausarbeiten", 90, 150, kDesk},
    {"Messevorbereitung", 60, 120, kDesk},
    {"Mittagessen mit Kunden", 60, 90, kCustomer, true},
    {"Kundentermin Müller GmbH", 60, 120, kCustomer},
    {"Rückruf Herr Krämer", 15, 30, kDesk},
}};

const std::array<Subject, 6> kSalesSubjects = {{
    {"Kundentermin Müller GmbH", 60, 120, kCustomer},
    {"Kundentermin Schäfer & Co. KG", 60, 120, kCustomer},
    {"Kundentermin Bäckerei Brandt", 45, 90, kCustomer},
    {"Präsentation Autohaus König", 90, 120, kCustomer},
    {"Vertragsverhandlung Lindner AG", 60, 120, kCustomer},
    {"Angebot Stadtwerke ausarbeiten", 90, 150, kDesk},
}};

const std::array<Subject, 5> kDevSubjects = {{
    {"Code-Review", 45, 90, kDesk},
    {"Release 4.2 vorbereiten", 120, 180, kDesk},
    {"Fehleranalyse Ticket 1187", 60, 120, kDesk},
    {"Datenbankmigration testen", 90, 150, kDesk},
    {"Projektbesprechung", 60, 90, kMeeting},
}};

const std::array<Subject, 4> kFinanceSubjects = {{
    {"Monatsabschluss", 120, 240, kDesk},
    {"Rechnungsprüfung", 60, 120, kDesk},
    {"Termin Steuerberater Dr. Vogel", 60, 90, kCustomer},
    {"Zahlungsverkehr", 45, 60, kDesk},
}};

const std::array<Subject, 4> kPeopleSubjects = {{
    {"Bewerbungsgespräch", 45, 60, kMeeting},
    {"Einarbeitung neue Kollegin", 60, 120, kTraining},
    {"Lohnabrechnung", 90, 120, kDesk},
    {"Betriebsratssitzung", 60, 120, kMeeting},
}};

const std::array<Subject, 4> kServiceSubjects = {{
    {"Servicetermin vor Ort Hansen KG", 90, 180, kCustomer},
    {"Wartung Kassensystem Café Sommer", 60, 120, kCustomer},
    {"Hotline-Dienst", 120, 240, kDesk},
    {"Ersatzteilbestellung", 30, 45, kDesk},
}};

enum class Role { Sales, Projects, Development, Finance, People, Service };

struct Member
{
    const char *name;
    const char *role;
    Role kind;
};

const std::array<Member, 8> kTeam = {{
    {"Anna Becker", "Vertriebsleitung", Role::Sales},
    {"Thomas Müller", "Vertrieb Außendienst", Role::Sales},
    {"Julia Schneider", "Projektmanagement", Role::Projects},
    {"Michael Fischer", "Softwareentwicklung", Role::Development},
    {"Sabine Weber", "Buchhaltung", Role::Finance},
    {"Stefan Wagner", "Softwareentwicklung", Role::Development},
    {"Katrin Hoffmann", "Personalabteilung", Role::People},
    {"Markus Schulz", "Kundendienst", Role::Service},
}};

const Subject &subjectFor(Role role, Random &random)
{
    if (random.chance(35))
        return random.pick(kCommonSubjects);
    switch (role) {
    case Role::Sales:
        return random.pick(kSalesSubjects);
    case Role::Development:
        return random.pick(kDevSubjects);
    case Role::Finance:
        return random.pick(kFinanceSubjects);
    case Role::People:
        return random.pick(kPeopleSubjects);
    case Role::Service:
        return random.pick(kServiceSubjects);
    case Role::Projects:
        break;
    }
    return random.pick(kCommonSubjects);
}

Appointment timed(const QString &text, QDate day, int startMinute, int minutes, qint32 back,
                  int participant)
{
    Appointment a;
    a.text = text;
    a.start = Dayplex::toDate(day) + startMinute / 1440.0;
    a.end = Dayplex::toDate(day) + (startMinute + minutes) / 1440.0;
    a.backColor = back;
    a.fontColor = kBlack;
    a.participantId = participant;
    return a;
}

Appointment allDay(const QString &text, QDate first, QDate last, qint32 back, int participant)
{
    Appointment a;
    a.text = text;
    a.start = Dayplex::toDate(first);
    a.end = Dayplex::toDate(last);
    a.allDay = true;
    a.backColor = back;
    a.fontColor = kBlack;
    a.participantId = participant;
    return a;
}

bool isWorkday(QDate day)
{
    return day.dayOfWeek() <= 5;
}

// The n-th workday from day on (n = 0 is day itself or the next workday).
QDate addWorkdays(QDate day, int n)
{
    while (!isWorkday(day))
        day = day.addDays(1);
    while (n > 0) {
        day = day.addDays(1);
        if (isWorkday(day))
            --n;
    }
    return day;
}

} // namespace

SeedData makeSeedData(QDate anchor)
{
    SeedData data;
    for (int i = 0; i < int(kTeam.size()); ++i)
        data.participants.append(
            {i + 1, QString::fromUtf8(kTeam[size_t(i)].name), QString::fromUtf8(kTeam[size_t(i)].role)});

    Random random(0x5445524D494E45ull); // fixed: the same data for the same anchor day
    const QDate first = anchor.addDays(-42 - (anchor.dayOfWeek() - 1));
    const QDate last = anchor.addDays(42);
    // Minutes already taken per participant and day, so that one person's timed
    // appointments never overlap.
    QHash<QPair<int, qint64>, QVector<QPair<int, int>>> busy;
    QSet<QPair<int, qint64>> away;

    auto free = [&](int participant, QDate day, int from, int to) {
        for (const auto &slot : busy.value({participant, day.toJulianDay()}))
            if (from < slot.second && slot.first < to)
                return false;
        return true;
    };
    auto add = [&](Appointment a, QDate day, int from, int to) {
        busy[{a.participantId, day.toJulianDay()}].append({from, to});
        data.appointments.append(a);
    };

    // Holidays and trips first: nothing else is planned on those days.
    for (int p = 1; p <= int(kTeam.size()); ++p) {
        const QDate start = addWorkdays(first, random.below(55));
        const int length = 3 + random.below(8);
        const QDate end = addWorkdays(start, length - 1);
        data.appointments.append(allDay(QStringLiteral("Urlaub"), start, end, kHoliday, p));
        for (QDate d = start; d <= end; d = d.addDays(1))
            away.insert({p, d.toJulianDay()});
        if (kTeam[size_t(p - 1)].kind == Role::Sales || random.chance(30)) {
            QDate trip = addWorkdays(first, random.below(58));
            if (!away.contains({p, trip.toJulianDay()})) {
                const QDate tripEnd = addWorkdays(trip, 1);
                data.appointments.append(allDay(QStringLiteral("Dienstreise Hamburg"), trip,
                                                tripEnd, kTravel, p));
                away.insert({p, trip.toJulianDay()});
                away.insert({p, tripEnd.toJulianDay()});
            }
        }
    }

    // Weekly meetings of small groups: one row with everyone who is there and free.
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const int weekday = d.dayOfWeek();
        auto groupMeeting = [&](const QString &text, const QList<int> &members, int startMinute,
                                int minutes, qint32 color) {
            Appointment meeting = timed(text, d, startMinute, minutes, color, 0);
            for (int p : members)
                if (!away.contains({p, d.toJulianDay()}) && free(p, d, startMinute, startMinute + minutes))
                    meeting.participantIds.append(p);
            if (meeting.participantIds.isEmpty())
                return;
            meeting.participantId = meeting.participantIds.first();
            for (int p : meeting.participantIds)
                busy[{p, d.toJulianDay()}].append({startMinute, startMinute + minutes});
            data.appointments.append(meeting);
        };
        if (weekday == 1)
            groupMeeting(QStringLiteral("Wochenplanung Vertrieb"), {1, 2}, 8 * 60 + 30, 45, kMeeting);
        if (weekday == 2)
            groupMeeting(QStringLiteral("Jour fixe Projekt Intranet"), {3, 4, 6}, 10 * 60, 60, kMeeting);
        if (weekday == 1 && d.weekNumber() % 2 == 0)
            groupMeeting(QStringLiteral("Sprint-Planung"), {3, 4, 6}, 13 * 60, 120, kMeeting);
        if (weekday == 4)
            groupMeeting(QStringLiteral("Abstimmung Personal/Buchhaltung"), {5, 7}, 14 * 60, 45, kMeeting);
    }

    // A company-wide meeting set by the management: nobody may move it.
    const QDate assembly = addWorkdays(anchor, 8);
    Appointment everyone = timed(QStringLiteral("Betriebsversammlung"), assembly, 15 * 60, 90, kPrivate, 0);
    everyone.readOnly = true;
    everyone.fontColor = kGreyText;
    for (int p = 1; p <= int(kTeam.size()); ++p) {
        if (away.contains({p, assembly.toJulianDay()}) || !free(p, assembly, 15 * 60, 16 * 60 + 30))
            continue;
        everyone.participantIds.append(p);
        busy[{p, assembly.toJulianDay()}].append({15 * 60, 16 * 60 + 30});
    }
    if (!everyone.participantIds.isEmpty()) {
        everyone.participantId = everyone.participantIds.first();
        data.appointments.append(everyone);
    }

    // The daily business of each person.
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        if (!isWorkday(d))
            continue;
        for (int p = 1; p <= int(kTeam.size()); ++p) {
            if (away.contains({p, d.toJulianDay()}))
                continue;
            const Role role = kTeam[size_t(p - 1)].kind;
            if (role == Role::Development && d.dayOfWeek() == 5 && random.chance(60)) {
                Appointment office = allDay(QStringLiteral("Homeoffice"), d, d, kNote, p);
                office.note = true;
                data.appointments.append(office);
            }
            const int count = random.below(100) < 62 ? 0 : (random.chance(75) ? 1 : 2);
            for (int n = 0; n < count; ++n) {
                const Subject &subject = subjectFor(role, random);
                const int range = (subject.maxMinutes - subject.minMinutes) / 15;
                const int minutes = subject.minMinutes + 15 * random.below(range + 1);
                for (int attempt = 0; attempt < 4; ++attempt) {
                    const int latest = 17 * 60 + 30 - minutes;
                    const int startMinute = subject.lunch
                                                ? 12 * 60 + 30 * random.below(2)
                                                : 8 * 60 + 15 * random.below((latest - 8 * 60) / 15 + 1);
                    if (!free(p, d, startMinute - 15, startMinute + minutes + 15))
                        continue;
                    add(timed(QString::fromUtf8(subject.text), d, startMinute, minutes,
                              subject.color, p),
                        d, startMinute, startMinute + minutes);
                    break;
                }
            }
            if (random.chance(4)) {
                const int startMinute = 8 * 60;
                if (free(p, d, startMinute, startMinute + 60)) {
                    Appointment doctor = timed(QStringLiteral("Arzttermin (privat)"), d,
                                               startMinute, 60, kPrivate, p);
                    doctor.readOnly = true;
                    doctor.fontColor = kGreyText;
                    add(doctor, d, startMinute, startMinute + 60);
                }
            }
        }
    }

    // Past tasks are mostly done; absences and notes are not tasks.
    const Dayplex::Date today = Dayplex::toDate(anchor);
    for (Appointment &a : data.appointments)
        if (a.end < today && !a.readOnly && !a.allDay && random.chance(85))
            a.done = true;

    // Series last: the rows above keep their numbers for every anchor day.
    const QDate firstMonday = first.addDays(1 - first.dayOfWeek());
    Appointment jourFixe = timed(QStringLiteral("Jour fixe"), firstMonday, 9 * 60, 60, kMeeting, 3);
    jourFixe.participantIds = {3, 5, 7};
    jourFixe.rrule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
    data.appointments.append(jourFixe);
    Appointment standUp = timed(QStringLiteral("Stand-up Entwicklung"), firstMonday, 8 * 60 + 45, 15, kMeeting, 4);
    standUp.participantIds = {4, 6};
    standUp.rrule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR;UNTIL=%1")
                        .arg(last.toString(QStringLiteral("yyyyMMdd")));
    data.appointments.append(standUp);
    return data;
}

} // namespace Terminplaner
