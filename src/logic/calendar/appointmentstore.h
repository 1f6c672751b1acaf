#ifndef DAYPLEX_APPOINTMENTSTORE_H
#define DAYPLEX_APPOINTMENTSTORE_H

#include "shared/appointmentdetails.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

namespace Dayplex {

// One appointment of the calendar as the host delivered it.
struct TerminEintrag
{
    QString dsn;      // host key; holidays carry their list number
    QString memo;     // text shown in the box
    Date dateStart = 0;
    Date dateEnd = 0; // raised to dateStart by repairEnds when it lies before
    qint32 fontcolor = 0;
    qint32 backcolor = 0;
    bool blnErledigt = false;
    bool btagestermin = false;
    bool breadonly = false;
    Date dateStartOrig = 0; // as delivered; an interactive change is compared with these
    Date dateEndOrig = 0;
    bool blnfeiertag = false;
};

// The end a view lays an appointment out with: an end before the start counts as the start.
inline Date effectiveEnd(const TerminEintrag &entry)
{
    return entry.dateEnd < entry.dateStart ? entry.dateStart : entry.dateEnd;
}

// The calendar's appointments, 1-based in the order they were added. Entries are never
// removed singly, sorted or checked for duplicate keys. Every change goes through the members
// below, so that version() tells a view whether it still shows the store.
class AppointmentStore
{
public:
    // Appends one record; throws Dayplex::Error (overflow) when the count would leave 32 bits,
    // and (invalid argument) for a start or end that is not a valid date.
    void add(const QString &dsn, const QString &memo, Date dateStart, Date dateEnd,
             bool btagestermin, qint32 fontcolor, bool blnErledigt, qint32 backcolor,
             bool breadonly, bool blnfeiertag);
    // Empties the store, the details as well.
    void clear();
    // What the host told about the appointments with this key; kept until clear.
    void setDetails(const QString &dsn, const AppointmentDetails &details);
    const AppointmentDetails &details(const QString &dsn) const { return m_details.of(dsn); }
    // Raises every end that lies before its start to the start, as each paint does, so that a
    // resize dragged past the other end continues from there; the delivered times stay.
    void repairEnds();
    void reserve(qint32 count);
    // The shown times of a record; the confirmed ones stay.
    void setTimes(qint32 index, Date dateStart, Date dateEnd);
    // The confirmed times of a record become its shown ones.
    void restoreTimes(qint32 index);
    // The shown and the confirmed times of a record, as a confirmation leaves them.
    void setAllTimes(qint32 index, Date dateStart, Date dateEnd, Date dateStartOrig, Date dateEndOrig);

    qint32 count() const { return qint32(m_entries.size()); }
    bool contains(qint32 index) const { return index >= 1 && index <= m_entries.size(); }
    const TerminEintrag &at(qint32 index) const { return m_entries[index - 1]; }
    // Grows with every change of the records.
    quint64 version() const { return m_version; }
    // Grows when the records are replaced (clear), so that an index kept across it is known
    // to name another record.
    quint64 generation() const { return m_generation; }

    // The index of the first record with exactly this key that may be selected (neither a
    // holiday nor read-only), or 0.
    qint32 firstSelectable(const QString &dsn) const;
    // Keys of the records that are no holidays and overlap firstDay..lastDay (an all-day entry
    // through the last day it covers), each followed by "|", in store order.
    QString keysOverlapping(Date firstDay, Date lastDay) const;

private:
    QVector<TerminEintrag> m_entries;
    DetailsByKey m_details;
    quint64 m_version = 0;
    quint64 m_generation = 0;
    bool m_endsRepaired = true; // no end lies before its start
};

} // namespace Dayplex

#endif
