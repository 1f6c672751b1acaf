#include "hostbridge.h"

#include "printlayouts.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QHash>

namespace Terminplaner {

namespace {

const QString kFilterKey = QStringLiteral("participant_filter");
const QString kCalendarOptionsKey = QStringLiteral("options_calendar");
const QString kGanttOptionsKey = QStringLiteral("options_gantt");

qint64 keyNumber(const QString &dsn, QChar prefix)
{
    if (dsn.size() < 2 || dsn.at(0) != prefix)
        return 0;
    bool ok = false;
    const qint64 id = QStringView(dsn).mid(1).toLongLong(&ok);
    return ok && id > 0 ? id : 0;
}

QHash<int, QString> namesById(const QVector<Participant> &participants)
{
    QHash<int, QString> names;
    for (const Participant &p : participants)
        names.insert(p.id, p.name);
    return names;
}

} // namespace

HostBridge::HostBridge(Database &db) : m_db(db) {}

QString HostBridge::appointmentKey(qint64 id)
{
    return QStringLiteral("T%1").arg(id);
}

qint64 HostBridge::appointmentId(const QString &dsn)
{
    return keyNumber(dsn, QLatin1Char('T'));
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
    QStringList parts;
    for (const QString &field : fieldList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = field.trimmed();
        if (name.compare(QLatin1String("AKT_Notiz"), Qt::CaseInsensitive) == 0)
            parts.append(appointment.text);
        else if (name.compare(QLatin1String("AKT_Merkmale"), Qt::CaseInsensitive) == 0
                 && !participantName.isEmpty())
            parts.append(participantName);
    }
    // A field list without the subject would leave the boxes blank.
    if (!parts.contains(appointment.text))
        parts.append(appointment.text);
    return parts.join(QStringLiteral(": "));
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
    QList<int> all;
    for (const Participant &p : m_db.participants())
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
    const QList<int> filter = participantFilter();
    const QHash<int, QString> names = namesById(m_db.participants());
    const QVector<Appointment> appointments =
        filter.isEmpty() ? QVector<Appointment>() : m_db.appointmentsInDays(firstDay, lastDay, filter);

    noteVersions(&view, appointments);
    // With one participant chosen the name in every box says nothing.
    const QString memoFields = filter.size() == 1 ? QStringLiteral("AKT_Notiz") : fieldList;
    view.SetFilledRange(firstDay, lastDay);
    FillResult result;
    for (const Appointment &a : appointments) {
        try {
            // A read-only database makes every appointment read-only: no drag, no resize.
            view.AddDate(appointmentKey(a.id), composeMemo(memoFields, a, names.value(a.participantId)),
                         a.start, a.end, a.allDay, a.fontColor, a.done, a.backColor,
                         a.readOnly || m_db.isReadOnly());
            ++result.delivered;
        } catch (const Dayplex::Error &) {
            ++result.skipped;
        }
    }
    return result;
}

FillResult HostBridge::fillGantt(Dayplex::ctlGantt &view, Dayplex::Date firstDay,
                                 Dayplex::Date lastDay, const QString &fieldList) const
{
    const QList<int> filter = participantFilter();
    const QVector<Participant> participants = m_db.participants();
    const QVector<Appointment> appointments =
        filter.isEmpty() ? QVector<Appointment>() : m_db.appointmentsInDays(firstDay, lastDay, filter);

    noteVersions(&view, appointments);
    view.SetFilledRange(firstDay, lastDay);
    for (const Participant &p : participants)
        if (filter.contains(p.id))
            view.AddMerkmal(p.name, participantKey(p.id));
    FillResult result;
    for (const Appointment &a : appointments) {
        try {
            // The row already names the participant.
            view.AddDate(appointmentKey(a.id), composeMemo(fieldList, a, QString()), a.start, a.end,
                         a.allDay, a.fontColor, a.done, a.backColor, a.readOnly || m_db.isReadOnly(),
                         participantKey(a.participantId), a.note);
            ++result.delivered;
        } catch (const Dayplex::Error &) {
            ++result.skipped;
        }
    }
    return result;
}

void HostBridge::noteVersions(const QObject *view, const QVector<Appointment> &appointments) const
{
    QHash<qint64, qint64> &versions = m_versions[view];
    versions.clear();
    for (const Appointment &a : appointments)
        versions.insert(a.id, a.version);
}

qint64 HostBridge::shownVersion(const QObject *view, qint64 id) const
{
    return m_versions.value(view).value(id, 0);
}

void HostBridge::applyDateChange(const QObject *view, const QString &dsn, Dayplex::Date start,
                                 Dayplex::Date end, bool force)
{
    const qint64 id = appointmentId(dsn);
    if (id == 0)
        throw DatabaseError(QStringLiteral("Unbekannter Termin „%1“.").arg(dsn));
    m_db.moveAppointment(id, start, end, force ? 0 : shownVersion(view, id));
}

} // namespace Terminplaner
