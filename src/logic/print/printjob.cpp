#include "print/printjob.h"

#include "shared/ccontainer.h"
#include "shared/toolbox.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QPainter>
#include <cmath>
#include <exception>
#include <limits>

namespace Dayplex {

namespace {

constexpr qint32 kPreviewMaxWidth = 2000;
// More views than this on one page only come from a hostile page size; their rectangles
// alone would exhaust memory.
constexpr qint64 kMaxViewsPerPage = 1000000;

bool fitsLong(double value)
{
    return value >= double(std::numeric_limits<qint32>::min())
        && value <= double(std::numeric_limits<qint32>::max());
}

bool fitsLong(qint64 value)
{
    return value >= std::numeric_limits<qint32>::min()
        && value <= std::numeric_limits<qint32>::max();
}

qint32 readLong(const cContainer &layout, const char *key)
{
    try {
        return layout.longValue(QLatin1String(key));
    } catch (const std::exception &) {
        warnCaught(lcPrint(), QStringLiteral("print layout value %1 read as 0").arg(QLatin1String(key)));
        return 0;
    }
}

// One side of a view: the page minus both margins and the gaps between the views, shared
// out among them. The margins and gaps are converted as one sum, as millimetres. A count of
// 0 or a sum beyond 32 bits gives 0 (the value the size has when its computation fails).
qint32 viewExtent(qint32 pagePixels, qint32 marginA, qint32 marginB, qint32 gap, qint32 count,
                  int dotsPerInch, double scale, qint32 (*mmToPixel)(qint32, int))
{
    if (count == 0)
        return 0;
    const qint64 mm = qint64(marginA) + marginB + qint64(gap) * (qint64(count) - 1);
    if (!fitsLong(mm))
        return 0;
    const double pixels = double(mmToPixel(qint32(mm), dotsPerInch)) * scale;
    const double extent = std::nearbyint((double(pagePixels) - pixels) / double(count));
    return std::isfinite(extent) && fitsLong(extent) ? qint32(extent) : 0;
}

qint32 scaledPixels(qint32 mm, int dotsPerInch, double scale, qint32 (*mmToPixel)(qint32, int))
{
    const double pixels = std::nearbyint(double(mmToPixel(mm, dotsPerInch)) * scale);
    return std::isfinite(pixels) && fitsLong(pixels) ? qint32(pixels) : 0;
}

} // namespace

PrintLayout PrintLayout::fromContainer(const cContainer &layout)
{
    PrintLayout values;
    values.marginLeft = readLong(layout, "lngRandLinks");
    values.marginRight = readLong(layout, "lngRandRechts");
    values.marginTop = readLong(layout, "lngRandOben");
    values.marginBottom = readLong(layout, "lngRandUnten");
    values.gapHorizontal = readLong(layout, "lngAbstandHorizontal");
    values.gapVertical = readLong(layout, "lngAbstandVertikal");
    values.viewsDown = readLong(layout, "lngAnzahlAnsichtenUebereinander");
    values.viewsAcross = readLong(layout, "lngAnzahlAnsichtenNebeneinander");
    try {
        values.landscape = layout.boolValue(QStringLiteral("blnQuerformat"));
    } catch (const std::exception &) {
        warnCaught(lcPrint(), QStringLiteral("print layout value blnQuerformat read as portrait"));
        values.landscape = false; // an empty text is no number, and counts as portrait
    }
    values.font = layout.textValue(QStringLiteral("strFont"));
    return values;
}

PrintPage previewPage(qint32 width, qint32 height, double fontPointSize)
{
    PrintPage page;
    page.width = width;
    page.height = height;
    page.fontPointSize = fontPointSize;
    while (page.width > kPreviewMaxWidth) {
        page.width = qint32(std::nearbyint(page.width / 2.0));
        page.height = qint32(std::nearbyint(page.height / 2.0));
        page.fontPointSize /= 2.0;
        page.scale /= 2.0;
    }
    return page;
}

qint32 pagesToPrint(qint32 requestedPages, bool preview)
{
    if (preview)
        return 1;
    return requestedPages > 1 ? requestedPages : 1;
}

PrintGrid::PrintGrid(const PrintLayout &layout, const PrintPage &page, int dotsPerInchX,
                     int dotsPerInchY)
    : m_layout(layout)
{
    const double scale = page.scale;
    m_viewWidth = viewExtent(page.width, layout.marginLeft, layout.marginRight,
                             layout.gapHorizontal, layout.viewsAcross, dotsPerInchX, scale,
                             &cToolbox::MmToPixelX);
    m_viewHeight = viewExtent(page.height, layout.marginTop, layout.marginBottom,
                              layout.gapVertical, layout.viewsDown, dotsPerInchY, scale,
                              &cToolbox::MmToPixelY);
    m_originX = scaledPixels(layout.marginLeft, dotsPerInchX, scale, &cToolbox::MmToPixelX);
    m_originY = scaledPixels(layout.marginTop, dotsPerInchY, scale, &cToolbox::MmToPixelY);
    m_stepGapX = scaledPixels(layout.gapHorizontal, dotsPerInchX, scale, &cToolbox::MmToPixelX);
    m_stepGapY = scaledPixels(layout.gapVertical, dotsPerInchY, scale, &cToolbox::MmToPixelY);

    // Negative counts with margins wider than the page would give a positive size, and
    // negative gaps could fit any number of views: both are refused with the size check.
    const bool distancesUsable = layout.marginLeft >= 0 && layout.marginRight >= 0
        && layout.marginTop >= 0 && layout.marginBottom >= 0 && layout.gapHorizontal >= 0
        && layout.gapVertical >= 0;
    m_valid = distancesUsable && layout.viewsAcross > 0 && layout.viewsDown > 0
        && std::isfinite(scale) && scale > 0 && m_viewWidth >= MinimumViewSize
        && m_viewHeight >= MinimumViewSize
        && qint64(layout.viewsAcross) * layout.viewsDown <= kMaxViewsPerPage;
}

qint32 PrintGrid::viewsPerPage() const
{
    if (!m_valid)
        return 0;
    return m_layout.viewsAcross * m_layout.viewsDown;
}

QVector<QRect> PrintGrid::viewRects() const
{
    QVector<QRect> rects;
    if (!m_valid)
        return rects;
    rects.reserve(viewsPerPage());
    qint64 y = m_originY;
    for (qint32 row = 0; row < m_layout.viewsDown; ++row) {
        qint64 x = m_originX;
        for (qint32 column = 0; column < m_layout.viewsAcross; ++column) {
            rects.append(QRect(int(x), int(y), m_viewWidth, m_viewHeight));
            x += qint64(m_viewWidth) + m_stepGapX;
        }
        y += qint64(m_viewHeight) + m_stepGapY;
    }
    return rects;
}

void requirePrintView(const QPainter *painter, qint32 width, qint32 height)
{
    if (!painter || !painter->isActive())
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: kein aktives Druckziel."));
    if (width < 1 || height < 1)
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: die Ansicht hat keine Fläche."));
}

} // namespace Dayplex
