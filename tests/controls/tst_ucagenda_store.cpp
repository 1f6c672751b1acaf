// The calendar's store, its basic members and the host protocol, through the public API only.
#include <dayplex/dayplex.h>

#include <QSignalSpy>
#include <QtTest>
#include "support/testing.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

Date at(int y, int m, int d, int h, int min, double sec = 0) { return day(y, m, d) + (h * 3600 + min * 60 + sec) / 86400.0; }

constexpr Date kMinutes30 = 30.0 / 1440.0;

// Shows seven days from Monday 2024-03-04 without asking a host.
void showWeek(ucAgenda &agenda)
{
    double last = day(2024, 3, 10);
    agenda.SetDisplayedRange(day(2024, 3, 4), &last, false, false);
}

void addTimed(ucAgenda &agenda, const QString &dsn, Date start, Date end, bool readOnly = false)
{
    agenda.AddDate(dsn, QStringLiteral("Termin ") + dsn, start, end, false, 0, false, 0xFFFF,
                   readOnly);
}

// One text entry of a container string.
QString textEntry(const QString &key, const QString &text)
{
    return QStringLiteral("%1:s%2=%3\n").arg(key).arg(text.size()).arg(text);
}

struct Entry
{
    const char *dsn;
    Date start, end;
};
using Entries = QVector<Entry>;

} // namespace

Q_DECLARE_METATYPE(Entries)

class tst_ucAgendaStore : public QObject
{
    Q_OBJECT

private slots:
    // A fresh calendar shows today only, disabled, with the default layout applied.
    void creationState()
    {
        ucAgenda agenda;
        QCOMPARE(agenda.Enabled, false);
        QCOMPARE(agenda.ForPrinting, false);
        QCOMPARE(agenda.FirstDay(), Dayplex::currentDate());
        QCOMPARE(agenda.LastDay(), Dayplex::currentDate());
        QCOMPARE(agenda.GetAnzahlTage(), 1);
        QCOMPARE(agenda.DayInfoHeight(), 3);
        QCOMPARE(agenda.FirstTime(), 8.0 / 24.0);
        QCOMPARE(agenda.TerminDSN(), QString());
        QCOMPARE(agenda.SelectedDate(), QString());
        QCOMPARE(agenda.CurrentDate(), Dayplex::currentDate());
    }

    // TerminDSN lists keys of the displayed week in store order, with the half-open day limits.
    void terminDsn_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("expected");
        const Date tue9 = at(2024, 3, 5, 9, 0), tue10 = at(2024, 3, 5, 10, 0);
        QTest::newRow("two inside, in store order")
            << Entries{{"A", tue9, tue10}, {"B", at(2024, 3, 4, 8, 0), at(2024, 3, 4, 9, 0)}} << "A|B|";
        QTest::newRow("empty key left out") << Entries{{"", tue9, tue10}, {"B", tue9, tue10}} << "B|";
        QTest::newRow("ends at midnight of the first day: outside")
            << Entries{{"A", at(2024, 3, 3, 22, 0), day(2024, 3, 4)}} << "";
        QTest::newRow("starts at midnight after the last day: outside")
            << Entries{{"A", day(2024, 3, 11), at(2024, 3, 11, 1, 0)}} << "";
        QTest::newRow("late on the last day: inside")
            << Entries{{"A", at(2024, 3, 10, 23, 0), at(2024, 3, 10, 23, 30)}} << "A|";
        QTest::newRow("spans the whole week and more") << Entries{{"A", day(2024, 2, 1), day(2024, 4, 1)}} << "A|";
        QTest::newRow("all-day entry of one displayed day") << Entries{{"A", day(2024, 3, 6), day(2024, 3, 6)}} << "A|";
        QTest::newRow("duplicate keys both listed")
            << Entries{{"A", tue9, tue10}, {"A", at(2024, 3, 6, 9, 0), at(2024, 3, 6, 10, 0)}} << "A|A|";
    }
    void terminDsn()
    {
        QFETCH(Entries, entries);
        QFETCH(QString, expected);
        ucAgenda agenda;
        showWeek(agenda);
        for (const Entry &e : entries)
            addTimed(agenda, QString::fromLatin1(e.dsn), e.start, e.end);
        // A holiday inside the week never counts.
        agenda.AddDate(QStringLiteral("1"), QStringLiteral("Feiertag"), day(2024, 3, 5),
                       day(2024, 3, 5), true, 0, false, 0, true, true);
        QCOMPARE(agenda.TerminDSN(), expected);
    }

    // Selection by key skips read-only entries and holidays and takes the first writable match.
    void selectedDate_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expectedKey");
        QTest::addColumn<Date>("expectedCurrent");
        QTest::addColumn<bool>("timeSelectionKept");

        QTest::newRow("writable") << "W" << "W" << at(2024, 3, 4, 9, 0) << false;
        QTest::newRow("read-only selects nothing") << "R" << "" << at(2024, 3, 6, 10, 0) << true;
        QTest::newRow("holiday key selects nothing") << "1" << "" << at(2024, 3, 6, 10, 0) << true;
        QTest::newRow("duplicate: first writable one")
            << "D" << "D" << at(2024, 3, 8, 14, 0) << false;
        QTest::newRow("case matters") << "w" << "" << at(2024, 3, 6, 10, 0) << true;
        QTest::newRow("unknown") << "X" << "" << at(2024, 3, 6, 10, 0) << true;
    }
    void selectedDate()
    {
        QFETCH(QString, key);
        QFETCH(QString, expectedKey);
        QFETCH(Date, expectedCurrent);
        QFETCH(bool, timeSelectionKept);

        ucAgenda agenda;
        showWeek(agenda);
        addTimed(agenda, QStringLiteral("W"), at(2024, 3, 4, 9, 0), at(2024, 3, 4, 10, 0));
        addTimed(agenda, QStringLiteral("R"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0), true);
        addTimed(agenda, QStringLiteral("D"), at(2024, 3, 7, 9, 0), at(2024, 3, 7, 10, 0), true);
        addTimed(agenda, QStringLiteral("D"), at(2024, 3, 8, 14, 0), at(2024, 3, 8, 15, 0));
        agenda.AddDate(QStringLiteral("1"), QStringLiteral("Feiertag"), day(2024, 3, 9),
                       day(2024, 3, 9), true, 0, false, 0, true, true);
        agenda.setSelectionStart(at(2024, 3, 6, 10, 0));

        agenda.setSelectedDate(key);
        QCOMPARE(agenda.SelectedDate(), expectedKey);
        QCOMPARE(agenda.CurrentDate(), expectedCurrent);
        QCOMPARE(agenda.SelectionStart() > 0, timeSelectionKept);
    }

    // CurrentDate falls back from the appointment to the time selection to the first day.
    void currentDate()
    {
        ucAgenda agenda;
        showWeek(agenda);
        QCOMPARE(agenda.CurrentDate(), day(2024, 3, 4));
        agenda.setSelectionStart(at(2024, 3, 7, 11, 10));
        QCOMPARE(agenda.CurrentDate(), at(2024, 3, 7, 11, 0));
        addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 15), at(2024, 3, 5, 10, 0));
        agenda.setSelectedDate(QStringLiteral("A"));
        QCOMPARE(agenda.CurrentDate(), at(2024, 3, 5, 9, 15));
    }

    // Clear empties the store and the appointment selection, and nothing else.
    void clearKeepsRangesAndTimeSelection()
    {
        ucAgenda agenda;
        showWeek(agenda);
        addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        agenda.setSelectedDate(QStringLiteral("A"));
        agenda.setSelectionStart(at(2024, 3, 6, 10, 0));
        agenda.Clear();
        QCOMPARE(agenda.TerminDSN(), QString());
        QCOMPARE(agenda.SelectedDate(), QString());
        QCOMPARE(agenda.SelectionStart(), at(2024, 3, 6, 10, 0));
        QCOMPARE(agenda.FirstDay(), day(2024, 3, 4));
        QCOMPARE(agenda.GetAnzahlTage(), 7);
    }

    // Dates that cannot be shown are refused before they reach the store.
    void addDateRejectsInvalidDates()
    {
        ucAgenda agenda;
        showWeek(agenda);
        addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        const QVector<QPair<Date, Date>> bad = {
            {qQNaN(), day(2024, 3, 5)},  {day(2024, 3, 5), qInf()},     {-qInf(), day(2024, 3, 5)},
            {day(2024, 3, 5), 1e300},    {kMinDate - 1, day(2024, 3, 5)}, {day(2024, 3, 5), kMaxDate},
        };
        for (const auto &pair : bad) {
            QCOMPARE(errorNumber([&] { addTimed(agenda, QStringLiteral("B"), pair.first, pair.second); }),
                     int(InvalidArgument));
        }
        QCOMPARE(agenda.TerminDSN(), QStringLiteral("A|"));
        // An end before the start is stored as delivered.
        addTimed(agenda, QStringLiteral("C"), at(2024, 3, 5, 11, 0), at(2024, 3, 5, 10, 0));
        QCOMPARE(agenda.TerminDSN(), QStringLiteral("A|C|"));
    }

    // DateAbrunden counts a time a rounding error below a boundary as the boundary; bad rounding
    // steps and dates get the matching error numbers.
    void dateAbrunden_data()
    {
        QTest::addColumn<Date>("datum");
        QTest::addColumn<QVariant>("step");
        QTest::addColumn<Date>("expected");
        QTest::addColumn<int>("error");
        const auto minutes = [](double m) { return QVariant(m / 1440.0); };
        QTest::newRow("08:29:59.5 to 30 min") << at(2024, 3, 4, 8, 29, 59.5) << minutes(30) << at(2024, 3, 4, 8, 30) << 0;
        QTest::newRow("08:29 to 30 min") << at(2024, 3, 4, 8, 29) << minutes(30) << at(2024, 3, 4, 8, 0) << 0;
        QTest::newRow("08:30 exactly") << at(2024, 3, 4, 8, 30) << minutes(30) << at(2024, 3, 4, 8, 30) << 0;
        QTest::newRow("10:44:59.9 to 15 min") << at(2024, 3, 4, 10, 44, 59.9) << minutes(15) << at(2024, 3, 4, 10, 45) << 0;
        QTest::newRow("10:44 to 15 min") << at(2024, 3, 4, 10, 44) << minutes(15) << at(2024, 3, 4, 10, 30) << 0;
        QTest::newRow("23:59:59.5 rolls into the next day") << at(2024, 3, 4, 23, 59, 59.5) << minutes(60) << day(2024, 3, 5) << 0;
        QTest::newRow("before 1899 the floor still rounds down") << at(1800, 1, 1, 7, 50) << minutes(60) << at(1800, 1, 1, 7, 0) << 0;
        const Date monday = day(2024, 3, 4);
        QTest::newRow("zero step") << monday << QVariant(0.0) << 0.0 << int(DivisionByZero);
        QTest::newRow("negative step") << monday << QVariant(-0.5) << 0.0 << int(InvalidArgument);
        QTest::newRow("text step") << monday << QVariant(QStringLiteral("abc")) << 0.0 << int(TypeMismatch);
        QTest::newRow("empty step") << monday << QVariant() << 0.0 << int(TypeMismatch);
        QTest::newRow("NaN date") << qQNaN() << QVariant(0.5) << 0.0 << int(InvalidArgument);
        QTest::newRow("infinite step") << monday << QVariant(qInf()) << 0.0 << int(InvalidArgument);
    }
    void dateAbrunden()
    {
        QFETCH(Date, datum);
        QFETCH(QVariant, step);
        QFETCH(Date, expected);
        QFETCH(int, error);
        ucAgenda agenda;
        Date rounded = 0;
        QCOMPARE(errorNumber([&] { rounded = agenda.DateAbrunden(datum, step); }), error);
        QVERIFY(qAbs(rounded - expected) < 1e-9);
    }

    // The range rules: kept day count, layout default, fourteen-day cut and weekday alignment.
    void displayedRange_data()
    {
        QTest::addColumn<int>("previousDays");
        QTest::addColumn<int>("alignWeekday");
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        QTest::addColumn<bool>("blnDefault");
        QTest::addColumn<bool>("align");
        QTest::addColumn<Date>("expectedFirst");
        QTest::addColumn<Date>("expectedLast");
        QTest::addColumn<Date>("writtenBack");

        QTest::newRow("Wednesday keeps seven days") << 7 << 0 << day(2024, 3, 6) << 0.0 << false << true
                                                    << day(2024, 3, 6) << day(2024, 3, 12) << day(2024, 3, 12);
        QTest::newRow("default takes the layout's seven") << 3 << 0 << day(2024, 3, 6) << 0.0 << true << true
                                                          << day(2024, 3, 6) << day(2024, 3, 12) << day(2024, 3, 12);
        QTest::newRow("twenty days cut to fourteen") << 1 << 0 << day(2024, 3, 4) << day(2024, 3, 24) << false << true
                                                     << day(2024, 3, 4) << day(2024, 3, 17) << day(2024, 3, 17);
        QTest::newRow("time of day ignored") << 1 << 0 << at(2024, 3, 4, 13, 0) << at(2024, 3, 5, 9, 0) << false << true
                                             << day(2024, 3, 4) << day(2024, 3, 5) << day(2024, 3, 5);
        QTest::newRow("Sunday aligned on Monday") << 7 << 2 << day(2024, 3, 10) << 0.0 << false << true
                                                  << day(2024, 3, 4) << day(2024, 3, 10) << day(2024, 3, 16);
        QTest::newRow("Thursday aligned on Monday") << 7 << 2 << day(2024, 3, 7) << 0.0 << false << true
                                                    << day(2024, 3, 4) << day(2024, 3, 10) << day(2024, 3, 13);
        QTest::newRow("five days from Saturday stay unaligned") << 5 << 2 << day(2024, 3, 9) << 0.0 << false << true
                                                                << day(2024, 3, 9) << day(2024, 3, 13) << day(2024, 3, 13);
        QTest::newRow("alignment not requested") << 7 << 2 << day(2024, 3, 7) << 0.0 << false << false
                                                 << day(2024, 3, 7) << day(2024, 3, 13) << day(2024, 3, 13);
        QTest::newRow("last day before the first counts as none") << 3 << 0 << day(2024, 3, 7) << day(2024, 3, 1) << false << false
                                                                  << day(2024, 3, 7) << day(2024, 3, 9) << day(2024, 3, 9);
        QTest::newRow("one day on the Monday itself") << 1 << 2 << day(2024, 3, 4) << 0.0 << false << true
                                                      << day(2024, 3, 4) << day(2024, 3, 4) << day(2024, 3, 4);
    }
    void displayedRange()
    {
        QFETCH(int, previousDays);
        QFETCH(int, alignWeekday);
        QFETCH(Date, first);
        QFETCH(Date, last);
        QFETCH(bool, blnDefault);
        QFETCH(bool, align);
        QFETCH(Date, expectedFirst);
        QFETCH(Date, expectedLast);
        QFETCH(Date, writtenBack);

        ucAgenda agenda;
        double previousLast = day(2024, 1, 1) + previousDays - 1;
        agenda.SetDisplayedRange(day(2024, 1, 1), &previousLast, false, false);
        QCOMPARE(agenda.GetAnzahlTage(), previousDays);
        agenda.setAlignOnWeekday(alignWeekday);

        double lastDay = last;
        agenda.SetDisplayedRange(first, &lastDay, blnDefault, align);
        QCOMPARE(agenda.FirstDay(), expectedFirst);
        QCOMPARE(agenda.LastDay(), expectedLast);
        QCOMPARE(lastDay, writtenBack);
        QVERIFY(agenda.FirstDay() <= agenda.LastDay());
    }

    // A range request with an unusable day is refused and the old range stays.
    void displayedRangeRejectsInvalidDays()
    {
        ucAgenda agenda;
        showWeek(agenda);
        double nan = qQNaN();
        QCOMPARE(errorNumber([&] { agenda.SetDisplayedRange(qQNaN()); }), int(InvalidArgument));
        QCOMPARE(errorNumber([&] { agenda.SetDisplayedRange(day(2024, 3, 4), &nan); }), int(InvalidArgument));
        QCOMPARE(errorNumber([&] { agenda.SetDisplayedRange(1e12); }), int(InvalidArgument));
        QCOMPARE(agenda.FirstDay(), day(2024, 3, 4));
        QCOMPARE(agenda.LastDay(), day(2024, 3, 10));
        // The very last representable day still gives a valid range.
        agenda.SetDisplayedRange(day(9999, 12, 31));
        QVERIFY(agenda.FirstDay() <= agenda.LastDay());
        QCOMPARE(agenda.LastDay(), day(9999, 12, 31));
    }

    // SelectionStart rounds to the raster, SelectionEnd is the end of the last selected slot.
    void selectionProperties()
    {
        ucAgenda agenda;
        showWeek(agenda);
        agenda.setSelectionStart(at(2024, 3, 5, 10, 20));
        agenda.setSelectionEnd(at(2024, 3, 5, 12, 0));
        QCOMPARE(agenda.SelectionStart(), at(2024, 3, 5, 10, 0));
        QVERIFY(qAbs(agenda.SelectionEnd() - at(2024, 3, 5, 12, 0)) < 1e-9);
        agenda.setSelectionEnd(0); // ignored
        QVERIFY(qAbs(agenda.SelectionEnd() - at(2024, 3, 5, 12, 0)) < 1e-9);
        agenda.setSelectionStart(0);
        QCOMPARE(agenda.SelectionStart(), 0.0);
        QCOMPARE(agenda.SelectionEnd(), 0.0);
        // A selection outside the new days is dropped by the next range change.
        agenda.setSelectionStart(at(2024, 3, 5, 10, 0));
        agenda.SetDisplayedRange(day(2024, 4, 1));
        QCOMPARE(agenda.SelectionStart(), 0.0);
    }

    // The host is asked once for uncovered days, not again inside its range, again after Refresh.
    void needDatesProtocol()
    {
        ucAgenda agenda;
        QSignalSpy spy(&agenda, &ucAgenda::NeedDates);
        connect(&agenda, &ucAgenda::NeedDates, &agenda, [&](double from, double to, const QString &) {
            agenda.SetFilledRange(from - 7, to + 7);
            addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        });
        agenda.Enabled = true;
        showWeek(agenda);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), day(2024, 3, 4));
        QCOMPARE(spy.at(0).at(1).toDouble(), day(2024, 3, 10));
        QCOMPARE(spy.at(0).at(2).toString(), QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name"));
        QCOMPARE(agenda.TerminDSN(), QStringLiteral("A|"));

        agenda.SetDisplayedRange(day(2024, 3, 11)); // inside the filled range
        QCOMPARE(spy.count(), 1);
        agenda.SetDisplayedRange(day(2024, 3, 20)); // leaves it
        QCOMPARE(spy.count(), 2);
        agenda.Refresh();
        QCOMPARE(spy.count(), 3);
        QCOMPARE(agenda.FirstDay(), day(2024, 3, 20));
    }

    // While Enabled is false the host is never asked, whatever the filled range.
    void needDatesNeverWhileDisabled()
    {
        ucAgenda agenda;
        QSignalSpy spy(&agenda, &ucAgenda::NeedDates);
        showWeek(agenda);
        agenda.Refresh();
        agenda.SetDisplayedRange(day(2030, 1, 1), nullptr, true, true);
        QCOMPARE(spy.count(), 0);
    }

    // A host that re-enters the control from its handler neither recurses nor corrupts the range.
    void reentrantHostDoesNotRecurse()
    {
        ucAgenda agenda;
        int calls = 0;
        connect(&agenda, &ucAgenda::NeedDates, &agenda, [&](double from, double, const QString &) {
            ++calls;
            agenda.Refresh();
            agenda.SetDisplayedRange(from + 1);
            agenda.SetFilledRange(from, from + 30);
        });
        agenda.Enabled = true;
        showWeek(agenda);
        QCOMPARE(calls, 1);
        QVERIFY(agenda.FirstDay() <= agenda.LastDay());
        QCOMPARE(agenda.GetAnzahlTage(), 7);
    }

    // SetFilledRange adds the holidays of every year it touches as read-only holiday entries.
    void holidaysOfWholeYears()
    {
        ucAgenda agenda;
        showWeek(agenda);
        addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        agenda.SetFilledRange(day(2024, 12, 28), day(2025, 1, 3));
        // The store was emptied; 18 holidays of 2024 and 2025 are there, none of them listed.
        QCOMPARE(agenda.TerminDSN(), QString());
        agenda.setSelectedDate(QStringLiteral("1"));
        QCOMPARE(agenda.SelectedDate(), QString());
        // Their keys are the list numbers; an appointment with such a key is still selectable.
        addTimed(agenda, QStringLiteral("18"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        agenda.setSelectedDate(QStringLiteral("18"));
        QCOMPARE(agenda.SelectedDate(), QStringLiteral("18"));
        QCOMPARE(agenda.CurrentDate(), at(2024, 3, 5, 9, 0));
    }

    // With the holiday option off, SetFilledRange only empties the store.
    void holidaysSwitchedOff()
    {
        ucAgenda agenda;
        agenda.setOptions(QStringLiteral("cContainer 1\nblnGermanLegalHolidays:b=0\n"));
        QVERIFY(agenda.Options().contains(QStringLiteral("blnGermanLegalHolidays:b=0")));
        showWeek(agenda);
        agenda.SetFilledRange(day(2024, 1, 1), day(2024, 12, 31));
        addTimed(agenda, QStringLiteral("1"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        agenda.setSelectedDate(QStringLiteral("1"));
        QCOMPARE(agenda.SelectedDate(), QStringLiteral("1"));
    }

    // The screen layout sets raster, first time and cell heights, repairing unusable values.
    void optionsApplyLayout_data()
    {
        QTest::addColumn<QString>("raster");
        QTest::addColumn<Date>("startTime");
        QTest::addColumn<int>("cellRows");
        QTest::addColumn<int>("bandRows");
        QTest::addColumn<Date>("expectedRaster");
        QTest::addColumn<Date>("expectedFirstTime");
        QTest::addColumn<int>("expectedLastRow");
        QTest::addColumn<int>("expectedCellRows");
        QTest::addColumn<int>("expectedBandRows");

        QTest::newRow("15 minutes, 08:10 rounds down") << "15 Minuten" << 8 / 24.0 + 10 / 1440.0 << 4 << 2
                                                       << 15 / 1440.0 << 8 / 24.0 << 95 << 4 << 2;
        QTest::newRow("6 minutes") << "6 Minuten" << 7 / 24.0 << 1 << 1 << 6 / 1440.0 << 7 / 24.0 << 239 << 1 << 1;
        QTest::newRow("60 minutes") << "60 Minuten" << 9.5 / 24.0 << 1 << 1 << 60 / 1440.0 << 9 / 24.0 << 23 << 1 << 1;
        QTest::newRow("7.5 minutes round to 8, which divide the day") << "7.5 Minuten" << 7.2 / 24.0 << 1 << 1
                                                                      << 8 / 1440.0 << 7.2 / 24.0 << 179 << 1 << 1;
        QTest::newRow("zero minutes repaired") << "0 Minuten" << 8 / 24.0 << 4 << 1 << 30 / 1440.0 << 8 / 24.0 << 47 << 4 << 1;
        QTest::newRow("no number repaired") << "Minuten" << 8 / 24.0 << 4 << 1 << 30 / 1440.0 << 8 / 24.0 << 47 << 4 << 1;
        QTest::newRow("heights below one stored as one") << "30 Minuten" << 8 / 24.0 << 0 << -3 << 30 / 1440.0 << 8 / 24.0 << 47 << 1 << 1;
    }
    void optionsApplyLayout()
    {
        QFETCH(QString, raster);
        QFETCH(Date, startTime);
        QFETCH(int, cellRows);
        QFETCH(int, bandRows);
        QFETCH(Date, expectedRaster);
        QFETCH(Date, expectedFirstTime);
        QFETCH(int, expectedLastRow);
        QFETCH(int, expectedCellRows);
        QFETCH(int, expectedBandRows);

        // A layout written the way the layout dialog writes it: numbers as text.
        QString layout = QStringLiteral("cContainer 1\n");
        layout += textEntry(QStringLiteral("strAufloesung"), raster);
        layout += QStringLiteral("timeStartZeit:d=%1\n").arg(startTime, 0, 'g', 17);
        layout += textEntry(QStringLiteral("lngHoeheTerminzelle"), QString::number(cellRows));
        layout += textEntry(QStringLiteral("lngHoeheTagestermin"), QString::number(bandRows));
        const QString options = QStringLiteral("cContainer 1\n")
                                + textEntry(QStringLiteral("strLayoutScreenCalendar"), layout);
        ucAgenda agenda;
        agenda.setOptions(options);
        QVERIFY(qAbs(agenda.TimeRaster() - expectedRaster) < 1e-12);
        QVERIFY(qAbs(agenda.FirstTime() - expectedFirstTime) < 1e-9);
        QCOMPARE(agenda.GetZeilenIndex(23 / 24.0 + 59 / 1440.0), expectedLastRow);
        QCOMPARE(agenda.MinDateHeight(), expectedCellRows);
        QCOMPARE(agenda.DayInfoHeight(), expectedBandRows);
    }

    // Options reads back what was written, and writing it keeps the number of days shown.
    void optionsRoundTripAndKeepDayCount()
    {
        ucAgenda agenda;
        showWeek(agenda);
        const QString defaults = agenda.Options();
        QVERIFY(defaults.startsWith(QStringLiteral("cContainer 1\n")));
        agenda.setOptions(QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n"));
        QCOMPARE(agenda.ConfirmChanges(), false);
        QCOMPARE(agenda.GetAnzahlTage(), 7);
        QCOMPARE(agenda.FirstDay(), day(2024, 3, 4));

        ucAgenda second;
        second.setOptions(agenda.Options());
        QCOMPARE(second.Options(), agenda.Options());
        QCOMPARE(second.ConfirmChanges(), false);
        QCOMPARE(second.GetAnzahlTage(), 1);
    }

    // An options string that cannot be read is refused and every option stays as it was.
    void badOptionsChangeNothing_data()
    {
        QTest::addColumn<QString>("options");
        QTest::newRow("not a container string") << "Hallo Welt";
        QTest::newRow("truncated") << "cContainer 1\nstrFont:s18=MS Sans";
        QTest::newRow("layout that is no container string")
            << "cContainer 1\nblnConfirmChanges:b=0\nstrLayoutScreenCalendar:s5=kaput\n";
        QTest::newRow("layout with a non-numeric cell height")
            << QStringLiteral("cContainer 1\n")
                   + textEntry(QStringLiteral("strLayoutScreenCalendar"),
                               QStringLiteral("cContainer 1\n")
                                   + textEntry(QStringLiteral("lngHoeheTerminzelle"), QStringLiteral("vier")));
        QTest::newRow("flag that is no number")
            << QStringLiteral("cContainer 1\n") + textEntry(QStringLiteral("blnConfirmChanges"), QStringLiteral("ja"));
        // A time of day would fall into different rows on different days.
        for (const char *raster : {"50 Minuten", "7 Minuten", "1000 Minuten"})
            QTest::addRow("raster of %s, which does not divide the day", raster)
                << QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n")
                       + textEntry(QStringLiteral("strLayoutScreenCalendar"),
                                   QStringLiteral("cContainer 1\n")
                                       + textEntry(QStringLiteral("strAufloesung"), QLatin1String(raster)));
    }
    void badOptionsChangeNothing()
    {
        QFETCH(QString, options);
        ucAgenda agenda;
        showWeek(agenda);
        const QString before = agenda.Options();
        QVERIFY(errorNumber([&] { agenda.setOptions(options); }) != 0);
        QCOMPARE(agenda.Options(), before);
        QCOMPARE(agenda.ConfirmChanges(), true);
        QCOMPARE(agenda.TimeRaster(), kMinutes30);
        QCOMPARE(agenda.MinDateHeight(), 4);
        QCOMPARE(agenda.GetAnzahlTage(), 7);
    }
};

QTEST_MAIN(tst_ucAgendaStore)
#include "tst_ucagenda_store.moc"
