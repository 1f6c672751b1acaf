#ifndef DAYPLEX_PRINTJOB_H
#define DAYPLEX_PRINTJOB_H

#include <QRect>
#include <QString>
#include <QVector>

class QPainter;

namespace Dayplex {

class cContainer;

// A printed view's target: an active painter and an area of at least one pixel; throws
// Dayplex::Error 5 otherwise.
void requirePrintView(const QPainter *painter, qint32 width, qint32 height);

// The values of a print layout that decide how a page is set up and divided into views.
// Millimetres for margins and gaps, counts for the views.
struct PrintLayout
{
    qint32 marginLeft = 0;
    qint32 marginRight = 0;
    qint32 marginTop = 0;
    qint32 marginBottom = 0;
    qint32 gapHorizontal = 0;
    qint32 gapVertical = 0;
    qint32 viewsDown = 0;
    qint32 viewsAcross = 0;
    bool landscape = false;
    QString font;

    // Reads the layout keys one by one. A value that cannot be read (hostile text, out of
    // range) leaves its field at 0, false or "", so a broken key never stops the job.
    static PrintLayout fromContainer(const cContainer &layout);
};

// The drawing page of a job: its size in target pixels, the factor applied to millimetre
// distances and the font size in points.
struct PrintPage
{
    qint32 width = 0;
    qint32 height = 0;
    double scale = 1.0;
    double fontPointSize = 0.0;
};

// A printer page of the given printable size, reduced for the preview: halved while wider
// than 2000 pixels, with the scale and the font size halved alongside.
PrintPage previewPage(qint32 width, qint32 height, double fontPointSize);

// How many pages the loop prints for the count the dialog returned: at least one, since the
// count is tested after each page, and only one for a preview.
qint32 pagesToPrint(qint32 requestedPages, bool preview);

// The grid of equally sized views on one page, in the pixels of the drawing target.
class PrintGrid
{
public:
    // Views narrower or lower than this are refused as an unusable layout.
    static constexpr qint32 MinimumViewSize = 50;

    PrintGrid(const PrintLayout &layout, const PrintPage &page, int dotsPerInchX,
              int dotsPerInchY);

    // False when the views would get less than 50 pixels either way, when a margin or gap is
    // negative (views would leave the page or pile up on each other without end), or when a
    // page would hold more than a million views.
    bool isValid() const { return m_valid; }
    qint32 viewWidth() const { return m_viewWidth; }
    qint32 viewHeight() const { return m_viewHeight; }
    qint32 viewsPerPage() const;
    // The rectangles of one page in drawing order: row by row, left to right. Empty when the
    // grid is not valid.
    QVector<QRect> viewRects() const;

private:
    PrintLayout m_layout;
    qint32 m_viewWidth = 0;
    qint32 m_viewHeight = 0;
    qint32 m_originX = 0;
    qint32 m_originY = 0;
    qint32 m_stepGapX = 0;
    qint32 m_stepGapY = 0;
    bool m_valid = false;
};

} // namespace Dayplex

#endif
