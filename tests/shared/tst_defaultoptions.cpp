// The default options and layout strings, and how their values read back.
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"
#include "shared/leadingnumber.h"

#include <QtTest>

using namespace Dayplex;

class tst_DefaultOptions : public QObject
{
    Q_OBJECT

private slots:
    // Catches a default option that differs in value, kind or key order (dialogs list the keys in
    // this order): working times for Monday to Friday only, Saturday and Sunday off, and the
    // default layout in all five layout entries.
    void defaultOptions()
    {
        QStringList expected = {"cContainer 1", "blnGermanLegalHolidays:b=-1", "blnConfirmChanges:b=-1", "blnFrei1:b=-1"};
        for (int n = 2; n <= 6; ++n)
            expected << QStringLiteral("blnFrei%1:b=0").arg(n) << QStringLiteral("timeArbeitszeitVon%1:d=0.3333333333333333").arg(n)
                     << QStringLiteral("timeArbeitszeitBis%1:d=0.75").arg(n) << QStringLiteral("timePause1Von%1:d=0.5").arg(n)
                     << QStringLiteral("timePause1Bis%1:d=0.5416666666666666").arg(n);
        expected << "blnFrei7:b=-1" << "strLayoutScreenCalendar:LAYOUT" << "strLayoutDruckTag:LAYOUT"
                 << "strLayoutDruckWoche:LAYOUT" << "strLayoutScreenGantt:LAYOUT" << "strLayoutDruckGantt:LAYOUT"
                 << "blnUeberschneidenAKT:b=-1" << "blnUeberschneidenCalendar:b=-1" << "blnUeberschneidenGantt:b=-1"
                 << "blnUeberschneidenFeiertage:b=-1" << "";
        const QString layout = defaultLayoutString();
        QString options = defaultOptionsString();
        options.replace(QStringLiteral("s%1=%2").arg(layout.size()).arg(layout), QStringLiteral("LAYOUT"));
        QCOMPARE(options.split(u'\n'), expected);
    }

    // Each layout key holds its default in its documented kind, in the documented order; hosts
    // store these strings and compare them.
    void defaultLayout()
    {
        const QStringList entries = {
            "cContainer 1", "timeStartZeit:d=0.3333333333333333", "timeEndZeit:d=0.75",
            "strAusgabefelder:s32=AKT_Merkmale, AKT_Notiz, AD_Name", "strAufloesung:s10=30 Minuten",
            "lngHoeheTagestermin:i=1", "lngHoeheTerminzelle:i=4", "blnOptimiertezeilenhoehe:b=0",
            "blnErledigteDurchstreichen:b=-1", "blnQuerformat:b=0", "lngRandLinks:i=20", "lngRandRechts:i=10",
            "lngRandUnten:i=10", "lngRandOben:i=10", "lngAnzahlTage:i=7", "strFont:s18=MS Sans Serif, 8pt",
            "lngAbstandHorizontal:i=10", "lngAbstandVertikal:i=10", "lngAnzahlAnsichtenUebereinander:i=1",
            "lngAnzahlAnsichtenNebeneinander:i=1", "rgbFreizeit:l=14737632", "rgbArbeitszeit:l=16777215",
            "blnIndividuelleTerminfarben:b=-1", "rgbBackMarkiert:l=15782048", "rgbFontMarkiert:l=0",
            "rgbBackUeberschrift:l=14737632", "rgbFontUeberschrift:l=0", "rgbBackFeiertag:l=65535",
            "rgbFontFeiertag:l=0", "rgbBackTagestermine:l=65535", "rgbFontTagestermine:l=0",
            "rgbBackTermine:l=65535", "rgbFontTermine:l=0", "rgbZeitbalken:l=16711680",
            "rgbBackMonatsuebersichtkopf:l=16711680", "rgbFontMonatsuebersichtkopf:l=16777215",
            "rgbBackKopfzeilen:l=16777215", "rgbFontKopfzeilen:l=0", ""};
        QCOMPARE(defaultLayoutString().split(u'\n'), entries);
    }

    // Hosts and dialogs spell some keys with other capitals and must reach the same value.
    void keysReadInOtherSpellings_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::addColumn<bool>("inLayout");
        QTest::newRow("blnConfirmchanges") << "blnConfirmchanges" << false;
        QTest::newRow("timeArbeitsZeitVon2") << "timeArbeitsZeitVon2" << false;
        QTest::newRow("timeArbeitszeitvon3") << "timeArbeitszeitvon3" << false;
        QTest::newRow("timeArbeitsZeitBis6") << "timeArbeitsZeitBis6" << false;
        QTest::newRow("lnghoeheterminzelle") << "lnghoeheterminzelle" << true;
        QTest::newRow("lnghoehetagestermin") << "lnghoehetagestermin" << true;
        QTest::newRow("blnOptimierteZeilenhoehe") << "blnOptimierteZeilenhoehe" << true;
        QTest::newRow("rgbBackTagesTermine") << "rgbBackTagesTermine" << true;
        QTest::newRow("timeStartzeit") << "timeStartzeit" << true;
    }
    void keysReadInOtherSpellings()
    {
        QFETCH(QString, spelling);
        QFETCH(bool, inLayout);
        cContainer c;
        c.setContainerString(inLayout ? defaultLayoutString() : defaultOptionsString());
        QVERIFY(c.contains(spelling));
        QVERIFY(c.Value(spelling).isValid());
        QVERIFY(!c.keys().contains(spelling)); // the stored spelling is the original one
    }

    // Raster texts and font sizes are read through their leading number.
    void leadingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("raster") << "30 Minuten" << 30.0;
        QTest::newRow("size in pt with blank") << " 8pt" << 8.0;
        QTest::newRow("size in Punkt") << " 8 Punkt" << 8.0;
        QTest::newRow("fraction") << "7.5 Minuten" << 7.5;
        QTest::newRow("negative") << "-5 Minuten" << -5.0;
        QTest::newRow("no number") << "Minuten" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "- 5" << 0.0;
        QTest::newRow("huge digit run is cut, not infinite") << QString(400, QLatin1Char('9')) << 1e32 - 1;
    }
    void leadingNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double value = leadingNumber(text);
        QVERIFY(std::isfinite(value));
        QCOMPARE(value, expected);
    }
};

QTEST_APPLESS_MAIN(tst_DefaultOptions)
#include "tst_defaultoptions.moc"
