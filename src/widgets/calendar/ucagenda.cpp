#include "calendar/ucagenda_p.h"

#include "accessibility/accessiblefactory.h"
#include "calendar/calendararguments.h"
#include "calendar/calendarmenu.h"
#include "shared/cdc.h"
#include "shared/guarded.h"
#include "shared/logging.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>
#include <QPainter>
#include <cmath>
#include <utility>

namespace Dayplex {

/*!
    Creates the calendar showing today, with the default options and Enabled false, so that no
    NeedDates is raised until the host sets Enabled and asks for a range.
*/
ucAgenda::ucAgenda(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ucAgendaPrivate>(this))
{
    installAccessibleInterfaces();
    d->connectCoreEvents();
    d->createChildren();
    Enabled = false;
    d->menu = std::make_unique<CalendarMenu>(d.get());
}

ucAgenda::~ucAgenda()
{
    // The surface goes first: closing the window on the way out would tell it of the keyboard
    // leaving after the private part is gone.
    delete std::exchange(d->pic, nullptr);
}

/*!
    The date the user is working on: the start of the selected appointment, else the start of
    the selected time range, else the first displayed day.
*/
double ucAgenda::CurrentDate() const
{
    return d->core.workingDate();
}

/*!
    The keys of the appointments in the displayed days, each followed by "|"; holidays and
    appointments without a key are left out.
*/
QString ucAgenda::TerminDSN() const
{
    return d->core.data.store.keysOverlapping(d->core.grid.firstDay, d->core.grid.lastDay);
}

double ucAgenda::SelectionStart() const
{
    return d->core.selection.start;
}

/*!
    0 clears the time selection; any other value becomes the start of the selection, rounded
    down to the raster. The end is not touched.
*/
void ucAgenda::setSelectionStart(double value)
{
    d->core.setSelectionStart(value);
}

/*! The end of the time selection (the end of its last slot), or 0 when nothing is selected. */
double ucAgenda::SelectionEnd() const
{
    return d->core.selection.start > 0 ? d->core.selection.endSlot + d->core.grid.timeRaster : 0;
}

/*! A value above 0 makes the slot that ends at it the last selected slot; others do nothing. */
void ucAgenda::setSelectionEnd(double value)
{
    d->core.setSelectionEnd(value);
}

double ucAgenda::FirstDay() const
{
    return d->core.grid.firstDay;
}

double ucAgenda::LastDay() const
{
    return d->core.grid.lastDay;
}

double ucAgenda::TimeRaster() const
{
    return d->core.grid.timeRaster;
}

/*!
    Sets the length of one time row, a duration from one minute up to one day that divides the
    day into whole rows (Dayplex::Error 5 otherwise, nothing changed). The rows of a day follow
    at once; the cell matrix keeps its size until the next SetDisplayedRange.
*/
void ucAgenda::setTimeRaster(double value)
{
    d->core.grid.setRaster(value);
}

qint32 ucAgenda::DayInfoHeight() const
{
    return d->core.grid.dayInfoHeight;
}

/*! Rows of the all-day band; values below 1 are stored as 1. */
void ucAgenda::setDayInfoHeight(qint32 value)
{
    d->core.grid.dayInfoHeight = cTools::MaxLongValue(value, 1);
}

double ucAgenda::FirstTime() const
{
    return d->core.grid.firstTime;
}

/*! The time of the first visible row; the time of day of the value, rounded down to the raster. */
void ucAgenda::setFirstTime(double value)
{
    d->core.setFirstTime(value);
}

QString ucAgenda::SelectedDate() const
{
    return d->core.selectedKey();
}

/*!
    Selects the first appointment with exactly this key that is neither a holiday nor
    read-only, and clears the time selection. When there is none, nothing is selected and the
    time selection stays. Does not repaint.
*/
void ucAgenda::setSelectedDate(const QString &dsn)
{
    d->core.selectKey(dsn);
}

qint32 ucAgenda::MinDateHeight() const
{
    return d->core.grid.minDateHeight;
}

/*! The minimum number of rows of a timed appointment; values below 1 are stored as 1. */
void ucAgenda::setMinDateHeight(qint32 value)
{
    d->core.grid.minDateHeight = MaxLong(value, 1);
}

bool ucAgenda::ConfirmChanges() const
{
    return d->core.settings.confirmChanges;
}

void ucAgenda::setConfirmChanges(bool value)
{
    d->core.settings.confirmChanges = value;
}

/*! The options string in force: every option with its value and kind. */
QString ucAgenda::Options() const
{
    return d->core.settings.options.ContainerString();
}

/*!
    Merges an options string into the options in force and applies it: the change
    confirmation, the screen layout (raster, first time, cell heights) and the displayed range
    with its working times. The number of displayed days stays. A string that cannot be read,
    or whose screen layout has a raster that does not divide the day, throws Dayplex::Error and
    leaves every option as it was.
*/
void ucAgenda::setOptions(const QString &options)
{
    d->core.setOptions(options);
}

/*! The weekday (1 = Sunday ... 7 = Saturday) the first displayed day is moved back to; 0 none. */
void ucAgenda::setAlignOnWeekday(qint32 weekday)
{
    d->core.alignWeekday = weekday;
}

/*! Hands the help file path to the application (its "helpFile" property). */
void ucAgenda::setHelpFile(const QString &path)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->setProperty("helpFile", path);
}

/*!
    Colours the cell of the time grid that holds cellStartdate until the next range change.
    A date outside the displayed days throws Dayplex::Error (index out of range).
*/
void ucAgenda::setBackcolor(double cellStartdate, qint32 value)
{
    d->core.setCellColour(cellStartdate, value);
}

/*!
    Appends one appointment to the store. Nothing is laid out or painted; the caller repaints.
    Start and end must be valid dates; an end before the start is kept as delivered.
*/
void ucAgenda::AddDate(const QString &dsn, const QString &memo, double dateStart, double dateEnd,
                       bool btagestermin, qint32 fontcolor, bool blnErledigt, qint32 backcolor,
                       bool breadonly, bool blnfeiertag)
{
    d->core.data.store.add(dsn, memo, dateStart, dateEnd, btagestermin, fontcolor, blnErledigt, backcolor,
                 breadonly, blnfeiertag);
}

/*! Empties the store and the appointment details, deselects the appointment; ranges and
    time selection stay. */
void ucAgenda::Clear()
{
    d->core.clear();
}

void ucAgenda::setAppointmentDetails(const QString &dsn, const AppointmentDetails &details)
{
    d->core.setAppointmentDetails(dsn, details);
}

AppointmentDetails ucAgenda::appointmentDetails(const QString &dsn) const
{
    return d->core.data.store.details(dsn);
}

/*!
    Rounds a date down to a multiple of a duration, after adding one second, so that times a
    rounding error below a raster boundary count as the boundary.
*/
double ucAgenda::DateAbrunden(double datum, const QVariant &abrundenauf)
{
    return roundedDownArgument(datum, abrundenauf);
}

/*! The number of displayed days. */
qint32 ucAgenda::GetAnzahlTage()
{
    return d->core.grid.dayCount();
}

/*! The day column of a date, 0 for the first displayed day, -1 outside the displayed days. */
qint32 ucAgenda::GetSpaltenIndex(double datum)
{
    return d->core.grid.columnOf(datum);
}

/*!
    The day columns and time rows an interval covers, written into the four indices; false,
    with the indices untouched, when it misses the displayed days. Within one day the rows
    span at least MinDateHeight rows, and an end on a raster boundary closes the row before.
*/
bool ucAgenda::GetTerminIndices(const QVariant &dateStart, const QVariant &dateEnde,
                                qint32 *idxtagvon, qint32 *idxtagbis, qint32 *idxzeilevon,
                                qint32 *idxzeilebis, qint32 MinDateHeight)
{
    return d->core.terminIndices(dateStart, dateEnde, idxtagvon, idxtagbis, idxzeilevon, idxzeilebis,
                                 MinDateHeight);
}

/*!
    The x offset of a moment within the all-day band, from the left of the first day column;
    moments outside the displayed days are moved to its ends. Uses the last paint's geometry.
*/
qint32 ucAgenda::GetXTagesTermin(double datum)
{
    requireValidDate(datum, "GetXTagesTermin");
    return d->core.paintedGrid().bandX(datum);
}

/*! The y of the top of the time grid in the last paint. */
qint32 ucAgenda::GetYErsteZeile()
{
    return d->core.scene.grid.firstRowTop();
}

/*! The time row of a date's time of day: 08:29 is row 16 in a 30-minute raster. */
qint32 ucAgenda::GetZeilenIndex(double datum)
{
    requireValidDate(datum, "GetZeilenIndex");
    return d->core.grid.rowOf(datum);
}

/*! Whether the selected appointment is read-only; false when none is selected. */
bool ucAgenda::isSelectedReadOnly()
{
    return d->core.selectedReadOnly();
}

qint32 ucAgenda::MaxLong(qint32 a, qint32 b)
{
    return a > b ? a : b;
}

qint32 ucAgenda::MinLong(qint32 value1, qint32 value2)
{
    return value1 < value2 ? value1 : value2;
}

/*!
    Forgets the filled range, so that the host is asked for the displayed days again
    (NeedDates, when Enabled), and repaints.
*/
void ucAgenda::Refresh()
{
    d->core.refresh();
    Repaint();
}

/*!
    Paints the drawing surface now, as far as it does not show the view yet. Does nothing
    while the control is hidden; its hit regions then stay those of the last paint.
*/
void ucAgenda::Repaint()
{
    d->showPicture();
}

/*! Places the drawing surface and the scroll bars in the new size and repaints. */
void ucAgenda::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    try {
        d->layoutChildren(width(), height());
    } catch (...) {
        warnCaught(lcCalendar(), QStringLiteral("layout after a resize"));
    }
}

namespace {

// The calendar's measure of a font: the width of "w" and one time row (1.5 text heights).
QSize calendarCell(const QWidget &widget)
{
    const QFontMetrics metrics = widget.fontMetrics();
    return QSize(metrics.horizontalAdvance(QLatin1Char('w')),
                 int(std::nearbyint(metrics.height() * 1.5)));
}

// The time column (five characters) and day columns of perDay characters, the header, band
// rows, the splitter (a fifth of a row) and time rows, plus the two scroll bars.
QSize calendarHint(const QWidget &widget, int days, int perDay, int bandRows, int timeRows)
{
    const QSize cell = calendarCell(widget);
    const int bar = widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
    return QSize(cell.width() * (5 + days * perDay) + bar,
                 cell.height() * (1 + bandRows + timeRows) + cell.height() / 5 + bar);
}

} // namespace

/*! Seven days of twelve characters and sixteen time rows (eight hours at 30 minutes). */
QSize ucAgenda::sizeHint() const
{
    return calendarHint(*this, 7, 12, 3, 16);
}

/*! One day of ten characters, one band row and four time rows. */
QSize ucAgenda::minimumSizeHint() const
{
    return calendarHint(*this, 1, 10, 1, 4);
}

/*!
    The arrow keys move the time selection; Escape cancels a running drag or resize. Beside
    them: Tab and Shift+Tab walk the appointments (Tab goes to the view's surface first),
    Enter opens the one the keyboard is on or makes a change of the keys, the menu key and
    Shift+F10 open the context menu there, Alt with an arrow moves the selected appointment by
    a raster row or a day and Alt+Shift with an arrow its end, until Enter asks and raises
    DateChanged as a drag does or Escape takes it back. Other keys are left to the parent.
*/
void ucAgenda::keyPressEvent(QKeyEvent *event)
{
    bool handled = true;
    guarded(lcCalendar(), [&] { handled = d->keyPress(event->key(), event->modifiers()); });
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

/*!
    Paints the view as the screen shows it into an image of the given size, without showing
    a window; the hit regions then describe that image. The view fills the whole image: the
    scroll bars are not part of it, and neither is a drag ghost. \a size is in logical pixels;
    with a \a devicePixelRatio of 2 the image has twice as many pixels each way and carries
    that ratio, so that lines and text come out sharp on a HiDPI screen. Sizes below 1 pixel,
    a ratio outside 1 to 4, or a picture of more than 32767 device pixels a side or 2^26
    device pixels in all (for example 8192 x 8192) give a null image.
*/
QImage ucAgenda::paintToImage(const QSize &size, qreal devicePixelRatio)
{
    if (cDC::pictureSize(size, devicePixelRatio).isEmpty())
        return QImage();
    // The kept picture is handed out shared: drawn once, it is not copied.
    return d->picture(size, devicePixelRatio);
}

/*! The screen presentation; Classic unless the host chose Modern. */
Presentation ucAgenda::presentation() const
{
    return d->core.presentation;
}

/*!
    Switches the screen presentation and repaints. Printing, the options string and the
    members reached by name are not affected.
*/
void ucAgenda::setPresentation(Presentation presentation)
{
    if (d->core.setPresentation(presentation))
        d->pic->update();
}

/*! The print presentation; Classic unless the host chose Modern. */
Presentation ucAgenda::printPresentation() const
{
    return d->core.printPresentation;
}

/*!
    Chooses how PrintCalendar prints its sheets (see printPresentation()). The screen, the
    options string and the members reached by name are not affected.
*/
void ucAgenda::setPrintPresentation(Presentation presentation)
{
    d->core.printPresentation = presentation;
}

/*!
    Records the range the host has delivered, empties the store and, when the option
    blnGermanLegalHolidays is on, adds the public holidays of every year the range touches as
    read-only all-day entries keyed by their list number.
*/
void ucAgenda::SetFilledRange(double daystart, double dayEnd)
{
    requireValidDate(daystart, "SetFilledRange");
    requireValidDate(dayEnd, "SetFilledRange");
    d->core.setFilledRange(daystart, dayEnd);
}

/*!
    Shows the days from dayFirstDay to dayLastDay (at most fourteen). Without a last day the
    current number of days is kept, or with blnDefault the layout's lngAnzahlTage. With
    blnalignonweekday the first day moves back to the AlignOnWeekday weekday, as long as the
    requested day stays visible. Raises NeedDates when the days leave the filled range and
    Enabled is true, and writes the resulting last day back. Does not repaint. A wheel turn of
    less than a notch over the scroll bars or the drawing surface is forgotten.
*/
void ucAgenda::SetDisplayedRange(double dayFirstDay, double *dayLastDay,
                                 const QVariant &blnDefault, bool blnalignonweekday)
{
    d->core.setDisplayedRange(dayFirstDay, dayLastDay, blnDefault.toBool(), blnalignonweekday);
    d->dropWheelTurns();
}

/*!
    Opens the options dialog on the options in force. When the user confirms, the edited
    options are applied, the displayed days are asked for again and repainted, and
    OptionsChanged is raised so that the host can store the new string. Always returns the
    empty text; the host reads the options through Options.
*/
QString ucAgenda::ShowOptionsDialog()
{
    return d->common.ShowOptionsOf(*this);
}

/*!
    Places a segment of rows of one day in the lowest sub-column free in all of its rows.
    Indices outside the cell matrix throw Dayplex::Error (index out of range).
*/
void ucAgenda::SpaltenBelegen(qint32 idxtag, qint32 idxzeilevon, qint32 idxzeilebis,
                              const QString &dsn)
{
    d->core.matrix.spaltenBelegen(idxtag, idxzeilevon, idxzeilebis, dsn);
}

/*!
    Enters an interval of days and rows into the occupancy, one segment per day, each in its
    own lowest free sub-column. Indices outside the cell matrix throw Dayplex::Error.
*/
void ucAgenda::ZellenBelegungEintragen(qint32 idxtagvon, qint32 idxtagbis, qint32 idxzeilevon,
                                       qint32 idxzeilebis, const QString &dsn)
{
    d->core.matrix.zellenBelegungEintragen(idxtagvon, idxtagbis, idxzeilevon, idxzeilebis, dsn);
}

/*!
    Scrolls the displayed days and repaints: by one day for 1 and -1, otherwise by the number
    of displayed days in the direction of the sign (0 shows the same days again). A page step
    is aligned on the AlignOnWeekday weekday, a day step is not. Asks the host for data
    (NeedDates) when the new days leave the filled range. A value that is not a number throws
    Dayplex::Error (type mismatch); an empty value counts as 0.
*/
void ucAgenda::Scroll(const QVariant &lngDirection)
{
    d->core.scrollDays(scrollDirectionArgument(lngDirection));
    Repaint();
}

/*! Stops the automatic scrolling of a drag. */
void ucAgenda::StopAutoScroll()
{
    d->timerAutoScroll->stop();
    d->core.gesture.stopAutoScroll();
}

/*!
    Whether the rest of the day from FirstTime on, and two rows more, fits on the drawing
    surface. Uses the geometry of the last paint.
*/
bool ucAgenda::isLastRowVisible()
{
    return d->core.lastRowVisible();
}

/*!
    Draws the drag ghost: a frame from (left, top) to (left + width, top + height), inverted
    over the picture of the surface, so that what lies under it stays readable and comes back
    unchanged. The frame drawn before is taken away first; four zeros only take it away. The
    ghost stays over later repaints until it is replaced. Throws Dayplex::Error (overflow) when
    the right or bottom edge leaves the 32-bit range, changing nothing.
*/
void ucAgenda::DrawDragDrop(qint32 left, qint32 top, qint32 width, qint32 height)
{
    d->core.setGhost(left, top, width, height, d->pic->size());
    d->showPicture();
}

/*!
    Sets the mouse pointer of the drawing surface. A number (or the text "0") is a standard
    pointer: 0 the default, 1 to 15 the standard shapes, 99 the custom cursor last loaded;
    other numbers throw Dayplex::Error (invalid argument). Any other value names one of the
    library's cursors, matched without regard to case: "curMove", "SizeN", "SizeS",
    "SplitterNS"; it is loaded only when it differs from the value given last, so that a mouse
    move over the same zone costs nothing. An unknown name throws Dayplex::Error (invalid
    argument) and leaves pointer and cache as they were.
*/
void ucAgenda::MousePointer(const QVariant &v)
{
    d->pointer.set(*d->pic, v);
}

/*!
    Moves the selected appointment to NewDate, keeping its duration: dragzielTyp 2 (a day of
    the all-day band) keeps its time of day, any other target starts it at NewDate. Whether it
    is an all-day entry does not change. The change then goes through the confirmation
    (ConfirmChanges) and, once committed, DateChanged is raised; an occurrence of a series
    asks for the scope instead and raises seriesDateChanged. Nothing happens without a
    selected appointment. An invalid date throws Dayplex::Error, changing nothing.
*/
void ucAgenda::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    if (!d->core.moveSelected(NewDate, dragzielTyp))
        return;
    try {
        d->decideChange(d->core.selection.index);
    } catch (...) {
        d->core.restoreSelectedTimes();
        throw;
    }
}

/*!
    Prints the displayed period: a one-day view as "Tagesplan" with the layout
    strLayoutDruckTag, a longer one as "Wochenplan" with strLayoutDruckWoche, through the print
    dialog (or the preview). Afterwards the screen layout and the period shown before are back,
    also when the job fails or the print layout's raster does not divide the day
    (Dayplex::Error 5). Returns the print driver's result.
*/
QVariant ucAgenda::PrintCalendar(bool blnPrintPreview)
{
    // The chosen sheets come back here, one job each, with the choice made.
    if (d->printChoice.asks())
        return d->printChoice.run(*this, d->printSheets(), blnPrintPreview);
    return d->print(blnPrintPreview);
}

/*!
    Draws one printed view into the rectangle (offsetx, offsety, breite, hoehe) of the
    printer's painter hdc: a header band with the month overviews of the first day's month and
    the next, the title block between them, the calendar below in print mode (no selection, no
    today mark, the day cut at the last raster step that fits), and a frame around it all.
*/
void ucAgenda::PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                            qint32 hoehe)
{
    d->synced().printView(hdc, offsetx, offsety, breite, hoehe);
}

void ucAgenda::offerPrintChoice(bool offered, ctlGantt *resourceView)
{
    d->printChoice.offer(offered, resourceView);
}

bool ucAgenda::printChoiceOffered() const
{
    return d->printChoice.offered();
}

} // namespace Dayplex
