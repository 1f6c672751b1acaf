// The resource view core's range, data and settings, its events and the change question.
#include "gantt/ganttcore.h"

#include "gantt/ganttinteraction.h"
#include "shared/defaultoptions.h"
#include "shared/leadingnumber.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <QScopeGuard>
#include <cmath>
#include <utility>

namespace Dayplex {

GanttCore::GanttCore()
    : startDate(currentDateTime())
    , endDate(currentDate())
{
    applySettings(settings.withOptions(defaultOptionsString()));
}

void GanttCore::setDisplayedRange(Date dayFirstDay, double *dayLastDay, bool byDefault,
                                  bool alignOnWeekday)
{
    const GanttRange range = ganttDisplayedRange(
        dayFirstDay, dayLastDay ? *dayLastDay : 0, byDefault, alignOnWeekday, startDate, endDate,
        settings.layout.doubleValue(QStringLiteral("lngAnzahlTage")), model.alignWeekday);
    const QString fields = settings.layout.textValue(QStringLiteral("strAusgabefelder"));
    if (dayLastDay && range.lastDayComputed)
        *dayLastDay = range.requestedLastDay;
    startDate = range.startDate;
    endDate = range.endDate;

    if (model.covers(startDate, endDate) || !events.needDates || needDatesDepth > 0)
        return;
    ++needDatesDepth;
    const auto guard = qScopeGuard([this] { --needDatesDepth; });
    events.needDates(startDate, endDate, fields);
}

void GanttCore::scrollDays(double direction)
{
    const double shift = ganttScrollShift(direction, startDate, endDate);
    double last = endDate + shift;
    setDisplayedRange(startDate + shift, &last, false, std::fabs(shift) >= 2);
}

void GanttCore::scrollDays(const QVariant &direction)
{
    bool ok = false;
    const double steps = direction.toDouble(&ok);
    if (!ok || !std::isfinite(steps))
        throw Error(TypeMismatch, QStringLiteral("Scroll: die Richtung ist keine Zahl."));
    scrollDays(steps);
}

void GanttCore::setAlignWeekday(qint32 weekday)
{
    if (weekday < 0 || weekday > 7)
        throw Error(InvalidArgument,
                    QStringLiteral("AlignOnWeekday: Wochentag 1 (Sonntag) bis 7 (Samstag) oder 0 erwartet."));
    model.alignWeekday = weekday;
}

void GanttCore::setFilledRange(Date start, Date end)
{
    const bool withHolidays = settings.options.boolValue(QStringLiteral("blnGermanLegalHolidays"));
    model.setFilledRange(start, end, withHolidays, holidays);
}

void GanttCore::applySettings(GanttSettings next)
{
    settings = std::move(next);
    ++settingsRevision;
}

GanttContent GanttCore::content(bool printing, bool modern) const
{
    GanttContent content{model, settings.style};
    content.styleRevision = settingsRevision;
    content.startDate = startDate;
    content.endDate = endDate;
    content.firstRow = firstRow;
    content.forPrinting = printing;
    content.modern = modern;
    content.now = currentDateTime();
    content.workFrom = settings.workFrom;
    content.workTo = settings.workTo;
    return content;
}

GanttGestureView GanttCore::gestureView() const
{
    return {model, scene, firstRow, surfaceSize.height(),
            settings.options.boolValue(QStringLiteral("blnGermanLegalHolidays"))};
}

GanttActions GanttCore::press(const GanttPointer &pointer)
{
    return gestures.press(gestureView(), pointer);
}

GanttActions GanttCore::move(const GanttPointer &pointer)
{
    return gestures.move(gestureView(), pointer);
}

GanttActions GanttCore::release(const GanttPointer &pointer)
{
    return gestures.release(gestureView(), pointer);
}

GanttActions GanttCore::doubleClick(const GanttPointer &pointer)
{
    return gestures.doubleClick(gestureView(), pointer);
}

GanttActions GanttCore::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    return gestures.keyPress(gestureView(), key, modifiers);
}

void GanttCore::setOptions(const QString &options)
{
    applySettings(settings.withOptions(options));
}

void GanttCore::refresh()
{
    requireValidDate(startDate, "Refresh");
    if (endDate != 0)
        requireValidDate(endDate, "Refresh");
    model.forgetFilledRange();
    double lastDay = endDate;
    setDisplayedRange(startDate, &lastDay, false, false);
}

FreeSlotQuery GanttCore::freeSlotQuery(FreeSlotQuery asked) const
{
    asked.rasterMinutes = leadingNumber(settings.layout.textValue(QStringLiteral("strAufloesung")));
    asked.keepMarkedRows = asked.pastLastProposal = presentation == Presentation::Modern;
    return asked;
}

void GanttCore::selectEntry(qint32 index)
{
    model.selectedDate = model.selectableKey(index);
    gestures.followSelection(index);
}

MenuState GanttCore::menuState() const
{
    const bool selected = !model.selectedDate.isEmpty();
    return {endDate - startDate + 1, model.vorschlagVon > 0, selected, selected && !model.isSelectedReadOnly()};
}

void GanttCore::clear()
{
    model.clear();
}

void GanttCore::setAppointmentDetails(const QString &key, const AppointmentDetails &details)
{
    model.setDetails(key, details);
}

void GanttCore::focusGained(Qt::FocusReason reason)
{
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
        gestures.enteredByTab();
}

GanttActions GanttCore::focusLost()
{
    return gestures.focusLost();
}

std::optional<ChangeRequest> GanttCore::moveSelected(Date newDate)
{
    if (model.selectedDate.isEmpty())
        return std::nullopt;
    if (!isValidDate(newDate))
        throw Error(InvalidArgument, QStringLiteral("SelectedDateMove: ungültiger Datumswert."));
    struct Move
    {
        qint32 index;
        Date von;
        Date bis;
    };
    QVector<Move> moves;
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        if (e.dsn != model.selectedDate)
            continue;
        const Date von = ganttMovedStart(newDate, e.von);
        const Date bis = cToolbox::NormalizeDate(von + (e.bis - e.von));
        if (!isValidDate(von) || !isValidDate(bis))
            throw Error(InvalidArgument,
                        QStringLiteral("SelectedDateMove: der Termin läge außerhalb des Kalenders."));
        moves.append({i, von, bis});
    }
    if (moves.isEmpty())
        return std::nullopt;
    ChangeRequest request;
    for (const Move &m : moves) {
        model.date(m.index).von = m.von;
        model.date(m.index).bis = m.bis;
        request.moved.append(m.index);
    }
    request.index = moves.last().index;
    const GanttEintrag &asked = model.date(request.index);
    request.text = asked.notiz;
    request.question = changeQuestion(model.details(asked.dsn));
    request.confirm = settings.options.boolValue(QStringLiteral("blnConfirmChanges"));
    request.start = asked.von;
    request.end = asked.bis;
    request.startOrig = asked.vonOriginal;
    request.endOrig = asked.bisOriginal;
    return request;
}

bool GanttCore::commitChange(const ChangeRequest &request, const ChangeAnswer &answer)
{
    const bool stands = request.stands(answer);
    for (qint32 index : request.moved) {
        if (index > model.dateCount())
            continue;
        GanttEintrag &e = model.date(index);
        if (stands) {
            e.vonOriginal = e.von;
            e.bisOriginal = e.bis;
        } else {
            e.von = e.vonOriginal;
            e.bis = e.bisOriginal;
        }
    }
    return stands;
}

void GanttCore::raiseChange(const ChangeRequest &request, const ChangeAnswer &answer)
{
    if (!request.stands(answer) || request.index > model.dateCount())
        return;
    const GanttEintrag &e = model.date(request.index);
    raiseChanged(events, request, answer, e.dsn, e.von, e.bis);
}

void GanttCore::revertChange(const ChangeRequest &request)
{
    commitChange(request, ChangeAnswer());
}

} // namespace Dayplex
