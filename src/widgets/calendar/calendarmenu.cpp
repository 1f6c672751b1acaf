// The calendar's context menu commands, the events they raise, and the date picker used to
// jump to a day or to move the selected appointment there.
#include "calendar/calendarmenu.h"

#include "calendar/datepicker.h"
#include "calendar/ucagenda_p.h"
#include "calendar/hittest.h"
#include "shared/hostentries.h"
#include "shared/leadingnumber.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace Dayplex {

const QString CalendarMenu::kMoveTag = QStringLiteral("VERSCHIEBEN");

namespace {
const char *const kDayCaptions[] = {
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "1 Tag"), QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "2 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "5 Tage"), QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "7 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ucAgenda", "14 Tage")};
}

CalendarMenu::CalendarMenu(ucAgendaPrivate *d)
    : d(d)
{
    ucAgenda *q = d->q;
    m_popUp = new QMenu(QStringLiteral("PopUp"), q);
    m_popUp->setObjectName(QStringLiteral("mnuPopUp"));

    addEntry(QStringLiteral("mnuToday"), uiText("Dayplex::ucAgenda", "Heute"), [this] { today(); });
    addEntry(QStringLiteral("mnuDatum"), uiText("Dayplex::ucAgenda", "Datum..."), [this] { openPicker(QString()); });
    // The date value 0: the Gantt view keeps the days it shows.
    addEntry(QStringLiteral("mnuGantt"), uiText("Dayplex::ucAgenda", ">> Gantt"), [q] { Q_EMIT q->ShowImGantt(0); });
    // The search itself is the Gantt view's; the calendar only says from when.
    addEntry(QStringLiteral("mnuFreienTerminSuchen"), uiText("Dayplex::ucAgenda", "Freien Termin suchen"),
             [q] { Q_EMIT q->ShowImGantt(q->CurrentDate()); });
    m_popUp->addSeparator();
    m_neu = addEntry(QStringLiteral("mnuNeu"), uiText("Dayplex::ucAgenda", "Neu..."), [this] { newDate(); });
    m_anzeigen = addEntry(QStringLiteral("mnuAnzeigen"), uiText("Dayplex::ucAgenda", "Anzeigen"),
                          [d] { d->showSelected(); });
    m_verschieben = addEntry(QStringLiteral("mnuVerschieben"), uiText("Dayplex::ucAgenda", "Verschieben"),
                             [this] { openPicker(kMoveTag); });
    m_popUp->addSeparator();
    addEntry(QStringLiteral("mnuMerkmale"), uiText("Dayplex::ucAgenda", "Teilnehmer..."), [q] { Q_EMIT q->ChangeFilter(); });
    m_popUp->addSeparator();
    for (int i = 0; i < int(m_days.size()); ++i) {
        // One control array: the five entries share the name and differ by Index.
        QAction *entry = addEntry(QStringLiteral("mnuAnsichtTage"), uiText("Dayplex::ucAgenda", kDayCaptions[i]),
                                  [this, i] { showDays(i); });
        entry->setCheckable(true);
        entry->setData(i);
        entry->setProperty("Index", i);
        m_days[size_t(i)] = entry;
    }
    m_popUp->addSeparator();
    // The text result of the dialog is not needed: the control applies confirmed options itself.
    addEntry(QStringLiteral("mnuOptions"), uiText("Dayplex::ucAgenda", "Optionen..."), [q] { q->ShowOptionsDialog(); });
    addEntry(QStringLiteral("mnuDrucken"), uiText("Dayplex::ucAgenda", "Drucken..."), [q] { q->PrintCalendar(false); });
    m_popUp->setDefaultAction(m_anzeigen);
    m_own = m_popUp->actions();
    connect(m_popUp, &QMenu::aboutToShow, this, [this] { run([this] { prepare(); }); });

    m_picker = new DatePicker(q);
    m_picker->setMonthsAcross(4);
    m_picker->setMonthsDown(3);
    m_picker->setShowWeekNumbers(true);
    // Outside the visible area until a command opens its drop-down.
    m_picker->setGeometry(-100, 1, m_picker->sizeHint().width(), d->core.scene.grid.geo.lngKopfhoehe);
    m_picker->hide();
    connect(m_picker, &DatePicker::Change, this,
            [this](double newValue) { run([this, newValue] { pickerChange(newValue); }); });
    // The box lies outside the visible area; the keys belong to the calendar again.
    connect(m_picker, &DatePicker::dropDownClosed, this, [this] { this->d->q->setFocus(Qt::PopupFocusReason); });

    d->openContextMenu = [this](QPoint at) { popup(at); };
    d->openDatePicker = [this] { run([this] { openPicker(QString()); }); };
}

CalendarMenu::~CalendarMenu()
{
    d->openContextMenu = nullptr;
    d->openDatePicker = nullptr;
    m_picker->disconnect(this);
    delete m_picker;
    delete m_popUp;
}

QAction *CalendarMenu::addEntry(const QString &name, const QString &caption,
                                std::function<void()> command)
{
    QAction *entry = m_popUp->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, [this, command = std::move(command)] { run(command); });
    return entry;
}

void CalendarMenu::run(const std::function<void()> &command)
{
    QString text;
    try {
        command();
        return;
    } catch (const Error &error) {
        text = uiText("Dayplex::ucAgenda", "Fehler %1: %2").arg(error.number()).arg(error.message());
    } catch (const std::exception &error) {
        text = QString::fromUtf8(error.what());
    } catch (...) {
        text = uiText("Dayplex::ucAgenda", "Unbekannter Fehler.");
    }
    qCWarning(lcCalendar, "menu command: %s", qUtf8Printable(text));
    try {
        cTools::Message(text, Prompt::Kind::Warning);
    } catch (...) {
        // Nothing is left to tell the user with but the log.
        warnCaught(lcCalendar(), QStringLiteral("message of a failed menu command"));
    }
}

void CalendarMenu::prepare()
{
    const MenuState state = d->core.menuState();
    for (QAction *entry : m_days)
        entry->setChecked(leadingNumber(entry->text()) == state.shownDays);
    m_neu->setEnabled(state.canCreate);
    m_anzeigen->setEnabled(state.canShow);
    m_verschieben->setEnabled(state.canMove);
}

void CalendarMenu::popup(QPoint surfacePosition)
{
    QWidget *surface = d->pic ? d->pic : d->q;
    takeOutHostEntries(*m_popUp, m_own);
    QString dsn;
    HitRegion region;
    if (findHitRegion(d->core.scene.hits, surfacePosition.x(), surfacePosition.y(), HitFilter::DragStart, region)
        && d->core.data.store.contains(region.lngIdx))
        dsn = d->core.data.store.at(region.lngIdx).dsn;
    Q_EMIT d->q->contextMenuAboutToShow(m_popUp, dsn);
    // popup(), not exec(): the press handler returns at once and the menu runs on its own.
    m_popUp->popup(surface->mapToGlobal(surfacePosition));
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

void CalendarMenu::openPicker(const QString &mode)
{
    ucAgenda *q = d->q;
    m_picker->setTag(mode);
    m_picker->setValue(q->CurrentDate());
    m_picker->setGeometry(-2, -m_picker->height() - 2, m_picker->width(), m_picker->height());
    if (const QScreen *screen = q->screen()) {
        const MonthGrid grid = monthGridForScreen(
            screen->size().width(), MonthGrid{m_picker->monthsAcross(), m_picker->monthsDown()});
        m_picker->setMonthsAcross(grid.across);
        m_picker->setMonthsDown(grid.down);
    }
    m_picker->show();
    m_picker->setFocus(Qt::OtherFocusReason);
    // The box lies just above the control's top left corner, so the drop-down opens there.
    m_picker->openDropDown();
}

void CalendarMenu::pickerChange(double newValue)
{
    ucAgenda *q = d->q;
    if (m_picker->Tag() == kMoveTag) {
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

void CalendarMenu::showDays(int index)
{
    if (index < 0 || index >= int(m_days.size()))
        return;
    ucAgenda *q = d->q;
    const double count = leadingNumber(m_days[size_t(index)]->text());
    const Date from = q->CurrentDate();
    double last = from + count - 1;
    q->SetDisplayedRange(from, &last, false, true);
    q->Repaint();
}

} // namespace Dayplex
