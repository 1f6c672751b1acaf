// The Gantt view's print job, its printed view and the options dialog.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttpainter.h"
#include "shared/cdc.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QDebug>
#include <QPainter>

#include <limits>

namespace Dayplex {

/*!
    Prints the view through the print dialog (or the preview) with the print layout
    strLayoutDruckGantt: each printed view shows the next page of days. Afterwards the screen
    layout is back and the view shows the first day it showed before, with its span, also when
    the job fails. Returns what the print driver returns.
*/
QVariant ctlGantt::PrintGantt(bool blnPrintPreview)
{
    const Date rememberedFirstDay = mStartDate;
    const auto restoreScreen = [this, rememberedFirstDay] {
        d->applySettings(d->settings.withLayout(QStringLiteral("strLayoutScreenGantt")));
        SetDisplayedRange(rememberedFirstDay, nullptr, false, true);
        Repaint();
    };
    QVariant result;
    try {
        d->applySettings(d->settings.withLayout(QStringLiteral("strLayoutDruckGantt")));
        result = d->common.PrintCalendar(this, blnPrintPreview, d->settings.layout);
    } catch (...) {
        restoreScreen();
        throw;
    }
    restoreScreen();
    return result;
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
    if (!hdc || !hdc->isActive())
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: kein aktives Druckziel."));
    if (breite < 1 || hoehe < 1)
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: die Ansicht hat keine Fläche."));
    if (qint64(offsetx) + breite > std::numeric_limits<qint32>::max()
        || qint64(offsety) + hoehe > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("PrintAnsicht: das Rechteck ist zu groß."));
    cDC dc;
    dc.Initialize(hdc, offsetx + breite, offsety + hoehe, false);
    QFont font = hdc->font();
    dc.setFont(&font);
    dc.UpdateFont();
    // The printed view measures a line by "w" and a character by "Wy".
    const qint32 th = dc.textHeight(QStringLiteral("w"));
    const qint32 cw = dc.textWidth(QStringLiteral("Wy"));

    // Like the bar rectangles, the layout fields describe the last view painted, on paper too,
    // until the screen is painted again.
    try {
        d->drawScene(dc, d->content(ForPrinting, false), offsetx, offsety, breite, hoehe, th, cw,
                     false);
    } catch (const std::exception &) {
        warnCaught(lcPrint(), QStringLiteral("PrintAnsicht"));
    }
    dc.DrawRahmen(offsetx, offsety, breite, hoehe, 0, dc.lineWidth());
}

/*!
    Opens the options dialog on the current options. Confirmed, its options are applied, the
    view asks the host for its days again and repaints, and OptionsChanged is raised. Cancelled,
    nothing changes. Always returns "".
*/
QString ctlGantt::ShowOptionsDialog()
{
    const QString edited = d->common.Show(Options(), presentation());
    if (!edited.isEmpty()) {
        setOptions(edited);
        Refresh();
        Q_EMIT OptionsChanged();
    }
    return QString();
}

} // namespace Dayplex
