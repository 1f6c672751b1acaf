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

// An offscreen surface over a grey target, with the test font and yellow text.
struct Surface
{
    Surface(int width, int height)
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

// One axis of a caption origin as the alignment table gives it: c centred, n near, f far,
// 0 surface.
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
    // blue, a background colour that does not stay set, a frame bar one pixel off or painted
    // past the clip, a caption origin wrong for any alignment or inset, and a caption not
    // clipped to its cell.
    void fills_data()
    {
        QTest::addColumn<QRect>("given"); // left, top, width, height as passed
        QTest::addColumn<int>("line");    // 0: FillRect, else the frame of fillFramed
        QTest::addColumn<int>("align");
        QTest::addColumn<QRect>("clip"); // null for none
        QTest::addColumn<QByteArray>("origin"); // of the caption: c centred, n near, f far
        const QRect cell(10, 8, 120, 41);
        const auto row = [](const char *tag, QRect given, int line, int align, const char *origin,
                            QRect clip = QRect()) {
            QTest::newRow(tag) << given << line << align << clip << QByteArray(origin);
        };
        row("over the far edges", QRect(150, 55, 20, 20), 0, 0, "");
        row("from negative coordinates", QRect(-5, -5, 8, 7), 0, 0, "");
        row("negative width", QRect(10, 10, -5, 5), 0, 0, "");
        row("0 centre, middle", cell, 0, 0, "cc");
        row("2 right, middle", cell, 0, 2, "fc");
        row("4 left, top", cell, 0, 4, "nn");
        row("5 right, top", cell, 0, 5, "fn");
        row("8 right, bottom", cell, 0, 8, "ff");
        row("9 surface origin", QRect(0, 0, 100, 30), 0, 9, "00");
        row("4 left, top in a cell too small", QRect(50, 20, 20, 8), 0, 4, "nn");
        row("frame of one pixel", QRect(5, 6, 30, 12), 1, 4, "nn");
        row("frame of two pixels, clipped", QRect(5, 6, 30, 12), 2, 4, "nn", QRect(0, 0, 20, 10));
        row("frame with no inside", QRect(5, 6, 4, 30), 2, 4, "nn");
        row("frame over the edge", QRect(140, 50, 30, 20), 1, 0, "cc");
    }
    void fills()
    {
        QFETCH(QRect, given);
        QFETCH(int, line);
        QFETCH(int, align);
        QFETCH(QRect, clip);
        QFETCH(QByteArray, origin);
        const QString caption = origin.isEmpty() ? QString() : QStringLiteral("Termin Wy");
        Surface s(160, 60);
        if (!clip.isNull())
            s.dc.SetClipRec(clip.x(), clip.y(), clip.x() + clip.width(), clip.y() + clip.height());
        if (line == 0)
            s.dc.FillRect(given.x(), given.y(), given.width(), given.height(), kTeal, caption,
                          align);
        else
            s.dc.fillFramed(given.x(), given.y(), given.width(), given.height(), kYellow, line,
                            kTeal, caption, align);
        QCOMPARE(s.dc.backcolor(), kTeal);

        // What Qt itself draws for the frame, the fill and the caption.
        const QRect inside = given.adjusted(line, line, -line, -line);
        QImage expected = blank(s.target.size());
        QPainter p(&expected);
        if (!clip.isNull())
            p.setClipRect(clip);
        if (line > 0)
            p.fillRect(given, QColor(kYellowRgb));
        if (inside.isValid())
            p.fillRect(inside, QColor(kTealRgb));
        if (!caption.isEmpty() && inside.isValid()) {
            const QPoint at(axis(origin[0], inside.x(), inside.width(), s.dc.textWidth(caption)),
                            axis(origin[1], inside.y(), inside.height(), s.dc.textHeight(caption)));
            p.setFont(testFont());
            p.setPen(QColor(kYellowRgb));
            p.setClipRect(inside, Qt::IntersectClip);
            p.drawText(at + QPoint(0, p.fontMetrics().ascent()), caption);
        }
        p.end();
        QCOMPARE(s.dc.image(), expected);
    }

    // Catches wrong text flags and text spilling out of its rectangle.
    void text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("centre");
        QTest::addColumn<int>("flags");
        const QString lines = QStringLiteral("Zeile 1\nZeile 2");
        const QString words = QStringLiteral("Besprechung mit dem Vertrieb");
        const int topLeft = Qt::AlignLeft | Qt::AlignTop;
        const int centred = Qt::AlignCenter | Qt::TextSingleLine;
        QTest::newRow("plain, explicit line break") << lines << false << false << topLeft;
        QTest::newRow("word wrap") << words << true << false << (topLeft | Qt::TextWordWrap);
        QTest::newRow("centred on one line") << lines << false << true << centred;
        QTest::newRow("centre wins over word wrap") << words << true << true << centred;
    }
    void text()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrap);
        QFETCH(bool, centre);
        QFETCH(int, flags);
        const QRect box(10, 5, 70, 30);
        Surface s(120, 60);
        s.dc.FillRect(0, 0, 120, 60, kTeal);
        s.dc.Text(text, box.x(), box.y(), box.width(), box.height(), wrap, centre);

        QImage expected = blank(s.target.size(), kTealRgb);
        QPainter p(&expected);
        p.setFont(testFont());
        p.setPen(QColor(kYellowRgb));
        p.setClipRect(box);
        p.drawText(box, flags, text);
        p.end();
        QCOMPARE(s.dc.image(), expected);
    }

    // Catches text of the modern look that is cut at the right edge or in the middle of a line
    // at the foot of its box; the classic look cuts there, as the text rows show.
    void ellipsisText_data()
    {
        QTest::addColumn<bool>("wrap"); // else centred on one line
        QTest::newRow("whole lines, the last one shortened") << true;
        QTest::newRow("one centred line shortened") << false;
    }
    void ellipsisText()
    {
        QFETCH(bool, wrap);
        const QString text = QStringLiteral("Besprechung mit dem Vertrieb über das Budget");
        const QFontMetrics fm(testFont());
        // Two and a half lines high, narrower than its longest word.
        const QRect box(10, 5, fm.horizontalAdvance(QStringLiteral("Datenbank")),
                        fm.height() * 5 / 2);
        Surface s(160, 80);
        s.dc.FillRect(0, 0, 160, 80, kTeal);
        s.dc.setEllipsis(true);
        s.dc.Text(text, box.x(), box.y(), box.width(), box.height(), wrap, !wrap);

        const auto ink = [&s](const QRect &area) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (s.dc.image().pixel(x, y) != kTealRgb)
                        return true;
            return false;
        };
        QVERIFY(ink(box));
        const bool cutAtTheEdge = ink(QRect(box.right(), box.top(), 1, box.height()));
        const int foot = box.top() + 2 * fm.height() + 1;
        const bool cutAtTheFoot =
            wrap && ink(QRect(box.left(), foot, box.width(), box.bottom() - foot + 1));
        QVERIFY(!cutAtTheEdge && !cutAtTheFoot);
    }
};

DAYPLEX_TEST_MAIN(tst_cDC)
#include "tst_cdc.moc"
