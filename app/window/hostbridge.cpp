#include "hostbridge.h"

#include "printlayouts.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QHash>

#include <algorithm>
#include <iterator>

namespace Terminplaner {

namespace {

const QString kFilterKey = QStringLiteral("participant_filter");
const QString kCalendarOptionsKey = QStringLiteral("options_calendar");
const QString kGanttOptionsKey = QStringLiteral("options_gantt");
const QString kTrueLengthKey = QStringLiteral("options_true_lengths");

qint64 keyNumber(QStringView dsn, QChar prefix)
{
    if (dsn.size() < 2 || dsn.at(0) != prefix)
        return 0;
    bool ok = false;
    const qint64 id = dsn.mid(1).toLongLong(&ok);
    return ok && id > 0 ? id : 0;
}

// An occurrence's start without the trip through QDateTime, which would move it out of a
// daylight-saving gap.
Dayplex::Date occurrenceStart(QStringView text)
{
    const QDate date = QDate::fromString(text.left(8).toString(), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(text.mid(9).toString(), QStringLiteral("HHmmss"));
    if (text.size() != 15 || text.at(8) != QLatin1Char('T') || !date.isValid() || !time.isValid())
        return 0;
    return Dayplex::toDate(date) + Dayplex::toTimeOfDay(time);
}

QHash<int, QString> namesById(const QVector<Participant> &participants)
{
    QHash<int, QString> names;
    for (const Participant &p : participants)
        names.insert(p.id, p.name);
    return names;
}

// Everyone taking part in the appointment, by name, in its order.
QStringList namesOf(const QList<int> &everyone, const QHash<int, QString> &names)
{
    QStringList who;
    who.reserve(everyone.size());
    for (int id : everyone)
        who.append(names.value(id));
    return who;
}

// What the views show beyond the box: the series sign and question, a meeting's names.
Dayplex::AppointmentDetails details(const Appointment &a, const QStringList &who)
{
    Dayplex::AppointmentDetails details;
    details.seriesOccurrence = a.isOccurrence();
    if (who.size() > 1)
        details.participants = who;
    return details;
}

// SetFilledRange forgot every detail told before: a plain appointment has nothing to tell, and
// telling it costs the view a lookup per box.
template <typename View>
void tellDetails(View &view, const QString &key, const Dayplex::AppointmentDetails &told)
{
    if (told != Dayplex::AppointmentDetails())
        view.setAppointmentDetails(key, told);
}

// The fields of a box's text, read from the view's field list once per fill, not per box.
enum class MemoField { Subject, Name };

QVector<MemoField> memoFields(const QString &fieldList)
{
    QVector<MemoField> fields;
    for (const QString &field : fieldList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = field.trimmed();
        if (name.compare(QLatin1String("AKT_Notiz"), Qt::CaseInsensitive) == 0)
            fields.append(MemoField::Subject);
        else if (name.compare(QLatin1String("AKT_Merkmale"), Qt::CaseInsensitive) == 0)
            fields.append(MemoField::Name);
    }
    return fields;
}

QString memo(const QVector<MemoField> &fields, const Appointment &a, const QString &participantName)
{
    // Joined by hand: most boxes show the subject alone, which then is shared, not copied.
    QString text;
    int parts = 0;
    bool hasSubject = false;
    const auto add = [&](const QString &part) {
        if (parts++ > 0)
            text += QLatin1String(": ");
        text += part;
        hasSubject = hasSubject || part == a.text;
    };
    for (MemoField field : fields) {
        if (field == MemoField::Subject)
            add(a.text);
        else if (!participantName.isEmpty())
            add(participantName);
    }
    // A field list without the subject would leave the boxes blank.
    if (!hasSubject)
        add(a.text);
    return text;
}

} // namespace

HostBridge::HostBridge(Database &db) : m_db(db) {}

namespace {

// "T" and the id's digits, written backwards so that they end at end; returns where they begin.
char *writeKey(qint64 id, char *end)
{
    char *at = end;
    quint64 rest = id < 0 ? 0 - quint64(id) : quint64(id);
    do {
        *--at = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (id < 0)
        *--at = '-';
    *--at = 'T';
    return at;
}

} // namespace

QString HostBridge::appointmentKey(qint64 id)
{
    // Digits by hand and one allocation: every box of a fill has a key, and printf is slow.
    char key[24];
    const char *at = writeKey(id, std::end(key));
    return QString::fromLatin1(at, std::end(key) - at);
}

QString HostBridge::appointmentKey(const Appointment &a)
{
    if (!a.isOccurrence() || a.id != a.seriesId)
        return appointmentKey(a.id);
    // By digits, in one allocation: a quarter of series has thousands of these, and date
    // formats are slow.
    int year = 0, month = 0, day = 0;
    Dayplex::toQDate(a.recurrenceStart).getDate(&year, &month, &day);
    const QTime time = Dayplex::toQTime(a.recurrenceStart);
    char key[24 + 16];
    char *start = std::end(key) - 16;
    const auto put = [start](int at, int value, int digits) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            start[i] = char('0' + value % 10);
    };
    start[0] = '@';
    put(1, year, 4);
    put(5, month, 2);
    put(7, day, 2);
    start[9] = 'T';
    put(10, time.hour(), 2);
    put(12, time.minute(), 2);
    put(14, time.second(), 2);
    const char *at = writeKey(a.seriesId, start);
    return QString::fromLatin1(at, std::end(key) - at);
}

qint64 HostBridge::appointmentId(const QString &dsn)
{
    const qsizetype at = dsn.indexOf(QLatin1Char('@'));
    if (at < 0)
        return keyNumber(dsn, QLatin1Char('T'));
    return recurrenceStart(dsn) != 0 ? keyNumber(QStringView(dsn).left(at), QLatin1Char('T')) : 0;
}

Dayplex::Date HostBridge::recurrenceStart(const QString &dsn)
{
    const qsizetype at = dsn.indexOf(QLatin1Char('@'));
    if (at < 0 || keyNumber(QStringView(dsn).left(at), QLatin1Char('T')) == 0)
        return 0;
    return occurrenceStart(QStringView(dsn).mid(at + 1));
}

QString HostBridge::participantKey(int id)
{
    return QStringLiteral("P%1").arg(id);
}

int HostBridge::participantId(const QString &dsn)
{
    const qint64 id = keyNumber(dsn, QLatin1Char('P'));
    return id <= std::numeric_limits<int>::max() ? int(id) : 0;
}

QList<int> HostBridge::participantIds(const QString &keyList)
{
    QList<int> ids;
    for (const QString &key : keyList.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const int id = participantId(key.trimmed());
        if (id > 0 && !ids.contains(id))
            ids.append(id);
    }
    return ids;
}

QString HostBridge::composeMemo(const QString &fieldList, const Appointment &appointment,
                                const QString &participantName)
{
    return memo(memoFields(fieldList), appointment, participantName);
}

QString HostBridge::setting(const QString &key, const QString &fallback) const
{
    const auto kept = m_sessionSettings.constFind(key);
    return kept != m_sessionSettings.constEnd() ? *kept : m_db.setting(key, fallback);
}

void HostBridge::setSetting(const QString &key, const QString &value)
{
    if (m_db.isReadOnly()) {
        m_sessionSettings.insert(key, value);
        return;
    }
    // A refused write still applies for the session: what the user chose stays in effect.
    try {
        m_db.setSetting(key, value);
        m_sessionSettings.remove(key);
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: setting %s kept for the session only: %s", qPrintable(key),
                 qPrintable(error.message()));
        m_sessionSettings.insert(key, value);
        throw;
    }
}

QString HostBridge::shippedOptions(const Dayplex::ucAgenda &view)
{
    return shippedCalendarOptions(view.Options());
}

QString HostBridge::shippedOptions(const Dayplex::ctlGantt &view)
{
    return shippedGanttOptions(view.Options());
}

QString HostBridge::calendarOptions() const
{
    return setting(kCalendarOptionsKey);
}

void HostBridge::setCalendarOptions(const QString &options)
{
    setSetting(kCalendarOptionsKey, options);
}

void HostBridge::repairStoredOptions()
{
    if (setting(kTrueLengthKey) == QLatin1String("1"))
        return;
    const QString stored = calendarOptions();
    const QString repaired = trueLengthCalendarOptions(stored);
    if (repaired != stored)
        setCalendarOptions(repaired);
    setSetting(kTrueLengthKey, QStringLiteral("1"));
}

QString HostBridge::ganttOptions() const
{
    return setting(kGanttOptionsKey);
}

void HostBridge::setGanttOptions(const QString &options)
{
    setSetting(kGanttOptionsKey, options);
}

QList<int> HostBridge::participantFilter() const
{
    return participantFilter(m_db.participants());
}

QList<int> HostBridge::participantFilter(const QVector<Participant> &participants) const
{
    QList<int> all;
    for (const Participant &p : participants)
        all.append(p.id);
    const QString stored = setting(kFilterKey, QStringLiteral("*"));
    if (stored == QLatin1String("*"))
        return all;
    QList<int> chosen;
    for (const QString &part : stored.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int id = part.toInt();
        if (all.contains(id) && !chosen.contains(id))
            chosen.append(id);
    }
    std::sort(chosen.begin(), chosen.end(), [&all](int a, int b) { return all.indexOf(a) < all.indexOf(b); });
    // A filter whose participants were all removed would hide everything.
    return chosen.isEmpty() ? all : chosen;
}

void HostBridge::setParticipantFilter(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts.append(QString::number(id));
    setSetting(kFilterKey, parts.join(QLatin1Char(',')));
}

FillResult HostBridge::fillCalendar(Dayplex::ucAgenda &view, Dayplex::Date firstDay,
                                    Dayplex::Date lastDay, const QString &fieldList) const
{
    const QVector<Participant> participants = m_db.participants();
    const QList<int> filter = participantFilter(participants);
    const QHash<int, QString> names = namesById(participants);
    view.SetFilledRange(firstDay, lastDay);
    const QVector<MemoField> fields = memoFields(fieldList);
    const QVector<MemoField> subjectOnly{MemoField::Subject};
    const bool readOnly = m_db.isReadOnly();
    FillResult result;
    readShown(&view, firstDay, lastDay, filter, [&](const Appointment &a) {
        const QStringList who = namesOf(a.allParticipants(), names);
        // With one participant chosen the name in every box says nothing, unlike a meeting's.
        const QVector<MemoField> &shown = filter.size() == 1 && who.size() == 1 ? subjectOnly : fields;
        const QString key = appointmentKey(a);
        try {
            // A read-only database makes every appointment read-only: no drag, no resize.
            view.AddDate(key, memo(shown, a, who.size() == 1 ? who.first() : who.join(QStringLiteral(", "))), a.start, a.end, a.allDay,
                         a.fontColor, a.done, a.backColor, a.readOnly || readOnly);
            tellDetails(view, key, details(a, who));
            ++result.delivered;
        } catch (const Dayplex::Error &) {
            ++result.skipped;
        }
    });
    return result;
}

FillResult HostBridge::fillGantt(Dayplex::ctlGantt &view, Dayplex::Date firstDay,
                                 Dayplex::Date lastDay, const QString &fieldList) const
{
    const QVector<Participant> participants = m_db.participants();
    const QList<int> filter = participantFilter(participants);
    const QHash<int, QString> names = namesById(participants);
    view.SetFilledRange(firstDay, lastDay);
    for (const Participant &p : participants)
        if (filter.contains(p.id))
            view.AddMerkmal(p.name, participantKey(p.id));
    const QVector<MemoField> fields = memoFields(fieldList);
    const bool readOnly = m_db.isReadOnly();
    QHash<int, QString> rowKeys;
    for (int id : filter)
        rowKeys.insert(id, participantKey(id));
    FillResult result;
    readShown(&view, firstDay, lastDay, filter, [&](const Appointment &a) {
        // The row already names the participant; a meeting is a bar in each shown one's row.
        const QString text = memo(fields, a, QString());
        const QString key = appointmentKey(a);
        const QList<int> everyone = a.allParticipants();
        // Only a meeting's names are shown; a single name is not looked up.
        tellDetails(view, key, details(a, everyone.size() > 1 ? namesOf(everyone, names) : QStringList()));
        for (int participant : everyone) {
            const auto row = rowKeys.constFind(participant);
            if (row == rowKeys.constEnd())
                continue;
            try {
                view.AddDate(key, text, a.start, a.end, a.allDay, a.fontColor, a.done, a.backColor,
                             a.readOnly || readOnly, *row, a.note);
                ++result.delivered;
            } catch (const Dayplex::Error &) {
                ++result.skipped;
            }
        }
    });
    return result;
}

void HostBridge::readShown(const QObject *view, Dayplex::Date firstDay, Dayplex::Date lastDay,
                           const QList<int> &filter, const std::function<void(const Appointment &)> &show) const
{
    std::vector<ShownVersion> &versions = m_versions[view];
    versions.clear();
    if (filter.isEmpty())
        return;
    m_db.forEachInDays(firstDay, lastDay, filter, RowContent::Shown, [&](Appointment &&a) {
        versions.push_back({a.id, a.version});
        show(a);
    });
}

qint64 HostBridge::shownVersion(const QObject *view, qint64 id) const
{
    const auto shown = m_versions.constFind(view);
    if (shown == m_versions.constEnd())
        return 0;
    const auto found = std::find_if(shown->begin(), shown->end(), [id](const ShownVersion &v) { return v.id == id; });
    return found == shown->end() ? 0 : found->version;
}

qint64 HostBridge::applyDateChange(const QObject *view, const QString &dsn, Dayplex::Date start,
                                 Dayplex::Date end, bool force, Dayplex::SeriesScope scope)
{
    const qint64 id = appointmentId(dsn);
    if (id == 0)
        throw DatabaseError(QStringLiteral("Unbekannter Termin „%1“.").arg(dsn));
    const qint64 version = force ? 0 : shownVersion(view, id);
    Dayplex::Date occurrence = recurrenceStart(dsn);
    qint64 seriesId = id;
    if (occurrence == 0 && scope != Dayplex::SeriesScope::OnlyThis) {
        // A changed occurrence, its own row, and what the user chose spans its series.
        const std::optional<Appointment> own = m_db.appointment(id);
        if (own && own->seriesId != 0) {
            seriesId = own->seriesId;
            occurrence = own->recurrenceStart;
        }
    }
    if (occurrence == 0) {
        m_db.moveAppointment(id, start, end, version);
        return id;
    }
    const std::optional<Appointment> series = m_db.appointment(seriesId);
    if (!series)
        throw ConflictError(QStringLiteral("Die Terminserie wurde inzwischen an einem anderen "
                                           "Arbeitsplatz gelöscht."),
                            std::nullopt);
    Appointment changed = *series;
    changed.start = start;
    changed.end = end;
    return m_db.changeOccurrence(seriesId, occurrence, changed, scope,
                                 seriesId == id ? version : shownVersion(view, seriesId));
}

} // namespace Terminplaner
