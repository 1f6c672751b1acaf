// The resource view core without a window: a move of the selection answered later, as a Qt
// Quick front end answers it, the kept picture painted into the core's own image, and the
// NeedDates protocol through its event.
#include "gantt/ganttcore.h"
#include "gantt/gantttable.h"

#include <QGuiApplication>
#include <QtTest>

#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMon = day(2024, 3, 4);

// Two rows, the meeting "M" in both, and "X" in the first.
void fill(GanttCore &core)
{
    core.model.addMerkmal(QStringLiteral("Anna"), QStringLiteral("a"));
    core.model.addMerkmal(QStringLiteral("Ben"), QStringLiteral("b"));
    for (const char *row : {"a", "b"})
        core.model.addDate(QStringLiteral("M"), QStringLiteral("Besprechung"), kMon + hm(9, 0), kMon + hm(10, 0),
                           false, 0, false, 0, false, QLatin1String(row), false, false);
    core.model.addDate(QStringLiteral("X"), QStringLiteral("Anderes"), kMon + hm(13, 0), kMon + hm(14, 0),
                       false, 0, false, 0, false, QStringLiteral("a"), false, false);
}

QString startsOf(const GanttModel &model)
{
    QStringList starts;
    for (qint32 i = 1; i <= model.dateCount(); ++i)
        starts << when(model.date(i).von) + QLatin1Char('/') + when(model.date(i).vonOriginal);
    return starts.join(QLatin1Char(' '));
}

} // namespace

class tst_GanttCore : public QObject
{
    Q_OBJECT

private slots:
    // Catches a bar of the key left behind by the move or by its refusal, a change raised for
    // a refusal or before the answer, and a failed question that keeps the new times.
    void moveAnsweredLater_data()
    {
        QTest::addColumn<int>("answer"); // 1 yes, 0 no, -1 the question failed
        QTest::addColumn<QString>("starts");
        QTest::addColumn<QString>("raised");
        QTest::newRow("yes") << 1 << "Tue 11:00/Tue 11:00 Tue 11:00/Tue 11:00 Mon 13:00/Mon 13:00"
                             << "M Tue 11:00";
        QTest::newRow("no") << 0 << "Mon 09:00/Mon 09:00 Mon 09:00/Mon 09:00 Mon 13:00/Mon 13:00" << "";
        QTest::newRow("question failed") << -1 << "Mon 09:00/Mon 09:00 Mon 09:00/Mon 09:00 Mon 13:00/Mon 13:00" << "";
    }
    void moveAnsweredLater()
    {
        QFETCH(int, answer);
        GanttCore core;
        fill(core);
        QStringList raised;
        core.events.dateChanged = [&](const QString &dsn, Date start, Date) { raised << dsn + QLatin1Char(' ') + when(start); };
        QVERIFY(!core.moveSelected(kMon + 1 + hm(11, 0)));
        core.model.selectedDate = QStringLiteral("M");
        const std::optional<ChangeRequest> request = core.moveSelected(kMon + 1 + hm(11, 0));
        QVERIFY(request);
        QCOMPARE(request->moved, (QVector<qint32>{1, 2}));
        QVERIFY(request->changed());
        QVERIFY(raised.isEmpty());
        if (answer < 0) {
            core.revertChange(*request);
        } else {
            ChangeAnswer given;
            given.accepted = answer == 1;
            core.commitChange(*request, given);
            core.raiseChange(*request, given);
        }
        QTEST(startsOf(core.model), "starts");
        QTEST(raised.join(QLatin1Char('|')), "raised");
    }

    // Catches a kept picture painted again though nothing changed, one not painted again
    // after a row band was drawn onto it or the model changed, and a proposal never shown.
    void keptPicture()
    {
        GanttCore core;
        fill(core);
        core.startDate = kMon;
        core.endDate = kMon + 4;
        core.surfaceSize = QSize(640, 300);
        core.surfaceVisible = true;
        int shown = 0;
        core.proposalShown = [&](const QString &, bool) { ++shown; };
        core.prepareScreen(false);
        QCOMPARE(core.pictureRenders, quint64(1));
        QCOMPARE(core.picture.size(), QSize(640, 300));
        QVERIFY(core.keptShowsNow());
        core.prepareScreen(false);
        QCOMPARE(core.pictureRenders, quint64(1));
        core.fillRowBand(core.scene.layout.rowTop(1, 1), 0x00FF00);
        core.shownChanges = QRegion(); // shown, as a front end shows what changed
        QVERIFY(!core.keptShowsNow());
        core.prepareScreen(false);
        QCOMPARE(core.pictureRenders, quint64(2));
        core.model.vorschlagVon = kMon + hm(15, 0);
        core.model.vorschlagBis = kMon + hm(16, 0);
        core.model.row(1).blnMarkiert = true;
        core.prepareScreen(false);
        QCOMPARE(core.pictureRenders, quint64(3));
        QVERIFY(shown > 0);
    }

    // Catches a NeedDates asked from inside its handler, the range not written before it, and a
    // refresh that keeps the filled range and so never asks the host again.
    void needDates()
    {
        GanttCore core;
        QStringList asked;
        bool scroll = true;
        core.events.needDates = [&](Date first, Date last, const QString &) {
            asked << when(first) + QLatin1Char('-') + when(last);
            QCOMPARE(core.startDate, first);
            if (scroll)
                core.scrollDays(1); // from inside: not asked again
        };
        double last = kMon + 2;
        core.setDisplayedRange(kMon, &last, false, false);
        QCOMPARE(asked, QStringList{QStringLiteral("Mon 00:00-Wed 00:00")});
        QCOMPARE(core.startDate, kMon + 1);
        QCOMPARE(core.needDatesDepth, 0);
        scroll = false;
        asked.clear();
        core.setFilledRange(kMon, kMon + 2);
        core.setDisplayedRange(kMon, &last, false, false);
        core.refresh();
        QCOMPARE(asked, QStringList{QStringLiteral("Mon 00:00-Wed 00:00")});
    }

    // Catches a day column too many or too few (an end on the first day is one column, an end
    // before it none) and a summary that names a key no bar has.
    void tableDays_data()
    {
        QTest::addColumn<double>("end");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("summary");
        const QString monday = QStringLiteral("Montag, 4. März 2024");
        const QString toWednesday = monday + QStringLiteral(" bis Mittwoch, 6. März 2024");
        QTest::newRow("fresh view ends before it starts") << kMon - 0.5 << "" << 0 << monday;
        QTest::newRow("ends on its first day") << kMon + hm(18, 0) << "" << 1 << monday;
        QTest::newRow("three days") << kMon + 2 << "" << 3 << toWednesday;
        QTest::newRow("the selection as its bar reads") << kMon + 2 << "X" << 3
                                                        << toWednesday + ". " + monday + ", 13:00 bis 14:00, Anna: Anderes";
        QTest::newRow("a selected key without a bar") << kMon + 2 << "Z" << 3 << toWednesday;
    }
    void tableDays()
    {
        QFETCH(double, end);
        QFETCH(QString, selected);
        GanttCore core;
        fill(core);
        core.startDate = kMon + hm(8, 0);
        core.endDate = end;
        core.model.selectedDate = selected;
        const GanttTable table(core);
        QTEST(table.columnCount(), "columns");
        QTEST(viewSummary(table), "summary");
    }

    // Catches "Verschieben" offered for a read-only appointment, "Neu" without a proposal and a
    // ticked day count that misses the first or the last day.
    void menuState_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<double>("proposal");
        QTest::addColumn<QString>("offered"); // new, show, move
        QTest::newRow("nothing") << "" << 0.0 << "---";
        QTest::newRow("a proposal") << "" << kMon + hm(9, 0) << "N--";
        QTest::newRow("an appointment") << "X" << 0.0 << "-SM";
        QTest::newRow("a read-only one") << "R" << 0.0 << "-S-";
    }
    void menuState()
    {
        QFETCH(QString, selected);
        QFETCH(double, proposal);
        QFETCH(QString, offered);
        GanttCore core;
        fill(core);
        core.model.addDate(QStringLiteral("R"), QString(), kMon + hm(15, 0), kMon + hm(16, 0), false, 0, false, 0,
                           true, QStringLiteral("a"), false, false);
        core.startDate = kMon;
        core.endDate = kMon + 2;
        core.model.selectedDate = selected;
        core.model.vorschlagVon = proposal;
        const MenuState state = core.menuState();
        QCOMPARE(state.shownDays, 3.0);
        QCOMPARE(QString(state.canCreate ? 'N' : '-') + (state.canShow ? 'S' : '-') + (state.canMove ? 'M' : '-'),
                 offered);
    }

    // Catches an opened search that goes on from the last one or leaves a row unmarked, and a
    // days field that throws away the rows the user marked in the modern presentation.
    void searchRows_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::addColumn<bool>("opened"); // else the days field took the keyboard
        QTest::addColumn<QString>("marked"); // the rows' keys, after "b" alone was marked
        QTest::addColumn<bool>("afresh");
        QTest::newRow("opened, classic") << false << true << "ab" << true;
        QTest::newRow("opened, modern") << true << true << "ab" << true;
        QTest::newRow("days field, classic") << false << false << "ab" << false;
        QTest::newRow("days field, modern") << true << false << "b" << false;
    }
    void searchRows()
    {
        QFETCH(bool, modern);
        QFETCH(bool, opened);
        GanttCore core;
        fill(core);
        core.presentation = modern ? Presentation::Modern : Presentation::Classic;
        markRowsByKey(core.model, {QStringLiteral("b")});
        core.model.sucheAb = kMon;
        if (opened)
            core.openSearch();
        else
            QCOMPARE(core.markRowsForDays(), !modern);
        QString marked;
        for (qint32 r = 1; r <= core.model.rowCount(); ++r)
            marked += core.model.row(r).blnMarkiert ? core.model.row(r).dsn : QString();
        QTEST(marked, "marked");
        QTEST(core.model.sucheAb == 0, "afresh");
    }
};

DAYPLEX_TEST_MAIN(tst_GanttCore)
#include "tst_ganttcore.moc"
