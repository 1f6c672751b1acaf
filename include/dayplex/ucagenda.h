#ifndef DAYPLEX_UCAGENDA_H
#define DAYPLEX_UCAGENDA_H

#include <dayplex/dates.h>
#include <dayplex/dayplex_export.h>
#include <dayplex/presentation.h>
#include <dayplex/series.h>
#include <dayplex/kalenderobjekttyp.h>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

class QMenu;
class QPainter;

namespace Dayplex {

class ucAgendaPrivate;
class ctlGantt;

/// The calendar: one to fourteen day columns of a time raster with an all-day band above it.
///
/// The host delivers the appointments of the displayed days when NeedDates asks for them, and
/// reacts to the events the view raises when the user creates, opens, moves or resizes an
/// appointment. Dates are automation dates (see dates.h); colours are Windows colour values
/// 0x00BBGGRR. A failing member throws Dayplex::Error and changes nothing.
class DAYPLEX_EXPORT ucAgenda : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ClassID", "{6037C507-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("InterfaceID", "{6037C506-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("EventsID", "{6037C509-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("ProgID", "Dayplex.ucAgenda")
    Q_CLASSINFO("Interface", "_ucAgenda")
    Q_CLASSINFO("EventInterface", "__ucAgenda")

    /// True while the print driver renders pages of the view.
    Q_PROPERTY(bool ForPrinting MEMBER ForPrinting DESIGNABLE false)
    /// Whether the view asks the host for appointments; false until the host sets it.
    Q_PROPERTY(bool Enabled MEMBER Enabled DESIGNABLE false)
    /// The date the user is working on (read-only).
    Q_PROPERTY(double CurrentDate READ CurrentDate DESIGNABLE false)
    /// The keys of the appointments of the displayed days, each followed by "|" (read-only).
    Q_PROPERTY(QString TerminDSN READ TerminDSN DESIGNABLE false)
    /// The start of the selected time range; 0 when no time is selected.
    Q_PROPERTY(double SelectionStart READ SelectionStart WRITE setSelectionStart DESIGNABLE false)
    /// The end of the selected time range; 0 when no time is selected.
    Q_PROPERTY(double SelectionEnd READ SelectionEnd WRITE setSelectionEnd DESIGNABLE false)
    /// The first displayed day (read-only).
    Q_PROPERTY(double FirstDay READ FirstDay DESIGNABLE false)
    /// The last displayed day (read-only).
    Q_PROPERTY(double LastDay READ LastDay DESIGNABLE false)
    /// The length of one time row, as a duration (1/48 for 30 minutes).
    Q_PROPERTY(double TimeRaster READ TimeRaster WRITE setTimeRaster DESIGNABLE false)
    /// The number of rows of the all-day band, at least 1.
    Q_PROPERTY(qint32 DayInfoHeight READ DayInfoHeight WRITE setDayInfoHeight)
    /// The time of day of the first visible row of the time grid.
    Q_PROPERTY(double FirstTime READ FirstTime WRITE setFirstTime DESIGNABLE false)
    /// The key of the selected appointment; empty when none is selected.
    Q_PROPERTY(QString SelectedDate READ SelectedDate WRITE setSelectedDate DESIGNABLE false)
    /// The minimum number of rows a timed appointment covers, at least 1.
    Q_PROPERTY(qint32 MinDateHeight READ MinDateHeight WRITE setMinDateHeight)
    /// Whether a moved or resized appointment is changed only after the user agreed.
    Q_PROPERTY(bool ConfirmChanges READ ConfirmChanges WRITE setConfirmChanges)
    /// The options string: every option of the view with its value and kind.
    Q_PROPERTY(QString Options READ Options WRITE setOptions)

public:
    explicit ucAgenda(QWidget *parent = nullptr);
    ~ucAgenda() override;

    /// Set by the print driver while it renders pages; no other effect.
    bool ForPrinting = false;
    /// While false the control never raises NeedDates.
    bool Enabled = false;

    double CurrentDate() const;
    QString TerminDSN() const;
    /// The start of the selected time range (the start of its first slot); 0 for none.
    double SelectionStart() const;
    void setSelectionStart(double value);
    double SelectionEnd() const;
    void setSelectionEnd(double value);
    /// The first displayed day, at 00:00.
    double FirstDay() const;
    /// The last displayed day, at 00:00.
    double LastDay() const;
    /// The length of one time row as a duration; the layout's strAufloesung sets it.
    double TimeRaster() const;
    void setTimeRaster(double value);
    /// The number of rows of the all-day band.
    qint32 DayInfoHeight() const;
    void setDayInfoHeight(qint32 value);
    /// The time of day of the first visible row, on the raster.
    double FirstTime() const;
    void setFirstTime(double value);
    /// The key of the selected appointment, or an empty text when none is selected.
    QString SelectedDate() const;
    void setSelectedDate(const QString &dsn);
    /// The minimum number of rows of a timed appointment.
    qint32 MinDateHeight() const;
    void setMinDateHeight(qint32 value);
    /// Whether a moved or resized appointment is changed only after the user agreed to the
    /// question "Soll der Eintrag ... verändert werden"; the option blnConfirmChanges sets it.
    bool ConfirmChanges() const;
    /// Switches the question before a change on or off until the next options string.
    void setConfirmChanges(bool value);
    QString Options() const;
    void setOptions(const QString &options);

    // Write-only properties.
    Q_INVOKABLE void setAlignOnWeekday(qint32 weekday);
    Q_INVOKABLE void setHelpFile(const QString &path);
    Q_INVOKABLE void setBackcolor(double cellStartdate, qint32 value);

    Q_INVOKABLE void AddDate(const QString &dsn, const QString &memo, double dateStart,
                             double dateEnd, bool btagestermin, qint32 fontcolor,
                             bool blnErledigt, qint32 backcolor, bool breadonly,
                             bool blnfeiertag = false);
    /// AddDate with the start and end as QDateTime (local wall-clock time) and the colours as
    /// QColor; an invalid colour takes the layout's default colour of an appointment. Throws
    /// Dayplex::Error for an invalid start or end. Not a member of the late-bound interface.
    void AddDate(const QString &dsn, const QString &memo, const QDateTime &start,
                 const QDateTime &end, bool allDay, const QColor &textColour = QColor(),
                 bool done = false, const QColor &backgroundColour = QColor(),
                 bool readOnly = false);
    Q_INVOKABLE void Clear();
    Q_INVOKABLE double DateAbrunden(double datum, const QVariant &abrundenauf);
    Q_INVOKABLE void DrawDragDrop(qint32 left, qint32 top, qint32 width, qint32 height);
    Q_INVOKABLE qint32 GetAnzahlTage();
    Q_INVOKABLE qint32 GetSpaltenIndex(double datum);
    Q_INVOKABLE bool GetTerminIndices(const QVariant &dateStart, const QVariant &dateEnde,
                                      qint32 *idxtagvon, qint32 *idxtagbis,
                                      qint32 *idxzeilevon, qint32 *idxzeilebis,
                                      qint32 MinDateHeight = 1);
    Q_INVOKABLE qint32 GetXTagesTermin(double datum);
    Q_INVOKABLE qint32 GetYErsteZeile();
    Q_INVOKABLE qint32 GetZeilenIndex(double datum);
    Q_INVOKABLE bool isLastRowVisible();
    Q_INVOKABLE bool isSelectedReadOnly();
    Q_INVOKABLE void MousePointer(const QVariant &v);
    /// The larger of two numbers.
    Q_INVOKABLE qint32 MaxLong(qint32 a, qint32 b);
    /// The smaller of two numbers.
    Q_INVOKABLE qint32 MinLong(qint32 value1, qint32 value2);
    Q_INVOKABLE void PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                                  qint32 hoehe);
    Q_INVOKABLE QVariant PrintCalendar(bool blnPrintPreview);
    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void Repaint();
    Q_INVOKABLE void Scroll(const QVariant &lngDirection);
    Q_INVOKABLE void SelectedDateMove(double NewDate, qint32 dragzielTyp);
    Q_INVOKABLE void SetFilledRange(double daystart, double dayEnd);
    Q_INVOKABLE void SetDisplayedRange(double dayFirstDay, double *dayLastDay = nullptr,
                                       const QVariant &blnDefault = QVariant(false),
                                       bool blnalignonweekday = true);
    Q_INVOKABLE QString ShowOptionsDialog();
    Q_INVOKABLE void SpaltenBelegen(qint32 idxtag, qint32 idxzeilevon, qint32 idxzeilebis,
                                    const QString &dsn);
    Q_INVOKABLE void StopAutoScroll();
    Q_INVOKABLE void ZellenBelegungEintragen(qint32 idxtagvon, qint32 idxtagbis,
                                             qint32 idxzeilevon, qint32 idxzeilebis,
                                             const QString &dsn);

    /// Paints the view as the screen shows it into an image of the given size, without a
    /// window; the hit regions then describe that image. On the screen the view is painted on
    /// the drawing surface "pic", the control's area left of the time bar "VScroll" and above
    /// the day bar "HScroll". The size is in logical pixels; a device pixel ratio of 2 gives a
    /// HiDPI picture with twice the pixels each way. Too large a picture gives a null image.
    QImage paintToImage(const QSize &size, qreal devicePixelRatio = 1);

    /// The screen presentation, Classic by default (see presentation.h). Not a property of the
    /// meta-object: late-bound hosts and the options string do not know it.
    Presentation presentation() const;
    void setPresentation(Presentation presentation);

    /// The print presentation of PrintCalendar and the menu's "Drucken...", Classic by default.
    /// Modern prints the sheets of the print layout with texts that end in an ellipsis instead
    /// of being cut, no text below 7 points, the all-day band's texts in the part of their
    /// days that is on the sheet, and, below the grid, the appointments of every day whose
    /// boxes cannot show them whole, with their times (the rows grow lower so that the day's
    /// hours stay on the sheet). Not a property of the meta-object, like presentation().
    Presentation printPresentation() const;
    void setPrintPresentation(Presentation presentation);

    /// Lets the user choose in the print dialog of PrintCalendar and "Drucken..." what is
    /// printed: day sheets ("Tagesplan") for every day of a period, week sheets ("Wochenplan")
    /// for every week it touches, or, when \a resourceView is given, that resource view over
    /// the period (printed through its own PrintGantt, in its print presentation). The dialog
    /// starts with the sheet and period the user sees: the resource view's when it is visible
    /// and this view is not, otherwise this view's. A period that cannot be printed (an end
    /// before the start, more than 31 day sheets, more than a year) is refused with a German
    /// message (the dialog stays open for a better one) and nothing is printed. Both views show what they showed before afterwards.
    /// Off by default: the dialog asks for the number of pages as it always did. The view does
    /// not own \a resourceView and forgets it when it is deleted.
    void offerPrintChoice(bool offered, ctlGantt *resourceView = nullptr);
    bool printChoiceOffered() const;

    /// Tells the view what the appointment(s) with the key \a dsn are beyond the classic
    /// record: an occurrence of a series, the participants of a meeting. Typically called in
    /// the NeedDates handler right after AddDate. Kept until the next Clear (SetFilledRange
    /// clears as well); empty details forget what was told. The modern presentation marks an
    /// occurrence of a series with a sign; tooltips and screen readers name both details.
    /// Moving or resizing an occurrence asks which occurrences the change is for and raises
    /// seriesDateChanged instead of DateChanged. Not a member of the late-bound interface.
    void setAppointmentDetails(const QString &dsn, const Dayplex::AppointmentDetails &details);
    /// What the host told about the appointment(s) with the key \a dsn; empty details when it
    /// told nothing since the last Clear.
    Dayplex::AppointmentDetails appointmentDetails(const QString &dsn) const;

Q_SIGNALS:
    /// The user moved or resized an occurrence of a series (see setAppointmentDetails), chose which
    /// occurrences the change is for (\a scope), and the change stands in the view; the
    /// occurrence's new start and end. Raised instead of DateChanged, also when ConfirmChanges
    /// is off; nothing is raised when the user cancels. The host changes the series.
    void seriesDateChanged(const QString &dsn, Dayplex::SeriesScope scope, double newStartDate,
                           double newEndDate);
    /// The user moved or resized the appointment \a dsn and the change stands (agreed to, or
    /// not asked); its new start and end. The host stores the change.
    void DateChanged(const QString &dsn, double newStartDate, double NewEndDate);
    /// The view needs the appointments of the days from \a daystart to \a dayende. The host
    /// answers at once: SetFilledRange(daystart, dayende), then AddDate for every appointment,
    /// with the memo made of the fields named in \a strFeldliste (the layout's
    /// strAusgabefelder). Raised only while Enabled is true.
    void NeedDates(double daystart, double dayende, const QString &strFeldliste);
    /// The user asked for a new appointment in the selected time ("Neu..."): its start and end;
    /// \a btagestermin is always false. The view adds nothing itself.
    void NewDate(double dateStart, double dateEnde, bool btagestermin);
    /// The user asked to choose the participants shown ("Teilnehmer...").
    void ChangeFilter();
    /// The user asked to open the appointment \a dsn ("Anzeigen" or a double click).
    void ShowDate(const QString &dsn);
    /// The user confirmed the options dialog and the view applied the new options; the host
    /// stores Options for the next start.
    void OptionsChanged();
    /// The user asked for the resource view: 0 for ">> Gantt", the CurrentDate for "Freien
    /// Termin suchen", from which the search should start.
    void ShowImGantt(double ab);

    // Beside the classic events; late-bound hosts do not know them.

    /// The user double-clicked free time: a time cell (its slot, or the whole time selection
    /// when the click lies inside it) or a band cell (that day, or the selected days, with
    /// \a allDay true). \a dateEnd is the end of the last slot or day: 10:00 to 10:30 for the
    /// slot 10:00 in a 30-minute raster, 00:00 of the next day for a whole day. The view adds
    /// nothing itself; the classic double click (ShowDate of a selected appointment) stays.
    void newAppointmentRequested(double dateStart, double dateEnd, bool allDay);
    /// The user pressed Delete (Entf) while the writable appointment \a dsn was selected. The
    /// view deletes nothing itself: the host asks and deletes, then refreshes.
    void deleteRequested(const QString &dsn);
    /// The context menu \a menu is about to open over the appointment \a dsn (empty over free
    /// time or when opened by the keyboard without a selected appointment). The host may add
    /// its own entries below the view's, which stay first and unchanged; entries added here
    /// are taken out again before the menu opens the next time (those the menu owns are
    /// deleted).
    void contextMenuAboutToShow(QMenu *menu, const QString &dsn);

public:
    /// A working week from morning to afternoon in the widget's font; at least one day with a
    /// few rows.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class ucAgendaPrivate;
    std::unique_ptr<ucAgendaPrivate> const d;
};

} // namespace Dayplex

#endif
