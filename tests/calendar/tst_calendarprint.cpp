// The calendar's print sheets: the title block and the grid on paper.
#include "calendar/calendarprintview.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "shared/clock.h"
#include "shared/germanformat.h"
#include "support/agendaweek.h"
#include "support/calendarweek.h"
#include "support/printerpage.h"

#include <dayplex/ctlgantt.h>

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kNow = day(2026, 12, 5) + 10.25 / 24; // 10:15

// The thinnest line among the fills of a printed view: a fill is a line or a bar at least as
// wide as it is thin, and a fill followed by one inside it, with a margin on every side, is a
// frame as wide as its narrowest margin.
int thinnestLine(const QVector<RecordingEngine::Drawn> &drawn)
{
    int thinnest = INT_MAX;
    const RecordingEngine::Drawn *previous = nullptr;
    for (const RecordingEngine::Drawn &d : drawn) {
        if (!d.text.isEmpty())
            continue;
        const QRect r = d.rect.toRect();
        thinnest = std::min({thinnest, r.width(), r.height()});
        if (previous) {
            const QRect outer = previous->rect.toRect();
            const int margin = std::min({r.left() - outer.left(), r.top() - outer.top(),
                                         outer.right() - r.right(), outer.bottom() - r.bottom()});
            if (margin > 0)
                thinnest = std::min(thinnest, margin);
        }
        previous = &d;
    }
    return thinnest;
}

// Prints one view of the week (or the Gantt view of it) onto a recording printer page.
void printView(QObject &view, PrinterPage &page, const QRect &rect, int points = 8)
{
    view.setProperty("ForPrinting", true);
    QPainter painter(&page);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    QMetaObject::invokeMethod(&view, "PrintAnsicht", Qt::DirectConnection, Q_ARG(QPainter *, &painter),
                              Q_ARG(qint32, rect.x()), Q_ARG(qint32, rect.y()), Q_ARG(qint32, rect.width()),
                              Q_ARG(qint32, rect.height()));
    view.setProperty("ForPrinting", false);
}

// The texts drawn on a page, without fills, paths and polygons; a text below 7 points or cut by
// the clip is listed in `faults` too. A wrapped line keeps the space it ended at, which the clip
// may take.
QStringList printedTexts(const PrinterPage &page, QStringList &faults)
{
    QStringList texts;
    for (const RecordingEngine::Drawn &d : page.drawn()) {
        if (d.text.isEmpty() || d.text == QLatin1String("path") || d.text == QLatin1String("polygon"))
            continue;
        texts << d.text;
        const qreal space = d.text.endsWith(QLatin1Char(' ')) ? d.rect.width() / d.text.size() : 0;
        if (d.points < 7.0 || d.shown.width() < d.rect.width() - 1 - space)
            faults << d.text;
    }
    return texts;
}

} // namespace

class tst_CalendarPrint : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kNow); }

    void cleanup() { setCurrentDateTimeForTesting(0); }

    // The title names the sheet by its period: Tagesplan, Wochenplan, or just the two dates.
    void titleBlock_data()
    {
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        QTest::addColumn<QStringList>("lines"); // "2x " before a line in double size
        const QString stand = QStringLiteral("Stand: 05.12.2026 10:15");
        QTest::newRow("one day")
            << day(2024, 3, 4) << day(2024, 3, 4)
            << QStringList{"2x Montag", "2x 4. März 2024", "2x 10. Woche", "Tagesplan", stand};
        QTest::newRow("week from Monday")
            << day(2024, 3, 4) << day(2024, 3, 10)
            << QStringList{"2x 4. März 2024", "2x 10. März 2024", "10. Woche", "Wochenplan", stand};
        QTest::newRow("five days from Wednesday")
            << day(2024, 3, 6) << day(2024, 3, 10)
            << QStringList{"2x 6. März 2024", "2x 10. März 2024", stand};
    }
    void titleBlock()
    {
        QFETCH(Date, first);
        QFETCH(Date, last);
        QStringList lines;
        for (const TitleLine &line : titleLines(first, last, kNow))
            lines << (line.doubleSize ? "2x " : "") + line.text;
        QTEST(lines, "lines");
    }

    // Catches printed lines, frames and bars that keep the width of one printer pixel, which
    // vanishes on paper (every line is at least a quarter point wide), and a printed calendar
    // that runs past its frame: nothing may hang below the view.
    void printedPage_data()
    {
        QTest::addColumn<bool>("gantt");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("dotsPerInch");
        QTest::addColumn<QRect>("view");
        QTest::addColumn<int>("line"); // pixels of a quarter point, rounded up
        QTest::addColumn<bool>("title"); // room for the title block between the month overviews
        const QRect page(60, 50, 1850, 2450);
        QTest::newRow("Wochenplan at 600 dpi") << false << 7 << 600 << page << 3 << false;
        QTest::newRow("Wochenplan at 300 dpi") << false << 7 << 300 << page << 2 << true;
        // Three lines in double size: the "Stand:" line must be there all the same.
        QTest::newRow("Tagesplan at 300 dpi") << false << 1 << 300 << page << 2 << true;
        // Narrower than its two month overviews, which stay inside it all the same.
        QTest::newRow("Tagesplan in a narrow view at 1200 dpi") << false << 1 << 1200 << page << 5 << false;
        QTest::newRow("a low view of a week") << false << 7 << 600 << QRect(200, 300, 1500, 900) << 3 << false;
        QTest::newRow("Gantt week at 600 dpi") << true << 7 << 600 << page << 3 << false;
    }
    void printedPage()
    {
        QFETCH(bool, gantt);
        QFETCH(int, days);
        QFETCH(int, dotsPerInch);
        QFETCH(QRect, view);
        QFETCH(int, line);
        QFETCH(bool, title);
        PrinterPage page(QSize(2000, 2600), dotsPerInch);
        double last = day(2024, 3, 4) + days - 1;
        if (gantt) {
            ctlGantt chart;
            connect(&chart, &ctlGantt::NeedDates, &chart, [&](double from, double to) {
                chart.SetFilledRange(from, to);
                chart.AddMerkmal(QStringLiteral("Anna"), QStringLiteral("P1"));
                chart.AddMerkmal(QStringLiteral("Ben"), QStringLiteral("P2"));
                chart.AddDate(QStringLiteral("A"), QStringLiteral("Besprechung"), from + 0.4, from + 1.6, false, 0,
                              false, 0xC0E0FF, false, QStringLiteral("P1"), false);
                chart.AddDate(QStringLiteral("B"), QStringLiteral("Kunde"), from + 1.2, from + 2.5, false, 0,
                              false, 0xC0FFC0, false, QStringLiteral("P1"), false);
            });
            chart.Enabled = true;
            chart.SetDisplayedRange(day(2024, 3, 4), &last, false, false);
            printView(chart, page, view);
        } else {
            AgendaWeek week(days);
            printView(week.agenda, page, view);
            // Every line of the title block is there whole, the "Stand:" line too.
            QStringList texts;
            for (const RecordingEngine::Drawn &d : page.drawn())
                texts << d.text;
            for (const TitleLine &titleLine : titleLines(week.agenda.FirstDay(), week.agenda.LastDay(), kNow))
                QVERIFY2(!title || texts.contains(titleLine.text), qPrintable(titleLine.text));
        }
        QCOMPARE(thinnestLine(page.drawn()), line);
        if (gantt)
            return; // the calendar's frame is checked here, the chart's is not
        // The frame's right and bottom bars lie just outside the view.
        const QRectF frame(view.x(), view.y(), view.width() + line, view.height() + line);
        int drawnInside = 0;
        QRectF stand; // the title's last line, which a band too low for it would push under the grid
        for (const RecordingEngine::Drawn &d : page.drawn()) {
            if (d.shown.isEmpty())
                continue;
            QVERIFY2(frame.contains(d.shown),
                     qPrintable(QStringLiteral("%1 %2,%3 %4x%5").arg(d.text.isEmpty() ? QStringLiteral("fill") : d.text)
                                    .arg(d.shown.x()).arg(d.shown.y()).arg(d.shown.width()).arg(d.shown.height())));
            ++drawnInside;
            QVERIFY2(d.text.isEmpty() || !stand.intersects(d.shown), qPrintable(d.text));
            if (d.text.startsWith("Stand: "))
                stand = d.shown;
        }
        QVERIFY(drawnInside > 100);
    }

    // Catches a modern sheet that cuts a word inside a letter, prints text below 7 points,
    // leaves an appointment of a crowded day without its whole text and time, lists a day
    // that shows all of its appointments whole, or centres an all-day text begun before the
    // sheet in the days that are not on it.
    void modernSheet_data()
    {
        QTest::addColumn<Date>("first");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("points"); // the print layout's font
        QTest::addColumn<int>("dotsPerInch");
        QTest::addColumn<QStringList>("whole");
        QTest::addColumn<QStringList>("listed"); // the times of the list below the grid
        const Date monday = AgendaWeek::monday();
        QTest::newRow("week with a crowded Monday")
            << monday << 7 << 8 << 300
            << QStringList{"Teambesprechung", "Kundentermin Müller", "Mittagessen", "Messe Hannover"}
            << QStringList{"09:00\u201311:00", "10:00\u201312:00", "11:00\u201313:00",
                           "10:10\u201310:40"}; // Tuesday's shows whole
        QTest::newRow("from Wednesday, the fair begun the day before")
            << monday + 2 << 5 << 8 << 300 << QStringList{"Messe Hannover", "Anruf Schmidt"} << QStringList();
        QTest::newRow("one day in 6 pt at 600 dpi")
            << monday << 1 << 6 << 600
            << QStringList{"Teambesprechung", "Kundentermin Müller", "Mittagessen"} << QStringList();
    }
    void modernSheet()
    {
        QFETCH(Date, first);
        QFETCH(int, days);
        QFETCH(int, points);
        QFETCH(int, dotsPerInch);
        QFETCH(QStringList, whole);
        AgendaWeek week(days, first);
        week.agenda.setAlignOnWeekday(0);
        double last = first + days - 1;
        week.agenda.SetDisplayedRange(first, &last, false, false);
        week.agenda.setPrintPresentation(Presentation::Modern);
        PrinterPage page(QSize(2000, 2600), dotsPerInch);
        printView(week.agenda, page, QRect(60, 50, 1850, 2450), points);
        QStringList faults;
        const QStringList texts = printedTexts(page, faults);
        for (const RecordingEngine::Drawn &d : page.drawn())
            if (d.text.contains(QLatin1String("Messe")) && d.shown.left() < week.d->core.scene.grid.columnLeft(0))
                faults << d.text;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('|'))));
        const QString all = texts.join(QLatin1Char(' ')).simplified();
        for (const QString &memo : whole)
            QVERIFY2(all.contains(memo), qPrintable(memo));
        const QStringList times = texts.filter(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d\u2013")));
        QTEST(times, "listed");
    }

    // Catches a modern print job that loses appointments of a crowded week at the foot of its
    // sheet, cuts one between two pages, prints a page without its title block or page number,
    // or a quiet week on more than one page.
    void modernJobPrintsEveryAppointment_data()
    {
        QTest::addColumn<int>("perDay"); // crowded appointments Monday to Friday
        QTest::addColumn<int>("periods");
        QTest::addColumn<int>("fewestPages");
        QTest::addColumn<int>("mostPages");
        QTest::newRow("quiet week") << 0 << 1 << 1 << 1;
        QTest::newRow("crowded week") << 14 << 1 << 2 << 4;
        QTest::newRow("crowded week and the quiet one after it") << 14 << 2 << 3 << 5;
    }
    void modernJobPrintsEveryAppointment()
    {
        QFETCH(int, perDay);
        QFETCH(int, periods);
        AgendaWeek week;
        const Date monday = AgendaWeek::monday();
        QStringList expected; // "09:00–10:30 Text" of every crowded appointment
        QVector<Date> starts;
        for (int n = 0; n < 5 * perDay; ++n) {
            starts << monday + n % 5 + hm(8 + n / 5 % 8, 15 * (n % 4));
            expected << germanShortTime(starts.last()) + QChar(0x2013) + germanShortTime(starts.last() + hm(1, 30))
                    + QStringLiteral(" Kundentermin Nummer %1 Besprechung").arg(n);
        }
        const auto crowd = [&](double from, double) {
            for (int n = 0; from <= monday && n < starts.size(); ++n)
                week.agenda.AddDate(QStringLiteral("X%1").arg(n), expected.at(n).mid(12), starts.at(n),
                                    starts.at(n) + hm(1, 30), false, 0, false, 0xC0E0C0, false);
        };
        connect(&week.agenda, &ucAgenda::NeedDates, &week.agenda, crowd);
        crowd(monday, monday + 6);
        week.agenda.setPrintPresentation(Presentation::Modern);
        week.agenda.ForPrinting = true;
        const QRect area(60, 50, 1850, 2450);
        PrinterPage planning(QSize(2000, 2600), 300);
        QPainter painter(&planning);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
        const qint32 pages = week.d->synced().planModernPages(painter, area, periods);
        QFETCH(int, fewestPages);
        QFETCH(int, mostPages);
        QVERIFY2(pages >= fewestPages && pages <= mostPages, qPrintable(QString::number(pages)));
        QString all;
        for (qint32 n = 1; n <= pages; ++n) {
            PrinterPage page(QSize(2000, 2600), 300);
            QPainter onPage(&page);
            onPage.setFont(painter.font());
            week.d->synced().paintModernPage(onPage, area, n, pages);
            QStringList faults;
            const QStringList texts = printedTexts(page, faults);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('|'))));
            QVERIFY(texts.contains(QStringLiteral("Seite %1 von %2").arg(n).arg(pages)));
            QVERIFY(texts.contains(QStringLiteral("Wochenplan")));
            all += texts.join(QLatin1Char(' ')) + QLatin1Char(' ');
        }
        week.agenda.ForPrinting = false;
        all = all.simplified();
        for (const QString &appointment : expected)
            QVERIFY2(all.contains(appointment), qPrintable(appointment));
    }

    // Catches a screen that follows the print job while the preview is open (another week, the
    // print layout's fonts and colours) or does not come back after it, for a week and a day.
    void screenStaysDuringPreview_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("week") << 7;
        QTest::newRow("one day") << 1;
    }
    void screenStaysDuringPreview()
    {
        QFETCH(int, days);
        AgendaWeek week(days);
        QVERIFY(week.shown());
        week.agenda.setDayInfoHeight(3); // as the user dragged the splitter
        week.agenda.setFirstTime(hm(10, 0));
        const QImage before = week.pic->grab().toImage();
        QImage during;
        cPrintDialog::setHandler(cPrintDialog::preview());
        cPrintPreview::setHandler([&](cPrintPreview &) {
            week.agenda.Repaint();
            during = week.pic->grab().toImage();
        });
        const auto reset = qScopeGuard([] {
            cPrintDialog::setHandler({});
            cPrintPreview::setHandler({});
        });
        week.agenda.PrintCalendar(true);
        QCOMPARE(during, before);
        QCOMPARE(week.pic->grab().toImage(), before);
        QCOMPARE(week.agenda.FirstDay(), AgendaWeek::monday());
    }

    // Catches screen state on paper: today's red mark, and a time bar that runs below the
    // printed day.
    void printedSceneLeavesOutScreenState()
    {
        CalendarWeek week;
        const Date monday = CalendarWeek::monday();
        week.add("L", monday + hm(13, 15), monday + hm(23, 30), false, false);
        week.today = monday + 1;
        for (const bool forPrinting : {false, true}) {
            week.forPrinting = forPrinting;
            week.paint();
            const auto red = std::count_if(week.scene.cells.cbegin(), week.scene.cells.cend(),
                                           [](const SceneCell &c) { return c.frame == 0x0000FF; });
            QCOMPARE(red, forPrinting ? 0 : 1);
            const QRect bar = week.scene.appointments.last().timeBar;
            QCOMPARE(bar.bottom() >= week.scene.grid.geo.lngUnten, !forPrinting);
        }
    }
};

DAYPLEX_TEST_MAIN(tst_CalendarPrint)
#include "tst_calendarprint.moc"
