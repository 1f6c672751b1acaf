#ifndef DAYPLEX_GANTTMODEL_H
#define DAYPLEX_GANTTMODEL_H

#include "gantt/rowbusyindex.h"
#include "shared/appointmentdetails.h"
#include "shared/stringhash.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

#include <unordered_map>

namespace Dayplex {

class cHolidays;

// One participant or resource row.
struct MerkmalEintrag
{
    QString Merkmal;           // text of the name column
    QString dsn;               // key the appointments name their row by
    bool blnMarkiert = false;  // takes part in the free-slot search, painted as selected
};

// One appointment bar; where it is drawn is the picture's matter (GanttScene).
struct GanttEintrag
{
    QString dsn;
    QString notiz;
    Date von = 0;
    Date bis = 0;
    qint32 fontcolor = 0;
    qint32 backcolor = 0;
    bool blnErledigt = false;
    bool btagestermin = false;
    bool breadonly = false;
    Date vonOriginal = 0;      // confirmed times; differ from von/bis only while a move waits
    Date bisOriginal = 0;
    bool blnfeiertag = false;
    QString merkmaldsn;        // dsn of the row the bar belongs to
    bool blnhinweis = false;   // a mere note: never blocks a slot
};

// The days a range request ends up showing.
struct GanttRange
{
    Date startDate = 0;      // becomes mStartDate
    Date endDate = 0;        // becomes mEndDate
    Date requestedLastDay = 0; // written back to the caller's last day when it asked for none
    bool lastDayComputed = false;
};

// The range rules of SetDisplayedRange without the host exchange. curStart/curEnd are the
// range shown so far (its span is kept when no last day is given), layoutDays the layout's
// lngAnzahlTage, alignWeekday 1 = Sunday ... 7 = Saturday or 0. A last day before the first
// counts as none. Invalid dates throw Dayplex::Error 5.
GanttRange ganttDisplayedRange(Date dayFirstDay, Date dayLastDay, bool blnDefault,
                               bool alignOnWeekday, Date curStart, Date curEnd,
                               double layoutDays, qint32 alignWeekday);

// Rows and appointments the host delivered, plus the view state that is not geometry. Both lists
// are 1-based in order of arrival, unsorted, and accept duplicate keys (lookups find the first).
class GanttModel
{
public:
    static QString holidayRowDsn() { return QStringLiteral("{1}"); }

    qint32 rowCount() const { return qint32(m_rows.size()); }
    const MerkmalEintrag &row(qint32 index) const { return m_rows.at(index - 1); }
    MerkmalEintrag &row(qint32 index)
    {
        ++m_revision;
        return m_rows[index - 1];
    }
    void addMerkmal(const QString &merkmal, const QString &dsn);
    // The first row with this key, 0 when there is none.
    qint32 merkmalIndexDsn(const QString &dsn) const
    {
        const auto found = m_rowByDsn.find(dsn);
        return found == m_rowByDsn.end() ? 0 : found->second;
    }

    qint32 dateCount() const { return qint32(m_dates.size()); }
    const GanttEintrag &date(qint32 index) const { return m_dates.at(index - 1); }
    // Whoever may write a record may move it: the busy index is built anew at its next use.
    GanttEintrag &date(qint32 index)
    {
        m_busyIndexCurrent = false;
        m_rowOfDateCurrent = false;
        m_rowIndexCurrent = false;
        ++m_revision;
        return m_dates[index - 1];
    }
    // Appends a record; von and bis must be valid dates (Dayplex::Error 5 otherwise).
    void addDate(const QString &dsn, const QString &notiz, Date von, Date bis, bool btagestermin,
                 qint32 fontcolor, bool blnErledigt, qint32 backcolor, bool breadonly,
                 const QString &merkmaldsn, bool blnhinweis, bool blnfeiertag);
    void reserveDates(qint32 count);

    // Whether no appointment of the row, other than a mere note, overlaps start..end; when it is
    // not free, von and bis (if given) receive the start and end of an appointment that blocks it.
    bool isRowFree(const QString &rowDsn, Date start, Date end, Date *von = nullptr,
                   Date *bis = nullptr) const;

    // What the host told about the appointments with this key; kept until clear.
    void setDetails(const QString &dsn, const AppointmentDetails &details);
    const AppointmentDetails &details(const QString &dsn) const { return m_details.of(dsn); }

    // Empties both lists and the details, deselects and drops the proposal start (its end stays).
    void clear();

    // Records the delivered range, clears, and with holidays adds the row "Feiertage" and one
    // read-only all-day entry per public holiday of the years the range touches.
    void setFilledRange(Date daystart, Date dayEnd, bool withHolidays, cHolidays &holidays);
    bool covers(Date firstDay, Date lastDay) const
    {
        return filledStart <= firstDay && lastDay <= filledEnd;
    }
    void forgetFilledRange() { filledStart = filledEnd = 0; }

    bool isSelectedReadOnly() const;
    // The key a click on the entry selects: none for a holiday or a read-only entry.
    QString selectableKey(qint32 index) const;
    // The records of a row (1-based) in arrival order; none for a row whose key an earlier row
    // has, since lookups find the first.
    const QVector<qint32> &datesOfRow(qint32 row) const;

    // Counts every change of the rows and appointments (not of the public fields below), so
    // that a kept picture knows when it is out of date.
    quint64 revision() const { return m_revision; }
    // Counts the times the appointments were replaced (clear), so that rectangles computed for
    // the old ones are not taken for the new ones.
    quint64 generation() const { return m_generation; }

    // Rounds to the nearest 10 minutes; a half counts upward.
    static Date rundezeit(Date d);
    static bool isIntervallSichtbar(Date firstDay, Date lastDay, Date date1, Date date2);

    Date filledStart = 0;
    Date filledEnd = 0;
    QString selectedDate;
    Date datMaus = 0;
    Date vorschlagVon = 0; // no proposal while 0
    Date vorschlagBis = 0;
    Date sucheAb = 0;
    qint32 alignWeekday = 0;

private:
    QVector<MerkmalEintrag> m_rows;
    QVector<GanttEintrag> m_dates;
    DetailsByKey m_details;
    // Every record looks up its row.
    std::unordered_map<QString, qint32, StringHash> m_rowByDsn;
    mutable RowBusyIndex m_busyIndex;
    mutable bool m_busyIndexCurrent = false;
    // The row of each record, looked up as it arrives while its key is at hand, and the
    // records of each row built from it at their first use after a change. A record written
    // through date() may have a new key: then all rows are looked up again.
    mutable QVector<qint32> m_rowOfDate;
    mutable bool m_rowOfDateCurrent = true;
    mutable QVector<QVector<qint32>> m_datesByRow;
    mutable bool m_rowIndexCurrent = false;
    quint64 m_revision = 0;
    quint64 m_generation = 0;
};

} // namespace Dayplex

#endif
