// The Gantt view for screen readers: a table of the participant rows by the days, and the
// shown bars with their German names.
#include "gantt/ctlgantt_p.h"

#include "accessibility/accessibleview.h"
#include "accessibility/viewsources.h"
#include "shared/accessiblenames.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace Dayplex {

QVector<ShownAppointment> ctlGanttPrivate::visibleAppointments() const
{
    QVector<ShownAppointment> shown;
    // A picture of appointments that were replaced since shows none of the current ones.
    if (!core.screenScene.holds(core.model))
        return shown;
    const GanttLayout &g = core.screenScene.layout;
    const QRect chart(g.lngNamenBreite, g.lngZeilenOben, core.screenScene.right - g.lngNamenBreite,
                      core.screenScene.bottom - g.lngZeilenOben);
    for (qint32 i = 1; i <= core.model.dateCount(); ++i) {
        const BarRect bar = core.screenScene.bar(core.model, i);
        // Rows below the picture are painted and clipped away.
        const QRect onScreen = QRect(bar.left, bar.top, bar.width, bar.height) & chart;
        if (!bar.isNull() && !onScreen.isEmpty())
            shown.append({i, onScreen});
    }
    return shown;
}

namespace {

class GanttAccessibleSource : public AccessibleViewSource
{
public:
    explicit GanttAccessibleSource(QWidget *surface)
        : m_surface(surface)
    {
    }

    bool attached() const override { return view() != nullptr; }
    const QLoggingCategory &category() const override { return lcGantt(); }

    QString defaultName() const override { return uiText("Dayplex::Accessibility", "Ressourcenansicht"); }

    QString description() const override
    {
        return accessibleDaysName(firstDay(), firstDay() + std::max(columnCount() - 1, 0));
    }

    QString shapeKey() const override
    {
        QString key = QStringLiteral("%1 %2").arg(firstDay()).arg(columnCount());
        const GanttModel &model = view()->core.model;
        for (qint32 row = 1; row <= model.rowCount(); ++row)
            key += QLatin1Char('\n') + model.row(row).Merkmal;
        return key;
    }

    int rowCount() const override { return view()->core.model.rowCount(); }

    // A fresh view ends before it starts: no days yet.
    int columnCount() const override
    {
        const ctlGantt *q = view()->q;
        return int(std::max(std::floor(q->mEndDate) - firstDay() + 1, 0.0));
    }

    QString rowHeader(int row) const override
    {
        return view()->core.model.row(row + 1).Merkmal.simplified();
    }

    QString columnHeader(int column) const override { return accessibleDayName(firstDay() + column); }

    QString cellName(int row, int column) const override
    {
        return rowHeader(row) + QStringLiteral(", ") + columnHeader(column);
    }

    QRect rowHeaderRect(int row) const override
    {
        const GanttLayout &g = view()->core.screenScene.layout;
        return rowRect(row, g.offsetx, g.lngNamenBreite - g.offsetx);
    }

    QRect columnHeaderRect(int column) const override
    {
        const GanttLayout &g = view()->core.screenScene.layout;
        const auto [left, width] = dayColumn(column);
        return QRect(left, g.offsety, width, g.lngKopfhoehe);
    }

    QRect cellRect(int row, int column) const override
    {
        const auto [left, width] = dayColumn(column);
        return rowRect(row, left, width);
    }

    // A marked row takes part in the free-slot search and is painted as selected.
    bool isCellSelected(int row, int) const override { return isRowSelected(row); }
    bool isRowSelected(int row) const override { return view()->core.model.row(row + 1).blnMarkiert; }
    std::optional<QPoint> currentCell() const override { return std::nullopt; }

    QVector<AccessibleAppointment> appointments() const override
    {
        const ctlGanttPrivate *d = view();
        const QVector<ShownAppointment> shown = d->visibleAppointments();
        if (shown.isEmpty())
            return {};
        const QVector<QString> keys = appointmentKeys();
        const GanttModel &model = d->core.model;
        QVector<AccessibleAppointment> items;
        for (const ShownAppointment &s : shown) {
            const GanttEintrag &e = model.date(s.index);
            const qint32 row = model.merkmalIndexDsn(e.merkmaldsn);
            // The holiday row's name says no more than "Feiertag" does.
            const QString participant =
                e.blnfeiertag || row < 1 ? QString() : model.row(row).Merkmal;
            AccessibleAppointment item;
            item.key = keys.at(s.index - 1);
            item.index = s.index;
            item.name = accessibleAppointmentName({e.von, e.bis, e.btagestermin, participant,
                                                   e.notiz, e.blnErledigt, e.breadonly,
                                                   e.blnfeiertag, e.blnhinweis,
                                                   model.details(e.dsn)});
            item.rect = s.rect;
            item.selectable = !e.breadonly && !e.blnfeiertag;
            // Every bar of the selected key is painted as selected.
            item.selected = !model.selectedDate.isEmpty() && e.dsn == model.selectedDate;
            item.readOnly = e.breadonly || e.blnfeiertag;
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
        const qint32 keyboardBar = d->core.gestures.keyboardBar(model);
        for (AccessibleAppointment &item : items)
            item.current = item.index == keyboardBar;
        return items;
    }

    void select(const AccessibleAppointment &appointment) override
    {
        ctlGanttPrivate *d = change();
        // As a click on the bar: what cannot be selected clears the selection.
        const GanttEintrag &e = std::as_const(d->core.model).date(appointment.index);
        d->core.model.selectedDate = e.blnfeiertag || e.breadonly ? QString() : e.dsn;
        d->core.gestures.followSelection(appointment.index);
        d->q->Repaint();
    }

    void open(const AccessibleAppointment &appointment) override
    {
        select(appointment);
        change()->showSelected();
    }

    void showMenu(const AccessibleAppointment &appointment) override
    {
        ctlGanttPrivate *d = change();
        const GanttModel &model = d->core.model;
        const QString dsn = appointment.index >= 1 && appointment.index <= model.dateCount()
                                ? model.date(appointment.index).dsn
                                : QString();
        d->showMenu(m_surface->mapToGlobal(appointment.rect.center()), dsn);
    }

private:
    // Null while the view is being destroyed: its private part may already be gone. Reads go
    // through the const view: a view read through the other may count as changed and paint
    // anew. The commands change it.
    const ctlGanttPrivate *view() const { return change(); }
    ctlGanttPrivate *change() const
    {
        auto *gantt = qobject_cast<ctlGantt *>(m_surface->parentWidget());
        return gantt ? ctlGanttPrivate::get(gantt) : nullptr;
    }

    Date firstDay() const { return std::floor(view()->q->mStartDate); }

    std::pair<qint32, qint32> dayColumn(int column) const
    {
        const GanttLayout &g = view()->core.screenScene.layout;
        const Date day = firstDay() + column;
        const qint32 left = g.xOf(day);
        return {left, g.xOf(day + 1) - left};
    }

    QRect rowRect(int row, qint32 left, qint32 width) const
    {
        const ctlGanttPrivate *d = view();
        const GanttLayout &g = d->core.screenScene.layout;
        // Rows above the scroll position or below the picture are out of sight.
        const qint32 firstRow = d->core.screenScene.firstRow;
        const qint32 top = g.rowTop(row + 1, firstRow);
        if (row + 1 < firstRow || top >= d->core.screenScene.bottom)
            return QRect();
        return QRect(left, top, width, g.lngZeilenhoehe);
    }

    // Keys by record: holiday or appointment, its key text and its row.
    QVector<QString> appointmentKeys() const
    {
        const GanttModel &model = view()->core.model;
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


    QWidget *const m_surface;
};

} // namespace

std::unique_ptr<AccessibleViewSource> ganttAccessibleSource(QWidget *surface)
{
    if (!qobject_cast<ctlGantt *>(surface->parentWidget()))
        return nullptr;
    return std::make_unique<GanttAccessibleSource>(surface);
}

} // namespace Dayplex
