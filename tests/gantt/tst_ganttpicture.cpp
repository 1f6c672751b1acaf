// What the Gantt view paints: rows, headers, bars and their staircase, selection, marking,
// proposal and the current-time line. Set DAYPLEX_PICTURES to a folder to keep the pictures.
#include "gantt/ctlgantt_p.h"
#include "gantt/ganttlayout.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "shared/readablecolours.h"
#include "shared/fontstring.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>

#include <QTimeEdit>

#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

QColor colourOf(qint32 windowsColour) { return cDC::toQColor(windowsColour); }

void keep(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + QStringLiteral("gantt-") + name + QStringLiteral(".png"));
}

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

// The longest horizontal run of one colour inside a rectangle.
int longestRun(const QImage &image, const QRect &rect, const QColor &colour)
{
    int best = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int run = 0;
        for (int x = rect.left(); x <= rect.right(); ++x) {
            run = image.pixelColor(x, y) == colour ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

QRect interior(const BarRect &e) { return QRect(e.left + 1, e.top + 1, e.width - 2, e.height - 2); }

const Date kMonday = day(2024, 3, 25); // Easter week: Good Friday on the 29th
const qint32 kSelection = cTools::DefaultSelectionColor();
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

// The pixels a header cell should show: the cell with its caption drawn alone, by the same
// surface, in the view's font and colours.
QImage referenceCell(const QSize &size, const QFont &font, const QRect &cell, const QString &label,
                     qint32 align)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    cDC dc;
    dc.Initialize(static_cast<QPaintDevice *>(&image), size.width(), size.height(), false);
    dc.setFont(&font);
    dc.setTextColor(0);
    dc.FillRect(cell.x(), cell.y(), cell.width(), cell.height(), kHeaderBack, label, align);
    return image;
}

bool sameRegion(const QImage &a, const QImage &b, const QRect &rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    }
    return true;
}

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
        keep(image, QStringLiteral("week"));
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
        keep(image, QStringLiteral("staircase"));
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

    // Catches the selected bar and marked rows not coloured on screen (the printed view leaves
    // them out, tst_ganttinteraction).
    void selectionAndMarking()
    {
        Scene scene;
        scene.gantt.setSelectedDate("E");
        scene.model().row(6).blnMarkiert = true; // R5
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keep(image, QStringLiteral("selection"));
        const GanttLayout &l = scene.layout();
        const BarRect e = scene.bar("E");
        const QRect nameCell(1, l.rowTop(6, 1) + 2, l.lngNamenBreite - l.lngZeichenbreite - 2,
                             l.lngZeilenhoehe - 3);
        QVERIFY(share(image, interior(e), colourOf(kSelection)) > 0.6);
        QVERIFY(share(image, nameCell, colourOf(kSelection)) > 0.6);
        // The other bars keep their colours.
        QVERIFY(share(image, interior(scene.bar("G")), colourOf(0xFFD0FF)) > 0.3);
    }

    // Catches a modern selection that looks like a bar in the selection colour, or whose text
    // loses its contrast on the changed fill; the classic row shows the clash to begin with.
    void modernSelectionStandsApart_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("classic") << false;
        QTest::newRow("modern") << true;
    }
    void modernSelectionStandsApart()
    {
        QFETCH(bool, modern);
        Scene scene;
        scene.gantt.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        scene.add("K", "Rückruf", kMonday + 2 + hm(8, 0), kMonday + 2 + hm(20, 0), kSelection, "R8");
        scene.gantt.setSelectedDate("E");
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keep(image, modern ? QStringLiteral("selection-modern") : QStringLiteral("selection-classic"));
        const auto fillOf = [&image](const BarRect &e) {
            const QRgb c = image.pixel(e.left + e.width - 3, e.top + e.height - 3);
            return qint32(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
        };
        const qint32 selected = fillOf(scene.bar("E"));
        const double nearest = std::min({colourDistance(selected, fillOf(scene.bar("K"))),
                                         colourDistance(selected, fillOf(scene.bar("A"))),
                                         colourDistance(selected, fillOf(scene.bar("G")))});
        QCOMPARE(nearest >= kDistinctColourDistance, modern);
        // The text on the selection keeps its contrast, measured on the painted pixels.
        double contrast = 1;
        const QRect inside = interior(scene.bar("E"));
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QRgb c = image.pixel(x, y);
                contrast = std::max(contrast, contrastRatio(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16), selected));
            }
        QVERIFY(contrast >= kReadableContrast);
    }

    // Catches a done appointment drawn without its strike-through line.
    void doneBarIsStruckThrough()
    {
        QImage images[2];
        QRect inside;
        for (const bool done : {false, true}) {
            Scene scene;
            scene.doneBar = done;
            scene.gantt.Refresh();
            images[done] = scene.gantt.paintToImage(QSize(1000, 760));
            inside = interior(scene.bar("D")).adjusted(1, 1, -1, -1);
        }
        keep(images[1], QStringLiteral("done"));
        const int plain = longestRun(images[0], inside, QColor(Qt::black));
        const int struck = longestRun(images[1], inside, QColor(Qt::black));
        QVERIFY2(struck >= 40 && struck > 3 * plain,
                 qPrintable(QStringLiteral("%1 / %2").arg(struck).arg(plain)));
    }

    // Catches a missing current-time line, or one drawn for a moment outside the days.
    void currentTimeLine_data()
    {
        QTest::addColumn<Date>("now");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("Wednesday 10:17") << kMonday + 2 + hm(10, 17) << true;
        QTest::newRow("now after the range") << kMonday + 8 << false;
    }
    void currentTimeLine()
    {
        QFETCH(Date, now);
        QFETCH(bool, drawn);
        setCurrentDateTimeForTesting(now);
        Scene scene;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        const GanttLayout &l = scene.layout();
        const qint32 x = l.xOf(kMonday + 2 + hm(10, 17));
        const QRect band = scene.band(9);
        QCOMPARE(image.pixelColor(x, band.center().y()) == QColor(Qt::red), drawn);
        QCOMPARE(image.pixelColor(x, l.lngKopfhoehe + 4) == QColor(Qt::red), drawn);
        if (drawn)
            QCOMPARE(image.pixelColor(x, 5) == QColor(Qt::red), false); // not in the day row
    }

    // Catches a proposal drawn outside the marked rows, or a label out of step.
    void proposal_data()
    {
        QTest::addColumn<bool>("withProposal");
        QTest::newRow("proposal") << true;
        QTest::newRow("no proposal") << false;
    }
    void proposal()
    {
        QFETCH(bool, withProposal);
        Scene scene;
        scene.model().row(9).blnMarkiert = true; // R8, empty
        if (withProposal) {
            scene.model().vorschlagVon = kMonday + 3 + hm(13, 0);
            scene.model().vorschlagBis = kMonday + 3 + hm(17, 0);
        }
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keep(image, QStringLiteral("proposal"));
        const GanttLayout &l = scene.layout();
        const qint32 x = (l.xOf(kMonday + 3 + hm(13, 0)) + l.xOf(kMonday + 3 + hm(17, 0))) / 2;
        const QColor colour = colourOf(kSelection);
        QCOMPARE(image.pixelColor(x, scene.band(9).center().y()) == colour, withProposal);
        QVERIFY(image.pixelColor(x, scene.band(8).center().y()) != colour); // not marked
        QVERIFY(image.pixelColor(l.xOf(kMonday + 3 + hm(11, 0)), scene.band(9).center().y()) != colour);
        QCOMPARE(scene.d()->cmdNeuEnabled, withProposal);
        QCOMPARE(scene.d()->lblVorschlag, withProposal ? QStringLiteral("Von: 28.03.2024 13:00\r\nBis: 28.03.2024 17:00")
                                                       : QString());
    }

    // Catches header rows in the wrong step or format: dates, hours, weekdays, calendar weeks.
    void headerCells_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("hourStep");
        QTest::addColumn<int>("dayStep");
        QTest::addColumn<QString>("dayLabel");
        QTest::addColumn<int>("hourCell"); // which cell of the hour row to compare
        QTest::addColumn<QString>("hourLabel");
        QTest::newRow("week: dates with weekday, every 4 hours")
            << 7 << 1000 << 4 << 1 << "25.03.2024 Mo" << 2 << "8";
        QTest::newRow("28 days: d.m, every 12 hours") << 28 << 1600 << 12 << 1 << "25.3" << 3 << "12";
        QTest::newRow("90 days: weeks, weekday letters") << 90 << 1200 << 24 << 7 << "25.03.2024 Mo" << 3 << "Do";
        QTest::newRow("101 days: weeks, calendar weeks") << 101 << 1200 << 24 << 7 << "25.3" << 7 << "14";
    }
    void headerCells()
    {
        QFETCH(int, days);
        QFETCH(int, width);
        QFETCH(int, hourStep);
        QFETCH(int, dayStep);
        QFETCH(QString, dayLabel);
        QFETCH(int, hourCell);
        QFETCH(QString, hourLabel);
        Scene scene(days);
        const QSize size(width, 600);
        const QImage image = scene.gantt.paintToImage(size);
        keep(image, QStringLiteral("days-%1").arg(days));
        const GanttLayout &l = scene.layout();
        const HeaderScale scale = ganttHeaderScale(l);
        QCOMPARE(scale.hourStep, hourStep);
        QCOMPARE(scale.dayStep, dayStep);
        const QFont font = fontFromString(QStringLiteral("MS Sans Serif, 8pt"));

        // The first cell of the day row, without its left line and the next cell's overlap.
        const qint32 dayWidth = l.lngPixelProTag * dayStep;
        const QRect dayCell(l.lngNamenBreite, 0, dayWidth, l.lngKopfhoehe);
        QCOMPARE(ganttDayLabel(kMonday, dayWidth, l.lngZeichenbreite), dayLabel);
        const QImage dayRef = referenceCell(size, font, dayCell, dayLabel, 1);
        QVERIFY(sameRegion(image, dayRef, dayCell.adjusted(1, 0, -2, -1)));

        const qint64 h = qint64(hourCell) * hourStep;
        const qint32 x = qint32(std::nearbyint(l.lngNamenBreite + h * l.dblPixelProStunde));
        const qint32 cellWidth = hourStep < 24 ? qint32(std::nearbyint(l.dblPixelProStunde * hourStep))
                                               : l.lngPixelProTag - 1;
        const QRect hourCellRect(x + 1, l.lngKopfhoehe + 1, cellWidth, l.lngKopfhoehe - 3);
        QCOMPARE(ganttHourLabel(h, scale, kMonday), hourLabel);
        const QImage hourRef = referenceCell(size, font, hourCellRect, hourLabel, 0);
        QVERIFY(sameRegion(image, hourRef, hourCellRect.adjusted(0, 0, -2, -1)));
    }

    // Catches a paint that throws or crashes for broken public range fields.
    void brokenRangeStillPaints()
    {
        Scene scene;
        scene.gantt.mStartDate = std::numeric_limits<double>::quiet_NaN();
        QImage image = scene.gantt.paintToImage(QSize(300, 200)); // a throw fails the test
        QCOMPARE(image.size(), QSize(300, 200));
        scene.gantt.mStartDate = kMinDate;
        scene.gantt.mEndDate = kMaxDate - 1; // the whole calendar, far beyond 101 days
        image = scene.gantt.paintToImage(QSize(400, 200));
        QCOMPARE(image.size(), QSize(400, 200));
        scene.gantt.mStartDate = kMonday + 30;
        scene.gantt.mEndDate = kMonday; // first day after the last
        QCOMPARE(scene.gantt.paintToImage(QSize(400, 200)).size(), QSize(400, 200));
    }

    // Catches ZeilenFarbe painting outside the time part of the row, not at all, or a band
    // that a full paint leaves behind.
    void rowColourOnTheScreenPicture()
    {
        Scene scene;
        scene.gantt.ZeilenFarbe(100, 0x0000FF); // before any paint: nothing to draw on
        scene.gantt.resize(1000, 760);
        scene.gantt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.gantt));
        scene.gantt.Repaint();
        const GanttLayout &l = scene.layout();
        const qint32 y = l.rowTop(9, 1);
        scene.gantt.ZeilenFarbe(y, 0x00FF00);
        const QImage &frame = scene.d()->picture;
        keep(frame, QStringLiteral("zeilenfarbe"));
        const QRect box(l.lngNamenBreite, y, frame.width() - l.lngNamenBreite, l.lngZeilenhoehe);
        QCOMPARE(share(frame, box, QColor(0, 255, 0)), 1.0);
        QCOMPARE(share(frame, QRect(0, y, l.lngNamenBreite, l.lngZeilenhoehe), QColor(0, 255, 0)), 0.0);
        QCOMPARE(share(frame, box.translated(0, -l.lngZeilenhoehe), QColor(0, 255, 0)), 0.0);
        scene.gantt.Repaint();
        QCOMPARE(share(scene.d()->picture, box, QColor(0, 255, 0)), 0.0);
    }

    // Catches the search window not taken from Monday's working hours when options are set.
    void optionsSetTheSearchWindow()
    {
        ctlGantt gantt;
        auto *from = gantt.findChild<QTimeEdit *>("dtpTimeVon");
        auto *to = gantt.findChild<QTimeEdit *>("dtpTimeBis");
        QCOMPARE(from->time(), QTime(8, 0));
        QCOMPARE(to->time(), QTime(18, 0));
        gantt.setOptions(QStringLiteral("cContainer 1\ntimeArbeitszeitVon2:d=0.375\ntimeArbeitszeitBis2:d=0.625\n"));
        QCOMPARE(from->time(), QTime(9, 0));
        QCOMPARE(to->time(), QTime(15, 0));
    }
};

QTEST_MAIN(tst_GanttPicture)
#include "tst_ganttpicture.moc"
