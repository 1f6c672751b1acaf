#ifndef DAYPLEX_TESTS_PRINTERPAGE_H
#define DAYPLEX_TESTS_PRINTERPAGE_H

// A printer page for tests: the device says it is a printer of the given resolution, and its
// engine keeps where things are drawn (filled rectangles, text runs, each with the clip in force)
// instead of drawing it.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

#include <climits>

class RecordingEngine : public QPaintEngine
{
public:
    struct Drawn
    {
        QRectF rect;   // as given to the engine
        QRectF shown; // what the clip leaves of it
        QString text; // empty for a fill
        qreal points = 0; // a text's font size
    };
    QVector<Drawn> drawn;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            keep(rects[i], QString());
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        keep(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()),
             item.text());
        drawn.last().points = item.font().pointSizeF();
    }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override
    {
        keep(r, QStringLiteral("pixmap"));
    }
    void drawPath(const QPainterPath &path) override
    {
        keep(path.boundingRect(), QStringLiteral("path"));
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override
    {
        keep(QPolygonF(QList<QPointF>(points, points + count)).boundingRect(),
             QStringLiteral("polygon"));
    }

private:
    void keep(const QRectF &rect, const QString &text)
    {
        const QRectF shown = painter()->hasClipping() ? rect & painter()->clipBoundingRect() : rect;
        drawn.append({rect, shown, text});
    }
};

class PrinterPage : public QPaintDevice
{
public:
    PrinterPage(QSize size, int dotsPerInch) : m_size(size), m_dpi(dotsPerInch) {}

    QPaintEngine *paintEngine() const override { return &m_engine; }
    int devType() const override { return QInternal::Printer; }
    const QVector<RecordingEngine::Drawn> &drawn() const { return m_engine.drawn; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return int(m_size.width() * 25.4 / m_dpi);
        case PdmHeightMM: return int(m_size.height() * 25.4 / m_dpi);
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return m_dpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize m_size;
    int m_dpi;
    mutable RecordingEngine m_engine;
};

#endif
