#ifndef DAYPLEX_CTLGANTT_H
#define DAYPLEX_CTLGANTT_H

#include <dayplex/dates.h>
#include <dayplex/dayplex_export.h>
#include <dayplex/presentation.h>
#include <dayplex/series.h>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>

class QMenu;
class QPainter;

namespace Dayplex {

class ctlGanttPrivate;

/// The resource view: one row per participant, the days across, appointments as bars, and a
/// search for the next slot in which all marked participants are free.
///
/// The host delivers the rows and appointments of the displayed days when NeedDates asks for
/// them. Dates are automation dates (see dates.h); colours are Windows colour values
/// 0x00BBGGRR. A failing member throws Dayplex::Error and changes nothing.
class DAYPLEX_EXPORT ctlGantt : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ClassID", "{6037C50F-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("InterfaceID", "{6037C50E-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("EventsID", "{6037C510-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("ProgID", "Dayplex.ctlGantt")
    Q_CLASSINFO("Interface", "_ctlGantt")
    Q_CLASSINFO("EventInterface", "__ctlGantt")

    /// The first displayed day.
    Q_PROPERTY(double mStartDate MEMBER mStartDate DESIGNABLE false)
    /// The last displayed day.
    Q_PROPERTY(double mEndDate MEMBER mEndDate DESIGNABLE false)
    /// True while the print driver renders pages of the view.
    Q_PROPERTY(bool ForPrinting MEMBER ForPrinting DESIGNABLE false)
    /// Whether the view asks the host for appointments; false until the host sets it.
    Q_PROPERTY(bool Enabled MEMBER Enabled DESIGNABLE false)
    /// Whether a moved appointment is changed only after the user agreed (read-only).
    Q_PROPERTY(bool ConfirmChanges READ ConfirmChanges DESIGNABLE false)
    /// The moment under the mouse, or the first displayed day (read-only).
    Q_PROPERTY(double CurrentDate READ CurrentDate DESIGNABLE false)
    /// The first displayed day (read-only).
    Q_PROPERTY(double FirstDay READ FirstDay DESIGNABLE false)
    /// Whether the selected appointment is read-only (read-only).
    Q_PROPERTY(bool isSelectedReadOnly READ isSelectedReadOnly DESIGNABLE false)
    /// The last displayed day (read-only).
    Q_PROPERTY(double LastDay READ LastDay DESIGNABLE false)
    /// The key of the selected appointment; empty when none is selected.
    Q_PROPERTY(QString SelectedDate READ SelectedDate WRITE setSelectedDate DESIGNABLE false)
    /// The options string: every option of the view with its value and kind.
    Q_PROPERTY(QString Options READ Options WRITE setOptions)
    /// A flag kept for the host; the row height follows the layout's own setting.
    Q_PROPERTY(bool OptimaleZeilenhoehe READ OptimaleZeilenhoehe WRITE setOptimaleZeilenhoehe)

public:
    explicit ctlGantt(QWidget *parent = nullptr);
    ~ctlGantt() override;

    // Plain fields: writing them stores the value and does nothing else.

    /// The first displayed day; SetDisplayedRange sets it.
    double mStartDate = 0;
    /// The last displayed day; SetDisplayedRange sets it.
    double mEndDate = 0;
    /// Set by the print driver while it renders pages; no other effect.
    bool ForPrinting = false;
    /// While false the control never raises NeedDates.
    bool Enabled = false;

    bool ConfirmChanges() const;
    double CurrentDate() const;
    /// The first displayed day, mStartDate.
    double FirstDay() const;
    bool isSelectedReadOnly() const;
    /// The last displayed day, mEndDate.
    double LastDay() const;
    /// The key of the selected appointment, or an empty text when none is selected.
    QString SelectedDate() const;
    void setSelectedDate(const QString &dsn);
    QString Options() const;
    void setOptions(const QString &options);
    /// The flag last stored with setOptimaleZeilenhoehe; false at first.
    bool OptimaleZeilenhoehe() const;
    void setOptimaleZeilenhoehe(bool value);

    // Write-only property.
    Q_INVOKABLE void setAlignOnWeekday(qint32 weekday);

    Q_INVOKABLE void Clear();
    Q_INVOKABLE void FreienTerminSuchen(double dateab);
    /// Opens the free-slot search from \a from with only the rows named by \a rowKeys marked
    /// (every row when none of them is shown) and, when \a length (a duration in days) lies
    /// between one minute and a day, the length of the slot sought set to it. Not a member of
    /// the late-bound interface.
    void findFreeSlot(double from, const QStringList &rowKeys, double length = 0);
    Q_INVOKABLE QVariant GetidxGanttEintrag(qint32 x, qint32 y);
    Q_INVOKABLE qint32 GetMerkmalIndex(qint32 y);
    Q_INVOKABLE void Drag(qint32 left, qint32 top, qint32 width, qint32 height);
    Q_INVOKABLE bool isIntervallSichtbar(double date1, double date2);
    Q_INVOKABLE bool isTerminFrei(double dateStart, double dateEnde);
    Q_INVOKABLE bool isTerminFreiMerkmal(double dateStart, double dateEnde,
                                         const QString &strmkmdsn);
    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void Repaint();
    Q_INVOKABLE double rundezeit(double d);
    Q_INVOKABLE void TerminVorSchlagEintragen(double dateStart, double dateEnde);
    Q_INVOKABLE void ZeilenFarbe(qint32 StartY, qint32 Farbe);
    Q_INVOKABLE void MousePointer(const QVariant &v);
    Q_INVOKABLE QString ShowOptionsDialog();
    Q_INVOKABLE void SelectedDateMove(double NewDate, qint32 dragzielTyp);
    Q_INVOKABLE void PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                                  qint32 hoehe);
    Q_INVOKABLE void SetDisplayedRange(double dayFirstDay, double *dayLastDay = nullptr,
                                       bool blnDefault = false, bool blnalignonweekday = true);
    Q_INVOKABLE void SetFilledRange(double daystart, double dayEnd);
    Q_INVOKABLE QVariant PrintGantt(bool blnPrintPreview);
    Q_INVOKABLE void Scroll(const QVariant &lngDirection);
    Q_INVOKABLE void AddDate(const QString &dsn, const QString &notiz, double von, double bis,
                             bool btagestermin, qint32 fontcolor, bool blnErledigt,
                             qint32 backcolor, bool breadonly, const QString &merkmaldsn,
                             bool blnhinweis, bool blnfeiertag = false);
    /// AddDate with the start and end as QDateTime (local wall-clock time) and the colours as
    /// QColor in the row \a merkmaldsn; an invalid colour takes the layout's default colour of
    /// an appointment. Throws Dayplex::Error for an invalid start or end. Not a member of the
    /// late-bound interface.
    void AddDate(const QString &dsn, const QString &notiz, const QDateTime &von,
                 const QDateTime &bis, bool allDay, const QColor &textColour, bool done,
                 const QColor &backgroundColour, bool readOnly, const QString &merkmaldsn,
                 bool blnhinweis = false);
    Q_INVOKABLE void AddMerkmal(const QString &Merkmal, const QString &dsn);

    /// Paints the view as the screen shows it into an image of the given size, without a
    /// window; hit-testing then refers to that image. The size is in logical pixels; a device
    /// pixel ratio of 2 gives a HiDPI picture. Too large a picture gives a null image.
    QImage paintToImage(const QSize &size, qreal devicePixelRatio = 1);

    /// The screen presentation, Classic by default (see presentation.h). Not a property of the
    /// meta-object: late-bound hosts and the options string do not know it.
    Presentation presentation() const;
    void setPresentation(Presentation presentation);

    /// The print presentation of PrintGantt and the menu's "Drucken...", Classic by default.
    /// Modern prints the period the view shows over as many pages as it needs, each with
    /// whole days at a scale where a working hour holds its start time: the working hours
    /// wide, appointments in lanes, a title with the period and the "Stand:" line, the
    /// participants' names and "Seite n von m" on every page, no text below 7 points.
    /// Classic prints the views of the print layout one by one as it always did. Not a
    /// property of the meta-object, like presentation().
    Presentation printPresentation() const;
    void setPrintPresentation(Presentation presentation);

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
    /// The user moved an occurrence of a series (see setAppointmentDetails), chose which
    /// occurrences the change is for (\a scope), and the change stands in the view; the
    /// occurrence's new start and end. Raised instead of DateChanged, also when ConfirmChanges
    /// is off; nothing is raised when the user cancels. The host changes the series.
    void seriesDateChanged(const QString &dsn, Dayplex::SeriesScope scope, double newStartDate,
                           double newEndDate);
    /// The user moved the appointment \a dsn and the change stands (agreed to, or not asked);
    /// its new start and end. The host stores the change.
    void DateChanged(const QString &dsn, double newStartDate, double NewEndDate);
    /// The user turned the proposal into a new appointment ("Neu"): its start and end and the
    /// keys of the marked rows joined with "|". The view adds nothing itself.
    void NewDate(double dateStart, double dateEnde, const QString &strmerkmalsliste);
    /// The user asked to open the appointment \a dsn ("Anzeigen" or a double click).
    void ShowDate(const QString &dsn);
    /// The user confirmed the options dialog and the view applied the new options; the host
    /// stores Options for the next start.
    void OptionsChanged();
    /// The view needs the rows and appointments of the days from \a daystart to \a dayende.
    /// The host answers at once: SetFilledRange(daystart, dayende), AddMerkmal for every row,
    /// then AddDate for every appointment, with the text made of the fields named in
    /// \a strFeldliste (the layout's strAusgabefelder). Raised only while Enabled is true.
    void NeedDates(double daystart, double dayende, const QString &strFeldliste);
    /// The user asked to choose the participants shown ("Teilnehmer...").
    void ChangeFilter();
    /// The user asked for the calendar (">>Kalender").
    void ShowImCalendar();

    // Beside the classic events; late-bound hosts do not know them.

    /// The user double-clicked free time of the row \a strmerkmalsliste (its key; never the
    /// holiday row): a new appointment from the moment under the mouse, rounded to ten minutes
    /// as a drop is, one hour long. The view adds nothing itself; the classic double click
    /// (ShowDate of the selection) stays.
    void newAppointmentRequested(double dateStart, double dateEnd, const QString &strmerkmalsliste);
    /// The user pressed Delete (Entf) while the writable appointment \a dsn was selected. The
    /// view deletes nothing itself: the host asks and deletes, then refreshes.
    void deleteRequested(const QString &dsn);
    /// The context menu \a menu is about to open over the appointment \a dsn (empty over free
    /// time; the selection when the keyboard opens it). The host may add its own entries below
    /// the view's, which stay first and unchanged; entries added here are taken out again
    /// before the menu opens the next time (those the menu owns are deleted).
    void contextMenuAboutToShow(QMenu *menu, const QString &dsn);

public:
    /// A week for a small team in the widget's font; at least two days for two rows.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    /// Paints nothing itself: the picture area and the scroll bars are child widgets.
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class ctlGanttPrivate;
    std::unique_ptr<ctlGanttPrivate> const d;
};

} // namespace Dayplex

#endif
