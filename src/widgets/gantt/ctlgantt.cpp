#include "gantt/ctlgantt_p.h"

#include "accessibility/accessiblefactory.h"
#include "gantt/freeslotsearch.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/changeprompt.h"
#include "shared/guarded.h"
#include "shared/viewsurface.h"
#include "shared/logging.h"
#include "shared/spinnerbar.h"

#include <dayplex/error.h>

#include <QStyle>
#include <QTimeEdit>
#include <utility>

namespace Dayplex {

/*!
    Creates the resource view with the default options and Enabled false. Its first day is the
    current date and time and its last day the current date, so that the first range request
    without a last day shows the layout's default number of days.
*/
ctlGantt::ctlGantt(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlGanttPrivate>(this))
{
    installAccessibleInterfaces();
    d->createChildren();
    d->menu = std::make_unique<GanttMenu>(d.get());
    d->connectChildren();
    d->connectCoreEvents();
    d->arrange();

    d->panel->setWindow(d->core.settings.windowFrom, d->core.settings.windowTo);
    d->publishRange();
}

ctlGantt::~ctlGantt()
{
    // The surface goes first: closing the window on the way out would tell it of the keyboard
    // leaving after the private part is gone.
    delete std::exchange(d->calpic, nullptr);
}

/*! The option blnConfirmChanges; this view has no setter of its own. */
bool ctlGantt::ConfirmChanges() const
{
    return d->core.settings.options.boolValue(QStringLiteral("blnConfirmChanges"));
}

/*! The moment under the mouse, or the first displayed day while there is none. */
double ctlGantt::CurrentDate() const
{
    return d->core.model.datMaus > 0 ? d->core.model.datMaus : mStartDate;
}

double ctlGantt::FirstDay() const
{
    return mStartDate;
}

/*! The read-only flag of the first appointment with the selected key; false without one. */
bool ctlGantt::isSelectedReadOnly() const
{
    return d->core.model.isSelectedReadOnly();
}

double ctlGantt::LastDay() const
{
    return mEndDate;
}

QString ctlGantt::SelectedDate() const
{
    return d->core.model.selectedDate;
}

/*! Stores the selected key without checking it; does not repaint. */
void ctlGantt::setSelectedDate(const QString &dsn)
{
    d->core.model.selectedDate = dsn;
}

/*! The options string in force: every option with its value and kind. */
QString ctlGantt::Options() const
{
    return d->core.settings.options.ContainerString();
}

/*!
    Merges an options string into the options in force, takes the screen layout from
    strLayoutScreenGantt and Monday's working hours as the daily window of the free-slot
    search. Nothing is repainted and the range stays; callers that need a new picture call
    Refresh. A string that cannot be read throws Dayplex::Error and leaves every option as it was.
*/
void ctlGantt::setOptions(const QString &options)
{
    d->core.setOptions(options);
    d->panel->setWindow(d->core.settings.windowFrom, d->core.settings.windowTo);
}

bool ctlGantt::OptimaleZeilenhoehe() const
{
    return d->core.optimaleZeilenhoehe;
}

/*! A stored flag; the row height follows the layout option blnOptimiertezeilenhoehe. */
void ctlGantt::setOptimaleZeilenhoehe(bool value)
{
    d->core.optimaleZeilenhoehe = value;
}

/*!
    The weekday (1 = Sunday ... 7 = Saturday) a range moves back to; 0 for none. Other values
    throw Dayplex::Error 5 and keep the weekday in force.
*/
void ctlGantt::setAlignOnWeekday(qint32 weekday)
{
    d->core.setAlignWeekday(weekday);
}

/*! Empties rows, appointments and their details, deselects and drops the proposal; does not
    repaint. */
void ctlGantt::Clear()
{
    d->core.clear();
}

void ctlGantt::setAppointmentDetails(const QString &dsn, const AppointmentDetails &details)
{
    d->core.setAppointmentDetails(dsn, details);
}

AppointmentDetails ctlGantt::appointmentDetails(const QString &dsn) const
{
    return d->core.model.details(dsn);
}

/*!
    The index (1-based, in order of arrival) of the first appointment whose bar in the last
    paint holds the pixel (x, y), or an empty variant when there is none. Bars not on screen
    are never hit.
*/
QVariant ctlGantt::GetidxGanttEintrag(qint32 x, qint32 y)
{
    const qint32 index = d->core.scene.entryAt(d->core.model, x, y);
    return index > 0 ? QVariant(index) : QVariant();
}

/*! The row under y in the last paint (1-based), 0 over the header or below the last row. */
qint32 ctlGantt::GetMerkmalIndex(qint32 y)
{
    return d->core.scene.layout.rowAt(y, d->firstRow(), d->core.model.rowCount());
}

/*! Whether the days of date1 to date2 lie within the displayed days. */
bool ctlGantt::isIntervallSichtbar(double date1, double date2)
{
    return GanttModel::isIntervallSichtbar(mStartDate, mEndDate, date1, date2);
}

/*!
    Forgets the filled range, so that the host is asked for the displayed days again
    (NeedDates, when Enabled), and repaints.
*/
void ctlGantt::Refresh()
{
    d->changeRange([](GanttCore &core) { core.refresh(); });
    Repaint();
}

/*! Paints the control now (nothing while it is hidden or prints). */
void ctlGantt::Repaint()
{
    // What the screen shows is what a paint would show: only hit-testing goes back to it.
    if (d->synced().keptShowsNow()) {
        d->core.scene = d->core.screenScene;
        return;
    }
    d->vScroll->showRange();
    d->calpic->repaint();
}

void ctlGantt::paintEvent(QPaintEvent *)
{
    // The picture area paints itself; the control shows only its children.
}

namespace {

// A name column of twenty characters, day columns of perDay characters, the header (three
// text lines) and participant rows of three text lines each, plus the two scroll bars.
QSize ganttHint(const QWidget &widget, int days, int perDay, int rows)
{
    const QFontMetrics metrics = widget.fontMetrics();
    const int character = metrics.horizontalAdvance(QLatin1Char('X'));
    const int bar = widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
    return QSize(character * (20 + days * perDay) + bar, metrics.height() * 3 * (1 + rows) + bar);
}

} // namespace

/*! Seven days of ten characters for eight participants. */
QSize ctlGantt::sizeHint() const
{
    return ganttHint(*this, 7, 10, 8);
}

/*! Two days of six characters for two participants. */
QSize ctlGantt::minimumSizeHint() const
{
    return ganttHint(*this, 2, 6, 2);
}

/*! Arranges the search panel, the picture area and the two scroll bars; the paint follows. */
void ctlGantt::resizeEvent(QResizeEvent *)
{
    try {
        d->arrange();
    } catch (...) {
        warnCaught(lcGantt(), QStringLiteral("layout after a resize"));
    }
}

/*!
    Paints the view as the screen shows it into an image of the given size, without showing
    a window; bar rectangles and layout fields then describe that image. \a size is in
    logical pixels; with a \a devicePixelRatio of 2 the image has twice as many pixels each
    way and carries that ratio. Sizes below 1 pixel, a ratio outside 1 to 4, or a picture of
    more than 32767 device pixels a side or 2^26 device pixels in all (for example
    8192 x 8192) give a null image, the same rule as the calendar's.
*/
QImage ctlGantt::paintToImage(const QSize &size, qreal devicePixelRatio)
{
    return d->synced().paintToImage(size, devicePixelRatio);
}

/*! The screen presentation; Classic unless the host chose Modern. */
Presentation ctlGantt::presentation() const
{
    return d->core.presentation;
}

/*!
    Switches the screen presentation and repaints. Printing, the options string and the
    members reached by name are not affected.
*/
void ctlGantt::setPresentation(Presentation presentation)
{
    if (presentation == d->core.presentation)
        return;
    d->core.presentation = presentation;
    d->calpic->update();
}

/*! The print presentation; Classic unless the host chose Modern. */
Presentation ctlGantt::printPresentation() const
{
    return d->core.printPresentation;
}

/*!
    Chooses how PrintGantt prints (see printPresentation()). The screen, the options string
    and the members reached by name are not affected.
*/
void ctlGantt::setPrintPresentation(Presentation presentation)
{
    d->core.printPresentation = presentation;
}

/*!
    Rounds a date to the nearest 10 minutes (10:05 becomes 10:10, 10:04:59 10:00). An invalid
    date throws Dayplex::Error 5.
*/
double ctlGantt::rundezeit(double d)
{
    requireValidDate(d, "rundezeit");
    return GanttModel::rundezeit(d);
}

/*!
    Fills the time part of a row band from StartY, one row high, in the colour Farbe, straight
    onto the picture on screen; the next full paint draws over it.
*/
void ctlGantt::ZeilenFarbe(qint32 StartY, qint32 Farbe)
{
    if (d->core.picture.isNull())
        return;
    d->core.fillRowBand(StartY, Farbe);
    d->showFrame();
}

/*!
    Shows the days from dayFirstDay to dayLastDay, at most 101. Without a last day (0, or one
    before the first day) the current span is kept, or with blnDefault (and on a fresh view)
    the layout's lngAnzahlTage days, and the computed last day is written back. With
    blnalignonweekday the range moves back to the AlignOnWeekday weekday while the requested
    day stays visible. Raises NeedDates when the days leave the filled range and Enabled is
    true, but never from inside a NeedDates handler. Does not repaint. A wheel turn of less
    than a notch over the day bar is forgotten. Invalid dates throw Dayplex::Error 5 and change
    nothing.
*/
void ctlGantt::SetDisplayedRange(double dayFirstDay, double *dayLastDay, bool blnDefault,
                                 bool blnalignonweekday)
{
    d->changeRange([&](GanttCore &core) {
        core.setDisplayedRange(dayFirstDay, dayLastDay, blnDefault, blnalignonweekday);
    });
    d->hScroll->dropWheelTurn();
}

/*!
    Records the range the host delivers, empties rows and appointments and, when the option
    blnGermanLegalHolidays is on, adds the row "Feiertage" (key "{1}") with the public holidays
    of every year the range touches as read-only all-day entries keyed 1LEGALHOLIDY,
    2LEGALHOLIDY, ... Invalid dates throw Dayplex::Error 5 and change nothing.
*/
void ctlGantt::SetFilledRange(double daystart, double dayEnd)
{
    d->core.setFilledRange(daystart, dayEnd);
    if (d->core.model.rowCount() > 0)
        d->updateRowMaximum();
}

/*!
    Appends one appointment to the row whose key is merkmaldsn (appointments naming no row are
    kept but never drawn). No repaint, no event. Invalid dates throw Dayplex::Error 5.
*/
void ctlGantt::AddDate(const QString &dsn, const QString &notiz, double von, double bis,
                       bool btagestermin, qint32 fontcolor, bool blnErledigt, qint32 backcolor,
                       bool breadonly, const QString &merkmaldsn, bool blnhinweis,
                       bool blnfeiertag)
{
    d->core.model.addDate(dsn, notiz, von, bis, btagestermin, fontcolor, blnErledigt, backcolor,
                     breadonly, merkmaldsn, blnhinweis, blnfeiertag);
}

/*!
    Appends one participant row, unmarked. The vertical scroll bar's maximum follows the row
    count without repainting.
*/
void ctlGantt::AddMerkmal(const QString &Merkmal, const QString &dsn)
{
    d->core.model.addMerkmal(Merkmal, dsn);
    d->updateRowMaximum();
}

/*!
    Moves the shown days: 1 or -1 by one day, without weekday alignment; any other value by
    one page (the number of shown days) in its direction, aligned to the AlignOnWeekday
    weekday; 0 stays. Asks the host for the new days when needed and repaints. A value that is
    no number throws Dayplex::Error 13.
*/
void ctlGantt::Scroll(const QVariant &lngDirection)
{
    d->changeRange([&](GanttCore &core) { core.scrollDays(lngDirection); });
    Repaint();
}

/*!
    Draws an inverted frame from (left, top) to (left + width, top + height) straight onto the
    picture on screen, after erasing the frame drawn before; the hairline at the mouse is such a
    frame. Nothing happens when left equals the left edge of the last frame; left -1 forgets
    the last frame without drawing. A full paint forgets it as well. A frame whose edges leave
    the 32-bit range throws Dayplex::Error 6.
*/
void ctlGantt::Drag(qint32 left, qint32 top, qint32 width, qint32 height)
{
    const bool drawn = left != d->core.drag.left && left != -1;
    d->core.drawDragFrame(left, top, width, height);
    if (drawn && !d->core.picture.isNull())
        d->showFrame();
}

/*!
    Sets the mouse pointer of the picture area. A number (or the text "0") is a standard
    pointer: 0 the default, 1 to 15 the standard shapes, 99 the custom cursor last loaded;
    other numbers throw Dayplex::Error 5. Any other value names one of the library's cursors
    ("curMove", "SizeN", "SizeS", "SplitterNS", in any case); it is loaded only when it differs
    from the last value given. An unknown name throws Dayplex::Error 5 and changes nothing.
*/
void ctlGantt::MousePointer(const QVariant &v)
{
    d->pointer.set(*d->calpic, v);
}

/*!
    Moves every appointment with the selected key to NewDate, keeping its length: to NewDate
    itself when both NewDate and the old start have a time of day, else to NewDate's day at the
    old clock time. The row never changes. The change goes through the confirmation
    (ConfirmChanges); refused, the old times come back. Repaints, and raises DateChanged for
    a confirmed move. An occurrence of a series asks for the scope instead, also without
    ConfirmChanges, and raises seriesDateChanged; "Abbrechen" brings the old times back. Nothing happens without a selection; dragzielTyp is not used. An invalid
    date, or one the move would carry out of the calendar, throws Dayplex::Error 5 and changes
    nothing.
*/
void ctlGantt::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    Q_UNUSED(dragzielTyp);
    const std::optional<ChangeRequest> request = d->core.moveSelected(NewDate);
    if (!request)
        return;
    ChangeAnswer answer;
    try {
        answer = askChange(*request, [this] { Repaint(); });
    } catch (...) {
        // The question failed: the appointments keep their confirmed times.
        d->core.revertChange(*request);
        Repaint();
        throw;
    }
    d->core.commitChange(*request, answer);
    Repaint();
    d->core.raiseChange(*request, answer);
}

/*!
    Prints the view through the print dialog (or the preview) with the print layout
    strLayoutDruckGantt: each printed view shows the next page of days. Afterwards the screen
    layout is back and the view shows the first day it showed before, with its span, also when
    the job fails. Returns what the print driver returns.
*/
QVariant ctlGantt::PrintGantt(bool blnPrintPreview)
{
    return d->print(blnPrintPreview);
}

/*!
    Draws the current view into the rectangle (offsetx, offsety, breite, hoehe) of the
    printer's painter hdc, in the painter's font, framed by a black line. Lines are at least
    cDC::MinimumLinePoints wide on a printer. While
    ForPrinting is true no selection, row marking, current-time line or proposal is drawn.
    A painter that is not active, or an empty rectangle, throws Dayplex::Error 5.
*/
void ctlGantt::PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                            qint32 hoehe)
{
    d->synced().printView(hdc, offsetx, offsety, breite, hoehe);
}

/*!
    Opens the options dialog on the current options. Confirmed, its options are applied, the
    view asks the host for its days again and repaints, and OptionsChanged is raised. Cancelled,
    nothing changes. Always returns "".
*/
QString ctlGantt::ShowOptionsDialog()
{
    return d->common.ShowOptionsOf(*this);
}

/*!
    Opens the search panel above the chart, searching from the day of dateab: no days, a
    length of one hour, Monday's working hours as the window, every row but the holiday row
    marked. An invalid date throws Dayplex::Error 5.
*/
void ctlGantt::FreienTerminSuchen(double dateab)
{
    requireValidDate(dateab, "FreienTerminSuchen");
    d->core.model.datMaus = dateab;
    d->openSearchPanel();
}

/*!
    Opens the free-slot search from \a from as FreienTerminSuchen does, but with only the rows
    whose keys \a rowKeys names marked (every row when none of them is shown) and, when \a length
    lies between one minute and a day, the slot's length set to it. Invalid dates throw
    Dayplex::Error 5.
*/
void ctlGantt::findFreeSlot(double from, const QStringList &rowKeys, double length)
{
    requireValidDate(from, "findFreeSlot");
    FreienTerminSuchen(from);
    markRowsByKey(d->core.model, rowKeys);
    if (const int minutes = hourPickerMinutes(length); minutes > 0)
        d->panel->dtpTimeStunden->setTime(QTime(0, 0).addSecs(minutes * 60));
    Repaint();
}

/*!
    Whether dateStart to dateEnde may be proposed: no Saturday or Sunday touched unless the
    panel allows weekends and holidays, and no marked row (nor the holiday row, unless allowed)
    busy then. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFrei(double dateStart, double dateEnde)
{
    return d->core.isSlotFree(dateStart, dateEnde, d->panel->weekends());
}

/*!
    Whether no appointment of the row strmkmdsn overlaps dateStart to dateEnde; mere notes
    never count. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFreiMerkmal(double dateStart, double dateEnde, const QString &strmkmdsn)
{
    return d->core.isRowFree(dateStart, dateEnde, strmkmdsn);
}

/*!
    Makes dateStart to dateEnde the proposal, shown in the marked rows at the next paint.
    Invalid dates throw Dayplex::Error 5 and change nothing.
*/
void ctlGantt::TerminVorSchlagEintragen(double dateStart, double dateEnde)
{
    d->core.propose(dateStart, dateEnde);
}

} // namespace Dayplex
