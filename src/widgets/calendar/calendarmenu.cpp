// The calendar's context menu entries, the events they raise, and the date picker's jump and
// move.
#include "calendar/calendarmenu.h"

#include "calendar/hittest.h"
#include "calendar/ucagenda_p.h"
#include "shared/datepicker.h"
#include "shared/leadingnumber.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QAction>
#include <QMenu>
#include <QScreen>

namespace Dayplex {

namespace {
const char *const kDayCaptions[] = {
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "1 Tag"), QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "2 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "5 Tage"), QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "7 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "14 Tage")};
} // namespace

CalendarMenu::CalendarMenu(ucAgendaPrivate *d)
    : ViewMenu(d->q, View{&CalendarMenu::report, [d] { return d->core.menuState(); },
                          [d] { return d->q->CurrentDate(); },
                          [d](QMenu *menu, const QString &dsn) { Q_EMIT d->q->contextMenuAboutToShow(menu, dsn); },
                          [this](double value, bool move) { pickerChange(value, move); }, d->q})
    , d(d)
{
    ucAgenda *q = d->q;
    QMenu *menu = popUp();
    addEntry(menu, QStringLiteral("mnuToday"), uiText("Dayplex::ucAgenda", "Heute"), [this] { today(); });
    addEntry(menu, QStringLiteral("mnuDatum"), uiText("Dayplex::ucAgenda", "Datum..."), [this] { openPickerAtCorner(QString()); });
    // The date value 0: the Gantt view keeps the days it shows.
    addEntry(menu, QStringLiteral("mnuGantt"), uiText("Dayplex::ucAgenda", ">> Gantt"), [q] { Q_EMIT q->ShowImGantt(0); });
    // The search itself is the Gantt view's; the calendar only says from when.
    addEntry(menu, QStringLiteral("mnuFreienTerminSuchen"), uiText("Dayplex::ucAgenda", "Freien Termin suchen"),
             [q] { Q_EMIT q->ShowImGantt(q->CurrentDate()); });
    menu->addSeparator();
    addEntry(menu, QStringLiteral("mnuNeu"), uiText("Dayplex::ucAgenda", "Neu..."), [this] { newDate(); }, EnabledBy::Create);
    QAction *show = addEntry(menu, QStringLiteral("mnuAnzeigen"), uiText("Dayplex::ucAgenda", "Anzeigen"), [d] { d->showSelected(); },
                             EnabledBy::Show);
    addEntry(menu, QStringLiteral("mnuVerschieben"), uiText("Dayplex::ucAgenda", "Verschieben"), [this] { openPickerAtCorner(kMoveTag); },
             EnabledBy::Move);
    menu->addSeparator();
    addEntry(menu, QStringLiteral("mnuMerkmale"), uiText("Dayplex::ucAgenda", "Teilnehmer..."), [q] { Q_EMIT q->ChangeFilter(); });
    menu->addSeparator();
    for (int i = 0; i < int(std::size(kDayCaptions)); ++i) {
        // One control array: the five entries share the name and differ by Index.
        const double count = leadingNumber(QString::fromLatin1(kDayCaptions[i]));
        QAction *entry = addDaysEntry(menu, QStringLiteral("mnuAnsichtTage"), uiText("Dayplex::ucAgenda", kDayCaptions[i]), count,
                                      [this, count] { showDays(count); });
        entry->setData(i);
        entry->setProperty("Index", i);
    }
    menu->addSeparator();
    // The text result of the dialog is not needed: the control applies confirmed options itself.
    addEntry(menu, QStringLiteral("mnuOptions"), uiText("Dayplex::ucAgenda", "Optionen..."), [q] { q->ShowOptionsDialog(); });
    addEntry(menu, QStringLiteral("mnuDrucken"), uiText("Dayplex::ucAgenda", "Drucken..."), [q] { q->PrintCalendar(false); });
    finish(show);

    picker()->setMonthsAcross(4);
    picker()->setMonthsDown(3);
    picker()->setShowWeekNumbers(true);
    // Outside the visible area until a command opens its drop-down.
    picker()->setGeometry(-100, 1, picker()->sizeHint().width(), d->core.scene.grid.geo.lngKopfhoehe);

    d->openContextMenu = [this](QPoint at) { popupAt(at); };
    d->openDatePicker = [this] { run([this] { openPickerAtCorner(QString()); }); };
}

CalendarMenu::~CalendarMenu()
{
    d->openContextMenu = nullptr;
    d->openDatePicker = nullptr;
}

void CalendarMenu::report(const std::function<void()> &command)
{
    QString message;
    try {
        command();
        return;
    } catch (const Error &error) {
        message = uiText("Dayplex::ucAgenda", "Fehler %1: %2").arg(error.number()).arg(error.message());
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = uiText("Dayplex::ucAgenda", "Unbekannter Fehler.");
    }
    qCWarning(lcCalendar, "menu command: %s", qUtf8Printable(message));
    try {
        cTools::Message(message, Prompt::Kind::Warning);
    } catch (...) {
        // Nothing is left to tell the user with but the log.
        warnCaught(lcCalendar(), QStringLiteral("message of a failed menu command"));
    }
}

void CalendarMenu::popupAt(QPoint surfacePosition)
{
    QWidget *surface = d->pic ? d->pic : d->q;
    QString dsn;
    HitRegion region;
    if (findHitRegion(d->core.scene.hits, surfacePosition.x(), surfacePosition.y(), HitFilter::DragStart, region)
        && d->core.data.store.contains(region.lngIdx))
        dsn = d->core.data.store.at(region.lngIdx).dsn;
    popup(surface->mapToGlobal(surfacePosition), dsn);
}

void CalendarMenu::selectWholeDay(Date day)
{
    d->core.selection.start = day;
    d->core.selection.endSlot = cTools::NormalizeDate(day + 1 - d->core.grid.timeRaster);
}

void CalendarMenu::today()
{
    const Date day = cTools::DateOnly(currentDateTime());
    selectWholeDay(day);
    // Keeps the number of days shown.
    d->q->SetDisplayedRange(day, nullptr, false, true);
    d->q->Repaint();
}

void CalendarMenu::openPickerAtCorner(const QString &mode)
{
    DatePicker *box = picker();
    // The box lies just above the control's top left corner, so the drop-down opens there.
    box->setGeometry(-2, -box->height() - 2, box->width(), box->height());
    if (const QScreen *screen = d->q->screen()) {
        const MonthGrid grid =
            monthGridForScreen(screen->size().width(), MonthGrid{box->monthsAcross(), box->monthsDown()});
        box->setMonthsAcross(grid.across);
        box->setMonthsDown(grid.down);
    }
    openPicker(mode);
}

void CalendarMenu::pickerChange(double newValue, bool move)
{
    ucAgenda *q = d->q;
    if (move) {
        // Without a writable appointment the picked day only moves the view.
        if (!q->SelectedDate().isEmpty() && !q->isSelectedReadOnly())
            q->SelectedDateMove(cTools::DateOnly(newValue), tageszelle);
    } else {
        selectWholeDay(cTools::DateOnly(newValue));
    }
    q->SetDisplayedRange(newValue, nullptr, false, true);
    q->Repaint();
}

void CalendarMenu::newDate()
{
    ucAgenda *q = d->q;
    if (!(d->core.selection.start > 0))
        return;
    const Date last = d->core.selection.endSlot;
    const Date lastSlot = cTools::NormalizeDate(1 - d->core.grid.timeRaster);
    // A selection that reaches the day's last slot (all-day selections do) ends at 00:00 of
    // its last day, not at the next midnight.
    const Date end = cTools::DateCompare(cTools::TimeOnly(last), QStringLiteral("="), lastSlot)
                         ? cTools::DateOnly(last)
                         : cTools::NormalizeDate(q->SelectionEnd());
    Q_EMIT q->NewDate(d->core.selection.start, end, false);
}

void CalendarMenu::showDays(double count)
{
    ucAgenda *q = d->q;
    const Date from = q->CurrentDate();
    double last = from + count - 1;
    q->SetDisplayedRange(from, &last, false, true);
    q->Repaint();
}

} // namespace Dayplex
