#include "calendar/appointmentstore.h"

#include "shared/alldayend.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <limits>

namespace Dayplex {

void AppointmentStore::add(const QString &dsn, const QString &memo, Date dateStart, Date dateEnd,
                           bool btagestermin, qint32 fontcolor, bool blnErledigt,
                           qint32 backcolor, bool breadonly, bool blnfeiertag)
{
    if (!isValidDate(dateStart) || !isValidDate(dateEnd))
        throw Error(InvalidArgument,
                    QStringLiteral("AddDate: Beginn und Ende müssen gültige Datumswerte zwischen "
                                   "01.01.0100 und 31.12.9999 sein (Termin \"%1\").")
                        .arg(dsn));
    if (m_entries.size() >= std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("AddDate: Die Terminliste ist voll."));

    TerminEintrag entry;
    entry.btagestermin = btagestermin;
    entry.dateStart = dateStart;
    entry.dateEnd = dateEnd;
    entry.dateStartOrig = dateStart;
    entry.dateEndOrig = dateEnd;
    entry.blnfeiertag = blnfeiertag;
    entry.memo = memo;
    entry.dsn = dsn;
    entry.backcolor = backcolor;
    entry.fontcolor = fontcolor;
    entry.blnErledigt = blnErledigt;
    entry.breadonly = breadonly;
    m_endsRepaired = m_endsRepaired && dateEnd >= dateStart;
    m_entries.append(std::move(entry));
    ++m_version;
}

void AppointmentStore::clear()
{
    m_entries.clear();
    m_details.clear();
    m_endsRepaired = true;
    ++m_version;
    ++m_generation;
}

void AppointmentStore::setDetails(const QString &dsn, const AppointmentDetails &details)
{
    if (m_details.set(dsn, details))
        ++m_version;
}

void AppointmentStore::repairEnds()
{
    if (m_endsRepaired)
        return;
    for (TerminEintrag &e : m_entries)
        e.dateEnd = effectiveEnd(e);
    m_endsRepaired = true;
    ++m_version;
}

void AppointmentStore::setTimes(qint32 index, Date dateStart, Date dateEnd)
{
    TerminEintrag &e = m_entries[index - 1];
    e.dateStart = dateStart;
    e.dateEnd = dateEnd;
    m_endsRepaired = m_endsRepaired && dateEnd >= dateStart;
    ++m_version;
}

void AppointmentStore::restoreTimes(qint32 index)
{
    const TerminEintrag &e = m_entries[index - 1];
    setTimes(index, e.dateStartOrig, e.dateEndOrig);
}

void AppointmentStore::setAllTimes(qint32 index, Date dateStart, Date dateEnd, Date dateStartOrig,
                                   Date dateEndOrig)
{
    TerminEintrag &e = m_entries[index - 1];
    e.dateStartOrig = dateStartOrig;
    e.dateEndOrig = dateEndOrig;
    setTimes(index, dateStart, dateEnd);
}

void AppointmentStore::reserve(qint32 count)
{
    if (count > 0)
        m_entries.reserve(count);
}

qint32 AppointmentStore::firstSelectable(const QString &dsn) const
{
    for (qint32 i = 0; i < m_entries.size(); ++i) {
        const TerminEintrag &entry = m_entries[i];
        if (entry.dsn == dsn && !entry.blnfeiertag && !entry.breadonly)
            return i + 1;
    }
    return 0;
}

QString AppointmentStore::keysOverlapping(Date firstDay, Date lastDay) const
{
    QString keys;
    for (const TerminEintrag &entry : m_entries) {
        if (entry.dsn.isEmpty() || entry.blnfeiertag)
            continue;
        if (cToolbox::IntervalsOverlap(firstDay, lastDay, entry.dateStart,
                                     occupiedEnd(entry.dateEnd, entry.btagestermin))) {
            keys += entry.dsn;
            keys += QLatin1Char('|');
        }
    }
    return keys;
}

} // namespace Dayplex
