// A pop-up (the views' date pickers) kept on the screen: moved back from the right and bottom
// edges only when it would cross them, and a pop-up larger than the screen shows its top left.
#include "shared/popupplace.h"
#include "support/testmain.h"

#include <QTest>

using namespace Dayplex;

class tst_PopupPlace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placed_data();
    void placed();
};

void tst_PopupPlace::placed_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("expected");
    // The screen's area is 100,50 to 899,649.
    QTest::newRow("fits") << QPoint(300, 200) << QSize(200, 100) << QPoint(300, 200);
    QTest::newRow("ends on the right edge") << QPoint(700, 200) << QSize(200, 100) << QPoint(700, 200);
    QTest::newRow("a pixel over the right edge") << QPoint(701, 200) << QSize(200, 100) << QPoint(700, 200);
    QTest::newRow("ends on the bottom edge") << QPoint(300, 550) << QSize(200, 100) << QPoint(300, 550);
    QTest::newRow("a pixel over the bottom edge") << QPoint(300, 551) << QSize(200, 100) << QPoint(300, 550);
    QTest::newRow("left of and above the area") << QPoint(0, 0) << QSize(200, 100) << QPoint(100, 50);
    QTest::newRow("larger than the area") << QPoint(500, 400) << QSize(1000, 700) << QPoint(100, 50);
}

// A pop-up pushed back one pixel early or late, or one larger than the screen pushed off its
// top left, shows here.
void tst_PopupPlace::placed()
{
    QFETCH(QPoint, at);
    QFETCH(QSize, size);
    QTEST(keptOnScreen(at, size, QRect(100, 50, 800, 600)), "expected");
}

DAYPLEX_TEST_MAIN(tst_PopupPlace)
#include "tst_popupplace.moc"
