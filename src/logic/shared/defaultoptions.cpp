#include "shared/defaultoptions.h"

#include "shared/ccontainer.h"
#include "shared/toolbox.h"

namespace Dayplex {

namespace {

using Kind = cContainer::Kind;

constexpr double hours(int h)
{
    return h / 24.0;
}

void putFlag(cContainer &c, const QString &key, bool value)
{
    c.setValue(key, value, Kind::Boolean);
}

void putNumber(cContainer &c, const QString &key, int value)
{
    c.setValue(key, value, Kind::Integer);
}

void putColour(cContainer &c, const QString &key, qint32 value)
{
    c.setValue(key, value, Kind::Long);
}

void putTime(cContainer &c, const QString &key, double value)
{
    c.setValue(key, value, Kind::Date);
}

void putText(cContainer &c, const QString &key, const QString &value)
{
    c.setValue(key, value, Kind::Text);
}

} // namespace

QStringList layoutOptionKeys()
{
    return {QStringLiteral("strLayoutScreenCalendar"), QStringLiteral("strLayoutDruckTag"),
            QStringLiteral("strLayoutDruckWoche"), QStringLiteral("strLayoutScreenGantt"),
            QStringLiteral("strLayoutDruckGantt")};
}

QString defaultLayoutString()
{
    cContainer c;
    putTime(c, QStringLiteral("timeStartZeit"), hours(8));
    putTime(c, QStringLiteral("timeEndZeit"), hours(18));
    putText(c, QStringLiteral("strAusgabefelder"), QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name"));
    putText(c, QStringLiteral("strAufloesung"), QStringLiteral("30 Minuten"));
    putNumber(c, QStringLiteral("lngHoeheTagestermin"), 1);
    putNumber(c, QStringLiteral("lngHoeheTerminzelle"), 4);
    putFlag(c, QStringLiteral("blnOptimiertezeilenhoehe"), false);
    putFlag(c, QStringLiteral("blnErledigteDurchstreichen"), true);
    putFlag(c, QStringLiteral("blnQuerformat"), false);
    putNumber(c, QStringLiteral("lngRandLinks"), 20);
    putNumber(c, QStringLiteral("lngRandRechts"), 10);
    putNumber(c, QStringLiteral("lngRandUnten"), 10);
    putNumber(c, QStringLiteral("lngRandOben"), 10);
    putNumber(c, QStringLiteral("lngAnzahlTage"), 7);
    putText(c, QStringLiteral("strFont"), QStringLiteral("MS Sans Serif, 8pt"));
    putNumber(c, QStringLiteral("lngAbstandHorizontal"), 10);
    putNumber(c, QStringLiteral("lngAbstandVertikal"), 10);
    putNumber(c, QStringLiteral("lngAnzahlAnsichtenUebereinander"), 1);
    putNumber(c, QStringLiteral("lngAnzahlAnsichtenNebeneinander"), 1);
    putColour(c, QStringLiteral("rgbFreizeit"), cToolbox::DefaultFreeTimeColor());
    putColour(c, QStringLiteral("rgbArbeitszeit"), 0xFFFFFF);
    putFlag(c, QStringLiteral("blnIndividuelleTerminfarben"), true);
    putColour(c, QStringLiteral("rgbBackMarkiert"), cToolbox::DefaultSelectionColor());
    putColour(c, QStringLiteral("rgbFontMarkiert"), 0x000000);
    putColour(c, QStringLiteral("rgbBackUeberschrift"), cToolbox::DefaultFreeTimeColor());
    putColour(c, QStringLiteral("rgbFontUeberschrift"), 0x000000);
    putColour(c, QStringLiteral("rgbBackFeiertag"), 0x00FFFF);
    putColour(c, QStringLiteral("rgbFontFeiertag"), 0x000000);
    putColour(c, QStringLiteral("rgbBackTagestermine"), 0x00FFFF);
    putColour(c, QStringLiteral("rgbFontTagestermine"), 0x000000);
    putColour(c, QStringLiteral("rgbBackTermine"), 0x00FFFF);
    putColour(c, QStringLiteral("rgbFontTermine"), 0x000000);
    putColour(c, QStringLiteral("rgbZeitbalken"), 0xFF0000);
    putColour(c, QStringLiteral("rgbBackMonatsuebersichtkopf"), 0xFF0000);
    putColour(c, QStringLiteral("rgbFontMonatsuebersichtkopf"), 0xFFFFFF);
    putColour(c, QStringLiteral("rgbBackKopfzeilen"), 0xFFFFFF);
    putColour(c, QStringLiteral("rgbFontKopfzeilen"), 0x000000);
    return c.ContainerString();
}

QString defaultOptionsString()
{
    cContainer c;
    putFlag(c, QStringLiteral("blnGermanLegalHolidays"), true);
    putFlag(c, QStringLiteral("blnConfirmChanges"), true);
    // Automation dates 1 to 7 are Sunday 1899-12-31 to Saturday 1900-01-06, so n is also the
    // weekday number of the keys.
    for (int n = 1; n <= 7; ++n) {
        const QString day = QString::number(n);
        putFlag(c, QStringLiteral("blnFrei") + day, cToolbox::IsDayOff(n));
        if (n == 1 || n == 7)
            continue;
        putTime(c, QStringLiteral("timeArbeitszeitVon") + day, hours(8));
        putTime(c, QStringLiteral("timeArbeitszeitBis") + day, hours(18));
        putTime(c, QStringLiteral("timePause1Von") + day, hours(12));
        putTime(c, QStringLiteral("timePause1Bis") + day, hours(13));
    }
    for (const QString &key : layoutOptionKeys())
        putText(c, key, defaultLayoutString());
    putFlag(c, QStringLiteral("blnUeberschneidenAKT"), true);
    putFlag(c, QStringLiteral("blnUeberschneidenCalendar"), true);
    putFlag(c, QStringLiteral("blnUeberschneidenGantt"), true);
    putFlag(c, QStringLiteral("blnUeberschneidenFeiertage"), true);
    return c.ContainerString();
}

} // namespace Dayplex
