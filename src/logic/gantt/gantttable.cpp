#include "gantt/gantttable.h"

#include "gantt/ganttcore.h"
#include "shared/accessiblenames.h"
#include "shared/uitext.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace Dayplex {

QString GanttTable::defaultName() const
{
    return uiText("Dayplex::Accessibility", "Ressourcenansicht");
}

QString GanttTable::description() const
{
    return accessibleDaysName(firstDay(), firstDay() + std::max(columnCount() - 1, 0));
}

QString GanttTable::selectedName() const
{
    // The selected appointment as its first bar reads.
    const GanttModel &model = m_core.model;
    for (qint32 i = 1; i <= model.dateCount() && !model.selectedDate.isEmpty(); ++i) {
        if (model.date(i).dsn == model.selectedDate)
            return barName(model.date(i));
    }
    return QString();
}

QString GanttTable::shapeKey() const
{
    QString key = QStringLiteral("%1 %2").arg(firstDay()).arg(columnCount());
    const GanttModel &model = m_core.model;
    for (qint32 row = 1; row <= model.rowCount(); ++row)
        key += QLatin1Char('\n') + model.row(row).Merkmal;
    return key;
}

int GanttTable::rowCount() const
{
    return m_core.model.rowCount();
}

// A fresh view ends before it starts: no days yet.
int GanttTable::columnCount() const
{
    return int(std::max(std::floor(m_core.endDate) - firstDay() + 1, 0.0));
}

QString GanttTable::rowHeader(int row) const
{
    return m_core.model.row(row + 1).Merkmal.simplified();
}

QString GanttTable::columnHeader(int column) const
{
    return accessibleDayName(firstDay() + column);
}

QString GanttTable::cellName(int row, int column) const
{
    return rowHeader(row) + QStringLiteral(", ") + columnHeader(column);
}

QRect GanttTable::rowHeaderRect(int row) const
{
    const GanttLayout &g = m_core.screenScene.layout;
    return rowRect(row, g.offsetx, g.lngNamenBreite - g.offsetx);
}

QRect GanttTable::columnHeaderRect(int column) const
{
    const auto [left, width] = dayColumn(column);
    return QRect(left, m_core.screenScene.layout.offsety, width, m_core.screenScene.layout.lngKopfhoehe);
}

QRect GanttTable::cellRect(int row, int column) const
{
    const auto [left, width] = dayColumn(column);
    return rowRect(row, left, width);
}

bool GanttTable::isRowSelected(int row) const
{
    return m_core.model.row(row + 1).blnMarkiert;
}

QVector<AccessibleAppointment> GanttTable::appointments() const
{
    const QVector<std::pair<qint32, QRect>> shown = shownBars();
    if (shown.isEmpty())
        return {};
    const QVector<QString> keys = appointmentKeys();
    const GanttModel &model = m_core.model;
    QVector<AccessibleAppointment> items;
    for (const auto &[index, rect] : shown) {
        const GanttEintrag &e = model.date(index);
        AccessibleAppointment item =
            tableAppointment(keys.at(index - 1), index, barName(e), rect, e.breadonly || e.blnfeiertag);
        // Every bar of the selected key is painted as selected.
        item.selected = !model.selectedDate.isEmpty() && e.dsn == model.selectedDate;
        items.append(item);
    }
    // Participant by participant, each by start.
    std::sort(items.begin(), items.end(), [&model](const AccessibleAppointment &a, const AccessibleAppointment &b) {
        const auto order = [&model](qint32 index) {
            const GanttEintrag &e = model.date(index);
            return std::make_tuple(model.merkmalIndexDsn(e.merkmaldsn), e.von, index);
        };
        return order(a.index) < order(b.index);
    });
    const qint32 keyboardBar = m_core.gestures.keyboardBar(model);
    for (AccessibleAppointment &item : items)
        item.current = item.index == keyboardBar;
    return items;
}

Date GanttTable::firstDay() const
{
    return std::floor(m_core.startDate);
}

std::pair<qint32, qint32> GanttTable::dayColumn(int column) const
{
    const GanttLayout &g = m_core.screenScene.layout;
    const Date day = firstDay() + column;
    const qint32 left = g.xOf(day);
    return {left, g.xOf(day + 1) - left};
}

QRect GanttTable::rowRect(int row, qint32 left, qint32 width) const
{
    const GanttScene &scene = m_core.screenScene;
    // Rows above the scroll position or below the picture are out of sight.
    const qint32 top = scene.layout.rowTop(row + 1, scene.firstRow);
    if (row + 1 < scene.firstRow || top >= scene.bottom)
        return QRect();
    return QRect(left, top, width, scene.layout.lngZeilenhoehe);
}

QString GanttTable::barName(const GanttEintrag &e) const
{
    const GanttModel &model = m_core.model;
    const qint32 row = model.merkmalIndexDsn(e.merkmaldsn);
    // The holiday row's name says no more than "Feiertag" does.
    const QString participant = e.blnfeiertag || row < 1 ? QString() : model.row(row).Merkmal;
    return accessibleAppointmentName({e.von, e.bis, e.btagestermin, participant, e.notiz, e.blnErledigt,
                                      e.breadonly, e.blnfeiertag, e.blnhinweis, model.details(e.dsn)});
}

QVector<std::pair<qint32, QRect>> GanttTable::shownBars() const
{
    const GanttScene &scene = m_core.screenScene;
    QVector<std::pair<qint32, QRect>> shown;
    // A picture of appointments that were replaced since shows none of the current ones.
    if (!scene.holds(m_core.model))
        return shown;
    const GanttLayout &g = scene.layout;
    const QRect chart(g.lngNamenBreite, g.lngZeilenOben, scene.right - g.lngNamenBreite,
                      scene.bottom - g.lngZeilenOben);
    for (qint32 i = 1; i <= m_core.model.dateCount(); ++i) {
        const BarRect bar = scene.bar(m_core.model, i);
        // Rows below the picture are painted and clipped away.
        const QRect onScreen = QRect(bar.left, bar.top, bar.width, bar.height) & chart;
        if (!bar.isNull() && !onScreen.isEmpty())
            shown.append({i, onScreen});
    }
    return shown;
}

QVector<QString> GanttTable::appointmentKeys() const
{
    const GanttModel &model = m_core.model;
    QVector<QString> keys;
    keys.reserve(model.dateCount());
    AppointmentKeys next;
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        keys.append(next.next((e.blnfeiertag ? QStringLiteral("F") : QStringLiteral("T")) + e.dsn
                              + QLatin1Char('\x1f') + e.merkmaldsn));
    }
    return keys;
}

} // namespace Dayplex
