// The calendar's public index functions and occupancy members, as a host calls them.
#include <dayplex/dayplex.h>

#include <QtTest>
#include "support/testing.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

void showDays(ucAgenda &agenda, Date first, int days)
{
    double last = first + days - 1;
    agenda.SetDisplayedRange(first, &last, false, false);
}

} // namespace

class tst_ucAgendaGrid : public QObject
{
    Q_OBJECT

private slots:
    // GetTerminIndices fills the four indices through the host's variables.
    void terminIndices_data()
    {
        QTest::addColumn<QVariant>("start");
        QTest::addColumn<QVariant>("end");
        QTest::addColumn<int>("minHeight");
        QTest::addColumn<QVector<int>>("expected");

        const Date mo = day(2024, 3, 4);
        QTest::newRow("10:00 to 10:00 with four rows") << QVariant(mo + hm(10, 0)) << QVariant(mo + hm(10, 0)) << 4
                                                       << QVector<int>{0, 0, 20, 23};
        QTest::newRow("as QDateTime values")
            << QVariant(QDateTime(QDate(2024, 3, 5), QTime(9, 0))) << QVariant(QDateTime(QDate(2024, 3, 6), QTime(8, 0)))
            << 1 << QVector<int>{1, 2, 18, 15};
    }
    void terminIndices()
    {
        QFETCH(QVariant, start);
        QFETCH(QVariant, end);
        QFETCH(int, minHeight);
        QFETCH(QVector<int>, expected);
        ucAgenda agenda;
        showDays(agenda, day(2024, 3, 4), 7);
        qint32 tv = -1, tb = -1, zv = -1, zb = -1;
        QVERIFY(agenda.GetTerminIndices(start, end, &tv, &tb, &zv, &zb, minHeight));
        QCOMPARE((QVector<int>{tv, tb, zv, zb}), expected);
    }

    // A miss leaves the host's variables alone; unusable dates are errors, not garbage indices.
    void terminIndicesMissOrBadInput()
    {
        ucAgenda agenda;
        showDays(agenda, day(2024, 3, 4), 7);
        qint32 tv = 7, tb = 7, zv = 7, zb = 7;
        QVERIFY(!agenda.GetTerminIndices(day(2024, 4, 1), day(2024, 4, 2), &tv, &tb, &zv, &zb));
        QCOMPARE((QVector<int>{tv, tb, zv, zb}), (QVector<int>{7, 7, 7, 7}));
        QVERIFY(agenda.GetTerminIndices(day(2024, 3, 5), day(2024, 3, 5) + hm(1, 0), nullptr, nullptr, nullptr, nullptr));
        QCOMPARE(errorNumber([&] { agenda.GetTerminIndices(qQNaN(), day(2024, 3, 5), &tv, &tb, &zv, &zb); }),
                 int(InvalidArgument));
        QCOMPARE(errorNumber([&] { agenda.GetTerminIndices(QStringLiteral("morgen"), day(2024, 3, 5), &tv, &tb, &zv, &zb); }),
                 int(TypeMismatch));
        QCOMPARE((QVector<int>{tv, tb, zv, zb}), (QVector<int>{7, 7, 7, 7}));
    }

    // Daylight-saving changeover days have the same rows as every other day.
    void rowsOnChangeoverDays_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("spring, 01:30") << QDateTime(QDate(2024, 3, 31), QTime(1, 30)) << 0 << 3;
        QTest::newRow("spring, 03:00") << QDateTime(QDate(2024, 3, 31), QTime(3, 0)) << 0 << 6;
        QTest::newRow("spring, 23:30") << QDateTime(QDate(2024, 3, 31), QTime(23, 30)) << 0 << 47;
        QTest::newRow("autumn, 02:30") << QDateTime(QDate(2024, 10, 27), QTime(2, 30)) << 1 << 5;
        QTest::newRow("autumn, 23:59") << QDateTime(QDate(2024, 10, 27), QTime(23, 59)) << 1 << 47;
    }
    void rowsOnChangeoverDays()
    {
        QFETCH(QDateTime, moment);
        QFETCH(int, column);
        QFETCH(int, row);
        ucAgenda agenda;
        const Date first = moment.date() == QDate(2024, 3, 31) ? day(2024, 3, 31) : day(2024, 10, 26);
        double last = first + 13;
        agenda.SetDisplayedRange(first, &last, false, false);
        const Date value = toDate(moment);
        QCOMPARE(agenda.GetSpaltenIndex(value), column);
        QCOMPARE(agenda.GetZeilenIndex(value), row);
    }

    // The occupancy members refuse cells outside the matrix instead of writing past it.
    void occupancyIndicesChecked_data()
    {
        QTest::addColumn<QVector<int>>("indices"); // tv, tb, zv, zb
        QTest::addColumn<bool>("segmentInvalid");  // SpaltenBelegen(tv, zv, zb) refused too
        QTest::newRow("day past the last") << QVector<int>{3, 3, 0, 1} << true;
        QTest::newRow("negative day") << QVector<int>{-1, 0, 0, 1} << true;
        QTest::newRow("row past the last") << QVector<int>{0, 0, 40, 48} << true;
        QTest::newRow("negative row") << QVector<int>{0, 0, -2, 3} << true;
        QTest::newRow("last day before first") << QVector<int>{2, 1, 0, 3} << false;
        QTest::newRow("huge row") << QVector<int>{0, 0, 0, 2147483647} << true;
    }
    void occupancyIndicesChecked()
    {
        QFETCH(QVector<int>, indices);
        QFETCH(bool, segmentInvalid);
        ucAgenda agenda;
        showDays(agenda, day(2024, 3, 4), 3);
        QCOMPARE(errorNumber([&] {
                     agenda.ZellenBelegungEintragen(indices[0], indices[1], indices[2], indices[3], QStringLiteral("A"));
                 }),
                 int(IndexOutOfRange));
        QCOMPARE(errorNumber([&] { agenda.SpaltenBelegen(indices[0], indices[2], indices[3], QStringLiteral("A")); }),
                 segmentInvalid ? int(IndexOutOfRange) : 0);
        // Valid cells are accepted.
        agenda.ZellenBelegungEintragen(0, 2, 44, 3, QStringLiteral("A"));
        agenda.SpaltenBelegen(1, 10, 12, QStringLiteral("B"));
    }

    // backcolor only colours cells of the displayed days.
    void backcolorOutsideTheDays()
    {
        ucAgenda agenda;
        showDays(agenda, day(2024, 3, 4), 3);
        agenda.setBackcolor(day(2024, 3, 5) + hm(10, 0), 0x00FF00);
        QCOMPARE(errorNumber([&] { agenda.setBackcolor(day(2024, 3, 7) + hm(10, 0), 0x00FF00); }), int(IndexOutOfRange));
        QCOMPARE(errorNumber([&] { agenda.setBackcolor(qQNaN(), 0x00FF00); }), int(IndexOutOfRange));
    }

    // A zero raster, or one that does not divide the day, is refused; the rows of the day stay
    // those of the old raster.
    void rasterWriteRefusedKeepsRows()
    {
        ucAgenda agenda;
        QCOMPARE(errorNumber([&] { agenda.setTimeRaster(0); }), int(InvalidArgument));
        QCOMPARE(errorNumber([&] { agenda.setTimeRaster(-1); }), int(InvalidArgument));
        QCOMPARE(errorNumber([&] { agenda.setTimeRaster(hm(0, 50)); }), int(InvalidArgument));
        QCOMPARE(agenda.TimeRaster(), 30 / 1440.0);
        QCOMPARE(agenda.GetZeilenIndex(hm(23, 59)), 47);
        agenda.setTimeRaster(hm(1, 0));
        QCOMPARE(agenda.GetZeilenIndex(hm(23, 59)), 23);
    }

    // Catches a picture size the view cannot paint coming back as a blank image, and a HiDPI
    // picture that is not twice the pixels or loses its ratio; the limit is the Gantt's.
    void paintToImageSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels"); // empty: no picture
        QTest::newRow("normal") << QSize(640, 480) << 1.0 << QSize(640, 480);
        QTest::newRow("zero width") << QSize(0, 100) << 1.0 << QSize(0, 0);
        QTest::newRow("9000 x 9000, more than 2^26 pixels") << QSize(9000, 9000) << 1.0 << QSize(0, 0);
        QTest::newRow("a side over 32767") << QSize(40000, 100) << 1.0 << QSize(0, 0);
        QTest::newRow("HiDPI") << QSize(400, 300) << 2.0 << QSize(800, 600);
        QTest::newRow("HiDPI beyond the limit") << QSize(5000, 5000) << 2.0 << QSize(0, 0);
        QTest::newRow("ratio below 1") << QSize(400, 300) << 0.5 << QSize(0, 0);
        QTest::newRow("ratio not a number") << QSize(400, 300) << qQNaN() << QSize(0, 0);
    }
    void paintToImageSizes()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        ucAgenda agenda;
        showDays(agenda, day(2024, 3, 4), 7);
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

    // Catches a view that opens as a sliver: the hint of a top-level calendar is a working week.
    void opensAtItsSizeHint()
    {
        ucAgenda agenda;
        const QSize hint = agenda.sizeHint();
        const QSize least = agenda.minimumSizeHint();
        QVERIFY2(hint.width() >= 640 && hint.height() >= 400, qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
        QVERIFY(least.width() >= 100 && least.height() >= 100);
        QVERIFY(least.width() < hint.width() && least.height() < hint.height());
    }
};

QTEST_MAIN(tst_ucAgendaGrid)
#include "tst_ucagenda_grid.moc"
