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

};

QTEST_MAIN(tst_ucAgendaGrid)
#include "tst_ucagenda_grid.moc"
