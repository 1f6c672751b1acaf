// The default options and layout strings, and how their values read back.
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/leadingnumber.h"

#include <QtTest>

using namespace Dayplex;
using Kind = cContainer::Kind;

class tst_DefaultOptions : public QObject
{
    Q_OBJECT

private slots:
    void topLevelKeysInOrder();
    void weekdayKeys_data();
    void weekdayKeys();
    void layoutStringsAreEqual();
    void layoutValues_data();
    void layoutValues();
    void keysReadInOtherSpellings_data();
    void keysReadInOtherSpellings();
    void leadingNumbers_data();
    void leadingNumbers();
};

// The defaults store their keys in the documented order, so dialogs list them alike.
void tst_DefaultOptions::topLevelKeysInOrder()
{
    cContainer options;
    options.setContainerString(defaultOptionsString());
    QStringList expected = {QStringLiteral("blnGermanLegalHolidays"), QStringLiteral("blnConfirmChanges")};
    for (int n = 1; n <= 7; ++n) {
        expected << QStringLiteral("blnFrei%1").arg(n);
        if (n == 1 || n == 7)
            continue;
        expected << QStringLiteral("timeArbeitszeitVon%1").arg(n) << QStringLiteral("timeArbeitszeitBis%1").arg(n)
                 << QStringLiteral("timePause1Von%1").arg(n) << QStringLiteral("timePause1Bis%1").arg(n);
    }
    expected << layoutOptionKeys();
    expected << QStringLiteral("blnUeberschneidenAKT") << QStringLiteral("blnUeberschneidenCalendar")
             << QStringLiteral("blnUeberschneidenGantt") << QStringLiteral("blnUeberschneidenFeiertage");
    QCOMPARE(options.keys(), expected);
}

// Working times exist for Monday to Friday only, days off for Saturday and Sunday.
void tst_DefaultOptions::weekdayKeys_data()
{
    QTest::addColumn<int>("weekday");
    QTest::addColumn<bool>("dayOff");
    QTest::newRow("Sunday") << 1 << true;
    QTest::newRow("Monday") << 2 << false;
    QTest::newRow("Wednesday") << 4 << false;
    QTest::newRow("Friday") << 6 << false;
    QTest::newRow("Saturday") << 7 << true;
}

void tst_DefaultOptions::weekdayKeys()
{
    QFETCH(int, weekday);
    QFETCH(bool, dayOff);
    cContainer options;
    options.setContainerString(defaultOptionsString());
    const QString n = QString::number(weekday);
    QCOMPARE(options.kind(QStringLiteral("blnFrei") + n), Kind::Boolean);
    QCOMPARE(options.boolValue(QStringLiteral("blnFrei") + n), dayOff);
    for (const char *base : {"timeArbeitszeitVon", "timeArbeitszeitBis", "timePause1Von", "timePause1Bis"})
        QCOMPARE(options.contains(QLatin1String(base) + n), !dayOff);
    if (!dayOff) {
        QCOMPARE(options.kind(QStringLiteral("timeArbeitszeitVon") + n), Kind::Date);
        QCOMPARE(options.doubleValue(QStringLiteral("timeArbeitsZeitVon") + n), 8 / 24.0);
        QCOMPARE(options.doubleValue(QStringLiteral("timeArbeitszeitBis") + n), 18 / 24.0);
        QCOMPARE(options.doubleValue(QStringLiteral("timePause1Von") + n), 12 / 24.0);
        QCOMPARE(options.doubleValue(QStringLiteral("timePause1Bis") + n), 13 / 24.0);
    }
}

// All five layouts of the defaults are the same text, and that text is the default layout.
void tst_DefaultOptions::layoutStringsAreEqual()
{
    cContainer options;
    options.setContainerString(defaultOptionsString());
    for (const QString &key : layoutOptionKeys()) {
        QCOMPARE(options.kind(key), Kind::Text);
        QCOMPARE(options.textValue(key), defaultLayoutString());
    }
}

// Each layout key holds its default in its documented kind.
void tst_DefaultOptions::layoutValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");

    const auto row = [](const char *key, Kind kind, const QVariant &value) {
        QTest::newRow(key) << QString::fromLatin1(key) << int(kind) << value;
    };
    row("timeStartZeit", Kind::Date, 8 / 24.0);
    row("timeEndZeit", Kind::Date, 18 / 24.0);
    row("strAusgabefelder", Kind::Text, QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name"));
    row("strAufloesung", Kind::Text, QStringLiteral("30 Minuten"));
    row("lngHoeheTagestermin", Kind::Integer, 1);
    row("lngHoeheTerminzelle", Kind::Integer, 4);
    row("blnOptimiertezeilenhoehe", Kind::Boolean, false);
    row("blnErledigteDurchstreichen", Kind::Boolean, true);
    row("blnQuerformat", Kind::Boolean, false);
    row("lngRandLinks", Kind::Integer, 20);
    row("lngRandRechts", Kind::Integer, 10);
    row("lngRandUnten", Kind::Integer, 10);
    row("lngRandOben", Kind::Integer, 10);
    row("lngAnzahlTage", Kind::Integer, 7);
    row("strFont", Kind::Text, QStringLiteral("MS Sans Serif, 8pt"));
    row("lngAbstandHorizontal", Kind::Integer, 10);
    row("lngAbstandVertikal", Kind::Integer, 10);
    row("lngAnzahlAnsichtenUebereinander", Kind::Integer, 1);
    row("lngAnzahlAnsichtenNebeneinander", Kind::Integer, 1);
    row("rgbFreizeit", Kind::Long, cTools::DefaultFreeTimeColor());
    row("rgbArbeitszeit", Kind::Long, 0xFFFFFF);
    row("blnIndividuelleTerminfarben", Kind::Boolean, true);
    row("rgbBackMarkiert", Kind::Long, cTools::DefaultSelectionColor());
    row("rgbFontMarkiert", Kind::Long, 0);
    row("rgbBackUeberschrift", Kind::Long, cTools::DefaultFreeTimeColor());
    row("rgbBackFeiertag", Kind::Long, 0x00FFFF);
    row("rgbBackTagestermine", Kind::Long, 0x00FFFF);
    row("rgbBackTermine", Kind::Long, 0x00FFFF);
    row("rgbZeitbalken", Kind::Long, 0xFF0000);
    row("rgbBackMonatsuebersichtkopf", Kind::Long, 0xFF0000);
    row("rgbFontMonatsuebersichtkopf", Kind::Long, 0xFFFFFF);
    row("rgbBackKopfzeilen", Kind::Long, 0xFFFFFF);
    row("rgbFontKopfzeilen", Kind::Long, 0);
}

void tst_DefaultOptions::layoutValues()
{
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    cContainer layout;
    layout.setContainerString(defaultLayoutString());
    QCOMPARE(int(layout.kind(key)), kind);
    switch (Kind(kind)) {
    case Kind::Text:
        QCOMPARE(layout.textValue(key), value.toString());
        break;
    case Kind::Boolean:
        QCOMPARE(layout.boolValue(key), value.toBool());
        break;
    case Kind::Date:
        QCOMPARE(layout.doubleValue(key), value.toDouble());
        break;
    default:
        QCOMPARE(layout.longValue(key), value.toInt());
    }
    // Every colour label key has its text colour partner.
    if (key.startsWith(QStringLiteral("rgbBack"))) {
        QVERIFY(layout.contains(QStringLiteral("rgbFont") + key.mid(7)));
    }
}

// Hosts and dialogs spell some keys with other capitals and must reach the same value.
void tst_DefaultOptions::keysReadInOtherSpellings_data()
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

void tst_DefaultOptions::keysReadInOtherSpellings()
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
void tst_DefaultOptions::leadingNumbers_data()
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

void tst_DefaultOptions::leadingNumbers()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = leadingNumber(text);
    QVERIFY(std::isfinite(value));
    QCOMPARE(value, expected);
}

QTEST_APPLESS_MAIN(tst_DefaultOptions)
#include "tst_defaultoptions.moc"
