#ifndef DAYPLEX_UCAGENDA_H
#define DAYPLEX_UCAGENDA_H

#include <dayplex/dates.h>
#include <dayplex/dayplex_export.h>
#include <dayplex/presentation.h>
#include <dayplex/kalenderobjekttyp.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

class QPainter;

namespace Dayplex {

class ucAgendaPrivate;

// The calendar: one to fourteen day columns of a time raster with an all-day band above it.
// The host delivers the appointments of the displayed days when NeedDates asks for them.
// Dates are automation dates (see dates.h); colours are Windows colour values 0x00BBGGRR.
class DAYPLEX_EXPORT ucAgenda : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ClassID", "{6037C507-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("InterfaceID", "{6037C506-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("EventsID", "{6037C509-D2E8-11D2-802E-0080C83B816D}")
    Q_CLASSINFO("ProgID", "Dayplex.ucAgenda")
    Q_CLASSINFO("Interface", "_ucAgenda")
    Q_CLASSINFO("EventInterface", "__ucAgenda")

    Q_PROPERTY(bool ForPrinting MEMBER ForPrinting DESIGNABLE false)
    Q_PROPERTY(bool Enabled MEMBER Enabled DESIGNABLE false)
    Q_PROPERTY(double CurrentDate READ CurrentDate DESIGNABLE false)
    Q_PROPERTY(QString TerminDSN READ TerminDSN DESIGNABLE false)
    Q_PROPERTY(double SelectionStart READ SelectionStart WRITE setSelectionStart DESIGNABLE false)
    Q_PROPERTY(double SelectionEnd READ SelectionEnd WRITE setSelectionEnd DESIGNABLE false)
    Q_PROPERTY(double FirstDay READ FirstDay DESIGNABLE false)
    Q_PROPERTY(double LastDay READ LastDay DESIGNABLE false)
    Q_PROPERTY(double TimeRaster READ TimeRaster WRITE setTimeRaster DESIGNABLE false)
    Q_PROPERTY(qint32 DayInfoHeight READ DayInfoHeight WRITE setDayInfoHeight)
    Q_PROPERTY(double FirstTime READ FirstTime WRITE setFirstTime DESIGNABLE false)
    Q_PROPERTY(QString SelectedDate READ SelectedDate WRITE setSelectedDate DESIGNABLE false)
    Q_PROPERTY(qint32 MinDateHeight READ MinDateHeight WRITE setMinDateHeight)
    Q_PROPERTY(bool ConfirmChanges READ ConfirmChanges WRITE setConfirmChanges)
    Q_PROPERTY(QString Options READ Options WRITE setOptions)

public:
    explicit ucAgenda(QWidget *parent = nullptr);
    ~ucAgenda() override;

    // Set by the print driver while it renders pages; no other effect.
    bool ForPrinting = false;
    // While false the control never raises NeedDates.
    bool Enabled = false;

    double CurrentDate() const;
    QString TerminDSN() const;
    double SelectionStart() const;
    void setSelectionStart(double value);
    double SelectionEnd() const;
    void setSelectionEnd(double value);
    double FirstDay() const;
    double LastDay() const;
    double TimeRaster() const;
    void setTimeRaster(double value);
    qint32 DayInfoHeight() const;
    void setDayInfoHeight(qint32 value);
    double FirstTime() const;
    void setFirstTime(double value);
    QString SelectedDate() const;
    void setSelectedDate(const QString &dsn);
    qint32 MinDateHeight() const;
    void setMinDateHeight(qint32 value);
    bool ConfirmChanges() const;
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
    Q_INVOKABLE qint32 MaxLong(qint32 a, qint32 b);
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

    // Paints the view as the screen shows it into an image of the given size, without a
    // window; the hit regions then describe that image. On the screen the view is painted on
    // the drawing surface "pic", the control's area left of the time bar "VScroll" and above
    // the day bar "HScroll". The size is in logical pixels; a device pixel ratio of 2 gives a
    // HiDPI picture with twice the pixels each way. Too large a picture gives a null image.
    QImage paintToImage(const QSize &size, qreal devicePixelRatio = 1);

    // The screen presentation, Classic by default (see presentation.h). Not a property of the
    // meta-object: late-bound hosts and the options string do not know it.
    Presentation presentation() const;
    void setPresentation(Presentation presentation);

Q_SIGNALS:
    void DateChanged(const QString &dsn, double newStartDate, double NewEndDate);
    void NeedDates(double daystart, double dayende, const QString &strFeldliste);
    void NewDate(double dateStart, double dateEnde, bool btagestermin);
    void ChangeFilter();
    void ShowDate(const QString &dsn);
    void OptionsChanged();
    void ShowImGantt(double ab);

public:
    // A working week from morning to afternoon in the widget's font; at least one day with a
    // few rows.
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
