#include "gantt/ganttmodel.h"

#include "shared/cholidays.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

constexpr double kMaxSpan = 100; // at most 101 days are shown

} // namespace

GanttRange ganttDisplayedRange(Date dayFirstDay, Date dayLastDay, bool blnDefault,
                               bool alignOnWeekday, Date curStart, Date curEnd,
                               double layoutDays, qint32 alignWeekday)
{
    requireValidDate(dayFirstDay, "SetDisplayedRange", "dayFirstDay");
    if (dayLastDay != 0)
        requireValidDate(dayLastDay, "SetDisplayedRange", "dayLastDay");

    GanttRange range;
    Date last = dayLastDay;
    // A last day before the first would leave nothing to show; it asks for the default instead.
    if (last != 0 && cToolbox::DateOnly(last) < cToolbox::DateOnly(dayFirstDay))
        last = 0;
    if (last == 0) {
        const double span = curEnd - curStart;
        // A fresh view has a negative span (now .. today), so it opens with the layout's days.
        if (!std::isfinite(span) || span < 0 || blnDefault) {
            double n = cToolbox::MinDouble(layoutDays, kMaxSpan);
            if (!(n >= 1))
                n = 1;
            last = dayFirstDay + n - 1;
        } else {
            last = span + dayFirstDay;
        }
        range.requestedLastDay = last;
        range.lastDayComputed = true;
    }

    Date start = cToolbox::DateOnly(dayFirstDay);
    Date end = cToolbox::DateOnly(last);
    if (end - start > kMaxSpan)
        end = start + kMaxSpan;
    // Never past the last representable day, and never before the first day.
    if (end >= kMaxDate)
        end = kMaxDate - 1;
    if (end < start)
        end = start;

    if (alignOnWeekday && alignWeekday >= 1 && alignWeekday <= 7) {
        Date d = start;
        for (int step = 0; step < 7 && weekdayNumber(d) != alignWeekday; ++step)
            d -= 1;
        // The span is kept and shifted back only while the requested day stays visible.
        if (weekdayNumber(d) == alignWeekday && d >= kMinDate && end - start + d >= dayFirstDay
            && d <= dayFirstDay) {
            end = end - start + d;
            start = d;
        }
    }
    range.startDate = start;
    range.endDate = end;
    return range;
}

void GanttModel::addMerkmal(const QString &merkmal, const QString &dsn)
{
    m_rows.append({merkmal, dsn, false});
    m_rowIndexCurrent = false;
    ++m_revision;
    if (m_rowByDsn.emplace(dsn, rowCount()).second) {
        // Records that arrived before their row now belong to it.
        if (m_rowOfDate.contains(0))
            m_rowOfDateCurrent = false;
    }
}

void GanttModel::addDate(const QString &dsn, const QString &notiz, Date von, Date bis,
                         bool btagestermin, qint32 fontcolor, bool blnErledigt, qint32 backcolor,
                         bool breadonly, const QString &merkmaldsn, bool blnhinweis,
                         bool blnfeiertag)
{
    requireValidDate(von, "AddDate", "von");
    requireValidDate(bis, "AddDate", "bis");
    GanttEintrag entry;
    entry.dsn = dsn;
    entry.notiz = notiz;
    entry.von = von;
    entry.bis = bis;
    entry.fontcolor = fontcolor;
    entry.backcolor = backcolor;
    entry.blnErledigt = blnErledigt;
    entry.btagestermin = btagestermin;
    entry.breadonly = breadonly;
    entry.vonOriginal = von;
    entry.bisOriginal = bis;
    entry.blnfeiertag = blnfeiertag;
    entry.merkmaldsn = merkmaldsn;
    entry.blnhinweis = blnhinweis;
    m_dates.append(std::move(entry));
    m_rowOfDate.append(merkmalIndexDsn(merkmaldsn));
    m_busyIndexCurrent = false;
    ++m_revision;
    m_rowIndexCurrent = false;
}

void GanttModel::reserveDates(qint32 count)
{
    if (count > 0)
        m_dates.reserve(count);
}

void GanttModel::setDetails(const QString &dsn, const AppointmentDetails &details)
{
    if (m_details.set(dsn, details))
        ++m_revision;
}

void GanttModel::clear()
{
    m_rows.clear();
    m_dates.clear();
    m_details.clear();
    m_rowByDsn.clear();
    m_busyIndexCurrent = false;
    m_rowOfDate.clear();
    m_rowOfDateCurrent = true;
    m_rowIndexCurrent = false;
    ++m_revision;
    ++m_generation;
    selectedDate.clear();
    vorschlagVon = 0;
}

void GanttModel::setFilledRange(Date daystart, Date dayEnd, bool withHolidays,
                                cHolidays &holidays)
{
    requireValidDate(daystart, "SetFilledRange", "daystart");
    requireValidDate(dayEnd, "SetFilledRange", "dayEnd");
    // Computed before anything changes, so that a failure keeps the delivered data.
    cHolidays computed = holidays;
    const bool haveHolidays = withHolidays && computed.CalculateForRange(daystart, dayEnd);

    filledStart = daystart;
    filledEnd = dayEnd;
    clear();
    if (!withHolidays)
        return;
    addMerkmal(QStringLiteral("Feiertage"), holidayRowDsn());
    if (!haveHolidays)
        return;
    holidays = computed;
    m_dates.reserve(holidays.Count());
    for (qint32 i = 1; i <= holidays.Count(); ++i) {
        const Date day = holidays.HolidayDate(i);
        addDate(QString::number(i) + QStringLiteral("LEGALHOLIDY"), holidays.HolidayName(i), day,
                day, true, 0, false, 0, true, holidayRowDsn(), false, true);
    }
}

bool GanttModel::isRowFree(const QString &rowDsn, Date start, Date end, Date *von,
                           Date *bis) const
{
    if (!m_busyIndexCurrent) {
        m_busyIndex.rebuild(m_dates);
        m_busyIndexCurrent = true;
    }
    return !m_busyIndex.overlapsAny(rowDsn, start, end, von, bis);
}

const QVector<qint32> &GanttModel::datesOfRow(qint32 row) const
{
    static const QVector<qint32> none;
    if (row < 1 || row > rowCount())
        return none;
    if (!m_rowOfDateCurrent) {
        for (qint32 i = 0; i < m_dates.size(); ++i)
            m_rowOfDate[i] = merkmalIndexDsn(m_dates.at(i).merkmaldsn);
        m_rowOfDateCurrent = true;
    }
    if (!m_rowIndexCurrent) {
        m_datesByRow = QVector<QVector<qint32>>(rowCount() + 1);
        for (qint32 i = 0; i < m_dates.size(); ++i)
            m_datesByRow[m_rowOfDate.at(i)].append(i + 1);
        m_rowIndexCurrent = true;
    }
    return m_datesByRow.at(row);
}

QString GanttModel::selectableKey(qint32 index) const
{
    const GanttEintrag &e = date(index);
    return e.blnfeiertag || e.breadonly ? QString() : e.dsn;
}

bool GanttModel::isSelectedReadOnly() const
{
    if (selectedDate.isEmpty())
        return false;
    for (const GanttEintrag &entry : m_dates) {
        if (entry.dsn == selectedDate)
            return entry.breadonly;
    }
    return false;
}

Date GanttModel::rundezeit(Date d)
{
    // Whole milliseconds first: 10:05 stored a hair below 605 minutes still rounds up.
    const double ms = std::nearbyint(d * 86400000.0);
    const double tens = std::floor((ms + 300000.0) / 600000.0);
    return tens * 10.0 / 1440.0;
}

bool GanttModel::isIntervallSichtbar(Date firstDay, Date lastDay, Date date1, Date date2)
{
    return firstDay <= cToolbox::DateOnly(date1) && cToolbox::DateOnly(date2) <= lastDay;
}

} // namespace Dayplex
