#include "dialogs/cprintpreview.h"

#include "shared/modalrunner.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cmath>
#include <exception>

namespace Dayplex {

namespace {

cPrintPreview::Handler &handlerSlot()
{
    static cPrintPreview::Handler handler;
    return handler;
}

int dotsPerMeter(int dotsPerInch)
{
    return int(std::nearbyint(dotsPerInch / 0.0254));
}

} // namespace

cPrintPreview::cPrintPreview(QPrinter *printer, QWidget *parent)
    : m_printer(printer)
    , m_parent(parent)
{
}

cPrintPreview::~cPrintPreview()
{
    finishPage();
}

void cPrintPreview::SetPageSize(qint32 width, qint32 height)
{
    if (width < 1 || height < 1 || width > MaxPageSide || height > MaxPageSide)
        throw Error(InvalidArgument, QStringLiteral("Die Seitengröße %1 x %2 Pixel ist für die "
                                                    "Seitenansicht ungültig.")
                                         .arg(width)
                                         .arg(height));
    finishPage();
    QImage page(width, height, QImage::Format_RGB32);
    if (page.isNull())
        throw Error(InvalidArgument, QStringLiteral("Für die Seitenansicht ist nicht genug "
                                                    "Speicher frei."));
    page.fill(Qt::white);
    if (m_printer) {
        page.setDotsPerMeterX(dotsPerMeter(m_printer->logicalDpiX()));
        page.setDotsPerMeterY(dotsPerMeter(m_printer->logicalDpiY()));
    }
    m_page = page;
}

QPainter *cPrintPreview::hDC()
{
    if (m_page.isNull())
        return nullptr;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(&m_page)) {
            m_painter.reset();
            return nullptr;
        }
    }
    return m_painter.get();
}

void cPrintPreview::finishPage()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

bool cPrintPreview::NewPage()
{
    if (m_page.isNull() || pageCount() >= MaxPages)
        return false;
    finishPage();
    QImage next(m_page.size(), QImage::Format_RGB32);
    if (next.isNull())
        return false;
    next.fill(Qt::white);
    next.setDotsPerMeterX(m_page.dotsPerMeterX());
    next.setDotsPerMeterY(m_page.dotsPerMeterY());
    m_done.append(m_page);
    m_page = next;
    return true;
}

QImage cPrintPreview::pageAt(qint32 n)
{
    finishPage();
    if (n >= 1 && n <= m_done.size())
        return m_done.at(n - 1);
    return n == pageCount() ? m_page : QImage();
}

const QImage &cPrintPreview::page()
{
    finishPage();
    return m_page;
}

/*!
    Finishes the page and shows it in the print preview dialog until the user closes it. A
    handler set with setHandler gets the preview instead; its exceptions reach the caller.
*/
void cPrintPreview::Show()
{
    finishPage();
    const Handler handler = handlerSlot();
    if (handler) {
        handler(*this);
        return;
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    std::unique_ptr<QPrintPreviewDialog> dialog =
        m_printer ? std::make_unique<QPrintPreviewDialog>(m_printer, m_parent)
                  : std::make_unique<QPrintPreviewDialog>(m_parent);
    dialog->setObjectName(QLatin1String(ModalWindow::PrintPreview));
    dialog->setWindowTitle(uiText("Dayplex::cCommonCalendar", "Seitenansicht"));
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
                     [this](QPrinter *target) { renderPages(target); });
    runModal(*dialog);
}

int cPrintPreview::renderPages(QPrinter *target)
{
    // Runs inside the preview window's event loop: nothing may escape.
    try {
        finishPage();
        if (!target || m_page.isNull())
            return 0;
        QPainter painter;
        if (!painter.begin(target))
            return 0;
        const QSize area(target->width(), target->height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const qint32 pages = pageCount();
        for (qint32 n = 1; n <= pages; ++n) {
            if (n > 1)
                target->newPage();
            const QImage image = pageAt(n);
            painter.drawImage(QRect(QPoint(0, 0), image.size().scaled(area, Qt::KeepAspectRatio)), image);
        }
        painter.end();
        return pages;
    } catch (const std::exception &e) {
        qCWarning(lcDayplexModal, "preview page not drawn: %s", e.what());
        return 0;
    } catch (...) {
        qCWarning(lcDayplexModal, "preview page not drawn");
        return 0;
    }
}

cPrintPreview::Handler cPrintPreview::setHandler(Handler handler)
{
    Handler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace Dayplex
