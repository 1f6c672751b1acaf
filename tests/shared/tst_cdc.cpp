#include "shared/cdc.h"

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr qint32 kTeal = 0x00996633;      // 0x00BBGGRR
constexpr QRgb kTealRgb = 0xff336699;
constexpr qint32 kYellow = 0x0000FFFF;
constexpr QRgb kYellowRgb = 0xffffff00;
constexpr QRgb kGrey = 0xff808080;

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    return font;
}

QImage blank(QSize size, QRgb colour = 0xff000000)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// What Qt itself draws for a fill with a caption whose top-left corner is at origin.
QImage reference(QSize size, const QRect &fill, QRgb colour, const QString &caption, QPoint origin,
                 const QRect &clip = QRect())
{
    QImage image = blank(size);
    QPainter p(&image);
    p.fillRect(fill, QColor(colour));
    p.setFont(testFont());
    p.setPen(QColor(kYellowRgb));
    if (!clip.isNull())
        p.setClipRect(clip);
    p.drawText(origin + QPoint(0, p.fontMetrics().ascent()), caption);
    return image;
}

// An offscreen surface over a grey target, with the test font and yellow text.
struct Surface
{
    explicit Surface(int width = 80, int height = 40)
        : target(blank(QSize(width, height), kGrey))
    {
        dc.Initialize(&target, width, height, true);
        dc.setFont(&font);
        dc.setTextColor(kYellow);
    }
    QImage target;
    QFont font = testFont();
    cDC dc;
};

// One axis of a caption origin as the alignment table gives it: c centred, n near, f far, 0 surface.
int axis(char choice, int start, int extent, int size)
{
    switch (choice) {
    case 'n': return start + 3;
    case 'f': return start + extent - 3 - size;
    case 'c': return start + (extent - size) / 2;
    default: return 0;
    }
}

} // namespace

class tst_cDC : public QObject
{
    Q_OBJECT

private slots:

    // Catches fills one pixel too large or small, fills for negative sizes, swapped red and
    // blue, and a background colour that does not stay set.
    void fillRect_data()
    {
        QTest::addColumn<QRect>("given");   // left, top, width, height as passed
        QTest::addColumn<QRect>("painted");
        QTest::newRow("inside") << QRect(5, 6, 10, 4) << QRect(5, 6, 10, 4);
        QTest::newRow("over the far edges") << QRect(75, 35, 20, 20) << QRect(75, 35, 5, 5);
        QTest::newRow("from negative coordinates") << QRect(-5, -5, 8, 7) << QRect(0, 0, 3, 2);
        QTest::newRow("zero width") << QRect(10, 10, 0, 5) << QRect();
        QTest::newRow("negative width") << QRect(10, 10, -5, 5) << QRect();
    }
    void fillRect()
    {
        QFETCH(QRect, given);
        QFETCH(QRect, painted);
        Surface s;
        s.dc.FillRect(given.x(), given.y(), given.width(), given.height(), kTeal);
        QCOMPARE(s.dc.backcolor(), kTeal);
        QImage expected = blank(s.target.size());
        QPainter(&expected).fillRect(painted, QColor(kTealRgb));
        QCOMPARE(s.dc.image(), expected);
    }

    // Catches a frame bar one pixel off, a missed or doubled corner, and an inside or caption
    // that differs from a frame filled whole with the inside over it.
    void fillFramed_data()
    {
        QTest::addColumn<QRect>("given");
        QTest::addColumn<int>("line");
        QTest::addColumn<QRect>("clip"); // corners for SetClipRec; null for none
        QTest::newRow("one pixel") << QRect(5, 6, 30, 12) << 1 << QRect();
        QTest::newRow("two pixels, clipped") << QRect(5, 6, 30, 12) << 2 << QRect(QPoint(0, 0), QPoint(20, 10));
        QTest::newRow("no inside") << QRect(5, 6, 4, 30) << 2 << QRect();
        QTest::newRow("over the edge") << QRect(60, 30, 30, 20) << 1 << QRect();
    }
    void fillFramed()
    {
        QFETCH(QRect, given);
        QFETCH(int, line);
        QFETCH(QRect, clip);
        const QString caption = QStringLiteral("Zelle");
        QImage framed = blank(QSize(80, 40)), filled = framed;
        const auto paint = [&](QImage &image, bool once) {
            cDC dc;
            QFont font = testFont();
            dc.Initialize(&image, 80, 40, false);
            dc.setFont(&font);
            if (!clip.isNull())
                dc.SetClipRec(clip.left(), clip.top(), clip.right(), clip.bottom());
            const QRect inside = given.adjusted(line, line, -line, -line);
            if (once) {
                dc.fillFramed(given.x(), given.y(), given.width(), given.height(), kYellow, line,
                              kTeal, caption, 4);
            } else {
                dc.FillRect(given.x(), given.y(), given.width(), given.height(), kYellow);
                dc.FillRect(inside.x(), inside.y(), inside.width(), inside.height(), kTeal, caption, 4);
            }
            QCOMPARE(dc.backcolor(), kTeal);
        };
        paint(framed, true);
        paint(filled, false);
        QCOMPARE(framed, filled);
        QVERIFY(framed != blank(QSize(80, 40)));
    }

    // Catches a wrong origin for any alignment, a wrong inset, or a caption not clipped to its cell.
    void captionOrigin_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<char>("horizontal");
        QTest::addColumn<char>("vertical");
        const QRect cell(10, 8, 120, 41);
        QTest::newRow("0 centre, middle") << 0 << cell << 'c' << 'c';
        QTest::newRow("2 right, middle") << 2 << cell << 'f' << 'c';
        QTest::newRow("4 left, top") << 4 << cell << 'n' << 'n';
        QTest::newRow("5 right, top") << 5 << cell << 'f' << 'n';
        QTest::newRow("8 right, bottom") << 8 << cell << 'f' << 'f';
        QTest::newRow("9 surface origin") << 9 << QRect(0, 0, 100, 30) << '0' << '0';
        QTest::newRow("4 left, top in a cell too small") << 4 << QRect(50, 20, 20, 8) << 'n' << 'n';
    }
    void captionOrigin()
    {
        QFETCH(int, align);
        QFETCH(QRect, cell);
        QFETCH(char, horizontal);
        QFETCH(char, vertical);
        const QString caption = QStringLiteral("Termin Wy");
        Surface s(160, 60);
        s.dc.FillRect(cell.x(), cell.y(), cell.width(), cell.height(), kTeal, caption, align);
        const QPoint origin(axis(horizontal, cell.x(), cell.width(), s.dc.textWidth(caption)),
                            axis(vertical, cell.y(), cell.height(), s.dc.textHeight(caption)));
        QCOMPARE(s.dc.image(), reference(s.target.size(), cell, kTealRgb, caption, origin, cell));
    }

    // Catches wrong text flags and text spilling out of its rectangle.
    void text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("centre");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("drawn");
        const QString lines = QStringLiteral("Zeile 1\nZeile 2");
        const QString words = QStringLiteral("Besprechung mit dem Vertrieb");
        const int topLeft = Qt::AlignLeft | Qt::AlignTop;
        const int centred = Qt::AlignCenter | Qt::TextSingleLine;
        QTest::newRow("plain, explicit line break") << lines << false << false << topLeft << lines;
        QTest::newRow("word wrap") << words << true << false << (topLeft | Qt::TextWordWrap) << words;
        QTest::newRow("centred on one line") << lines << false << true << centred << lines;
        QTest::newRow("centre wins over word wrap") << words << true << true << centred << words;
    }
    void text()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrap);
        QFETCH(bool, centre);
        QFETCH(int, flags);
        QFETCH(QString, drawn);
        const QRect box(10, 5, 70, 30);
        Surface s(120, 60);
        s.dc.FillRect(0, 0, 120, 60, kTeal);
        s.dc.Text(text, box.x(), box.y(), box.width(), box.height(), wrap, centre);

        QImage expected = blank(s.target.size(), kTealRgb);
        QPainter p(&expected);
        p.setFont(testFont());
        p.setPen(QColor(kYellowRgb));
        p.setClipRect(box);
        p.drawText(box, flags, drawn);
        p.end();
        QCOMPARE(s.dc.image(), expected);
    }

    // Catches text of the modern look that is cut at the right edge or in the middle of a line
    // at the foot of its box; the classic rows show the cuts the modern look avoids.
    void ellipsisText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("centre");
        QTest::addColumn<bool>("modern");
        const QString words = QStringLiteral("Besprechung mit dem Vertrieb über das Budget");
        const QString longWord = QStringLiteral("Datenbankmigration");
        QTest::newRow("classic: lines cut at the foot") << words << true << false << false;
        QTest::newRow("modern: whole lines, the last one shortened") << words << true << false << true;
        QTest::newRow("classic: one centred line cut at both ends") << words << false << true << false;
        QTest::newRow("modern: one centred line shortened") << words << false << true << true;
    }
    void ellipsisText()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrap);
        QFETCH(bool, centre);
        QFETCH(bool, modern);
        const QFontMetrics fm(testFont());
        // Two and a half lines high, narrower than the long word.
        const QRect box(10, 5, fm.horizontalAdvance(QStringLiteral("Datenbank")), fm.height() * 5 / 2);
        Surface s(160, 80);
        s.dc.FillRect(0, 0, 160, 80, kTeal);
        s.dc.setEllipsis(modern);
        s.dc.Text(text, box.x(), box.y(), box.width(), box.height(), wrap, centre);

        const auto ink = [&s](const QRect &area) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (s.dc.image().pixel(x, y) != kTealRgb)
                        return true;
            return false;
        };
        QVERIFY(ink(box));
        const bool cutAtTheEdge = ink(QRect(box.right(), box.top(), 1, box.height()));
        const bool cutAtTheFoot = wrap && ink(QRect(box.left(), box.top() + 2 * fm.height() + 1, box.width(),
                                                    box.height() - 2 * fm.height() - 1));
        QCOMPARE(cutAtTheEdge || cutAtTheFoot, !modern);
    }

};

DAYPLEX_TEST_MAIN(tst_cDC)
#include "tst_cdc.moc"
