#ifndef DAYPLEX_FUZZ_OPTIONSHARNESS_H
#define DAYPLEX_FUZZ_OPTIONSHARNESS_H

// Feeds one options or layout text to every consumer a host can reach with it: Options of both
// views, the options dialog behind ShowOptionsDialog and the layout dialog's wert. Shared by the
// fuzzer and the regression test, so that a kept input is checked exactly as it was found.
// Header-only: the regression test compiles it without a library of its own.

#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ccontainer.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QDialog>
#include <QPushButton>
#include <QSize>
#include <QString>

namespace DayplexFuzz {

using namespace Dayplex;

// The options dialog answers OK, every other dialog Abbrechen, so that nothing waits for a user.
inline void pressButtonOf(QDialog &dialog)
{
    const bool ok = qobject_cast<cfrmConfigCalendar *>(&dialog) != nullptr;
    if (auto *button = dialog.findChild<QPushButton *>(ok ? QStringLiteral("cmdOK")
                                                          : QStringLiteral("cmdCancel")))
        button->click();
    else
        dialog.reject();
}

inline void installModalAnswers()
{
    setModalRunner(pressButtonOf);
}

struct CalendarState
{
    QString options;
    double firstDay, lastDay, raster, firstTime;
    qint32 dayInfoHeight, minDateHeight;
    bool confirm;

    explicit CalendarState(const ucAgenda &a)
        : options(a.Options()), firstDay(a.FirstDay()), lastDay(a.LastDay()),
          raster(a.TimeRaster()), firstTime(a.FirstTime()), dayInfoHeight(a.DayInfoHeight()),
          minDateHeight(a.MinDateHeight()), confirm(a.ConfirmChanges())
    {
    }
    bool operator==(const CalendarState &o) const
    {
        return options == o.options && firstDay == o.firstDay && lastDay == o.lastDay
               && raster == o.raster && firstTime == o.firstTime
               && dayInfoHeight == o.dayInfoHeight && minDateHeight == o.minDateHeight
               && confirm == o.confirm;
    }
};

// Empty when the view passed; otherwise what it did wrong.
inline QString checkCalendar(const QString &text)
{
    ucAgenda agenda;
    const CalendarState before(agenda);
    try {
        agenda.setOptions(text);
    } catch (const Error &) {
        if (!(CalendarState(agenda) == before))
            return QStringLiteral("calendar: a refused options string changed the view");
        return QString();
    }
    if (!(agenda.FirstDay() <= agenda.LastDay()) || !(agenda.TimeRaster() > 0))
        return QStringLiteral("calendar: accepted options left an impossible range or raster");
    const QString stored = agenda.Options();
    try {
        agenda.setOptions(stored);
    } catch (const Error &e) {
        return QStringLiteral("calendar: refuses its own Options: ") + e.message();
    }
    if (agenda.Options() != stored)
        return QStringLiteral("calendar: writing back its own Options changed them");
    agenda.paintToImage(QSize(220, 160));
    // The options dialog starts from what the view stores; the view must take its answer.
    try {
        agenda.ShowOptionsDialog();
    } catch (const Error &e) {
        return QStringLiteral("calendar: the options dialog's answer is refused: ")
               + e.message();
    }
    agenda.paintToImage(QSize(220, 160));
    return QString();
}

inline QString checkGantt(const QString &text)
{
    ctlGantt gantt;
    const QString before = gantt.Options();
    const double firstDay = gantt.FirstDay(), lastDay = gantt.LastDay();
    try {
        gantt.setOptions(text);
    } catch (const Error &) {
        if (gantt.Options() != before || gantt.FirstDay() != firstDay
            || gantt.LastDay() != lastDay)
            return QStringLiteral("gantt: a refused options string changed the view");
        return QString();
    }
    const QString stored = gantt.Options();
    try {
        gantt.setOptions(stored);
    } catch (const Error &e) {
        return QStringLiteral("gantt: refuses its own Options: ") + e.message();
    }
    if (gantt.Options() != stored)
        return QStringLiteral("gantt: writing back its own Options changed them");
    gantt.paintToImage(QSize(220, 160));
    return QString();
}

// wert of a dialog that was given nothing: what a refused text must leave.
inline QString emptyLayoutWert()
{
    static const QString wert = [] {
        cfrmConfigLayout dialog;
        return dialog.wert();
    }();
    return wert;
}

inline QString checkLayoutDialog(const QString &text)
{
    cfrmConfigLayout dialog;
    bool refused = false;
    try {
        dialog.setWert(text);
    } catch (const Error &) {
        refused = true;
    }
    QString first;
    try {
        first = dialog.wert();
    } catch (const Error &e) {
        return QStringLiteral("layout dialog: wert fails after loading: ") + e.message();
    }
    if (refused && first != emptyLayoutWert())
        return QStringLiteral("layout dialog: a refused layout string changed the dialog");
    // What the dialog stores is a layout string it must load again, unchanged.
    cfrmConfigLayout again;
    try {
        again.setWert(first);
        if (again.wert() != first)
            return QStringLiteral("layout dialog: its own wert does not come back unchanged");
    } catch (const Error &e) {
        return QStringLiteral("layout dialog: refuses its own wert: ") + e.message();
    }
    return QString();
}

// A text that is no container string: both views must refuse it and stay as they were. The
// views are made once and reused, which is sound because they only ever see refused texts (a
// change would be reported at once); never deleted, as they may outlive the application.
inline QString checkRefused(const QString &text)
{
    static ucAgenda *const agenda = new ucAgenda;
    static ctlGantt *const gantt = new ctlGantt;
    static const CalendarState calendarBefore(*agenda);
    static const QString ganttBefore = gantt->Options();
    try {
        agenda->setOptions(text);
        return QStringLiteral("calendar: accepts a text that is no container string");
    } catch (const Error &) {
    }
    if (!(CalendarState(*agenda) == calendarBefore))
        return QStringLiteral("calendar: a refused options string changed the view");
    try {
        gantt->setOptions(text);
        return QStringLiteral("gantt: accepts a text that is no container string");
    } catch (const Error &) {
    }
    if (gantt->Options() != ganttBefore)
        return QStringLiteral("gantt: a refused options string changed the view");
    return QString();
}

// Empty when every consumer passed; otherwise the first fault found.
inline QString exerciseOptionsString(const QString &text)
{
    // Most mutated texts are no container string; they take the cheap way.
    try {
        cContainer probe;
        probe.setContainerString(text);
    } catch (const Error &) {
        return checkRefused(text);
    }
    for (const auto check : {checkCalendar, checkGantt, checkLayoutDialog}) {
        const QString problem = check(text);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

} // namespace DayplexFuzz

#endif
