#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"
#include "shared/leadingnumber.h"

#include <dayplex/error.h>

#include <QtTest>

#include <cmath>
#include "support/testmain.h"

using Dayplex::cContainer;
using Kind = cContainer::Kind;

namespace {

const QString kHeader = QStringLiteral("cContainer 1\n");

} // namespace

Q_DECLARE_METATYPE(Kind)

class tst_cContainer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches format drift (strings hosts stored in earlier runs must keep loading), values,
    // kinds or bits lost on the way back, keys a load drops, and a negative zero that would
    // read back differently after a round trip.
    void roundTrip()
    {
        const QString text = kHeader
            + QStringLiteral("b:b=-1\nI:i=-5\nl:l=2147483647\nf:f=0.1\n"
                             "d:d=45123.71041666667\nz:f=0\nstrFont:s18=MS Sans Serif, 8pt\n"
                             "s:s19=Größe: äöü\nÄÖÜ ß\r\n\n\n");
        cContainer c;
        c.setValue(QStringLiteral("b"), true);
        c.setValue(QStringLiteral("I"), QVariant::fromValue(short(-5)));
        c.setValue(QStringLiteral("l"), int(INT32_MAX));
        c.setValue(QStringLiteral("f"), 0.1);
        c.setValue(QStringLiteral("d"), 45123.0 + 17.0 / 24 + 3.0 / 1440, Kind::Date);
        c.setValue(QStringLiteral("z"), -0.0);
        c.setValue(QStringLiteral("strFont"), QStringLiteral("MS Sans Serif, 8pt"));
        c.setValue(QStringLiteral("s"), QStringLiteral("Größe: äöü\nÄÖÜ ß\r\n\n"));
        QCOMPARE(c.ContainerString(), text);
        QVERIFY(!std::signbit(c.doubleValue(QStringLiteral("z"))));
        cContainer back;
        back.setValue(QStringLiteral("kept"), 1);
        back.setContainerString(text + QStringLiteral("n:d=-0\n"));
        QVERIFY(!std::signbit(back.doubleValue(QStringLiteral("n"))));
        QCOMPARE(back.ContainerString(),
                 kHeader + QStringLiteral("kept:l=1\n") + text.mid(kHeader.size())
                     + QStringLiteral("n:d=0\n"));
        QCOMPARE(cContainer().ContainerString(), kHeader);
    }

    // Catches keys that split into two entries or lose their first spelling by letter case,
    // and default strings whose keys hosts and dialogs cannot reach in their own spellings.
    void caseInsensitiveKeys()
    {
        cContainer c;
        c.setValue(QStringLiteral("timeArbeitszeitVon"), 1);
        c.setValue(QStringLiteral("timeArbeitsZeitVon"), 2);
        QCOMPARE(c.longValue(QStringLiteral("timeArbeitszeitvon")), 2);
        QCOMPARE(c.keys(), QStringList{QStringLiteral("timeArbeitszeitVon")});
        // A stored string with another spelling overwrites without renaming.
        c.setContainerString(kHeader + QStringLiteral("TIMEARBEITSZEITVON:b=-1\n"));
        QCOMPARE(c.ContainerString(), kHeader + QStringLiteral("timeArbeitszeitVon:b=-1\n"));
        cContainer options, layout;
        options.setContainerString(Dayplex::defaultOptionsString());
        layout.setContainerString(Dayplex::defaultLayoutString());
        for (const char *key : {"blnConfirmchanges", "timeArbeitsZeitVon2"})
            QVERIFY2(options.Value(key).isValid() && !options.keys().contains(key), key);
        for (const char *key : {"lnghoeheterminzelle", "timeStartzeit"})
            QVERIFY2(layout.Value(key).isValid() && !layout.keys().contains(key), key);
    }

    // Raster texts and font sizes are read through their leading number.
    void leadingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("raster") << "30 Minuten" << 30.0;
        QTest::newRow("size in pt with blank") << " 8pt" << 8.0;
        QTest::newRow("fraction") << "7.5 Minuten" << 7.5;
        QTest::newRow("negative") << "-5 Minuten" << -5.0;
        QTest::newRow("no number") << "Minuten" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "- 5" << 0.0;
        QTest::newRow("huge digit run is cut, not infinite")
            << QString(400, QLatin1Char('9')) << 1e32 - 1;
    }
    void leadingNumbers()
    {
        QFETCH(QString, text);
        QTEST(Dayplex::leadingNumber(text), "expected");
    }

    // Catches writers that store the wrong kind or variant type, readers that refuse a form a
    // writer produces or accept text that is no number, and bad keys or values that are stored
    // anyway or change what was stored before.
    void values_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("kind"); // -1: inferred from the variant
        // The stored type, then bool|long|double|text as read; En for Error n
        QTest::addColumn<QString>("expected");
        const int inferred = -1;
        const auto row = [](const char *tag, const char *key, const QVariant &v, auto kind,
                            const char *expected) {
            QTest::newRow(tag) << QString::fromUtf8(key) << v << int(kind)
                               << QString::fromUtf8(expected);
        };
        row("Boolean true", "k", true, Kind::Boolean, "bool|true|-1|-1|True");
        row("Boolean false", "k", false, Kind::Boolean, "bool|false|0|0|False");
        row("int as Boolean", "k", 2, Kind::Boolean, "bool|true|-1|-1|True");
        row("true as Integer", "k", true, Kind::Integer, "short|true|-1|-1|-1");
        row("2.5 as Integer", "k", 2.5, Kind::Integer, "short|true|2|2|2");
        row("text as Long", "k", "20", Kind::Long, "int|true|20|20|20");
        row("Double 2.5 to even", "k", 2.5, Kind::Double, "double|true|2|2.5|2.5");
        row("Double beyond Long", "k", 3e9, Kind::Double, "double|true|E6|3e+09|3e+09");
        row("double as Text", "k", 0.1, Kind::Text, "QString|true|0|0.1|0.1");
        row("Text 2.5", "k", "2.5", Kind::Text, "QString|true|2|2.5|2.5");
        row("Text Falsch", "k", "Falsch", Kind::Text, "QString|false|0|0|Falsch");
        row("Text empty", "k", "", Kind::Text, "QString|false|0|0|");
        row("Text abc", "k", "abc", Kind::Text, "QString|E13|E13|E13|abc");
        row("Text nan", "k", "nan", Kind::Text, "QString|E13|E13|E13|nan");
        row("Text decimal comma", "k", "2,5", Kind::Text, "QString|E13|E13|E13|2,5");
        row("Text 1e999", "k", "1e999", Kind::Text, "QString|E6|E6|E6|1e999");
        row("empty key", "", 1, inferred, "E5");
        row("line break in key", "k\n", 1, inferred, "E5");
        row("colon in key", "k:l", 1, inferred, "E5");
        row("invalid variant", "k", QVariant(), inferred, "E13");
        row("QDate", "k", QDate(2024, 1, 1), inferred, "E13");
        row("NaN", "k", std::nan(""), inferred, "E5");
        row("Integer overflow", "k", 32768, Kind::Integer, "E6");
        row("Long overflow", "k", 3e9, Kind::Long, "E6");
        row("text abc as Long", "k", "abc", Kind::Long, "E13");
    }
    void values()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        cContainer c;
        c.setValue(QStringLiteral("K"), QStringLiteral("old"));
        const QString before = c.ContainerString();
        const auto actual = [](auto read) {
            try {
                return QVariant(read()).toString();
            } catch (const Dayplex::Error &e) {
                return QStringLiteral("E%1").arg(e.number());
            }
        };
        const QString stored = actual([&] {
            if (kind < 0)
                c.setValue(key, value);
            else
                c.setValue(key, value, Kind(kind));
            return true;
        });
        if (stored != QLatin1String("true")) {
            QCOMPARE(stored, expected);
            QCOMPARE(c.ContainerString(), before);
            return;
        }
        const QString k = key.toUpper();
        const QStringList read{QString::fromLatin1(c.Value(k).typeName()),
                               actual([&] { return c.boolValue(k); }),
                               actual([&] { return c.longValue(k); }),
                               actual([&] { return c.doubleValue(k); }), c.textValue(k)};
        QCOMPARE(read.join(u'|'), expected);
        if (kind >= 0)
            QCOMPARE(c.kind(k), Kind(kind));
    }

    // Catches defective strings that are half loaded, crash, or are taken as valid.
    void rejectsMalformedStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no header") << "a:l=1\n";
        QTest::newRow("header without version") << "cContainer\n";
        QTest::newRow("unknown version") << "cContainer 2\na:l=1\n";
        QTest::newRow("CRLF line ends") << "cContainer 1\r\na:l=1\r\n";
        QTest::newRow("unknown kind letter") << kHeader + "ok:l=1\na:x=1\n";
        QTest::newRow("missing colon") << kHeader + "a=1\n";
        QTest::newRow("empty key") << kHeader + ":l=1\n";
        QTest::newRow("bad number") << kHeader + "a:l=1x\n";
        QTest::newRow("plus sign") << kHeader + "a:l=+1\n";
        QTest::newRow("Boolean 1") << kHeader + "a:b=1\n";
        QTest::newRow("Integer over") << kHeader + "a:i=32768\n";
        QTest::newRow("Integer under") << kHeader + "a:i=-32769\n";
        QTest::newRow("Long over") << kHeader + "a:l=2147483648\n";
        QTest::newRow("double overflow") << kHeader + "a:f=1e999\n";
        QTest::newRow("text length beyond end") << kHeader + "a:s5=abc\n";
        QTest::newRow("text length missing") << kHeader + "a:s=abc\n";
        QTest::newRow("no line break after text") << kHeader + "a:s1=ab\n";
        // Too short, the rest of the text would read as an entry of its own.
        QTest::newRow("text length too short") << kHeader + "a:s1=abc:l=1\n";
        QTest::newRow("huge text length") << kHeader + "a:s99999999999999999999=x\n";
        QTest::newRow("last line not ended") << kHeader + "a:l=1";
    }
    void rejectsMalformedStrings()
    {
        QFETCH(QString, text);
        cContainer c;
        c.setValue(QStringLiteral("a"), QStringLiteral("old"));
        c.setValue(QStringLiteral("ok"), true);
        const QString before = c.ContainerString();
        try {
            c.setContainerString(text);
            QFAIL("accepted");
        } catch (const Dayplex::Error &e) {
            QCOMPARE(e.number(), 5);
            QVERIFY2(e.message().contains(QStringLiteral("container string")),
                     qPrintable(e.message()));
        }
        QCOMPARE(c.ContainerString(), before);
    }
};

DAYPLEX_TEST_MAIN(tst_cContainer)
#include "tst_ccontainer.moc"
