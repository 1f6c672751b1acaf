#include "shared/cdc.h"

#include "shared/checkedcoordinate.h"

#include <dayplex/error.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPalette>
#include <QPagedPaintDevice>
#include <QRectF>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

constexpr qint64 kInset = 3;             // caption distance from the edges
constexpr qint64 kFar = qint64(1) << 24; // beyond this nothing is visible; keeps Qt's fixed-point maths safe
constexpr qint32 kMaxSide = 32767;       // the raster engine's limit
constexpr qint64 kMaxArea = qint64(1) << 26;

// The rectangle [left, right) x [top, bottom), cut to the far window; empty when it has no area.
QRect boundedRect(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    left = qBound(-kFar, left, kFar);
    top = qBound(-kFar, top, kFar);
    right = qBound(-kFar, right, kFar);
    bottom = qBound(-kFar, bottom, kFar);
    if (right <= left || bottom <= top)
        return QRect();
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// A caption that starts at its box's near edge shows at most about one character per pixel of
// the box; the rest is neither measured nor drawn (a name of a hundred thousand characters took
// a whole paint to lay out). Centred and far-aligned captions keep everything: where they show
// and what an ellipsis keeps of them depend on the whole text.
QString shownPart(const QString &caption, qint32 width, qint32 align)
{
    constexpr qint64 kSpareCharacters = 256;
    const qint64 most = std::max<qint64>(width, 0) + kSpareCharacters;
    if (caption.size() <= most || align < 0 || align > 8 || align % 3 != 1)
        return caption;
    return caption.left(most);
}

// One axis of a caption origin: 0 centred, 1 after the near inset, 2 before the far inset.
// Centring divides toward zero, so a caption wider than its cell loses equally on both sides.
qint32 captionOrigin(qint32 start, qint32 extent, qint32 size, int choice)
{
    switch (choice) {
    case 0:
        return checkedCoordinate(qint64(start) + checkedCoordinate(qint64(extent) - size) / 2);
    case 1:
        return checkedCoordinate(qint64(start) + kInset);
    default:
        return checkedCoordinate(checkedCoordinate(checkedCoordinate(qint64(start) + extent) - kInset) - size);
    }
}

// A line one surface pixel wide on this device: printers get the minimum physical width at
// their resolution, everything else one pixel.
qint32 lineWidthFor(const QPaintDevice *device)
{
    if (!device)
        return 1;
    const bool printer = device->devType() == QInternal::Printer
                         || dynamic_cast<const QPagedPaintDevice *>(device);
    if (!printer)
        return 1;
    const int dotsPerInch = std::max(device->logicalDpiX(), device->logicalDpiY());
    // The small allowance keeps a width that is whole up to rounding noise from growing a pixel.
    const double pixels = std::ceil(cDC::MinimumLinePoints * dotsPerInch / 72.0 - 1e-6);
    return qint32(std::clamp(pixels, 1.0, 1000.0));
}

QPalette applicationPalette()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::palette();
    return QPalette();
}

} // namespace

struct cDC::Fill
{
    qint64 left = 0;
    qint64 top = 0;
    qint64 right = 0;
    qint64 bottom = 0;
    QString caption;
    qint32 x = 0;
    qint32 y = 0;
    int width = 0;
    int height = 0;
    int ascent = 0;
};

cDC::cDC() = default;

cDC::~cDC()
{
    terminate();
}

void cDC::terminate()
{
    ClipClear();
    if (m_ownPainter.isActive())
        m_ownPainter.end();
    if (m_restoreTarget && m_targetPainter->isActive())
        m_targetPainter->restore();
    m_restoreTarget = false;
    m_draw = nullptr;
    m_rasterBits = nullptr;
    m_visible.reset();
    m_offscreen = false;
    m_baseClip.reset();
    m_bounds.reset();
    m_lineWidth = 1;
    m_targetPainter = nullptr;
    m_targetDevice = nullptr;
}

void cDC::Initialize(QPaintDevice *target, qint32 CtlWidth, qint32 CtlHeight, bool bFlickerFree)
{
    terminate();
    m_image = QImage();
    m_targetDevice = target;
    m_width = CtlWidth;
    m_height = CtlHeight;
    m_lineWidth = lineWidthFor(target);
    if (bFlickerFree)
        createSurface();
    else if (target && m_ownPainter.begin(target))
        m_draw = &m_ownPainter;
    setUpPainter();
}

void cDC::Initialize(QPainter *targetPainter, qint32 CtlWidth, qint32 CtlHeight, bool bFlickerFree)
{
    terminate();
    m_image = QImage();
    m_targetPainter = targetPainter;
    m_width = CtlWidth;
    m_height = CtlHeight;
    m_lineWidth = lineWidthFor(targetPainter ? targetPainter->device() : nullptr);
    if (bFlickerFree) {
        createSurface();
    } else if (targetPainter && targetPainter->isActive()) {
        targetPainter->save();
        m_restoreTarget = true;
        m_draw = targetPainter;
        // Our clip rectangles narrow the owner's clip (a page margin, the exposed region).
        if (targetPainter->hasClipping())
            m_baseClip = targetPainter->clipRegion();
    }
    setUpPainter();
}

bool cDC::fitsSurface(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
           && width * height <= kMaxArea;
}

QSize cDC::pictureSize(const QSize &size, qreal devicePixelRatio)
{
    if (!(devicePixelRatio >= 1 && devicePixelRatio <= 4) || size.width() < 1 || size.height() < 1)
        return QSize();
    const qint64 width = qint64(std::ceil(size.width() * devicePixelRatio));
    const qint64 height = qint64(std::ceil(size.height() * devicePixelRatio));
    if (!fitsSurface(width, height))
        return QSize();
    return QSize(int(width), int(height));
}

QImage cDC::blankPicture(const QSize &size, qreal devicePixelRatio)
{
    QImage image = unfilledPicture(size, devicePixelRatio);
    if (!image.isNull())
        image.fill(Qt::white);
    return image;
}

QImage cDC::unfilledPicture(const QSize &size, qreal devicePixelRatio)
{
    const QSize pixels = pictureSize(size, devicePixelRatio);
    if (pixels.isEmpty())
        return QImage();
    QImage image(pixels, QImage::Format_RGB32);
    if (!image.isNull())
        image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void cDC::createSurface()
{
    // A size no screen has counts as a failed creation: nothing is drawn.
    if (!fitsSurface(m_width, m_height))
        return;
    m_image = QImage(m_width, m_height, QImage::Format_RGB32);
    if (m_image.isNull())
        return;
    m_image.fill(Qt::black);
    m_offscreen = true;
    if (m_ownPainter.begin(&m_image))
        m_draw = &m_ownPainter;
}

void cDC::setUpPainter()
{
    if (!m_draw)
        return;
    setUpRaster();
    m_draw->setRenderHint(QPainter::Antialiasing, false);
    // Text is drawn transparently: every cell is filled before its text, so an opaque text
    // background would only paint the same colour again.
    m_draw->setBackgroundMode(Qt::TransparentMode);
    if (m_font)
        m_draw->setFont(m_currentFont);
    else
        m_currentFont = m_draw->font();
}

void cDC::setUpRaster()
{
    QPaintDevice *device = m_draw->device();
    if (!device || device->devType() != QInternal::Image || m_baseClip)
        return;
    auto *image = static_cast<QImage *>(device);
    // QPainter::begin detached the image: its lines are the painter's.
    if (image->format() != QImage::Format_RGB32 || !image->isDetached()
        || image->devicePixelRatio() != 1 || !m_draw->deviceTransform().isIdentity()
        || m_draw->opacity() != 1.0 || m_draw->compositionMode() != QPainter::CompositionMode_SourceOver
        || !m_draw->paintEngine()->systemClip().isEmpty())
        return;
    m_rasterBits = image->bits();
    m_rasterStride = image->bytesPerLine();
    m_rasterRect = image->rect();
}

QRect cDC::rasterClip(const QRect &area) const
{
    QRect r = area & m_rasterRect;
    if (m_clip)
        r &= *m_clip;
    if (m_bounds)
        r &= *m_bounds;
    return r;
}

void cDC::setFont(const QFont *NewFont)
{
    if (!m_font) {
        if (!NewFont)
            return; // no font was set, so there is nothing to go back to
        m_fontPrevious = m_currentFont;
    }
    m_font = NewFont;
    applyFont(NewFont ? *NewFont : *m_fontPrevious);
}

void cDC::UpdateFont()
{
    if (m_font)
        applyFont(*m_font);
}

void cDC::applyFont(const QFont &font)
{
    m_currentFont = font;
    if (m_draw)
        m_draw->setFont(font);
}

QFontMetrics cDC::metrics() const
{
    return m_draw ? m_draw->fontMetrics() : QFontMetrics(m_currentFont);
}

int cDC::textWidth(const QString &s) const
{
    return metrics().horizontalAdvance(s);
}

int cDC::textHeight(const QString &) const
{
    return metrics().height();
}

QRect cDC::visibleArea() const
{
    if (!m_draw)
        return QRect();
    if (m_offscreen)
        return m_image.rect();
    if (!m_visible)
        m_visible = pageArea();
    return *m_visible;
}

QRect cDC::pageArea() const
{
    const QRectF far(-kFar, -kFar, 2 * kFar, 2 * kFar);
    const QPaintDevice *device = m_draw->device();
    if (!device || device->width() <= 0 || device->height() <= 0)
        return far.toRect();
    bool invertible = false;
    const QTransform toLogical = m_draw->combinedTransform().inverted(&invertible);
    if (!invertible)
        return QRect();
    const QRectF page = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    return (page & far).toAlignedRect().adjusted(-1, -1, 1, 1);
}

void cDC::syncClip()
{
    if (m_clipStale)
        applyClip(nullptr);
}

void cDC::applyClip(const QRect *extra)
{
    m_clipStale = false;
    std::optional<QRect> rect = m_clip;
    if (m_bounds)
        rect = rect ? (*rect & *m_bounds) : *m_bounds;
    if (extra)
        rect = rect ? (*rect & *extra) : *extra;
    if (m_baseClip) {
        m_draw->setClipRegion(*m_baseClip);
        if (rect)
            m_draw->setClipRect(*rect, Qt::IntersectClip);
    } else if (rect) {
        m_draw->setClipRect(*rect);
    } else {
        m_draw->setClipping(false);
    }
}

void cDC::SetClipRec(qint32 x1, qint32 y1, qint32 x2, qint32 y2)
{
    // Like a region, the rectangle orders its corners; equal corners clip everything away.
    const QRect clip = boundedRect(qMin(x1, x2), qMin(y1, y2), qMax(x1, x2), qMax(y1, y2));
    if (m_clip == clip)
        return; // already in force
    m_clip = clip;
    m_clipStale = m_draw != nullptr;
}

void cDC::setBounds(const std::optional<QRect> &area)
{
    m_bounds = area;
    if (m_draw)
        applyClip(nullptr);
}

void cDC::ClipClear()
{
    if (!m_clip)
        return;
    m_clip.reset();
    m_clipStale = m_draw != nullptr;
}

cDC::Fill cDC::prepareFill(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight,
                           const QString &sCaption, qint32 CaptionAlign) const
{
    Fill fill;
    fill.left = nLeft;
    fill.top = nTop;
    fill.right = checkedCoordinate(qint64(nLeft) + nWidth);
    fill.bottom = checkedCoordinate(qint64(nTop) + nHeight);
    if (sCaption.isEmpty())
        return fill;
    const QFontMetrics fm = metrics();
    fill.caption = shownPart(sCaption, nWidth, CaptionAlign);
    fill.width = fm.horizontalAdvance(fill.caption);
    fill.height = fm.height();
    fill.ascent = fm.ascent();
    if (CaptionAlign < 0 || CaptionAlign > 8)
        return fill;
    fill.x = captionOrigin(nLeft, nWidth, fill.width, CaptionAlign % 3);
    fill.y = captionOrigin(nTop, nHeight, fill.height, CaptionAlign / 3);
    const bool cut = fill.x < nLeft || qint64(fill.x) + fill.width > qint64(nLeft) + nWidth;
    if (m_ellipsis && cut) {
        const int room = int(std::clamp<qint64>(qint64(nWidth) - 2 * kInset, 0, kFar));
        fill.caption = fm.elidedText(fill.caption, Qt::ElideRight, room);
        // Where not even the ellipsis fits, the cell stays empty rather than cut.
        if (fm.horizontalAdvance(fill.caption) > room)
            fill.caption.clear();
        fill.width = fm.horizontalAdvance(fill.caption);
        fill.x = captionOrigin(nLeft, nWidth, fill.width, CaptionAlign % 3);
    }
    return fill;
}

void cDC::paintFill(const Fill &fill, qint32 rgbColor)
{
    m_backColor = rgbColor;
    if (!m_draw)
        return;
    const QRect area = boundedRect(fill.left, fill.top, fill.right, fill.bottom) & visibleArea();
    if (area.isEmpty())
        return;
    if (m_rasterBits) {
        const QRect r = rasterClip(area);
        const quint32 pixel = toQColor(rgbColor).rgb();
        const int width = r.width();
        uchar *line = r.isEmpty() ? nullptr : m_rasterBits + r.top() * m_rasterStride + r.left() * 4;
        // Narrow strips (time bars, frames) are most lines: no set-up per line for them.
        for (int y = r.top(); y <= r.bottom(); ++y, line += m_rasterStride) {
            quint32 *pixels = reinterpret_cast<quint32 *>(line);
            switch (width) {
            case 3: pixels[2] = pixel; Q_FALLTHROUGH();
            case 2: pixels[1] = pixel; Q_FALLTHROUGH();
            case 1: pixels[0] = pixel; break;
            default: std::fill(pixels, pixels + width, pixel);
            }
        }
    } else {
        syncClip();
        m_draw->fillRect(area, toQColor(rgbColor));
    }
    if (fill.caption.isEmpty())
        return;
    const QRect textBox = boundedRect(fill.x, fill.y, qint64(fill.x) + fill.width,
                                      qint64(fill.y) + fill.height);
    if (!textBox.intersects(area))
        return;
    applyClip(&area);
    m_draw->setPen(toQColor(m_textColor));
    m_draw->drawText(QPoint(fill.x, fill.y + fill.ascent), fill.caption);
    applyClip(nullptr);
}

void cDC::FillRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight, qint32 rgbColor,
                   const QString &sCaption, qint32 CaptionAlign)
{
    paintFill(prepareFill(nLeft, nTop, nWidth, nHeight, sCaption, CaptionAlign), rgbColor);
}

void cDC::fillFramed(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight, qint32 frameColour,
                     qint32 line, qint32 rgbColor, const QString &sCaption, qint32 CaptionAlign)
{
    const qint32 x = nLeft + line, y = nTop + line;
    const qint32 width = nWidth - 2 * line, height = nHeight - 2 * line;
    if (!m_rasterBits || line <= 0 || width <= 0 || height <= 0) {
        FillRect(nLeft, nTop, nWidth, nHeight, frameColour);
    } else {
        // The frame's four bars around the inside: a pixel filled twice costs a pass over it.
        FillRect(nLeft, nTop, nWidth, line, frameColour);
        FillRect(nLeft, y + height, nWidth, line, frameColour);
        FillRect(nLeft, y, line, height, frameColour);
        FillRect(x + width, y, line, height, frameColour);
    }
    FillRect(x, y, width, height, rgbColor, sCaption, CaptionAlign);
}

void cDC::DrawRahmen(qint32 x, qint32 y, qint32 breite, qint32 hoehe, qint32 Farbe, qint32 dicke)
{
    // All four bars are checked before the first is drawn, so an overflow leaves no half frame.
    const qint32 right = checkedCoordinate(qint64(x) + breite);
    const qint32 bottom = checkedCoordinate(qint64(y) + hoehe);
    const Fill bars[] = {
        prepareFill(x, y, breite, dicke, QString(), 0),
        prepareFill(right, y, dicke, hoehe, QString(), 0),
        prepareFill(x, bottom, breite, dicke, QString(), 0),
        prepareFill(x, y, dicke, hoehe, QString(), 0),
    };
    for (const Fill &bar : bars)
        paintFill(bar, Farbe);
}

void cDC::Draw3DRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight,
                     const QString &sCaption, qint32 CaptionAlign, qint32 Appearance)
{
    const Fill outer = prepareFill(nLeft, nTop, nWidth, nHeight, QString(), 0);
    const Fill inner = prepareFill(nLeft, nTop, checkedCoordinate(qint64(nWidth) - 1),
                                   checkedCoordinate(qint64(nHeight) - 1), QString(), 0);
    const Fill face = prepareFill(checkedCoordinate(qint64(nLeft) + 1), checkedCoordinate(qint64(nTop) + 1),
                                  checkedCoordinate(qint64(nWidth) - 2), checkedCoordinate(qint64(nHeight) - 2),
                                  sCaption, CaptionAlign);
    if (m_face == 0) {
        m_face = OLE2RGBColor(qint32(0x8000000F));      // button face
        m_highlight = OLE2RGBColor(qint32(0x80000014)); // button highlight
        m_shadow = OLE2RGBColor(qint32(0x80000010));    // button shadow
    }
    qint32 outerColour = 0;
    qint32 innerColour = 0;
    switch (Appearance) {
    case 0: outerColour = m_shadow; innerColour = m_highlight; break;    // raised
    case 1: outerColour = m_shadow; innerColour = m_shadow; break;       // flat
    case 2: outerColour = m_highlight; innerColour = m_shadow; break;    // sunken
    case 3: outerColour = m_highlight; innerColour = 0; break;           // pressed
    default: break;
    }
    paintFill(outer, outerColour);
    paintFill(inner, innerColour);
    paintFill(face, m_face);
    if (Appearance == 3)
        invert(face.left, face.top, face.right, face.bottom);
}

void cDC::InvertRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight)
{
    invert(nLeft, nTop, checkedCoordinate(qint64(nLeft) + nWidth), checkedCoordinate(qint64(nTop) + nHeight));
}

void cDC::invert(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    if (!m_draw)
        return;
    QRect area = boundedRect(left, top, right, bottom) & visibleArea();
    if (m_offscreen) {
        if (m_clip)
            area &= *m_clip;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x)
                line[x] ^= 0x00FFFFFFu;
        }
        return;
    }
    // A printer cannot read its page back: its engine has no blend modes, and the page is
    // left as it is rather than painted white.
    if (area.isEmpty() || !m_draw->paintEngine()->hasFeature(QPaintEngine::BlendModes))
        return;
    syncClip();
    const QPainter::CompositionMode mode = m_draw->compositionMode();
    m_draw->setCompositionMode(QPainter::CompositionMode_Difference);
    m_draw->fillRect(area, Qt::white);
    m_draw->setCompositionMode(mode);
}

void cDC::Text(const QString &s, qint32 left, qint32 top, qint32 width, qint32 height,
               bool bWordWrap, bool bcenter)
{
    const qint64 right = checkedCoordinate(qint64(left) + width);
    const qint64 bottom = checkedCoordinate(qint64(top) + height);
    if (s.isEmpty() || !m_draw)
        return;
    const QRect box = boundedRect(left, top, right, bottom);
    // Text that cannot show is not laid out.
    if (!box.intersects(visibleArea()) || (m_clip && !box.intersects(*m_clip)))
        return;
    syncClip();
    if (m_ellipsis) {
        elidedText(s, box, bWordWrap, bcenter);
        return;
    }
    int flags = Qt::AlignLeft | Qt::AlignTop;
    if (bcenter)
        flags = Qt::AlignCenter | Qt::TextSingleLine; // one line: word breaks do not apply
    else if (bWordWrap)
        flags |= Qt::TextWordWrap;
    m_draw->setPen(toQColor(m_textColor));
    m_draw->drawText(box, flags, s); // clips to the box, as no Qt::TextDontClip is given
}

void cDC::elidedText(const QString &s, const QRect &box, bool bWordWrap, bool bcenter)
{
    const QFontMetrics fm = metrics();
    const int width = box.width();
    QString text = s;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_draw->save();
    m_draw->setClipRect(box, Qt::IntersectClip);
    m_draw->setPen(toQColor(m_textColor));
    if (bcenter) {
        // One line, as in the classic look: line breaks become blanks.
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        m_draw->drawText(box, Qt::AlignCenter | Qt::TextSingleLine,
                         fm.elidedText(text, Qt::ElideRight, width));
        m_draw->restore();
        return;
    }

    struct Line
    {
        QString text;
        qreal y;
        qreal ascent;
    };
    QVector<Line> lines;
    QString rest; // what follows the last line that fits
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    qreal y = 0;
    for (int p = 0; p < paragraphs.size() && rest.isEmpty(); ++p) {
        const QString &paragraph = paragraphs[p];
        QTextLayout layout(paragraph, m_draw->font(), m_draw->device());
        QTextOption option;
        // A word wider than the box gets a line of its own, shortened below.
        option.setWrapMode(bWordWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            // The first line is shown even when the box is lower than a line.
            if (y + line.height() > box.height() && !lines.isEmpty()) {
                rest = paragraph.mid(line.textStart());
                for (int next = p + 1; next < paragraphs.size(); ++next)
                    rest += QLatin1Char(' ') + paragraphs[next];
                break;
            }
            lines.append({paragraph.mid(line.textStart(), line.textLength()), y, line.ascent()});
            y += line.height();
            // A word wider than the box is shortened on its line; where not a letter of it
            // fits, the text ends there with one ellipsis instead of a column of them.
            const QString shown = lines.last().text;
            if (bWordWrap && line.naturalTextWidth() > width
                && fm.elidedText(shown, Qt::ElideRight, width).trimmed().size() <= 1) {
                rest = paragraph.mid(line.textStart() + line.textLength());
                for (int next = p + 1; next < paragraphs.size(); ++next)
                    rest += QLatin1Char(' ') + paragraphs[next];
                rest += QChar(0x2026); // so that the shortened line always ends in one
                break;
            }
        }
        layout.endLayout();
    }
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i].text;
        // The last line takes in what did not fit below it, up to the ellipsis.
        if (i == lines.size() - 1 && !rest.trimmed().isEmpty())
            line = fm.elidedText(line + rest, Qt::ElideRight, width);
        else if (fm.horizontalAdvance(line.trimmed()) > width)
            line = fm.elidedText(line, Qt::ElideRight, width);
        m_draw->drawText(QPointF(box.left(), box.top() + lines[i].y + lines[i].ascent), line);
    }
    m_draw->restore();
}

void cDC::bmp(const QImage &source, qint32 left, qint32 top, qint32 width, qint32 height)
{
    const qint64 right = checkedCoordinate(qint64(left) + width);
    const qint64 bottom = checkedCoordinate(qint64(top) + height);
    if (!m_draw || source.isNull() || width <= 0 || height <= 0)
        return;
    const QRect to = boundedRect(left, top, right, bottom) & visibleArea();
    if (to.isEmpty())
        return;
    if (m_rasterBits && source.format() == QImage::Format_RGB32 && source.devicePixelRatio() == 1) {
        const QRect r = rasterClip(to) & source.rect().translated(left, top);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar *from = source.constScanLine(y - top) + (r.left() - left) * 4;
            std::copy(from, from + r.width() * 4, m_rasterBits + y * m_rasterStride + r.left() * 4);
        }
        return;
    }
    const QRect from(int(to.x() - qint64(left)), int(to.y() - qint64(top)), to.width(), to.height());
    syncClip();
    const bool plainCopy = m_draw->paintEngine()->hasFeature(QPaintEngine::PorterDuff);
    const QPainter::CompositionMode mode = m_draw->compositionMode();
    if (plainCopy)
        m_draw->setCompositionMode(QPainter::CompositionMode_Source);
    m_draw->drawImage(to.topLeft(), source, from);
    if (plainCopy)
        m_draw->setCompositionMode(mode);
}

void cDC::strokePath(const QPainterPath &path, qint32 rgbColor, qreal width)
{
    if (!m_draw)
        return;
    syncClip();
    m_draw->save();
    m_draw->setRenderHint(QPainter::Antialiasing);
    m_draw->setPen(QPen(toQColor(rgbColor), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_draw->setBrush(Qt::NoBrush);
    m_draw->drawPath(path);
    m_draw->restore();
}

void cDC::fillPath(const QPainterPath &path, qint32 rgbColor)
{
    if (!m_draw)
        return;
    syncClip();
    m_draw->save();
    m_draw->setRenderHint(QPainter::Antialiasing);
    m_draw->fillPath(path, toQColor(rgbColor));
    m_draw->restore();
}

void cDC::BlastToScreen(qint32 left, qint32 top, qint32 width, qint32 height)
{
    const qint32 w = width == -1 ? m_width : width;
    const qint32 h = height == -1 ? m_height : height;
    const qint64 right = checkedCoordinate(qint64(left) + w);
    const qint64 bottom = checkedCoordinate(qint64(top) + h);
    // Drawing straight onto the target leaves nothing to copy.
    if (!m_offscreen || w <= 0 || h <= 0)
        return;
    const QRect block = boundedRect(left, top, right, bottom) & m_image.rect();
    if (block.isEmpty())
        return;
    if (m_targetPainter) {
        if (m_targetPainter->isActive())
            m_targetPainter->drawImage(block.topLeft(), m_image, block);
        return;
    }
    QPainter out;
    if (m_targetDevice && out.begin(m_targetDevice))
        out.drawImage(block.topLeft(), m_image, block);
}

qint32 cDC::OLE2RGBColor(qint32 lngColor)
{
    const quint32 value = quint32(lngColor);
    if ((value & 0xFFFFFF00u) != 0x80000000u)
        return lngColor; // a plain colour, or nothing we can resolve
    QPalette::ColorGroup group = QPalette::Active;
    QPalette::ColorRole role = QPalette::Window;
    switch (value & 0xFFu) {
    case 1: role = QPalette::Window; break;           // desktop
    case 4: role = QPalette::Window; break;           // menu
    case 5: role = QPalette::Base; break;             // window
    case 7: role = QPalette::WindowText; break;       // menu text
    case 8: role = QPalette::Text; break;             // window text
    case 13: role = QPalette::Highlight; break;
    case 14: role = QPalette::HighlightedText; break;
    case 15: role = QPalette::Button; break;          // button face
    case 16: role = QPalette::Dark; break;            // button shadow
    case 17: group = QPalette::Disabled; role = QPalette::Text; break; // grey text
    case 18: role = QPalette::ButtonText; break;
    case 20: role = QPalette::Light; break;           // button highlight
    case 21: role = QPalette::Shadow; break;          // 3-D dark shadow
    case 22: role = QPalette::Midlight; break;        // 3-D light
    case 23: role = QPalette::ToolTipText; break;
    case 24: role = QPalette::ToolTipBase; break;
    default: return lngColor;
    }
    const QColor colour = applicationPalette().color(group, role);
    return qint32(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

QColor cDC::toQColor(qint32 windowsColour)
{
    const quint32 value = quint32(OLE2RGBColor(windowsColour));
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

} // namespace Dayplex
