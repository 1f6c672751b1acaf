#include "shared/ccontainer.h"

#include <dayplex/error.h>

#include <QRandomGenerator>
#include <QtTest>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

using Dayplex::cContainer;
using Kind = cContainer::Kind;

namespace {

struct Throws { int number; };

template <class F> int errorOf(F f)
{
    try {
        f();
    } catch (const Dayplex::Error &e) {
        return e.number();
    }
    return 0;
}

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
        row("false", false, Kind::Boolean);
        row("INT16_MIN", QVariant::fromValue(short(INT16_MIN)), Kind::Integer);
        row("INT16_MAX", QVariant::fromValue(short(INT16_MAX)), Kind::Integer);
        row("INT32_MIN", int(INT32_MIN), Kind::Long);
        row("INT32_MAX", int(INT32_MAX), Kind::Long);
        row("0.1", 0.1, Kind::Double);
        row("1/3", 1.0 / 3, Kind::Double);
        row("1e-300", 1e-300, Kind::Double);
        row("-DBL_MAX", -DBL_MAX, Kind::Double);
        row("denormal", std::numeric_limits<double>::denorm_min(), Kind::Double);
        row("date with time", 45123.0 + 17.0 / 24 + 3.0 / 1440, Kind::Date);
        row("date before 1899", -1.75, Kind::Date);
        row("empty text", QString(), Kind::Text);
        row("line breaks", QStringLiteral("a\nb\r\n\n"), Kind::Text);
        row("looks like entries", QStringLiteral("x:s3=a\n\ny:l=1\n"), Kind::Text);
        row("umlauts", QStringLiteral("Größe: äöü ÄÖÜ ß"), Kind::Text);
        row("emoji", QStringLiteral("📅 Termin 🕒"), Kind::Text);
        row("lone surrogate", QString(QChar(0xD83D)), Kind::Text);
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

    // Catches nested container strings that are altered or cut when stored as a text value.
    void nesting_data()
    {
        QTest::addColumn<int>("levels");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
        QTest::newRow("thousand") << 1000;
    }
    void nesting()
    {
        QFETCH(int, levels);
        cContainer inner;
        inner.setValue(QStringLiteral("lngSpalten"), 37);
        inner.setValue(QStringLiteral("strTitel"), QStringLiteral("Woche\n:=ä"));
        QString text = inner.ContainerString();
        for (int level = 0; level < levels; ++level) {
            cContainer outer;
            outer.setValue(QStringLiteral("level"), level);
            outer.setValue(QStringLiteral("strLayout"), text);
            text = outer.ContainerString();
        }
        for (int level = levels - 1; level >= 0; --level) {
            cContainer outer;
            outer.setContainerString(text);
            QCOMPARE(outer.longValue(QStringLiteral("LEVEL")), level);
            text = outer.textValue(QStringLiteral("strlayout"));
        }
        QCOMPARE(text, inner.ContainerString());
        cContainer restored;
        restored.setContainerString(text);
        QCOMPARE(restored.longValue(QStringLiteral("lngSpalten")), 37);
        QCOMPARE(restored.textValue(QStringLiteral("strTitel")), QStringLiteral("Woche\n:=ä"));
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

    // Catches a load that replaces instead of merging, reorders keys or keeps the old kind.
    void merge_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("after");
        const QString ab = kHeader + "a:l=1\nb:l=2\n";
        QTest::newRow("overwrite replaces kind, keeps order")
            << ab << kHeader + "B:s1=x\n" << kHeader + "a:l=1\nb:s1=x\n";
        QTest::newRow("new key appended") << ab << kHeader + "c:b=0\n" << ab + "c:b=0\n";
        QTest::newRow("later duplicate wins, first spelling")
            << QString() << kHeader + "K:l=1\nk:f=2.5\n" << kHeader + "K:f=2.5\n";
        QTest::newRow("empty text changes nothing") << ab << QString() << ab;
        QTest::newRow("header only changes nothing") << ab << kHeader << ab;
    }
    void merge()
    {
        QFETCH(QString, before);
        QFETCH(QString, loaded);
        QFETCH(QString, after);
        cContainer c;
        c.setContainerString(before);
        c.setContainerString(loaded);
        QCOMPARE(c.ContainerString(), after);
    }

    // Catches an empty or absent value that reads as anything but empty, or throws.
    void emptyContainerReadsEmpty()
    {
        cContainer c;
        c.setContainerString(QString());
        QCOMPARE(c.count(), 0);
        QCOMPARE(c.ContainerString(), kHeader);
        QVERIFY(!c.Value(QStringLiteral("x")).isValid());
        QCOMPARE(c.ValueDefault(QStringLiteral("x"), 7), QVariant(7));
        QVERIFY(!c.contains(QStringLiteral("x")));
        QCOMPARE(c.boolValue(QStringLiteral("x")), false);
        QCOMPARE(c.longValue(QStringLiteral("x")), 0);
        QCOMPARE(c.doubleValue(QStringLiteral("x")), 0.0);
        QCOMPARE(c.textValue(QStringLiteral("x")), QString());
        QCOMPARE(errorOf([&] { c.kind(QStringLiteral("x")); }), 5);
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
        row("Integer -5", -5, Kind::Integer, "true|-5|-5|-5");
        row("Long 0", 0, Kind::Long, "false|0|0|0");
        row("Double 2.5 to even", 2.5, Kind::Double, "true|2|2.5|2.5");
        row("Double 3.5 to even", 3.5, Kind::Double, "true|4|3.5|3.5");
        row("Double -2.5 to even", -2.5, Kind::Double, "true|-2|-2.5|-2.5");
        row("Double 0.1", 0.1, Kind::Double, "true|0|0.1|0.1");
        row("Double beyond Long", 3e9, Kind::Double, "true|E6|3e+09|3e+09");
        row("Double Long min half", -2147483648.5, Kind::Double,
            "true|-2147483648|-2147483648.5|-2147483648.5");
        row("Date with time", 45000.75, Kind::Date, "true|45001|45000.75|45000.75");
        row("Text 20", "20", Kind::Text, "true|20|20|20");
        row("Text spaced 20", " 20 ", Kind::Text, "true|20|20| 20 ");
        row("Text -1", "-1", Kind::Text, "true|-1|-1|-1");
        row("Text 0", "0", Kind::Text, "false|0|0|0");
        row("Text 2.5", "2.5", Kind::Text, "true|2|2.5|2.5");
        row("Text True", "True", Kind::Text, "true|-1|-1|True");
        row("Text wahr", "wahr", Kind::Text, "true|-1|-1|wahr");
        row("Text FALSE", "FALSE", Kind::Text, "false|0|0|FALSE");
        row("Text Falsch", "Falsch", Kind::Text, "false|0|0|Falsch");
        row("Text empty", "", Kind::Text, "false|0|0|");
        row("Text abc", "abc", Kind::Text, "E13|E13|E13|abc");
        row("Text nan", "nan", Kind::Text, "E13|E13|E13|nan");
        row("Text hex", "0x10", Kind::Text, "E13|E13|E13|0x10");
        row("Text decimal comma", "2,5", Kind::Text, "E13|E13|E13|2,5");
        row("Text 1e999", "1e999", Kind::Text, "E6|E6|E6|1e999");
        row("Text beyond Long", "3000000000", Kind::Text, "true|E6|3e+09|3000000000");
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
        row("short", "k", s16(3), inferred, s16(3));
        row("int", "k", 3, inferred, 3);
        row("double", "k", 0.5, inferred, 0.5);
        row("QString", "k", QStringLiteral("x"), inferred, QStringLiteral("x"));
        row("true as Integer", "k", true, int(Kind::Integer), s16(-1));
        row("2.5 as Integer", "k", 2.5, int(Kind::Integer), s16(2));
        row("text as Long", "k", QStringLiteral("20"), int(Kind::Long), 20);
        row("qint64 as Long", "k", qint64(-7), int(Kind::Long), -7);
        row("int as Date", "k", 45000, int(Kind::Date), 45000.0);
        row("int as Boolean", "k", 2, int(Kind::Boolean), true);
        row("double as Text", "k", 0.1, int(Kind::Text), QStringLiteral("0.1"));
        row("empty key", "", 1, inferred, fails(5));
        row("line break in key", "k\n", 1, inferred, fails(5));
        row("carriage return in key", "k\r", 1, inferred, fails(5));
        row("colon in key", "k:l", 1, inferred, fails(5));
        row("equals in key", "k=", 1, int(Kind::Text), fails(5));
        row("invalid variant", "k", QVariant(), inferred, fails(13));
        row("invalid variant with kind", "k", QVariant(), int(Kind::Long), fails(13));
        row("QDate", "k", QDate(2024, 1, 1), inferred, fails(13));
        row("qint64 inferred", "k", qint64(1), inferred, fails(13));
        row("NaN", "k", std::nan(""), inferred, fails(5));
        row("infinite Date", "k", HUGE_VAL, int(Kind::Date), fails(5));
        row("NaN as Text", "k", std::nan(""), int(Kind::Text), fails(5));
        row("Integer overflow", "k", 32768, int(Kind::Integer), fails(6));
        row("Integer rounds over", "k", 32767.5, int(Kind::Integer), fails(6));
        row("Long overflow", "k", 3e9, int(Kind::Long), fails(6));
        row("text as Long", "k", QStringLiteral("abc"), int(Kind::Long), fails(13));
        row("text as Boolean", "k", QStringLiteral("ja"), int(Kind::Boolean), fails(13));
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
        const int error = errorOf([&] {
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
        QTest::newRow("header not ended") << "cContainer 1";
        QTest::newRow("unknown version") << "cContainer 2\na:l=1\n";
        QTest::newRow("huge version") << "cContainer 99999999999999999999999\n";
        QTest::newRow("CRLF line ends") << "cContainer 1\r\na:l=1\r\n";
        QTest::newRow("unknown kind letter") << kHeader + "ok:l=1\na:x=1\n";
        QTest::newRow("missing kind") << kHeader + "a:";
        QTest::newRow("missing colon") << kHeader + "a=1\n";
        QTest::newRow("empty key") << kHeader + ":l=1\n";
        QTest::newRow("CR in key") << kHeader + "a\r:l=1\n";
        QTest::newRow("bad number") << kHeader + "a:l=1x\n";
        QTest::newRow("empty number") << kHeader + "a:f=\n";
        QTest::newRow("plus sign") << kHeader + "a:l=+1\n";
        QTest::newRow("Boolean 1") << kHeader + "a:b=1\n";
        QTest::newRow("Integer over") << kHeader + "a:i=32768\n";
        QTest::newRow("Integer under") << kHeader + "a:i=-32769\n";
        QTest::newRow("Long over") << kHeader + "a:l=2147483648\n";
        QTest::newRow("Long far over") << kHeader + "a:l=99999999999999999999999\n";
        QTest::newRow("NaN") << kHeader + "a:f=nan\n";
        QTest::newRow("infinite date") << kHeader + "a:d=inf\n";
        QTest::newRow("double overflow") << kHeader + "a:f=1e999\n";
        QTest::newRow("text length beyond end") << kHeader + "a:s5=abc\n";
        QTest::newRow("text length missing") << kHeader + "a:s=abc\n";
        QTest::newRow("negative text length") << kHeader + "a:s-1=\n";
        QTest::newRow("no line break after text") << kHeader + "a:s1=ab\n";
        QTest::newRow("huge text length") << kHeader + "a:s99999999999999999999=x\n";
        QTest::newRow("max qint64 text length") << kHeader + "a:s9223372036854775807=x\n";
        QTest::newRow("last line not ended") << kHeader + "a:l=1";
        QTest::newRow("trailing garbage") << kHeader + "a:l=1\ngarbage";
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

    // Catches a parser that reads past a cut string or loads part of it inconsistently.
    void truncatedStrings()
    {
        cContainer inner;
        inner.setValue(QStringLiteral("lngBreite"), 120);
        inner.setValue(QStringLiteral("strName"), QStringLiteral("Mo\nDi"));
        cContainer full;
        full.setValue(QStringLiteral("blnA"), true);
        full.setValue(QStringLiteral("strLayout"), inner.ContainerString());
        full.setValue(QStringLiteral("timeVon"), 0.3125, Kind::Date);
        full.setValue(QStringLiteral("intB"), QVariant::fromValue(short(-300)));
        full.setValue(QStringLiteral("lngC"), 123456789);
        const QString text = full.ContainerString();
        for (int n = 0; n <= text.size(); ++n) {
            cContainer c;
            c.setValue(QStringLiteral("pre"), 1);
            const QString before = c.ContainerString();
            if (errorOf([&] { c.setContainerString(text.left(n)); }) != 0) {
                QCOMPARE(c.ContainerString(), before);
                continue;
            }
            for (const QString &key : c.keys()) {
                if (key == QLatin1String("pre"))
                    continue;
                QCOMPARE(c.kind(key), full.kind(key));
                QCOMPARE(c.Value(key), full.Value(key));
            }
        }
    }

    // Catches crashes or partial loads on random input.
    void randomText()
    {
        QRandomGenerator rng(20240611);
        const QString alphabet = QStringLiteral("cContainer 1\n:=sbilfd0123456789-.eä😀");
        for (int round = 0; round < 2000; ++round) {
            QString text = round % 2 ? kHeader : QString();
            const int length = rng.bounded(120);
            for (int i = 0; i < length; ++i)
                text += round % 3 ? alphabet.at(rng.bounded(int(alphabet.size())))
                                  : QChar(char16_t(rng.bounded(0x10000)));
            cContainer c;
            c.setValue(QStringLiteral("pre"), 1);
            const QString before = c.ContainerString();
            const int error = errorOf([&] { c.setContainerString(text); });
            QVERIFY(error == 0 || error == 5);
            if (error)
                QCOMPARE(c.ContainerString(), before);
        }
    }

    // Catches size-dependent faults: length overflow, quadratic scans or cut values on big input.
    void bigStrings()
    {
        QString big(10 * 1024 * 1024, QChar(u'x'));
        big[100] = u'\n';
        big[big.size() - 1] = u'\n';
        cContainer c;
        c.setValue(QStringLiteral("strBig"), big);
        cContainer back;
        back.setContainerString(c.ContainerString());
        QCOMPARE(back.textValue(QStringLiteral("strBig")), big);

        QRandomGenerator rng(7);
        QString garbage(10 * 1024 * 1024, Qt::Uninitialized);
        for (QChar &ch : garbage)
            ch = QChar(char16_t(rng.bounded(0x10000)));
        const QString before = back.ContainerString();
        QCOMPARE(errorOf([&] { back.setContainerString(garbage); }), 5);
        QCOMPARE(errorOf([&] { back.setContainerString(kHeader + garbage); }), 5);
        QCOMPARE(back.ContainerString(), before);
    }
};

QTEST_APPLESS_MAIN(tst_cContainer)
#include "tst_ccontainer.moc"
