#include "shared/ccontainer.h"

#include <dayplex/error.h>

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include "support/testing.h"
#include "support/testmain.h"

using Dayplex::cContainer;
using Kind = cContainer::Kind;

namespace {

struct Throws { int number; };

quint64 bits(double d)
{
    quint64 b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

QVariant fails(int number) { return QVariant::fromValue(Throws{number}); }

const QString kHeader = QStringLiteral("cContainer 1\n");

} // namespace

Q_DECLARE_METATYPE(Throws)
Q_DECLARE_METATYPE(Kind)

class tst_cContainer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches values, kinds or bits lost on the way through the string form.
    void roundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Kind>("kind");
        const auto row = [](const char *tag, const QVariant &v, Kind k) {
            QTest::newRow(tag) << v << k;
        };
        row("true", true, Kind::Boolean);
        row("INT32_MAX", int(INT32_MAX), Kind::Long);
        row("date with time", 45123.0 + 17.0 / 24 + 3.0 / 1440, Kind::Date);
        row("line breaks", QStringLiteral("a\nb\r\n\n"), Kind::Text);
        row("umlauts", QStringLiteral("Größe: äöü ÄÖÜ ß"), Kind::Text);
    }
    void roundTrip()
    {
        QFETCH(QVariant, value);
        QFETCH(Kind, kind);
        cContainer c;
        c.setValue(QStringLiteral("before"), 1);
        c.setValue(QStringLiteral("Wert"), value, kind);
        c.setValue(QStringLiteral("after"), QStringLiteral("x"));
        cContainer back;
        back.setContainerString(c.ContainerString());
        QCOMPARE(back.keys(), c.keys());
        QCOMPARE(back.kind(QStringLiteral("wert")), kind);
        const QVariant read = back.Value(QStringLiteral("Wert"));
        QCOMPARE(read.metaType(), value.metaType());
        if (value.metaType().id() == QMetaType::Double)
            QCOMPARE(bits(read.toDouble()), bits(value.toDouble()));
        else
            QCOMPARE(read, value);
        QCOMPARE(back.ContainerString(), c.ContainerString());
    }

    // Catches format drift (strings hosts stored in earlier runs must keep loading) and a
    // negative zero that would read back differently after a round trip.
    void writesDocumentedFormat()
    {
        const QString text = kHeader
            + QStringLiteral("b:b=-1\nI:i=-5\nl:l=7\nf:f=0.1\nd:d=45000.5\nz:f=0\n"
                             "strFont:s18=MS Sans Serif, 8pt\ns:s3=a\nb\n");
        cContainer c;
        c.setValue(QStringLiteral("b"), true);
        c.setValue(QStringLiteral("I"), QVariant::fromValue(short(-5)));
        c.setValue(QStringLiteral("l"), 7);
        c.setValue(QStringLiteral("f"), 0.1);
        c.setValue(QStringLiteral("d"), 45000.5, Kind::Date);
        c.setValue(QStringLiteral("z"), -0.0);
        c.setValue(QStringLiteral("strFont"), QStringLiteral("MS Sans Serif, 8pt"));
        c.setValue(QStringLiteral("s"), QStringLiteral("a\nb"));
        QCOMPARE(c.ContainerString(), text);
        QVERIFY(!std::signbit(c.doubleValue(QStringLiteral("z"))));
        cContainer loaded;
        loaded.setContainerString(text + QStringLiteral("n:d=-0\n"));
        QVERIFY(!std::signbit(loaded.doubleValue(QStringLiteral("n"))));
        QCOMPARE(loaded.ContainerString(), text + QStringLiteral("n:d=0\n"));
        QCOMPARE(cContainer().ContainerString(), kHeader);
    }

    // Catches keys that split into two entries or lose their first spelling by letter case.
    void caseInsensitiveKeys_data()
    {
        QTest::addColumn<QStringList>("spellings");
        QTest::newRow("ConfirmChanges") << QStringList{"blnConfirmChanges", "blnConfirmchanges"};
        QTest::newRow("ArbeitszeitVon") << QStringList{"timeArbeitszeitVon", "timeArbeitsZeitVon", "timeArbeitszeitvon"};
        QTest::newRow("StartZeit") << QStringList{"timeStartZeit", "timeStartzeit"};
    }
    void caseInsensitiveKeys()
    {
        QFETCH(QStringList, spellings);
        cContainer c;
        c.setValue(spellings.first(), 1);
        for (int i = 1; i < spellings.size(); ++i) {
            c.setValue(spellings[i], i + 1);
            for (const QString &s : spellings)
                QCOMPARE(c.longValue(s), i + 1);
        }
        QCOMPARE(c.keys(), QStringList{spellings.first()});
        QCOMPARE(c.ContainerString(), kHeader + spellings.first() + ":l="
                                          + QString::number(spellings.size()) + "\n");
        // A stored string with another spelling overwrites without renaming.
        c.setContainerString(kHeader + spellings.last() + ":b=-1\n");
        QCOMPARE(c.keys(), QStringList{spellings.first()});
        QVERIFY(c.boolValue(spellings.first()));
    }

    // Catches readers that refuse a form a writer produces, or accept text that is no number.
    void readers_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("expected"); // bool|long|double|text, En for Error n
        const auto row = [](const char *tag, const QVariant &v, Kind k, const char *expected) {
            QTest::newRow(tag) << v << k << QString::fromUtf8(expected);
        };
        row("Boolean true", true, Kind::Boolean, "true|-1|-1|True");
        row("Boolean false", false, Kind::Boolean, "false|0|0|False");
        row("Double 2.5 to even", 2.5, Kind::Double, "true|2|2.5|2.5");
        row("Double beyond Long", 3e9, Kind::Double, "true|E6|3e+09|3e+09");
        row("Date with time", 45000.75, Kind::Date, "true|45001|45000.75|45000.75");
        row("Text 20", "20", Kind::Text, "true|20|20|20");
        row("Text 2.5", "2.5", Kind::Text, "true|2|2.5|2.5");
        row("Text Falsch", "Falsch", Kind::Text, "false|0|0|Falsch");
        row("Text empty", "", Kind::Text, "false|0|0|");
        row("Text abc", "abc", Kind::Text, "E13|E13|E13|abc");
        row("Text nan", "nan", Kind::Text, "E13|E13|E13|nan");
        row("Text decimal comma", "2,5", Kind::Text, "E13|E13|E13|2,5");
        row("Text 1e999", "1e999", Kind::Text, "E6|E6|E6|1e999");
    }
    void readers()
    {
        QFETCH(QVariant, value);
        QFETCH(Kind, kind);
        QFETCH(QString, expected);
        cContainer c;
        c.setValue(QStringLiteral("k"), value, kind);
        const QStringList want = expected.split(u'|');
        const auto actual = [](auto read) {
            try {
                return QVariant(read()).toString();
            } catch (const Dayplex::Error &e) {
                return QStringLiteral("E%1").arg(e.number());
            }
        };
        const QString k = QStringLiteral("K");
        QCOMPARE(actual([&] { return c.boolValue(k); }), want[0]);
        QCOMPARE(actual([&] { return c.longValue(k); }), want[1]);
        QCOMPARE(actual([&] { return c.doubleValue(k); }), want[2]);
        QCOMPARE(c.textValue(k), want[3]);
    }

    // Catches writers that store the wrong kind or variant type, and bad keys or values that
    // are stored anyway or change what was stored before.
    void setValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("kind"); // -1: inferred from the variant
        QTest::addColumn<QVariant>("stored");
        const int inferred = -1;
        const auto row = [](const char *tag, const char *key, const QVariant &v, int k,
                            const QVariant &stored) {
            QTest::newRow(tag) << QString::fromUtf8(key) << v << k << stored;
        };
        const auto s16 = [](int v) { return QVariant::fromValue(short(v)); };
        row("bool", "k", true, inferred, true);
        row("int", "k", 3, inferred, 3);
        row("true as Integer", "k", true, int(Kind::Integer), s16(-1));
        row("2.5 as Integer", "k", 2.5, int(Kind::Integer), s16(2));
        row("text as Long", "k", QStringLiteral("20"), int(Kind::Long), 20);
        row("int as Boolean", "k", 2, int(Kind::Boolean), true);
        row("double as Text", "k", 0.1, int(Kind::Text), QStringLiteral("0.1"));
        row("empty key", "", 1, inferred, fails(5));
        row("line break in key", "k\n", 1, inferred, fails(5));
        row("colon in key", "k:l", 1, inferred, fails(5));
        row("invalid variant", "k", QVariant(), inferred, fails(13));
        row("QDate", "k", QDate(2024, 1, 1), inferred, fails(13));
        row("NaN", "k", std::nan(""), inferred, fails(5));
        row("Integer overflow", "k", 32768, int(Kind::Integer), fails(6));
        row("Long overflow", "k", 3e9, int(Kind::Long), fails(6));
        row("text as Long", "k", QStringLiteral("abc"), int(Kind::Long), fails(13));
    }
    void setValue()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, kind);
        QFETCH(QVariant, stored);
        cContainer c;
        c.setValue(QStringLiteral("k"), QStringLiteral("old"));
        const QString before = c.ContainerString();
        const int error = Dayplex::Testing::errorNumber([&] {
            if (kind < 0)
                c.setValue(key, value);
            else
                c.setValue(key, value, Kind(kind));
        });
        if (stored.metaType() == QMetaType::fromType<Throws>()) {
            QCOMPARE(error, stored.value<Throws>().number);
            QCOMPARE(c.ContainerString(), before);
            return;
        }
        QCOMPARE(error, 0);
        if (kind >= 0)
            QCOMPARE(c.kind(key), Kind(kind));
        QCOMPARE(c.Value(key).metaType(), stored.metaType());
        QCOMPARE(c.Value(key), stored);
    }

    // Catches defective strings that are half loaded, crash, or are taken as valid.
    void rejectsMalformedStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no header") << "a:l=1\n";
        QTest::newRow("wrong header") << "Container 1\na:l=1\n";
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
