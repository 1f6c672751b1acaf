// The overlap check of the planner without any window: which booked appointments a planned
// one runs into, and the holidays it reckons with.
#include "overlaps.h"

#include <QtTest>

using namespace Terminplaner;

Q_DECLARE_METATYPE(Appointment)

namespace {

const Dayplex::Date kDay = Dayplex::toDate(QDate(2031, 6, 3)); // a Tuesday

// "who@from-to" in hours of kDay; "who@all+n" all day for n more days; "note", "holiday"
// and "id=n" (with "series") as further words.
Appointment entry(const QString &text)
{
    Appointment a;
    const QStringList words = text.split(' ');
    a.text = text;
    const QString who = words.first().section('@', 0, 0), when = words.first().section('@', 1);
    for (const QString &id : who.split(',', Qt::SkipEmptyParts))
        a.participantIds.append(id.toInt());
    a.participantId = a.participantIds.value(0);
    if (when.startsWith(QLatin1String("all"))) {
        a.allDay = true;
        a.start = kDay;
        a.end = kDay + when.mid(4).toInt();
    } else {
        a.start = kDay + when.section('-', 0, 0).toDouble() / 24;
        a.end = kDay + when.section('-', 1).toDouble() / 24;
    }
    for (const QString &word : words.mid(1)) {
        a.note |= word == QLatin1String("note");
        if (word.startsWith(QLatin1String("id=")))
            a.id = word.mid(3).toLongLong();
        if (word == QLatin1String("series"))
            a.seriesId = a.id;
    }
    return a;
}

} // namespace

class tst_Overlaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void overlaps_data()
    {
        QTest::addColumn<QString>("planned");
        QTest::addColumn<QStringList>("booked");
        QTest::addColumn<QStringList>("found");
        const QStringList none;
        QTest::newRow("inside") << "1@10-11" << QStringList{"1@10.5-12"} << QStringList{"1@10.5-12"};
        QTest::newRow("back to back") << "1@10-11" << QStringList{"1@11-12", "1@9-10"} << none;
        QTest::newRow("someone else's") << "1@10-11" << QStringList{"2@10-11"} << none;
        QTest::newRow("a meeting with one of them") << "1,4@10-11" << QStringList{"2,4@9-10.25"} << QStringList{"2,4@9-10.25"};
        QTest::newRow("an absence all day") << "1@17-18" << QStringList{"1@all+0"} << QStringList{"1@all+0"};
        QTest::newRow("the last day of an absence") << "1@23-23.5" << QStringList{"1@all+0"} << QStringList{"1@all+0"};
        QTest::newRow("all day against an hour") << "1@all+0" << QStringList{"1@8-9"} << QStringList{"1@8-9"};
        QTest::newRow("the day after an absence") << "1@24-25" << QStringList{"1@all+0"} << none;
        QTest::newRow("a booked note") << "1@10-11" << QStringList{"1@10-11 note"} << none;
        QTest::newRow("a planned note") << "1@10-11 note" << QStringList{"1@10-11"} << none;
        QTest::newRow("itself") << "1@10-11 id=7" << QStringList{"1@9-12 id=7", "1@9-12 id=8"} << QStringList{"1@9-12 id=8"};
        QTest::newRow("its own series") << "1@10-11 id=7" << QStringList{"1@10-11 id=7 series"} << none;
        QTest::newRow("a holiday") << "1@10-11" << QStringList{"@all+0"} << QStringList{"@all+0"};
        QTest::newRow("a holiday the day before") << "1@10-11" << QStringList{"@all-1"} << none;
    }

    // Catches times that touch taken for overlaps, someone else's booking or a note counted,
    // an all-day absence that misses its last evening or reaches into the next day, and an
    // appointment that conflicts with itself or its own series.
    void overlaps()
    {
        QFETCH(QString, planned);
        QFETCH(QStringList, booked);
        QFETCH(QStringList, found);
        QVector<Appointment> rows;
        for (const QString &b : booked)
            rows.append(entry(b));
        if (booked.contains(QStringLiteral("@all-1")))
            rows.last().start = rows.last().end = kDay - 1;
        const Appointment p = entry(planned);
        QStringList names;
        for (const Appointment &a : findOverlaps(p, p.allParticipants(), rows))
            names.append(a.text);
        QCOMPARE(names, found);
    }

    void holidays_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QStringList>("days");
        QTest::newRow("Easter on 31 March, Ascension in May")
            << 2024 << QStringList{"01-01", "03-29", "04-01", "05-01", "05-09", "05-20", "10-03", "12-25", "12-26"};
        QTest::newRow("Ascension on 30 April, before 1 May")
            << 2285 << QStringList{"01-01", "03-20", "03-23", "04-30", "05-01", "05-11", "10-03", "12-25", "12-26"};
    }

    // Catches a wrong Easter, and holidays out of date order when Ascension comes before 1 May.
    void holidays()
    {
        QFETCH(int, year);
        QFETCH(QStringList, days);
        QStringList got;
        for (const Appointment &h : germanHolidays(year)) {
            QVERIFY(h.allDay && h.participantId == 0 && !h.text.isEmpty());
            got.append(Dayplex::toQDate(h.start).toString(QStringLiteral("MM-dd")));
        }
        QCOMPARE(got, days);
    }
};

QTEST_MAIN(tst_Overlaps)
#include "test_overlaps.moc"
