#ifndef DAYPLEX_CDC_H
#define DAYPLEX_CDC_H

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QRegion>
#include <QString>

#include <optional>

class QFontMetrics;
class QPaintDevice;

namespace Dayplex {

// The drawing surface of one paint pass. On the screen everything is drawn into an offscreen
// image that reaches the target in one drawImage (BlastToScreen), so a repaint never shows
// half-drawn states; for printing it draws straight onto the printer's painter.
//
// Colours are Windows colour values 0x00BBGGRR; a value with the high bit set is a system colour,
// resolved through the application palette. A rectangle (left, top, width, height) covers
// x = left .. left + width - 1 and y = top .. top + height - 1. Coordinate sums that leave the
// 32-bit range throw Dayplex::Error 6 before anything is drawn; negative or zero sizes draw
// nothing. A fresh offscreen surface is black, like a fresh compatible bitmap.
class cDC
{
public:
    cDC();
    ~cDC();
    cDC(const cDC &) = delete;
    cDC &operator=(const cDC &) = delete;

    // Copies width x height pixels from (0, 0) of source to (left, top), unscaled.
    void bmp(const QImage &source, qint32 left, qint32 top, qint32 width, qint32 height);
    void ClipClear();
    // A frame of thickness dicke whose right and bottom bars lie just outside the box; the
    // dicke x dicke square at (x + breite, y + hoehe) stays unpainted. Leaves backcolor = Farbe.
    void DrawRahmen(qint32 x, qint32 y, qint32 breite, qint32 hoehe, qint32 Farbe, qint32 dicke);
    // A system colour becomes its current colour; anything else comes back unchanged.
    static qint32 OLE2RGBColor(qint32 lngColor);
    static QColor toQColor(qint32 windowsColour);
    // Right and bottom edges exclusive.
    void SetClipRec(qint32 x1, qint32 y1, qint32 x2, qint32 y2);
    void Text(const QString &s, qint32 left, qint32 top, qint32 width, qint32 height,
              bool bWordWrap, bool bcenter);
    // A path in the colour, smoothed, within the clip: stroked with lines of width pixels
    // (round ends), or filled.
    void strokePath(const QPainterPath &path, qint32 rgbColor, qreal width);
    void fillPath(const QPainterPath &path, qint32 rgbColor);
    // Applies the font given to setFont again, after its size or style was changed.
    void UpdateFont();

    qint32 backcolor() const { return m_backColor; }
    void setBackcolor(qint32 rgbNew) { m_backColor = rgbNew; }
    qint32 TextColor() const { return m_textColor; }
    void setTextColor(qint32 rgbNew) { m_textColor = rgbNew; }
    // The font belongs to the caller and must live as long as this object uses it. nullptr
    // goes back to the font that was in force before the first font was set.
    const QFont *Font() const { return m_font; }
    void setFont(const QFont *NewFont);

    // 0 until the first Draw3DRect fetches them.
    qint32 ThreeDFaceColor() const { return m_face; }
    qint32 ThreeDHighlightColor() const { return m_highlight; }
    qint32 ThreeDShadowColor() const { return m_shadow; }

    // Binds the surface to a device. flickerFree: draw into an offscreen image that
    // BlastToScreen copies to the target; otherwise draw straight onto the target.
    void Initialize(QPaintDevice *target, qint32 CtlWidth, qint32 CtlHeight, bool bFlickerFree);
    // The same for a target that already has a painter (paintEvent, a printer page). The painter
    // must outlive this object; its state is saved here and restored at the end.
    void Initialize(QPainter *targetPainter, qint32 CtlWidth, qint32 CtlHeight, bool bFlickerFree);

    // CaptionAlign = 3 x vertical + horizontal (0 centre, 1 left/top, 2 right/bottom), 3 px
    // inset; outside 0..8 the caption starts at (0, 0). One line, cut at the rectangle.
    void FillRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight, qint32 rgbColor,
                  const QString &sCaption = QString(), qint32 CaptionAlign = 0);
    // What FillRect of the whole rectangle in frameColour and then FillRect of the inside, line
    // pixels in from every edge, in rgbColor with the caption paint; on an image drawn straight
    // into (see m_rasterBits) each pixel is written once.
    void fillFramed(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight, qint32 frameColour,
                    qint32 line, qint32 rgbColor, const QString &sCaption = QString(),
                    qint32 CaptionAlign = 0);
    // Appearance 0 raised, 1 flat, 2 sunken, 3 pressed (face inverted), others black edges.
    void Draw3DRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight,
                    const QString &sCaption = QString(), qint32 CaptionAlign = 0,
                    qint32 Appearance = 0);
    void InvertRect(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight);
    // A width or height of -1 stands for the whole surface.
    void BlastToScreen(qint32 left = 0, qint32 top = 0, qint32 width = -1, qint32 height = -1);

    // True when an offscreen picture of width x height device pixels can be made: at most
    // 32767 pixels a side (the raster engine's limit) and 2^26 pixels in all. The views'
    // screen surfaces and their paintToImage share this rule.
    static bool fitsSurface(qint64 width, qint64 height);
    // A white picture of size logical pixels at the given device pixel ratio (1 to 4), for a
    // view's paintToImage; null when the ratio is out of range or the picture would not fit.
    static QImage blankPicture(const QSize &size, qreal devicePixelRatio);
    // The same picture not filled, for a paint that covers every pixel itself.
    static QImage unfilledPicture(const QSize &size, qreal devicePixelRatio);
    // The device pixels of such a picture; an empty size where blankPicture gives a null image.
    static QSize pictureSize(const QSize &size, qreal devicePixelRatio);

    const QImage &image() const { return m_image; }   // the offscreen surface (null when direct)
    QPainter *painter() const { return m_draw; }       // nullptr when nothing can be drawn
    int textWidth(const QString &s) const;
    int textHeight(const QString &s) const;

    // Device pixels of a line that is one pixel wide on the surface: 1 on screens and images;
    // on a printer at least MinimumLinePoints, since one pixel of a 1200 dpi page vanishes on
    // paper.
    static constexpr double MinimumLinePoints = 0.25;
    qint32 lineWidth() const { return m_lineWidth; }

    // Drawing stays inside this rectangle, beneath the clip rectangles of SetClipRec, until
    // the bounds are lifted with std::nullopt. Printing uses it where the screen has the edge
    // of its offscreen image.
    void setBounds(const std::optional<QRect> &area);

    // With the ellipsis on, a caption or text that does not fit its rectangle ends with "…"
    // at a letter boundary instead of being cut at the edge; wrapped text shows only the lines
    // that fit whole.
    void setEllipsis(bool on) { m_ellipsis = on; }
    bool ellipsis() const { return m_ellipsis; }

private:
    struct Fill;

    void terminate();
    void createSurface();
    void setUpPainter();
    void applyFont(const QFont &font);
    void applyClip(const QRect *extra);
    // Brings the painter's clip up to m_clip before the painter draws.
    void syncClip();
    QRect visibleArea() const;
    QRect pageArea() const;
    QFontMetrics metrics() const;
    Fill prepareFill(qint32 nLeft, qint32 nTop, qint32 nWidth, qint32 nHeight,
                     const QString &sCaption, qint32 CaptionAlign) const;
    void paintFill(const Fill &fill, qint32 rgbColor);
    // The pixels the painter would write, straight into the image it draws on (see m_raster).
    void setUpRaster();
    QRect rasterClip(const QRect &area) const;
    void invert(qint64 left, qint64 top, qint64 right, qint64 bottom);
    void elidedText(const QString &s, const QRect &box, bool bWordWrap, bool bcenter);

    QPainter *m_draw = nullptr;            // the painter all drawing goes through
    QPaintDevice *m_targetDevice = nullptr;
    QPainter *m_targetPainter = nullptr;   // the caller's painter, if one was given
    bool m_restoreTarget = false;          // m_targetPainter was saved and draws directly
    QPainter m_ownPainter;                 // on the offscreen image or on m_targetDevice
    QImage m_image;
    bool m_offscreen = false;
    const QFont *m_font = nullptr;
    std::optional<QFont> m_fontPrevious;
    QFont m_currentFont;
    qint32 m_width = 0;
    qint32 m_height = 0;
    qint32 m_face = 0;
    qint32 m_highlight = 0;
    qint32 m_shadow = 0;
    qint32 m_backColor = 0x00FFFFFF;       // a fresh device context: white background,
    qint32 m_textColor = 0;                // black text
    std::optional<QRect> m_clip;
    // The painter's clip lags behind m_clip until the painter draws: rectangles filled and
    // copied straight into the raster read m_clip themselves, and an appointment's clip set
    // for them alone costs the painter nothing.
    bool m_clipStale = false;
    std::optional<QRegion> m_baseClip;     // the caller's clip, kept under ours
    std::optional<QRect> m_bounds;
    qint32 m_lineWidth = 1;
    bool m_ellipsis = false;
    // The visible area does not change while a surface is bound; worked out on first use.
    mutable std::optional<QRect> m_visible;
    // The lines of an RGB32 image the painter draws on unscaled, without a clip or mode of its
    // owner's: rectangles are filled and copied there directly, as QPainter's work per line
    // is most of what a narrow rectangle costs. Null for any other surface.
    uchar *m_rasterBits = nullptr;
    qsizetype m_rasterStride = 0;
    QRect m_rasterRect;
};

} // namespace Dayplex

#endif
