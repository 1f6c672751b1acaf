#include "shared/cdc.h"

#include <dayplex/error.h>

#include <QtTest>

#include <functional>
#include <limits>

using namespace Dayplex;

using Op = std::function<void(cDC &)>;
Q_DECLARE_METATYPE(Op)

namespace {

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();
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

qint32 windowsColour(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
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

void invertArea(QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            image.setPixel(x, y, image.pixel(x, y) ^ 0x00ffffff);
}

// Copies a block to the same position; an empty block copies nothing.
void copyBlock(QImage &to, const QImage &from, const QRect &block)
{
    if (!block.isEmpty())
        QPainter(&to).drawImage(block.topLeft(), from, block);
}

bool hasInk(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != 0xff000000)
                return true;
    return false;
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
    void initTestCase()
    {
        QCOMPARE(QFontInfo(testFont()).family(), QStringLiteral("DejaVu Sans"));
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Button, QColor(0xc0, 0xb0, 0xa0));
        palette.setColor(QPalette::Light, QColor(0xf0, 0xe8, 0xe0));
        palette.setColor(QPalette::Dark, QColor(0x50, 0x40, 0x30));
        palette.setColor(QPalette::Base, QColor(0xfe, 0xfd, 0xfc));
        palette.setColor(QPalette::Text, QColor(0x01, 0x02, 0x03));
        palette.setColor(QPalette::Highlight, QColor(0x10, 0x20, 0x90));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x77, 0x78, 0x79));
        QGuiApplication::setPalette(palette);
    }

    // Catches fills one pixel too large or small, fills for negative sizes, swapped red and
    // blue, and a background colour that does not stay set.
    void fillRect_data()
    {
        QTest::addColumn<QRect>("given");   // left, top, width, height as passed
        QTest::addColumn<QRect>("painted");
        QTest::newRow("inside") << QRect(5, 6, 10, 4) << QRect(5, 6, 10, 4);
        QTest::newRow("single pixel") << QRect(0, 0, 1, 1) << QRect(0, 0, 1, 1);
        QTest::newRow("over the far edges") << QRect(75, 35, 20, 20) << QRect(75, 35, 5, 5);
        QTest::newRow("from negative coordinates") << QRect(-5, -5, 8, 7) << QRect(0, 0, 3, 2);
        QTest::newRow("zero width") << QRect(10, 10, 0, 5) << QRect();
        QTest::newRow("negative width") << QRect(10, 10, -5, 5) << QRect();
        QTest::newRow("negative height") << QRect(10, 10, 5, -1) << QRect();
        QTest::newRow("far away") << QRect(1000000000, 0, 5, 5) << QRect();
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
        QTest::newRow("1 left, middle") << 1 << cell << 'n' << 'c';
        QTest::newRow("2 right, middle") << 2 << cell << 'f' << 'c';
        QTest::newRow("3 centre, top") << 3 << cell << 'c' << 'n';
        QTest::newRow("4 left, top") << 4 << cell << 'n' << 'n';
        QTest::newRow("5 right, top") << 5 << cell << 'f' << 'n';
        QTest::newRow("6 centre, bottom") << 6 << cell << 'c' << 'f';
        QTest::newRow("7 left, bottom") << 7 << cell << 'n' << 'f';
        QTest::newRow("8 right, bottom") << 8 << cell << 'f' << 'f';
        QTest::newRow("9 surface origin") << 9 << QRect(0, 0, 100, 30) << '0' << '0';
        QTest::newRow("-1 surface origin") << -1 << QRect(0, 0, 100, 30) << '0' << '0';
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

    // Catches wrapping or shortening of a too-wide caption, and centring that rounds down
    // instead of toward zero.
    void captionCutAtBothEnds()
    {
        const QString caption = QStringLiteral("Quartalsbesprechung");
        Surface s(200, 40);
        const int cx = s.dc.textWidth(caption);
        const int cy = s.dc.textHeight(caption);
        const QRect cell(60, 10, cx - 21, cy - 5);   // odd shortfalls: -21 \ 2 = -10, -5 \ 2 = -2
        s.dc.FillRect(cell.x(), cell.y(), cell.width(), cell.height(), kTeal, caption, 0);

        const QPoint origin(50, 8);
        QCOMPARE(s.dc.image(), reference(s.target.size(), cell, kTealRgb, caption, origin, cell));
        const QImage whole = reference(s.target.size(), QRect(), 0, caption, origin);
        QVERIFY(hasInk(whole, QRect(0, 0, cell.left(), 40)));
        QVERIFY(hasInk(whole, QRect(cell.right() + 1, 0, 200 - cell.right() - 1, 40)));
    }

    // Catches an off-by-one in the far inset: a caption exactly as wide as the inner space
    // must start at the near inset.
    void captionExactFit_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<char>("vertical");
        QTest::newRow("2 right, middle") << 2 << 'c';
        QTest::newRow("5 right, top") << 5 << 'n';
        QTest::newRow("8 right, bottom") << 8 << 'f';
    }
    void captionExactFit()
    {
        QFETCH(int, align);
        QFETCH(char, vertical);
        const QString caption = QStringLiteral("Wyk");
        Surface s(100, 40);
        const QRect cell(20, 4, s.dc.textWidth(caption) + 6, 30);
        s.dc.FillRect(cell.x(), cell.y(), cell.width(), cell.height(), kTeal, caption, align);

        const QPoint origin(cell.x() + 3, axis(vertical, cell.y(), cell.height(), s.dc.textHeight(caption)));
        QCOMPARE(s.dc.image(), reference(s.target.size(), cell, kTealRgb, caption, origin, cell));
    }

    // Catches swapped edge colours, a missing inversion for the pressed look, the caption drawn
    // outside the face, and 3-D colours fetched before the first 3-D box.
    void draw3DRect_data()
    {
        QTest::addColumn<int>("appearance");
        QTest::addColumn<QRgb>("outer");
        QTest::addColumn<QRgb>("inner");
        QTest::addColumn<bool>("inverted");
        const QRgb light = qRgb(0xf0, 0xe8, 0xe0);
        const QRgb dark = qRgb(0x50, 0x40, 0x30);
        const QRgb black = qRgb(0, 0, 0);
        QTest::newRow("0 raised") << 0 << dark << light << false;
        QTest::newRow("1 flat") << 1 << dark << dark << false;
        QTest::newRow("2 sunken") << 2 << light << dark << false;
        QTest::newRow("3 pressed, face inverted") << 3 << light << black << true;
        QTest::newRow("7 unknown, black edges") << 7 << black << black << false;
        QTest::newRow("-1 unknown, black edges") << -1 << black << black << false;
    }
    void draw3DRect()
    {
        QFETCH(int, appearance);
        QFETCH(QRgb, outer);
        QFETCH(QRgb, inner);
        QFETCH(bool, inverted);
        const QString caption = QStringLiteral("Ab");
        Surface s(60, 30);
        s.dc.FillRect(0, 0, 60, 30, 0);
        s.dc.DrawRahmen(0, 0, 10, 10, 0, 1);
        QCOMPARE(s.dc.ThreeDFaceColor(), 0);
        s.dc.Draw3DRect(5, 4, 40, 20, caption, 4, appearance);
        QCOMPARE(s.dc.ThreeDFaceColor(), 0x00a0b0c0);
        QCOMPARE(s.dc.ThreeDHighlightColor(), 0x00e0e8f0);
        QCOMPARE(s.dc.ThreeDShadowColor(), 0x00304050);

        const QRect face(6, 5, 38, 18);
        const QImage faceWithCaption = reference(s.target.size(), face, qRgb(0xc0, 0xb0, 0xa0), caption,
                                                 face.topLeft() + QPoint(3, 3), face);
        QImage layers = blank(s.target.size());
        QPainter p(&layers);
        p.fillRect(QRect(5, 4, 40, 20), QColor(outer));
        p.fillRect(QRect(5, 4, 39, 19), QColor(inner));
        p.drawImage(face.topLeft(), faceWithCaption, face);
        p.end();
        if (inverted)
            invertArea(layers, face);
        QCOMPARE(s.dc.image(), layers);
    }

    // Catches bars drawn inside the box or a painted far corner.
    void drawRahmen_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("dicke");
        QTest::addColumn<QVector<QRect>>("bars");
        QTest::addColumn<QRect>("corner");
        QTest::newRow("thin at the origin") << QRect(0, 0, 10, 5) << 1
            << QVector<QRect>{ { 0, 0, 10, 1 }, { 10, 0, 1, 5 }, { 0, 5, 10, 1 }, { 0, 0, 1, 5 } }
            << QRect(10, 5, 1, 1);
        QTest::newRow("two pixels thick") << QRect(3, 2, 12, 6) << 2
            << QVector<QRect>{ { 3, 2, 12, 2 }, { 15, 2, 2, 6 }, { 3, 8, 12, 2 }, { 3, 2, 2, 6 } }
            << QRect(15, 8, 2, 2);
    }
    void drawRahmen()
    {
        QFETCH(QRect, box);
        QFETCH(int, dicke);
        QFETCH(QVector<QRect>, bars);
        QFETCH(QRect, corner);
        Surface s(30, 20);
        s.dc.setBackcolor(kYellow);
        s.dc.DrawRahmen(box.x(), box.y(), box.width(), box.height(), kTeal, dicke);
        QCOMPARE(s.dc.backcolor(), kTeal);
        QImage expected = blank(s.target.size());
        QPainter p(&expected);
        for (const QRect &bar : bars)
            p.fillRect(bar, QColor(kTealRgb));
        p.end();
        QCOMPARE(s.dc.image(), expected);
        QVERIFY(!hasInk(s.dc.image(), corner));
    }

    // Catches drawing that reaches the target before the copy, or a copy of the wrong block.
    void blastToScreen_data()
    {
        QTest::addColumn<bool>("defaults");
        QTest::addColumn<QRect>("block");   // left, top, width, height as passed
        QTest::addColumn<QRect>("copied");
        QTest::newRow("no arguments: whole surface") << true << QRect() << QRect(0, 0, 80, 40);
        QTest::newRow("a block") << false << QRect(10, 5, 20, 10) << QRect(10, 5, 20, 10);
        QTest::newRow("width -1: surface width") << false << QRect(30, 8, -1, 10) << QRect(30, 8, 50, 10);
        QTest::newRow("over the edge") << false << QRect(70, 30, 20, 20) << QRect(70, 30, 10, 10);
        QTest::newRow("zero width") << false << QRect(10, 10, 0, 10) << QRect();
        QTest::newRow("height -2") << false << QRect(10, 10, 5, -2) << QRect();
    }
    void blastToScreen()
    {
        QFETCH(bool, defaults);
        QFETCH(QRect, block);
        QFETCH(QRect, copied);
        Surface s;
        s.dc.FillRect(0, 0, 80, 40, kTeal, QStringLiteral("Blast"), 0);
        s.dc.DrawRahmen(2, 2, 70, 30, kYellow, 2);
        QCOMPARE(s.target, blank(s.target.size(), kGrey));
        if (defaults)
            s.dc.BlastToScreen();
        else
            s.dc.BlastToScreen(block.x(), block.y(), block.width(), block.height());
        QImage expected = blank(s.target.size(), kGrey);
        copyBlock(expected, s.dc.image(), copied);
        QCOMPARE(s.target, expected);
    }

    // Catches a copy from the wrong corner of the source, scaled, or of the wrong size.
    void bmpCopiesBlock()
    {
        QImage source = blank(QSize(30, 30), kYellowRgb);
        QPainter(&source).fillRect(QRect(0, 0, 4, 3), QColor(kTealRgb));
        Surface s(40, 20);
        s.dc.bmp(source, 5, 6, 10, 8);
        QImage expected = blank(s.target.size());
        QPainter p(&expected);
        p.fillRect(QRect(5, 6, 10, 8), QColor(kYellowRgb));
        p.fillRect(QRect(5, 6, 4, 3), QColor(kTealRgb));
        p.end();
        QCOMPARE(s.dc.image(), expected);
    }

    // Catches drawing outside the clip rectangle, an inclusive far edge, or a clip that
    // survives ClipClear.
    void clipping_data()
    {
        QTest::addColumn<QRect>("corners");   // x1, y1, x2, y2 packed as QRect(QPoint, QPoint)
        QTest::addColumn<QRect>("visible");
        QTest::newRow("inside") << QRect(QPoint(10, 5), QPoint(30, 20)) << QRect(10, 5, 20, 15);
        QTest::newRow("corners swapped") << QRect(QPoint(30, 20), QPoint(10, 5)) << QRect(10, 5, 20, 15);
        QTest::newRow("empty") << QRect(QPoint(10, 10), QPoint(10, 30)) << QRect();
        QTest::newRow("far beyond the surface") << QRect(QPoint(kMin, kMin), QPoint(kMax, kMax))
                                                << QRect(0, 0, 80, 40);
    }
    void clipping()
    {
        QFETCH(QRect, corners);
        QFETCH(QRect, visible);
        auto paint = [](cDC &dc) {
            dc.FillRect(0, 0, 80, 40, kTeal, QStringLiteral("Geclippt"), 0);
            dc.Text(QStringLiteral("Termin"), 0, 0, 80, 40, false, false);
            dc.Draw3DRect(50, 20, 25, 15, QString(), 0, 3);
        };
        Surface unclipped;
        paint(unclipped.dc);
        Surface s;
        s.dc.SetClipRec(corners.left(), corners.top(), corners.right(), corners.bottom());
        paint(s.dc);
        QImage expected = blank(s.target.size());
        copyBlock(expected, unclipped.dc.image(), visible);
        QCOMPARE(s.dc.image(), expected);

        s.dc.ClipClear();
        s.dc.ClipClear();
        s.dc.FillRect(0, 0, 80, 40, kYellow);
        QCOMPARE(s.dc.image(), blank(s.target.size(), kYellowRgb));
    }

    // Catches inversion outside the rectangle or the clip, on both kinds of surface.
    void invertRect_data()
    {
        QTest::addColumn<bool>("direct");
        QTest::addColumn<QRect>("given");
        QTest::addColumn<QRect>("clip");   // corners for SetClipRec; null for none
        QTest::addColumn<QRect>("inverted");
        for (bool direct : { false, true }) {
            const QByteArray kind = direct ? "direct: " : "offscreen: ";
            QTest::newRow(kind + "inside") << direct << QRect(5, 5, 20, 10) << QRect() << QRect(5, 5, 20, 10);
            QTest::newRow(kind + "over the edge") << direct << QRect(70, 30, 20, 20) << QRect() << QRect(70, 30, 10, 10);
            QTest::newRow(kind + "negative width") << direct << QRect(10, 10, -5, 5) << QRect() << QRect();
            QTest::newRow(kind + "within the clip") << direct << QRect(0, 0, 40, 40)
                << QRect(QPoint(10, 10), QPoint(30, 30)) << QRect(10, 10, 20, 20);
        }
    }
    void invertRect()
    {
        QFETCH(bool, direct);
        QFETCH(QRect, given);
        QFETCH(QRect, clip);
        QFETCH(QRect, inverted);
        QImage target = blank(QSize(80, 40));
        QPainter painter(&target);
        cDC dc;
        dc.Initialize(&painter, 80, 40, !direct);
        const auto surface = [&] { return direct ? QImage(target) : dc.image(); };
        dc.FillRect(0, 0, 30, 40, kTeal);
        dc.FillRect(30, 0, 50, 40, kYellow);
        dc.FillRect(20, 10, 30, 20, 0x00102030);
        QImage expected = surface();
        if (!clip.isNull())
            dc.SetClipRec(clip.left(), clip.top(), clip.right(), clip.bottom());
        dc.InvertRect(given.x(), given.y(), given.width(), given.height());
        invertArea(expected, inverted);
        QCOMPARE(surface(), expected);
    }

    // Catches system colours not resolved through the palette and plain colours altered.
    void oleColour_data()
    {
        QTest::addColumn<qint32>("colour");
        QTest::addColumn<qint32>("resolved");
        const QPalette palette = QGuiApplication::palette();
        QTest::newRow("plain colour") << 0x00123456 << 0x00123456;
        QTest::newRow("15 button face") << qint32(0x8000000F) << windowsColour(palette.color(QPalette::Button));
        QTest::newRow("5 window") << qint32(0x80000005) << windowsColour(palette.color(QPalette::Base));
        QTest::newRow("8 window text") << qint32(0x80000008) << windowsColour(palette.color(QPalette::Text));
        QTest::newRow("13 highlight") << qint32(0x8000000D) << windowsColour(palette.color(QPalette::Highlight));
        QTest::newRow("17 grey text") << qint32(0x80000011)
                                      << windowsColour(palette.color(QPalette::Disabled, QPalette::Text));
        QTest::newRow("unknown system index") << qint32(0x800000FF) << qint32(0x800000FF);
        QTest::newRow("not a system reference") << qint32(0x80012305) << qint32(0x80012305);
        QTest::newRow("palette index") << 0x01000005 << 0x01000005;
    }
    void oleColour()
    {
        QFETCH(qint32, colour);
        QFETCH(qint32, resolved);
        QCOMPARE(cDC::OLE2RGBColor(colour), resolved);
        QCOMPARE(cDC::toQColor(colour), QColor(resolved & 0xff, (resolved >> 8) & 0xff, (resolved >> 16) & 0xff));
    }

    // Catches a font reset to the default font instead of the one in force before, and an
    // UpdateFont that does not read the font again.
    void fontReset()
    {
        QFont outer(QStringLiteral("DejaVu Sans"));
        outer.setPixelSize(9);
        QFont big = testFont();
        big.setPixelSize(30);
        QFont mid = testFont();
        mid.setPixelSize(20);
        QImage target = blank(QSize(10, 10));
        QPainter painter(&target);
        painter.setFont(outer);
        {
            cDC dc;
            dc.Initialize(&painter, 10, 10, false);
            QCOMPARE(dc.textWidth(QStringLiteral("Wy")), QFontMetrics(outer).horizontalAdvance(QStringLiteral("Wy")));
            dc.setFont(&big);
            QCOMPARE(dc.textHeight(QStringLiteral("w")), QFontMetrics(big).height());
            dc.setFont(&mid);
            dc.setFont(nullptr);
            QCOMPARE(dc.Font(), nullptr);
            QCOMPARE(dc.textHeight(QStringLiteral("w")), QFontMetrics(outer).height());
            dc.setFont(&mid);
            const QFont mid20 = mid;
            mid.setPixelSize(40);
            QCOMPARE(dc.textHeight(QStringLiteral("w")), QFontMetrics(mid20).height());
            dc.UpdateFont();
            QCOMPARE(dc.textHeight(QStringLiteral("w")), QFontMetrics(mid).height());
        }
        QCOMPARE(painter.font().pixelSize(), 9);

        cDC offscreen;
        offscreen.Initialize(&target, 10, 10, true);
        const int before = offscreen.textWidth(QStringLiteral("Wy"));
        offscreen.setFont(&big);
        offscreen.setFont(nullptr);
        QCOMPARE(offscreen.textWidth(QStringLiteral("Wy")), before);
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
        QTest::newRow("Windows line end") << QStringLiteral("Zeile 1\r\nZeile 2") << false << false << topLeft << lines;
        QTest::newRow("word wrap") << words << true << false << (topLeft | Qt::TextWordWrap) << words;
        QTest::newRow("centred on one line") << lines << false << true << centred << lines;
        QTest::newRow("centre wins over word wrap") << words << true << true << centred << words;
        QTest::newRow("empty text") << QString() << true << true << 0 << QString();
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

    // Catches captions of the modern look that are cut instead of shortened, shortened though
    // they fit, or placed by their full width instead of the shortened one.
    void ellipsisCaptions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("cellWidth");
        QTest::addColumn<int>("align");
        QTest::addColumn<char>("horizontal");
        QTest::newRow("centred, too wide") << "Quartalsbesprechung" << 60 << 0 << 'c';
        QTest::newRow("left, too wide") << "Quartalsbesprechung" << 60 << 1 << 'n';
        QTest::newRow("right, too wide") << "Quartalsbesprechung" << 60 << 2 << 'f';
        QTest::newRow("fits: whole") << "Wyk" << 60 << 0 << 'c';
        QTest::newRow("not even the ellipsis fits: empty") << "Quartalsbesprechung" << 8 << 0 << 'c';
    }
    void ellipsisCaptions()
    {
        QFETCH(QString, caption);
        QFETCH(int, cellWidth);
        QFETCH(int, align);
        QFETCH(char, horizontal);
        Surface s(200, 40);
        s.dc.setEllipsis(true);
        const QRect cell(20, 8, cellWidth, 24);
        s.dc.FillRect(cell.x(), cell.y(), cell.width(), cell.height(), kTeal, caption, align);

        const QFontMetrics fm(testFont());
        QString shown = fm.horizontalAdvance(caption) <= cell.width() - 6
                            ? caption
                            : fm.elidedText(caption, Qt::ElideRight, cell.width() - 6);
        if (fm.horizontalAdvance(shown) > cell.width() - 6)
            shown.clear();
        const QPoint origin(axis(horizontal, cell.x(), cell.width(), fm.horizontalAdvance(shown)),
                            axis('c', cell.y(), cell.height(), fm.height()));
        QCOMPARE(s.dc.image(), reference(s.target.size(), cell, kTealRgb, shown, origin, cell));
        QCOMPARE(shown.endsWith(QChar(0x2026)), caption != shown && !shown.isEmpty());
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
        QTest::newRow("classic: a long word cut at the edge") << longWord << true << false << false;
        QTest::newRow("modern: a long word shortened") << longWord << true << false << true;
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

    // Catches a direct surface that buffers, drawing around the owner's clip, and an owner's
    // painter left with our state.
    void painterTargets()
    {
        QImage target = blank(QSize(60, 30), kGrey);
        QPainter painter(&target);
        painter.setPen(Qt::red);
        painter.setClipRect(QRect(0, 0, 50, 30));
        {
            cDC dc;
            dc.Initialize(&painter, 60, 30, false);
            QVERIFY(dc.image().isNull());
            dc.FillRect(0, 0, 60, 30, kTeal);
            QCOMPARE(QImage(target).pixel(10, 10), kTealRgb);
            QCOMPARE(QImage(target).pixel(55, 10), kGrey);
            dc.SetClipRec(0, 0, 20, 30);
            dc.ClipClear();
            dc.FillRect(0, 0, 60, 30, kYellow, QStringLiteral("x"));
            QCOMPARE(QImage(target).pixel(30, 2), kYellowRgb);
            QCOMPARE(QImage(target).pixel(55, 10), kGrey);
            dc.BlastToScreen();
        }
        QCOMPARE(painter.pen().color(), QColor(Qt::red));
        QCOMPARE(painter.clipBoundingRect(), QRectF(0, 0, 50, 30));

        painter.setClipping(false);
        {
            cDC dc;
            dc.Initialize(&painter, 60, 30, true);
            dc.FillRect(0, 0, 60, 30, kTeal);
            QCOMPARE(QImage(target).pixel(55, 10), kGrey);
            dc.BlastToScreen();
            QCOMPARE(QImage(target).pixel(55, 10), kTealRgb);
        }
        painter.end();

        QImage device = blank(QSize(20, 20), kGrey);
        cDC dc;
        dc.Initialize(&device, 20, 20, false);
        dc.FillRect(5, 5, 5, 5, kTeal);
        QCOMPARE(QImage(device).pixel(7, 7), kTealRgb);
    }

    // Catches crashes, and half-done drawing before an overflow is raised.
    void badInput_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<bool>("draws");
        const QImage picture = blank(QSize(10, 10), kYellowRgb);
        QTest::newRow("FillRect past the right end") << Op([](cDC &dc) { dc.FillRect(kMax, 0, 10, 5, kYellow); }) << true << false;
        QTest::newRow("FillRect past the bottom") << Op([](cDC &dc) { dc.FillRect(0, kMax - 5, 10, 10, kYellow); }) << true << false;
        QTest::newRow("FillRect caption before the start")
            << Op([](cDC &dc) { dc.FillRect(kMin, 0, 10, 20, kYellow, QStringLiteral("Termin"), 0); }) << true << false;
        QTest::newRow("DrawRahmen bottom bar past the end")
            << Op([](cDC &dc) { dc.DrawRahmen(0, 0, 10, kMax, kYellow, 1); }) << true << false;
        QTest::newRow("Draw3DRect past the right end") << Op([](cDC &dc) { dc.Draw3DRect(kMax - 5, 0, 10, 10); }) << true << false;
        QTest::newRow("Draw3DRect width minus one") << Op([](cDC &dc) { dc.Draw3DRect(0, 0, kMin, 10); }) << true << false;
        QTest::newRow("Text past the bottom") << Op([](cDC &dc) { dc.Text(QStringLiteral("x"), 0, kMax, 10, 10, false, false); }) << true << false;
        QTest::newRow("InvertRect past the end") << Op([](cDC &dc) { dc.InvertRect(kMax, kMax, 10, 10); }) << true << false;
        QTest::newRow("BlastToScreen past the end") << Op([](cDC &dc) { dc.BlastToScreen(kMax, 0, 10, 10); }) << true << false;
        QTest::newRow("BlastToScreen surface width past the end") << Op([](cDC &dc) { dc.BlastToScreen(kMax - 5); }) << true << false;
        QTest::newRow("bmp past the end") << Op([picture](cDC &dc) { dc.bmp(picture, 0, kMax, 10, 10); }) << true << false;
        QTest::newRow("negative sizes") << Op([picture](cDC &dc) {
            dc.FillRect(10, 10, -5, -5, kYellow, QStringLiteral("Termin"), 0);
            dc.Text(QStringLiteral("Termin"), 10, 10, -3, -3, true, false);
            dc.InvertRect(10, 10, -1, -1);
            dc.bmp(picture, 0, 0, -5, -5);
            dc.Draw3DRect(0, 0, -10, -10, QStringLiteral("x"), 0, 3);
            dc.DrawRahmen(5, 5, -10, -10, kYellow, -2);
            dc.BlastToScreen(0, 0, -3, -3);
        }) << false << false;
        QTest::newRow("huge coordinates within range") << Op([](cDC &dc) {
            dc.FillRect(kMax - 10, kMax - 10, 10, 10, kYellow, QStringLiteral("Termin"), 8);
            dc.FillRect(kMin, kMin, 10, 10, kYellow, QStringLiteral("Termin"), 4);
            dc.Text(QStringLiteral("Termin"), kMin, 0, 100, 100, true, false);
            dc.InvertRect(kMin, kMin, kMax, kMax);
            dc.DrawRahmen(kMin, kMin, 100, 100, kYellow, 100);
        }) << false << false;
        QTest::newRow("whole range with captions") << Op([](cDC &dc) {
            dc.SetClipRec(kMin, kMin, kMax, kMax);
            dc.FillRect(kMin, kMin, kMax, kMax, kYellow, QStringLiteral("Termin"), 0);
            dc.FillRect(-1000000000, -1000000000, 2000000000, 2000000000, kYellow, QStringLiteral("Termin"), 0);
            dc.Text(QStringLiteral("Termin"), -1000000000, -1000000000, 2000000000, 2000000000, false, true);
        }) << false << true;
        QTest::newRow("invalid colours") << Op([](cDC &dc) {
            dc.setTextColor(qint32(0xFF123456));
            dc.FillRect(0, 0, 10, 10, qint32(0x800000FF), QStringLiteral("x"), 0);
            dc.FillRect(10, 0, 10, 10, kMin);
            dc.FillRect(20, 0, 10, 10, -1);
        }) << false << true;
    }
    void badInput()
    {
        QFETCH(Op, op);
        QFETCH(bool, overflow);
        QFETCH(bool, draws);
        Surface s;
        s.dc.FillRect(0, 0, 80, 40, kTeal, QStringLiteral("Vorher"), 0);
        const QImage before = s.dc.image();
        bool threw = false;
        try {
            op(s.dc);
        } catch (const Error &e) {
            threw = true;
            QCOMPARE(e.number(), 6);
        }
        QCOMPARE(threw, overflow);
        if (!draws) {
            QCOMPARE(s.dc.image(), before);
            QCOMPARE(s.target, blank(s.target.size(), kGrey));
        }
        if (overflow) {
            QCOMPARE(s.dc.backcolor(), kTeal);
            QCOMPARE(s.dc.ThreeDFaceColor(), 0);
        }
    }

    // Catches crashes of a surface that was never bound or could not be created.
    void unboundSurface_data()
    {
        QTest::addColumn<QSize>("size");   // invalid: never bound
        QTest::newRow("never bound") << QSize();
        QTest::newRow("zero size") << QSize(0, 40);
        QTest::newRow("negative size") << QSize(-80, -40);
        QTest::newRow("size no screen has") << QSize(100000, 100000);
    }
    void unboundSurface()
    {
        QFETCH(QSize, size);
        QImage target = blank(QSize(80, 40), kGrey);
        const QFont font = testFont();
        cDC dc;
        if (size != QSize())
            dc.Initialize(&target, size.width(), size.height(), true);
        dc.setFont(&font);
        dc.SetClipRec(0, 0, 10, 10);
        dc.FillRect(0, 0, 80, 40, kTeal, QStringLiteral("Termin"), 0);
        dc.Draw3DRect(0, 0, 20, 20, QStringLiteral("x"), 0, 3);
        dc.Text(QStringLiteral("Termin"), 0, 0, 80, 40, true, false);
        dc.InvertRect(0, 0, 10, 10);
        dc.bmp(target, 0, 0, 10, 10);
        dc.ClipClear();
        dc.BlastToScreen();
        QVERIFY(!dc.painter());
        QVERIFY(dc.textWidth(QStringLiteral("w")) > 0);
        QCOMPARE(target, blank(QSize(80, 40), kGrey));
    }
};

QTEST_MAIN(tst_cDC)
#include "tst_cdc.moc"
