// The default options and layout strings read back under the spellings hosts use.
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"
#include "shared/leadingnumber.h"

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;

class tst_DefaultOptions : public QObject
{
    Q_OBJECT

private slots:
    // Hosts and dialogs spell some keys with other capitals and must reach the same value.
    void keysReadInOtherSpellings_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::addColumn<bool>("inLayout");
        QTest::newRow("blnConfirmchanges") << "blnConfirmchanges" << false;
        QTest::newRow("timeArbeitsZeitVon2") << "timeArbeitsZeitVon2" << false;
        QTest::newRow("lnghoeheterminzelle") << "lnghoeheterminzelle" << true;
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

DAYPLEX_TEST_MAIN(tst_DefaultOptions)
#include "tst_defaultoptions.moc"
