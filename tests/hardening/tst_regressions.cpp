// Faults found earlier, each replayed so that it stays fixed: every input the two fuzzers keep
// (fuzz/regressions/, fuzz/regressions/calls/) and their seeds (fuzz/corpus/, fuzz/corpus_calls/)
// through the same checks the fuzzers apply, without clang or libFuzzer; and what the soak run
// of both views found.
#include "../../fuzz/callsharness.h"
#include "../../fuzz/optionsharness.h"

#include "shared/datepicker.h"
#include "dialogs/cprintdialog.h"
#include "shared/clock.h"
#include "support/testmain.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

QDir fuzzFolder(const char *name)
{
    return QDir(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../fuzz/") + QLatin1String(name));
}

// The kept findings of one fuzzer, then its seeds.
void addKeptAndSeeds(const char *kept, const char *seeds, bool calls)
{
    for (const bool seed : {false, true}) {
        const QDir dir = fuzzFolder(seed ? seeds : kept);
        for (const QString &file : dir.entryList(QDir::Files, QDir::Name))
            QTest::addRow("%s%s%s", calls ? "calls " : "", seed ? "seed " : "", qPrintable(file))
                << dir.filePath(file) << calls << seed;
    }
}

} // namespace

class tst_Regressions : public QObject
{
    Q_OBJECT

private slots:
    // Each suite runs in a process of its own: what is set here needs no putting back.
    void initTestCase()
    {
        QVERIFY2(fuzzFolder("regressions").exists(), "fuzz/regressions is missing");
        QVERIFY2(fuzzFolder("corpus").exists(), "fuzz/corpus is missing");
        Dayplex::setModalRunner(DayplexFuzz::pressButtonOf);
        Dayplex::cPrintDialog::setHandler(Dayplex::cPrintDialog::cancel());
        Dayplex::setPromptHandler([](const Dayplex::Prompt &) { return false; });
    }

    void keptInputRunsClean_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("calls"); // a program of calls rather than an options string
        QTest::addColumn<bool>("seed");
        addKeptAndSeeds("regressions", "corpus", false);
        addKeptAndSeeds("regressions/calls", "corpus_calls", true);
    }

    // Catches a fault the fuzzers once found coming back: a crash, a stray exception, a refused
    // text that changed a view, an options or layout string that does not survive its round
    // trip, or a program of calls, gestures and re-entrant host handlers that left a view
    // showing an impossible range; and seeds that no longer are valid options strings, from
    // which the fuzzer would never reach the views' option handling.
    void keptInputRunsClean()
    {
        QFETCH(QString, path);
        QFETCH(bool, calls);
        QFETCH(bool, seed);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        const QString text = QString::fromUtf8(input); // as the options fuzzer reads its input
        const QString problem = calls ? DayplexFuzz::runCallProgram(input)
                                      : DayplexFuzz::exerciseOptionsString(text);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        if (calls || !seed)
            return;
        Dayplex::ucAgenda agenda;
        Dayplex::ctlGantt gantt;
        try {
            agenda.setOptions(text);
            gantt.setOptions(text);
        } catch (const Dayplex::Error &e) {
            QFAIL(qPrintable(e.message()));
        }
    }

    void pageTurnWithFocusedMonth_data()
    {
        QTest::addColumn<int>("across");
        QTest::addColumn<int>("down");
        QTest::addColumn<int>("focused"); // index of the month that has the keyboard focus
        QTest::addColumn<int>("pages");
        QTest::newRow("4 x 3, last month focused, next page") << 4 << 3 << 11 << 1;
        QTest::newRow("4 x 3, first month focused, previous page") << 4 << 3 << 0 << -1;
        QTest::newRow("2 x 3, middle month focused, same page again") << 2 << 3 << 3 << 0;
        QTest::newRow("1 x 2, second month focused, two pages on") << 1 << 2 << 1 << 2;
    }

    // Catches the drop-down reading months it has already deleted: turning the page deletes the
    // month calendars, the focused one hands its focus on, and the focus handling walked the
    // list of months while they went.
    void pageTurnWithFocusedMonth()
    {
        QFETCH(int, across);
        QFETCH(int, down);
        QFETCH(int, focused);
        QFETCH(int, pages);
        Dayplex::DatePickerDropDown dropDown;
        dropDown.setup(QDate(2024, 3, 6), Dayplex::MonthGrid{across, down}, true);
        dropDown.show();
        dropDown.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dropDown));
        QCOMPARE(dropDown.months().size(), across * down);
        auto *view = dropDown.months().at(focused)->findChild<QAbstractItemView *>();
        QVERIFY(view);
        view->setFocus();
        QVERIFY(view->hasFocus());
        const QDate before = dropDown.firstMonth();
        dropDown.turn(pages);
        QCOMPARE(dropDown.months().size(), across * down);
        QCOMPARE(dropDown.firstMonth(), before.addMonths(pages * across * down));
    }

    void reopenedDropDownLooksNew_data()
    {
        QTest::addColumn<QDate>("before");      // the value of the first opening
        QTest::addColumn<QDate>("todayBefore"); // today at the first opening
        QTest::addColumn<QDate>("value");
        QTest::addColumn<int>("across");
        const QDate today(2026, 12, 7);
        QTest::newRow("a later month") << QDate(2024, 3, 6) << today << QDate(2024, 9, 30) << 2;
        QTest::newRow("the value last shown, today moved on") << QDate(2026, 12, 7) << QDate(2026, 11, 30) << QDate(2026, 12, 7) << 2;
        QTest::newRow("a year before, today in no month") << QDate(2027, 1, 31) << today << QDate(2020, 2, 29) << 1;
        QTest::newRow("the value in the last month shown") << QDate(2026, 12, 7) << today << QDate(2026, 7, 1) << 3;
    }

    // Catches a drop-down opened again that keeps what its last opening showed: a month's
    // selection, today's mark on the day it was, the caption or range of an earlier month.
    void reopenedDropDownLooksNew()
    {
        QFETCH(QDate, before);
        QFETCH(QDate, todayBefore);
        QFETCH(QDate, value);
        QFETCH(int, across);
        const Dayplex::MonthGrid grid{across, 2};
        Dayplex::setCurrentDateTimeForTesting(Dayplex::toDate(todayBefore));
        Dayplex::DatePickerDropDown reopened;
        reopened.setup(before, grid, true);
        Dayplex::setCurrentDateTimeForTesting(Dayplex::toDate(QDate(2026, 12, 7)));
        reopened.setup(value, grid, true);
        Dayplex::DatePickerDropDown fresh;
        fresh.setup(value, grid, true);
        QCOMPARE(reopened.grab().toImage(), fresh.grab().toImage());
        for (int i = 0; i < fresh.months().size(); ++i) {
            QCOMPARE(reopened.months().at(i)->selectedDate(), fresh.months().at(i)->selectedDate());
            QCOMPARE(reopened.months().at(i)->dateTextFormat(), fresh.months().at(i)->dateTextFormat());
        }
    }

    void programAfterAnotherRunsAsOnNewViews_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("program");
        const QByteArray onHeaderThenWheel("release a 130 2\nwheel a 50 50 240\npaint a\n");
        QTest::newRow("a double click's press left down")
            << QByteArray("size a 500 300\npress a 120 120\ndclick a 140 140\n") << onHeaderThenWheel;
        QTest::newRow("a press left down") << QByteArray("press a 120 120\n") << onHeaderThenWheel;
        QTest::newRow("a double click on the Gantt")
            << QByteArray("dclick g 200 100\n") << QByteArray("release g 200 100\nkey g down\npaint g\n");
    }

    // Catches a harness that does not bring a kept view back to rest (a button QTest still
    // holds, a gesture under way): the next program must answer and draw as on new views.
    void programAfterAnotherRunsAsOnNewViews()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, program);
        QCOMPARE(DayplexFuzz::runCallProgram(before, DayplexFuzz::Views::Kept, false).problem, QString());
        const DayplexFuzz::CallRun kept = DayplexFuzz::runCallProgram(program, DayplexFuzz::Views::Kept, true);
        const DayplexFuzz::CallRun fresh = DayplexFuzz::runCallProgram(program, DayplexFuzz::Views::Fresh, true);
        QCOMPARE(kept.problem, fresh.problem);
        QCOMPARE(kept.fingerprint, fresh.fingerprint);
    }
};

DAYPLEX_TEST_MAIN(tst_Regressions)
#include "tst_regressions.moc"
