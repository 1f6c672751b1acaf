// What the Gantt view paints: rows, bars and their staircase, and the current-time line. Set DAYPLEX_PICTURES to a folder to keep the pictures.
#include "gantt/ctlgantt_p.h"
#include "gantt/ganttlayout.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

QColor colourOf(qint32 windowsColour) { return cDC::toQColor(windowsColour); }

// The share of the pixels of a rectangle that have the colour.
double share(const QImage &image, const QRect &rect, const QColor &colour)
{
    const QRect area = rect & image.rect();
    if (area.isEmpty())
        return 0;
    int hits = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            hits += image.pixelColor(x, y) == colour;
    }
    return double(hits) / (area.width() * area.height());
}

QRect interior(const BarRect &e) { return QRect(e.left + 1, e.top + 1, e.width - 2, e.height - 2); }

const Date kMonday = day(2024, 3, 25); // Easter week: Good Friday on the 29th
const qint32 kHeaderBack = cTools::DefaultFreeTimeColor();
const qint32 kZeitbalken = 0xFF0000;

// Eight participants after the holiday row, with a host that delivers a known set of bars.
struct Scene
{
    ctlGantt gantt;
    bool doneBar = true;

    explicit Scene(int days = 7, Date first = kMonday)
    {
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt,
                         [this](double from, double to, const QString &) { deliver(from, to); });
        gantt.Enabled = true;
        double last = first + days - 1;
        gantt.SetDisplayedRange(first, &last, false, false);
    }

    void deliver(Date from, Date to)
    {
        gantt.SetFilledRange(from, to);
        for (int k = 1; k <= 8; ++k)
            gantt.AddMerkmal(QStringLiteral("Teilnehmer %1").arg(k), QStringLiteral("R%1").arg(k));
        const Date m = kMonday;
        add("A", "Team", m + hm(9, 0), m + hm(13, 0), 0xC0E0C0, "R1");
        add("B", "Kunde", m + hm(11, 0), m + hm(15, 0), 0xA0E0FF, "R1");
        add("C", "Anruf", m + hm(14, 0), m + hm(18, 0), 0xE0E0A0, "R1");
        gantt.AddDate("D", "Angebot fertig", m + 1 + hm(14, 0), m + 2 + hm(10, 0), false, 0, doneBar,
                      0xC0C0FF, false, "R2", false);
        add("E", "Kundentermin", m + 2 + hm(8, 0), m + 2 + hm(20, 0), 0xD0D0D0, "R3");
        gantt.AddDate("F", "Messe", m + 3, m + 3, true, 0, false, 0x80FFFF, false, "R4", false);
        add("G", "Schulung", m + 1 + hm(10, 0), m + 1 + hm(12, 0), 0xFFD0FF, "R5");
        add("H", "Urlaub", m + hm(8, 0), m + 4 + hm(18, 0), 0xFFC0C0, "R6");
        add("I", "kurz", m + 3 + hm(10, 0), m + 3 + hm(10, 1), 0x60A0F0, "R7");
        add("J", "ohne Zeile", m + hm(9, 0), m + hm(12, 0), 0x000000, "R99");
        // The longer views get a bar every other day.
        for (Date d = from; d <= to; d += 2) {
            if (d >= m && d < m + 7)
                continue;
            const int k = int(d) % 8 + 1;
            add("L", "Projekt", d + hm(8, 0), d + 1 + hm(12, 0), 0xB0D0F0 + 0x10 * k,
                QStringLiteral("R%1").arg(k));
        }
    }

    void add(const QString &dsn, const QString &notiz, Date von, Date bis, qint32 colour,
             const QString &row)
    {
        gantt.AddDate(dsn, notiz, von, bis, false, 0, false, colour, false, row, false);
    }

    ctlGanttPrivate *d() { return ctlGanttPrivate::get(&gantt); }
    GanttModel &model() { return d()->model; }
    const GanttLayout &layout() { return d()->scene.layout; }
    qint32 indexOf(const QString &dsn)
    {
        for (qint32 i = 1; i <= model().dateCount(); ++i) {
            if (model().date(i).dsn == dsn)
                return i;
        }
        qFatal("no entry %s", qPrintable(dsn));
    }
    BarRect bar(const QString &dsn) { return d()->scene.bar(model(), indexOf(dsn)); }
    // The rectangle of a row's time band, below its top grid line.
    QRect band(qint32 row)
    {
        const GanttLayout &l = layout();
        const qint32 top = l.rowTop(row, d()->firstRow());
        return QRect(l.lngNamenBreite, top + 1, l.width - l.lngNamenBreite, l.lngZeilenhoehe - 1);
    }
};

} // namespace

class tst_GanttPicture : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kMonday + 2 + hm(10, 17)); }
    void cleanup() { setCurrentDateTimeForTesting(0); }

    // Catches bars in the wrong row, place or colour, and rows in the wrong colours.
    void weekRowsAndBars()
    {
        Scene scene;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keepPicture(image, QStringLiteral("gantt-week"));
        const GanttLayout &l = scene.layout();
        const BarRect h = scene.bar("H");
        QVERIFY(share(image, interior(h), colourOf(0xFFC0C0)) > 0.6);
        QCOMPARE(image.pixelColor(h.left, h.top + h.height / 2), QColor(Qt::black)); // frame
        QVERIFY(image.pixelColor(h.left - 2, h.top + h.height / 2) != colourOf(0xFFC0C0));

        // Good Friday in the holiday colours.
        QCOMPARE(scene.model().date(2).dsn, QString("2LEGALHOLIDY"));
        QVERIFY(share(image, interior(scene.d()->scene.bar(scene.model(), 2)), colourOf(0x00FFFF)) > 0.6);

        // Even rows are white, odd rows in the header colour; row 9 (R8) holds no bars.
        QVERIFY(share(image, scene.band(9), colourOf(kHeaderBack)) > 0.9);
        QVERIFY(share(image, scene.band(8).adjusted(l.xOf(kMonday + 5) - l.lngNamenBreite, 0, 0, 0),
                      QColor(Qt::white)) > 0.9);
        // Day boundaries in the hour row are black.
        QCOMPARE(image.pixelColor(l.xOf(kMonday + 1), l.lngKopfhoehe + 3), QColor(Qt::black));
    }

    // Catches overlapping bars drawn on top of each other instead of as a staircase with marks.
    void staircaseOfOverlappingBars()
    {
        Scene scene;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keepPicture(image, QStringLiteral("gantt-staircase"));
        const GanttLayout &l = scene.layout();
        const BarRect a = scene.bar("A"), &b = scene.bar("B"), &c = scene.bar("C");
        QVERIFY(a.top < b.top && b.top < c.top); // the staircase itself: tst_ganttlayout
        QVERIFY(share(image, interior(a), colourOf(0xC0E0C0)) > 0.5);
        QVERIFY(share(image, interior(b), colourOf(0xA0E0FF)) > 0.3);
        QVERIFY(share(image, interior(c), colourOf(0xE0E0A0)) > 0.3);
        // Marks in the strip at the end of the name column, beside the halved bars.
        const qint32 stripX = l.lngNamenBreite - l.lngZeichenbreite + 2;
        QCOMPARE(image.pixelColor(stripX, a.top + 1), colourOf(kZeitbalken));
        QCOMPARE(image.pixelColor(stripX, b.top + 1), colourOf(kZeitbalken));
        QCOMPARE(image.pixelColor(stripX, c.top + c.height + 2), QColor(Qt::white));
        // The marks are the one thing of the strip a hit never finds.
        QCOMPARE(scene.gantt.GetidxGanttEintrag(stripX, a.top + 1), QVariant());
        QCOMPARE(scene.gantt.GetidxGanttEintrag(b.left + b.width - 2, b.top + 1),
                 QVariant(scene.indexOf("B")));
    }

    // Catches a missing current-time line, or one drawn for a moment outside the days.
    void currentTimeLine_data()
    {
        QTest::addColumn<Date>("now");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("Wednesday 10:17") << kMonday + 2 + hm(10, 17) << false << true;
        QTest::newRow("now after the range") << kMonday + 8 << false << false;
        QTest::newRow("printed: a page shows no now") << kMonday + 2 + hm(10, 17) << true << false;
    }
    void currentTimeLine()
    {
        QFETCH(Date, now);
        QFETCH(bool, printed);
        QFETCH(bool, drawn);
        setCurrentDateTimeForTesting(now);
        Scene scene;
        scene.gantt.ForPrinting = printed;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        const GanttLayout &l = scene.layout();
        const qint32 x = l.xOf(kMonday + 2 + hm(10, 17));
        const QRect band = scene.band(9);
        QCOMPARE(image.pixelColor(x, band.center().y()) == QColor(Qt::red), drawn);
        QCOMPARE(image.pixelColor(x, l.lngKopfhoehe + 4) == QColor(Qt::red), drawn);
        if (drawn)
            QCOMPARE(image.pixelColor(x, 5) == QColor(Qt::red), false); // not in the day row
    }
};

DAYPLEX_TEST_MAIN(tst_GanttPicture)
#include "tst_ganttpicture.moc"
