#include "print/printjob.h"
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <QtTest>

#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

Q_DECLARE_METATYPE(Dayplex::PrintLayout)
Q_DECLARE_METATYPE(Dayplex::PrintPage)

namespace {

constexpr qint32 kLongMax = std::numeric_limits<qint32>::max();

// The default layout (margins 20/10/10/10 mm, gaps 10 mm) or one without margins and gaps, with
// the given views.
PrintLayout views(qint32 down, qint32 across, bool defaults = true)
{
    cContainer stored;
    stored.setContainerString(defaultLayoutString());
    PrintLayout layout = defaults ? PrintLayout::fromContainer(stored) : PrintLayout();
    layout.viewsDown = down;
    layout.viewsAcross = across;
    return layout;
}

PrintLayout with(PrintLayout layout, qint32 PrintLayout::*field, qint32 value)
{
    layout.*field = value;
    return layout;
}

PrintPage page(qint32 width, qint32 height, double scale = 1.0, double fontPointSize = 8)
{
    PrintPage p;
    p.width = width;
    p.height = height;
    p.scale = scale;
    p.fontPointSize = fontPointSize;
    return p;
}

} // namespace

class tst_PrintJob : public QObject
{
    Q_OBJECT

private slots:
    // Catches margins rounded one by one instead of as one sum, halves rounded away from
    // zero, the gap counted with a single view, swapped axes and a scale left out; layouts that
    // leave no room for the views being accepted, and hostile counts or distances that crash,
    // overflow or would print views without end.
    void viewRects_data()
    {
        QTest::addColumn<PrintLayout>("layout");
        QTest::addColumn<PrintPage>("page");
        QTest::addColumn<QVector<QRect>>("expected"); // none: the layout is refused

        // At 600 dpi: 10 mm = 236, 20 mm = 472, 30 mm = 709 (not 472 + 236), 40 mm = 945. The
        // default gaps of 10 mm do not count with a single view.
        QTest::newRow("one view, default margins and gaps")
            << views(1, 1) << page(4800, 6800) << QVector<QRect>{QRect(472, 236, 4091, 6328)};
        // (4798 - 945) / 2 = 1926.5 goes to the even 1926; (6800 - 945) / 3 = 1951.67 to 1952.
        QTest::newRow("two across, three down, reading order")
            << views(3, 2) << page(4798, 6800)
            << QVector<QRect>{QRect(472, 236, 1926, 1952), QRect(2634, 236, 1926, 1952),
                              QRect(472, 2424, 1926, 1952), QRect(2634, 2424, 1926, 1952),
                              QRect(472, 4612, 1926, 1952), QRect(2634, 4612, 1926, 1952)};
        // 1200 - 709 x 0.25 = 1022.75; the origin 472 x 0.25 = 118, 236 x 0.25 = 59.
        QTest::newRow("preview page at a quarter of the scale")
            << views(1, 1) << page(1200, 1700, 0.25) << QVector<QRect>{QRect(118, 59, 1023, 1582)};
        const QVector<QRect> none;
        const PrintLayout bare = views(1, 1, false);
        QTest::newRow("views of exactly 50 pixels")
            << bare << page(50, 50) << QVector<QRect>{QRect(0, 0, 50, 50)};
        QTest::newRow("views of 49 pixels across") << bare << page(49, 50) << none;
        QTest::newRow("no views across") << views(1, 0, false) << page(4000, 4000) << none;
        QTest::newRow("negative gap would stack views")
            << with(views(1, 2, false), &PrintLayout::gapHorizontal, -10) << page(4000, 4000) << none;
        QTest::newRow("largest count overflows the gap sum")
            << with(views(1, kLongMax, false), &PrintLayout::gapHorizontal, 10) << page(4000, 4000)
            << none;
        QTest::newRow("more views than a page can hold")
            << views(1001, 1001, false) << page(50050, 50050) << none;
        QTest::newRow("zero scale") << bare << page(4000, 4000, 0.0) << none;
    }
    void viewRects()
    {
        QFETCH(PrintLayout, layout);
        QFETCH(PrintPage, page);
        QFETCH(QVector<QRect>, expected);

        const PrintGrid grid(layout, page, 600, 600);
        QCOMPARE(grid.isValid(), !expected.isEmpty());
        QCOMPARE(grid.viewsPerPage(), qint32(expected.size()));
        QCOMPARE(grid.viewRects(), expected);
    }
    // Catches a preview page left wider than 2000 pixels, halves not rounded to even, and a
    // font or scale not halved alongside the page.
    void previewPage_data()
    {
        QTest::addColumn<PrintPage>("printer");
        QTest::addColumn<PrintPage>("expected");

        QTest::newRow("4800 wide becomes 1200 in two halvings")
            << page(4800, 6800) << page(1200, 1700, 0.25, 2);
        QTest::newRow("2000 wide stays") << page(2000, 2828) << page(2000, 2828);
        QTest::newRow("2001 wide halves to the even 1000")
            << page(2001, 2829) << page(1000, 1414, 0.5, 4);
        QTest::newRow("largest width ends below the limit")
            << page(kLongMax, 100) << page(1024, 0, 1.0 / (1 << 21), 8.0 / (1 << 21));
    }
    void previewPage()
    {
        QFETCH(PrintPage, printer);
        QFETCH(PrintPage, expected);

        const PrintPage reduced =
            Dayplex::previewPage(printer.width, printer.height, printer.fontPointSize);
        QCOMPARE(reduced.width, expected.width);
        QCOMPARE(reduced.height, expected.height);
        QCOMPARE(reduced.scale, expected.scale);
        QCOMPARE(reduced.fontPointSize, expected.fontPointSize);
    }
    // Catches a page count of 0 printing nothing and a preview printing several pages.
    void pagesToPrint()
    {
        QCOMPARE(Dayplex::pagesToPrint(3, false), 3);
        QCOMPARE(Dayplex::pagesToPrint(0, false), 1);
        QCOMPARE(Dayplex::pagesToPrint(3, true), 1);
    }
};

DAYPLEX_TEST_MAIN(tst_PrintJob)
#include "tst_printjob.moc"
