// The calendar through the public API only, as a host that links the shared library uses it:
// its store, basic members, the host protocol, pictures and cursors.
#include <dayplex/dayplex.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

Date at(int y, int m, int d, int h, int min) { return day(y, m, d) + hm(h, min); }

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

} // namespace

class tst_ucAgenda : public QObject
{
    Q_OBJECT

private slots:

    // TerminDSN lists the keys of the displayed week in store order, with the half-open day
    // limits and without the holiday; selection by key skips read-only entries and holidays and
    // takes the first writable match.
    void keysAndSelection_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("selection"); // key, current start, time selection
        QTest::newRow("writable") << "W" << "W|Mon 09:00|gone";
        QTest::newRow("read-only selects nothing") << "R" << "|Wed 10:00|kept";
        QTest::newRow("duplicate: first writable one") << "D" << "D|Fri 14:00|gone";
        QTest::newRow("holiday selects nothing") << "1" << "|Wed 10:00|kept";
    }
    void keysAndSelection()
    {
        QFETCH(QString, key);
        QFETCH(QString, selection);
        ucAgenda agenda;
        showWeek(agenda);
        addTimed(agenda, QStringLiteral("E"), at(2024, 3, 3, 22, 0), day(2024, 3, 4));
        addTimed(agenda, QStringLiteral("W"), at(2024, 3, 4, 9, 0), at(2024, 3, 4, 10, 0));
        addTimed(agenda, QStringLiteral("R"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0), true);
        agenda.AddDate(QStringLiteral("T"), QStringLiteral("Messe"), day(2024, 3, 6),
                       day(2024, 3, 6), true, 0, false, 0, false);
        addTimed(agenda, QStringLiteral("D"), at(2024, 3, 7, 9, 0), at(2024, 3, 7, 10, 0), true);
        addTimed(agenda, QStringLiteral("D"), at(2024, 3, 8, 14, 0), at(2024, 3, 8, 15, 0));
        agenda.AddDate(QStringLiteral("1"), QStringLiteral("Feiertag"), day(2024, 3, 9),
                       day(2024, 3, 9), true, 0, false, 0, true, true);
        addTimed(agenda, QStringLiteral("L"), day(2024, 3, 11), at(2024, 3, 11, 1, 0));
        QCOMPARE(agenda.TerminDSN(), QStringLiteral("W|R|T|D|D|"));
        agenda.setSelectionStart(at(2024, 3, 6, 10, 0));

        agenda.setSelectedDate(key);
        QCOMPARE(QStringList({agenda.SelectedDate(),
                              when(agenda.CurrentDate()),
                              agenda.SelectionStart() > 0 ? "kept" : "gone"})
                     .join('|'),
                 selection);
    }

    // The host is asked once for uncovered days, not again inside its range, again after Refresh,
    // and not before it set Enabled.
    void needDatesProtocol()
    {
        ucAgenda agenda;
        QSignalSpy spy(&agenda, &ucAgenda::NeedDates);
        connect(&agenda, &ucAgenda::NeedDates, &agenda, [&](double from, double to, const QString &) {
            agenda.SetFilledRange(from - 7, to + 7);
            addTimed(agenda, QStringLiteral("A"), at(2024, 3, 5, 9, 0), at(2024, 3, 5, 10, 0));
        });
        agenda.SetDisplayedRange(day(2024, 1, 1));
        QCOMPARE(spy.count(), 0);
        agenda.Enabled = true;
        showWeek(agenda);
        QCOMPARE(spy.count(), 1);
        const QString fields = QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name");
        QCOMPARE(spy.at(0), QVariantList({day(2024, 3, 4), day(2024, 3, 10), fields}));
        QCOMPARE(agenda.TerminDSN(), QStringLiteral("A|"));

        agenda.SetDisplayedRange(day(2024, 3, 11)); // inside the filled range
        QCOMPARE(spy.count(), 1);
        agenda.SetDisplayedRange(day(2024, 3, 20)); // leaves it
        QCOMPARE(spy.count(), 2);
        agenda.Refresh();
        QCOMPARE(spy.count(), 3);
        QCOMPARE(agenda.FirstDay(), day(2024, 3, 20));
    }

    // The screen layout sets raster, first time and cell heights, repairing unusable values;
    // heights below one are stored as one.
    void optionsApplyLayout_data()
    {
        QTest::addColumn<QString>("raster");
        QTest::addColumn<Date>("startTime");
        QTest::addColumn<int>("cellRows");
        QTest::addColumn<int>("bandRows");
        QTest::addColumn<QString>("applied"); // raster, first time, row of 23:59, heights
        QTest::newRow("15 minutes, 08:10 rounds down")
            << "15 Minuten" << hm(8, 10) << 4 << 2 << "15 min|08:00:00|95|4|2";
        QTest::newRow("7.5 minutes round to 8, which divide the day")
            << "7.5 Minuten" << 7.2 / 24.0 << 1 << 1 << "8 min|07:12:00|179|1|1";
        QTest::newRow("zero minutes repaired")
            << "0 Minuten" << hm(8, 0) << 4 << 1 << "30 min|08:00:00|47|4|1";
        QTest::newRow("heights below one")
            << "30 Minuten" << hm(8, 0) << 0 << -3 << "30 min|08:00:00|47|1|1";
    }
    void optionsApplyLayout()
    {
        QFETCH(QString, raster);
        QFETCH(Date, startTime);
        QFETCH(int, cellRows);
        QFETCH(int, bandRows);
        QFETCH(QString, applied);
        // A layout written the way the layout dialog writes it: numbers as text.
        const QString layout = "cContainer 1\n" + textEntry("strAufloesung", raster)
                               + QStringLiteral("timeStartZeit:d=%1\n").arg(startTime, 0, 'g', 17)
                               + textEntry("lngHoeheTerminzelle", QString::number(cellRows))
                               + textEntry("lngHoeheTagestermin", QString::number(bandRows));
        ucAgenda agenda;
        agenda.setOptions("cContainer 1\n" + textEntry("strLayoutScreenCalendar", layout));
        // Minutes to twelve places: a raster that does not divide the day shows.
        QCOMPARE(QStringList({QString::number(agenda.TimeRaster() * 1440, 'g', 12) + " min",
                              toQDateTime(agenda.FirstTime()).toString("hh:mm:ss"),
                              QString::number(agenda.GetZeilenIndex(hm(23, 59))),
                              QString::number(agenda.MinDateHeight()),
                              QString::number(agenda.DayInfoHeight())})
                     .join('|'),
                 applied);
    }

    // Catches a picture size the view cannot paint coming back as a blank image, and a HiDPI
    // picture that is not twice the pixels or loses its ratio; the limit is the Gantt's.
    void paintToImageSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels"); // empty: no picture
        QTest::newRow("normal") << QSize(640, 480) << 1.0 << QSize(640, 480);
        QTest::newRow("9000 x 9000, more than 2^26 pixels") << QSize(9000, 9000) << 1.0 << QSize(0, 0);
        QTest::newRow("HiDPI") << QSize(400, 300) << 2.0 << QSize(800, 600);
        QTest::newRow("HiDPI beyond the limit") << QSize(5000, 5000) << 2.0 << QSize(0, 0);
        QTest::newRow("ratio not a number") << QSize(400, 300) << qQNaN() << QSize(0, 0);
    }
    void paintToImageSizes()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        ucAgenda agenda;
        showWeek(agenda);
        const QImage image = agenda.paintToImage(size, ratio);
        QCOMPARE(image.size(), pixels);
        if (image.isNull())
            return;
        QCOMPARE(image.devicePixelRatio(), ratio);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 5)
            for (int x = 0; x < image.width(); x += 5)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 3, "the picture is practically blank");
    }

    // Catches half a wheel notch over a scroll bar that outlives a jump of the host's days (a
    // kept view then answers the same turns unlike a new one), and two halves that never step.
    void halfNotchesAroundAJump_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<bool>("jump");
        QTest::addColumn<bool>("stepped");
        QTest::newRow("days: two halves step") << "HScroll" << false << true;
        QTest::newRow("days: a jump between drops the first half") << "HScroll" << true << false;
        QTest::newRow("rows: two halves step") << "VScroll" << false << true;
        QTest::newRow("rows: a jump between drops the first half") << "VScroll" << true << false;
        QTest::newRow("surface: two halves step") << "pic" << false << true;
        QTest::newRow("surface: a jump between drops the first half") << "pic" << true << false;
    }
    void halfNotchesAroundAJump()
    {
        QFETCH(QString, bar);
        QFETCH(bool, jump);
        ucAgenda agenda;
        agenda.resize(640, 480);
        showWeek(agenda);
        agenda.setFirstTime(hm(8, 0));
        agenda.show();
        auto *turned = agenda.findChild<QWidget *>(bar);
        QVERIFY(turned);
        const auto halfNotch = [turned] {
            const QPointF inside(5, 5);
            QWheelEvent turn(inside, turned->mapToGlobal(inside), QPoint(), QPoint(0, -60), Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(turned, &turn);
        };
        const auto shown = [&agenda] { return std::make_pair(agenda.FirstDay(), agenda.FirstTime()); };
        const auto before = shown();
        halfNotch();
        if (jump)
            showWeek(agenda);
        halfNotch();
        QTEST(shown() != before, "stepped");
    }

    // The cursor pictures are compiled into the shared library; a host that loads it gets them.
    // Any name in any case.
    void cursorsComeWithTheLibrary()
    {
        ucAgenda agenda;
        agenda.MousePointer("SizeS");
        QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));
        QVERIFY(pic);
        QCOMPARE(pic->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(pic->cursor().hotSpot(), QPoint(15, 31));
    }
};

DAYPLEX_TEST_MAIN(tst_ucAgenda)
#include "tst_ucagenda.moc"
