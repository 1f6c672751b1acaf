// Two fingers on a view: their midpoint scrolls in whole columns and rows, keeping the rest for
// the next move, and their spread zooms the time axis in steps along the ladders.
#include "shared/timeaxiszoom.h"
#include "shared/twofingers.h"
#include "support/testmain.h"

#include <QTest>

using namespace Dayplex;

Q_DECLARE_METATYPE(Dayplex::TwoFingerSteps)

namespace {

QVector<QPointF> fingers(double midX, double midY, double spread)
{
    return {QPointF(midX - spread / 2, midY), QPointF(midX + spread / 2, midY)};
}

} // namespace

class tst_TwoFingers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
    void restCarriesOver();
    void ladders_data();
    void ladders();
};

void tst_TwoFingers::steps_data()
{
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("spread");
    QTest::addColumn<TwoFingerSteps>("expected");
    // Columns of 100, rows of 20 pixels; the fingers start 100 pixels apart.
    QTest::newRow("a column and a half right shows one earlier") << 150.0 << 0.0 << 100.0 << TwoFingerSteps{-1, 0, 0};
    QTest::newRow("just below a column: nothing") << -99.9 << 0.0 << 100.0 << TwoFingerSteps{0, 0, 0};
    QTest::newRow("exactly a column left") << -100.0 << 0.0 << 100.0 << TwoFingerSteps{1, 0, 0};
    QTest::newRow("three rows up") << 0.0 << -65.0 << 100.0 << TwoFingerSteps{0, 3, 0};
    QTest::newRow("spread by a quarter zooms in") << 0.0 << 0.0 << 125.0 << TwoFingerSteps{0, 0, 1};
    QTest::newRow("spread just below a quarter: nothing") << 0.0 << 0.0 << 124.9 << TwoFingerSteps{0, 0, 0};
    QTest::newRow("closed to four fifths zooms out") << 0.0 << 0.0 << 80.0 << TwoFingerSteps{0, 0, -1};
    QTest::newRow("closed just above four fifths: nothing") << 0.0 << 0.0 << 80.1 << TwoFingerSteps{0, 0, 0};
    QTest::newRow("spread to two and a half: four steps") << 0.0 << 0.0 << 250.0 << TwoFingerSteps{0, 0, 4};
    QTest::newRow("fingers on top of each other measure no pinch") << 0.0 << 0.0 << 2.0 << TwoFingerSteps{0, 0, 0};
    QTest::newRow("pan and pinch at once") << 210.0 << 45.0 << 140.0 << TwoFingerSteps{-2, -2, 1};
}

// A pan in the wrong direction, a step counted early or late, or a pinch that measures two
// touching fingers shows here.
void tst_TwoFingers::steps()
{
    QFETCH(double, dx);
    QFETCH(double, dy);
    QFETCH(double, spread);
    QFETCH(TwoFingerSteps, expected);
    TwoFingers gesture;
    const QVector<QPointF> from = fingers(400, 300, 100);
    gesture.start(from[0], from[1]);
    const QVector<QPointF> to = fingers(400 + dx, 300 + dy, spread);
    const TwoFingerSteps steps = gesture.update(to[0], to[1], QSizeF(100, 20));
    QCOMPARE(steps.columns, expected.columns);
    QCOMPARE(steps.rows, expected.rows);
    QCOMPARE(steps.zoom, expected.zoom);
}

// A slow pan still scrolls: thirty moves of 10 pixels over columns of 100 make three columns,
// and a slow spread two zoom steps; a view without a column size does not scroll sideways.
void tst_TwoFingers::restCarriesOver()
{
    TwoFingers gesture;
    gesture.start(QPointF(0, 0), QPointF(100, 0));
    int columns = 0, zoom = 0;
    for (int i = 1; i <= 30; ++i) {
        const TwoFingerSteps s = gesture.update(QPointF(-10.0 * i - i, 0), QPointF(100 - 10.0 * i + i, 0),
                                                QSizeF(100, 20));
        columns += s.columns;
        zoom += s.zoom;
    }
    QCOMPARE(columns, 3);
    QCOMPARE(zoom, 2); // the spread grew from 100 to 160
    const TwoFingerSteps sideways = gesture.update(QPointF(-1000, 0), QPointF(-840, 0), QSizeF(0, 20));
    QCOMPARE(sideways.columns, 0);
    gesture.end();
    QCOMPARE(gesture.update(QPointF(0, 0), QPointF(500, 0), QSizeF(100, 20)).zoom, 0);
}

void tst_TwoFingers::ladders_data()
{
    QTest::addColumn<bool>("days");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expected");
    QTest::newRow("raster 30 one step in") << false << 30 << 1 << 15;
    QTest::newRow("raster 30 two steps out stops at 60") << false << 30 << -2 << 60;
    QTest::newRow("raster 5 in stays") << false << 5 << 1 << 5;
    QTest::newRow("raster 20 in goes to 15") << false << 20 << 1 << 15;
    QTest::newRow("raster 20 out goes to 30") << false << 20 << -1 << 30;
    QTest::newRow("raster 120 out stays") << false << 120 << -1 << 120;
    QTest::newRow("raster 120 in goes to 60") << false << 120 << 1 << 60;
    QTest::newRow("no steps") << false << 20 << 0 << 20;
    QTest::newRow("7 days in shows 5") << true << 7 << 1 << 5;
    QTest::newRow("7 days out shows 14") << true << 7 << -1 << 14;
    QTest::newRow("1 day in stays") << true << 1 << 1 << 1;
    QTest::newRow("28 days out stays") << true << 28 << -1 << 28;
    QTest::newRow("10 days in shows 7") << true << 10 << 1 << 7;
}

// A ladder walked the wrong way, past its end, or stuck on a value between two rungs.
void tst_TwoFingers::ladders()
{
    QFETCH(bool, days);
    QFETCH(int, value);
    QFETCH(int, steps);
    QTEST(days ? zoomedDayCount(value, steps) : zoomedRasterMinutes(value, steps), "expected");
}

DAYPLEX_TEST_MAIN(tst_TwoFingers)
#include "tst_twofingers.moc"
