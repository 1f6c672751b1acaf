#include "print/printjob.h"
#include "shared/ccontainer.h"

#include <QtTest>

#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

Q_DECLARE_METATYPE(Dayplex::PrintLayout)
Q_DECLARE_METATYPE(Dayplex::PrintPage)

namespace {

constexpr qint32 kLongMax = std::numeric_limits<qint32>::max();

// The layout defaults: margins 20/10/10/10 mm, gaps 10 mm, one view per page.
PrintLayout defaultLayout()
{
    PrintLayout layout;
    layout.marginLeft = 20;
    layout.marginRight = 10;
    layout.marginTop = 10;
    layout.marginBottom = 10;
    layout.gapHorizontal = 10;
    layout.gapVertical = 10;
    layout.viewsDown = 1;
    layout.viewsAcross = 1;
    return layout;
}

PrintLayout grid(qint32 down, qint32 across)
{
    PrintLayout layout = defaultLayout();
    layout.viewsDown = down;
    layout.viewsAcross = across;
    return layout;
}

PrintPage page(qint32 width, qint32 height, double scale = 1.0)
{
    PrintPage p;
    p.width = width;
    p.height = height;
    p.scale = scale;
    p.fontPointSize = 8;
    return p;
}

// At 254 dots per inch one millimetre is exactly ten pixels.
PrintLayout bare(qint32 down, qint32 across)
{
    PrintLayout layout;
    layout.viewsDown = down;
    layout.viewsAcross = across;
    return layout;
}

} // namespace

class tst_PrintJob : public QObject
{
    Q_OBJECT

private slots:
    // Catches margins rounded one by one instead of as one sum, halves rounded away from
    // zero, the gap counted with a single view, swapped axes and a scale left out.
    void viewRects_data();
    void viewRects();
    // Catches layouts that leave no room for the views being accepted, and hostile counts
    // or distances that crash, overflow or would print views without end.
    void validity_data();
    void validity();
    // Catches a preview page left wider than 2000 pixels, halves not rounded to even, and a
    // font or scale not halved alongside the page.
    void previewPage_data();
    void previewPage();
    // Catches a page count of 0 printing nothing and a preview printing several pages.
    void pagesToPrint_data();
    void pagesToPrint();
};

void tst_PrintJob::viewRects_data()
{
    QTest::addColumn<PrintLayout>("layout");
    QTest::addColumn<PrintPage>("page");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QVector<QRect>>("expected");

    // At 600 dpi: 10 mm = 236, 20 mm = 472, 30 mm = 709 (not 472 + 236), 40 mm = 945.
    QTest::newRow("one view, default margins, portrait page")
        << defaultLayout() << page(4800, 6800) << 600 << 600
        << QVector<QRect>{QRect(472, 236, 4800 - 709, 6800 - 472)};
    // (4798 - 945) / 2 = 1926.5 goes to the even 1926; (6800 - 945) / 3 = 1951.67 to 1952.
    QTest::newRow("two across, three down, reading order")
        << grid(3, 2) << page(4798, 6800) << 600 << 600
        << QVector<QRect>{QRect(472, 236, 1926, 1952), QRect(2634, 236, 1926, 1952),
                          QRect(472, 2424, 1926, 1952), QRect(2634, 2424, 1926, 1952),
                          QRect(472, 4612, 1926, 1952), QRect(2634, 4612, 1926, 1952)};
    QTest::newRow("one view, default margins, landscape page")
        << defaultLayout() << page(6800, 4798) << 600 << 600
        << QVector<QRect>{QRect(472, 236, 6800 - 709, 4798 - 472)};
    // 1200 - 709 x 0.25 = 1022.75; the origin 472 x 0.25 = 118, 236 x 0.25 = 59.
    QTest::newRow("preview page at a quarter of the scale")
        << defaultLayout() << page(1200, 1700, 0.25) << 600 << 600
        << QVector<QRect>{QRect(118, 59, 1023, 1582)};
    QTest::newRow("gap of a single view across is not counted")
        << [] {
               PrintLayout l = defaultLayout();
               l.gapHorizontal = 400;
               l.gapVertical = 400;
               return l;
           }()
        << page(4800, 6800) << 600 << 600
        << QVector<QRect>{QRect(472, 236, 4091, 6328)};
}

void tst_PrintJob::viewRects()
{
    QFETCH(PrintLayout, layout);
    QFETCH(PrintPage, page);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(QVector<QRect>, expected);

    const PrintGrid grid(layout, page, dpiX, dpiY);
    QVERIFY(grid.isValid());
    QCOMPARE(grid.viewsPerPage(), qint32(expected.size()));
    QCOMPARE(grid.viewRects(), expected);
}

void tst_PrintJob::validity_data()
{
    QTest::addColumn<PrintLayout>("layout");
    QTest::addColumn<PrintPage>("page");
    QTest::addColumn<bool>("valid");

    auto with = [](PrintLayout l, auto change) {
        change(l);
        return l;
    };

    QTest::newRow("views of exactly 50 pixels") << bare(1, 1) << page(50, 50) << true;
    QTest::newRow("views of 49 pixels across") << bare(1, 1) << page(49, 50) << false;
    QTest::newRow("margins larger than the page")
        << with(bare(1, 1), [](PrintLayout &l) { l.marginLeft = l.marginRight = 300; })
        << page(4000, 4000) << false;
    QTest::newRow("no views across") << bare(1, 0) << page(4000, 4000) << false;
    QTest::newRow("negative gap would stack views")
        << with(bare(1, 2), [](PrintLayout &l) { l.gapHorizontal = -10; }) << page(4000, 4000)
        << false;
    QTest::newRow("largest count overflows the gap sum")
        << with(bare(1, kLongMax), [](PrintLayout &l) { l.gapHorizontal = 10; })
        << page(4000, 4000) << false;
    QTest::newRow("more views than a page can hold")
        << bare(1001, 1001) << page(50050, 50050) << false;
    QTest::newRow("empty page") << bare(1, 1) << page(0, 0) << false;
    QTest::newRow("zero scale") << bare(1, 1) << page(4000, 4000, 0.0) << false;
}

void tst_PrintJob::validity()
{
    QFETCH(PrintLayout, layout);
    QFETCH(PrintPage, page);
    QFETCH(bool, valid);

    const PrintGrid grid(layout, page, 254, 254);
    QCOMPARE(grid.isValid(), valid);
    const QVector<QRect> rects = grid.viewRects();
    QCOMPARE(rects.size(), qsizetype(grid.viewsPerPage()));
    if (!valid)
        return;
    QCOMPARE(grid.viewsPerPage(), layout.viewsAcross * layout.viewsDown);
    // Every view of a valid layout lies on the page.
    const QRect sheet(0, 0, page.width, page.height);
    for (const QRect &r : rects)
        QVERIFY2(sheet.contains(r), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                  .arg(r.x()).arg(r.y())
                                                  .arg(r.width()).arg(r.height())));
}

void tst_PrintJob::previewPage_data()
{
    QTest::addColumn<PrintPage>("printer");
    QTest::addColumn<PrintPage>("expected");

    auto p = [](qint32 w, qint32 h, double scale, double font) {
        PrintPage r;
        r.width = w;
        r.height = h;
        r.scale = scale;
        r.fontPointSize = font;
        return r;
    };
    QTest::newRow("4800 wide becomes 1200 in two halvings")
        << p(4800, 6800, 1, 8) << p(1200, 1700, 0.25, 2);
    QTest::newRow("2000 wide stays") << p(2000, 2828, 1, 8) << p(2000, 2828, 1, 8);
    QTest::newRow("2001 wide halves to the even 1000")
        << p(2001, 2829, 1, 8) << p(1000, 1414, 0.5, 4);
    QTest::newRow("largest width ends below the limit")
        << p(kLongMax, 100, 1, 8) << p(1024, 0, 1.0 / (1 << 21), 8.0 / (1 << 21));
}

void tst_PrintJob::previewPage()
{
    QFETCH(PrintPage, printer);
    QFETCH(PrintPage, expected);

    const PrintPage reduced = Dayplex::previewPage(printer.width, printer.height,
                                                   printer.fontPointSize);
    QCOMPARE(reduced.width, expected.width);
    QCOMPARE(reduced.height, expected.height);
    QCOMPARE(reduced.scale, expected.scale);
    QCOMPARE(reduced.fontPointSize, expected.fontPointSize);
}

void tst_PrintJob::pagesToPrint_data()
{
    QTest::addColumn<qint32>("requested");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<qint32>("expected");

    QTest::newRow("three pages") << 3 << false << 3;
    QTest::newRow("zero pages still print one") << 0 << false << 1;
    QTest::newRow("preview shows one of three") << 3 << true << 1;
}

void tst_PrintJob::pagesToPrint()
{
    QFETCH(qint32, requested);
    QFETCH(bool, preview);
    QFETCH(qint32, expected);

    QCOMPARE(Dayplex::pagesToPrint(requested, preview), expected);
}

DAYPLEX_TEST_MAIN(tst_PrintJob)
#include "tst_printjob.moc"
