#include "gantt/ctlgantt_p.h"

#include "shared/unavailable.h"

#include <cmath>

namespace Dayplex {

/*!
    Creates the resource view with the default options and Enabled false. Its first day is the
    current date and time and its last day the current date, so that the first range request
    without a last day shows the layout's default number of days.
*/
ctlGantt::ctlGantt(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlGanttPrivate>())
{
    d->options.setContainerString(d->common.GetDefaultOptions());
    d->layout.setContainerString(d->options.textValue(QStringLiteral("strLayoutScreenGantt")));
    mStartDate = currentDateTime();
    mEndDate = currentDate();
}

ctlGantt::~ctlGantt() = default;

/*! The option blnConfirmChanges; this view has no setter of its own. */
bool ctlGantt::ConfirmChanges() const
{
    return d->options.boolValue(QStringLiteral("blnConfirmChanges"));
}

double ctlGantt::CurrentDate() const
{
    return d->datMaus > 0 ? d->datMaus : mStartDate;
}

double ctlGantt::FirstDay() const
{
    return mStartDate;
}

bool ctlGantt::isSelectedReadOnly() const
{
    throwNotYetAvailable("ctlGantt.isSelectedReadOnly");
}

double ctlGantt::LastDay() const
{
    return mEndDate;
}

QString ctlGantt::SelectedDate() const
{
    return d->selectedDate;
}

/*! Stores the selected key without checking it; does not repaint. */
void ctlGantt::setSelectedDate(const QString &dsn)
{
    d->selectedDate = dsn;
}

QString ctlGantt::Options() const
{
    return d->options.ContainerString();
}

void ctlGantt::setOptions(const QString &options)
{
    throwNotYetAvailable("ctlGantt.Options");
}

bool ctlGantt::OptimaleZeilenhoehe() const
{
    return d->optimaleZeilenhoehe;
}

/*! A stored flag; the row height follows the layout option blnOptimiertezeilenhoehe. */
void ctlGantt::setOptimaleZeilenhoehe(bool value)
{
    d->optimaleZeilenhoehe = value;
}

void ctlGantt::setAlignOnWeekday(qint32 weekday)
{
    d->alignWeekday = weekday;
}

void ctlGantt::Clear()
{
    throwNotYetAvailable("ctlGantt.Clear");
}

void ctlGantt::FreienTerminSuchen(double dateab)
{
    throwNotYetAvailable("ctlGantt.FreienTerminSuchen");
}

QVariant ctlGantt::GetidxGanttEintrag(qint32 x, qint32 y)
{
    throwNotYetAvailable("ctlGantt.GetidxGanttEintrag");
}

qint32 ctlGantt::GetMerkmalIndex(qint32 y)
{
    throwNotYetAvailable("ctlGantt.GetMerkmalIndex");
}

void ctlGantt::Drag(qint32 left, qint32 top, qint32 width, qint32 height)
{
    throwNotYetAvailable("ctlGantt.Drag");
}

/*! Whether the days of date1 to date2 lie within the displayed days. */
bool ctlGantt::isIntervallSichtbar(double date1, double date2)
{
    return mStartDate <= cTools::DateOnly(date1) && cTools::DateOnly(date2) <= mEndDate;
}

bool ctlGantt::isTerminFrei(double dateStart, double dateEnde)
{
    throwNotYetAvailable("ctlGantt.isTerminFrei");
}

bool ctlGantt::isTerminFreiMerkmal(double dateStart, double dateEnde, const QString &strmkmdsn)
{
    throwNotYetAvailable("ctlGantt.isTerminFreiMerkmal");
}

void ctlGantt::Refresh()
{
    throwNotYetAvailable("ctlGantt.Refresh");
}

void ctlGantt::Repaint()
{
    throwNotYetAvailable("ctlGantt.Repaint");
}

/*! Rounds a date to the nearest 10 minutes. */
double ctlGantt::rundezeit(double d)
{
    const double minutes = d * 1440.0;
    return std::floor(minutes / 10.0 + 0.5) * 10.0 / 1440.0;
}

void ctlGantt::TerminVorSchlagEintragen(double dateStart, double dateEnde)
{
    throwNotYetAvailable("ctlGantt.TerminVorSchlagEintragen");
}

void ctlGantt::ZeilenFarbe(qint32 StartY, qint32 Farbe)
{
    throwNotYetAvailable("ctlGantt.ZeilenFarbe");
}

void ctlGantt::MousePointer(const QVariant &v)
{
    throwNotYetAvailable("ctlGantt.MousePointer");
}

QString ctlGantt::ShowOptionsDialog()
{
    throwNotYetAvailable("ctlGantt.ShowOptionsDialog");
}

void ctlGantt::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    throwNotYetAvailable("ctlGantt.SelectedDateMove");
}

void ctlGantt::PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                            qint32 hoehe)
{
    throwNotYetAvailable("ctlGantt.PrintAnsicht");
}

void ctlGantt::SetDisplayedRange(double dayFirstDay, double *dayLastDay, bool blnDefault,
                                 bool blnalignonweekday)
{
    throwNotYetAvailable("ctlGantt.SetDisplayedRange");
}

void ctlGantt::SetFilledRange(double daystart, double dayEnd)
{
    throwNotYetAvailable("ctlGantt.SetFilledRange");
}

QVariant ctlGantt::PrintGantt(bool blnPrintPreview)
{
    throwNotYetAvailable("ctlGantt.PrintGantt");
}

void ctlGantt::Scroll(const QVariant &lngDirection)
{
    throwNotYetAvailable("ctlGantt.Scroll");
}

void ctlGantt::AddDate(const QString &dsn, const QString &notiz, double von, double bis,
                       bool btagestermin, qint32 fontcolor, bool blnErledigt, qint32 backcolor,
                       bool breadonly, const QString &merkmaldsn, bool blnhinweis,
                       bool blnfeiertag)
{
    throwNotYetAvailable("ctlGantt.AddDate");
}

void ctlGantt::AddMerkmal(const QString &Merkmal, const QString &dsn)
{
    throwNotYetAvailable("ctlGantt.AddMerkmal");
}

} // namespace Dayplex
