#include "dialogs/ccommoncalendar.h"

#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "print/printjob.h"
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/fontstring.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

#include <cmath>
#include <functional>
#include <memory>

namespace Dayplex {

QString cCommonCalendar::GetDefaultOptions() const
{
    return defaultOptionsString();
}

QString cCommonCalendar::GetDefaultLayoutOptions() const
{
    return defaultLayoutString();
}

namespace {

const char kInvalidPrintLayout[] = QT_TRANSLATE_NOOP(
    "Dayplex::cCommonCalendar",
    "Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen.");

// Keeps the view in print mode while the job runs. The reset also happens when the dialog is
// cancelled, the layout refused or an error leaves the driver, and survives a view that is
// deleted meanwhile.
class PrintModeScope
{
public:
    explicit PrintModeScope(QObject *control)
        : m_control(control)
    {
        control->setProperty("ForPrinting", true);
    }
    ~PrintModeScope() { end(); }
    PrintModeScope(const PrintModeScope &) = delete;
    PrintModeScope &operator=(const PrintModeScope &) = delete;

    void end() noexcept
    {
        if (!m_active)
            return;
        m_active = false;
        try {
            if (m_control)
                m_control->setProperty("ForPrinting", false);
        } catch (...) {
            warnCaught(lcPrint(), QStringLiteral("view left in print mode"));
        }
    }

private:
    QPointer<QObject> m_control;
    bool m_active = true;
};

// A view that fails to draw one view or to scroll does not stop the job: the step is skipped.
// The painter state is restored so that a view failing halfway leaves no pen or font behind.
void printView(QObject *control, QPainter *hdc, const QRect &view)
{
    hdc->save();
    try {
        QMetaObject::invokeMethod(control, "PrintAnsicht", Qt::DirectConnection,
                                  Q_ARG(QPainter *, hdc), Q_ARG(qint32, view.x()),
                                  Q_ARG(qint32, view.y()), Q_ARG(qint32, view.width()),
                                  Q_ARG(qint32, view.height()));
    } catch (...) {
        warnCaught(lcPrint(), QStringLiteral("view not printed"));
    }
    hdc->restore();
}

void scrollOnePage(QObject *control)
{
    try {
        // The views read the direction as a 16-bit number; 999 means one page forward.
        QMetaObject::invokeMethod(control, "Scroll", Qt::DirectConnection,
                                  Q_ARG(QVariant, QVariant::fromValue(qint16(999))));
    } catch (...) {
        warnCaught(lcPrint(), QStringLiteral("view not scrolled to the next page"));
    }
}

} // namespace

namespace {

// What a job has set up once the user confirmed and the page is ready: the printer, the grid
// of views, the page count and whether it goes to the preview.
struct JobPage
{
    QPrinter *printer = nullptr;
    QPainter *target = nullptr;
    // Starts the next page and answers the painter that draws it; nullptr when the preview
    // holds no more pages.
    std::function<QPainter *()> nextPage;
    const PrintGrid *grid = nullptr;
    qint32 pages = 1;
    bool preview = false;
};

// One print job of a view: the dialog, the page set up from the layout and the views' grid,
// then `body` draws the pages. The view is in print mode throughout.
QVariant runPrintJob(QObject *control, bool blnPrintPreview, const cContainer &layout,
                     const std::function<void(const JobPage &)> &body)
{
    if (!control)
        throw Error(InvalidArgument, QStringLiteral("PrintCalendar braucht die Ansicht, "
                                                    "die gedruckt werden soll."));
    if (!qGuiApp)
        throw Error(InvalidArgument, QStringLiteral("Drucken braucht eine QGuiApplication."));

    PrintModeScope printMode(control);
    QWidget *parent =
        control->isWidgetType() ? static_cast<QWidget *>(control)->window() : nullptr;

    cPrintDialog dialog(parent);
    dialog.setMode(1);
    dialog.setPageCount(1);
    if (!dialog.Show())
        return QVariant();
    // The dialog configured the chosen printer (or a file) itself; it is the job's printer.
    QPrinter *printer = dialog.printer();
    const bool preview = blnPrintPreview || dialog.Preview();
    const qint32 pages = pagesToPrint(dialog.PageCount(), preview);
    std::unique_ptr<cPrintPreview> previewWindow;
    if (preview)
        previewWindow = std::make_unique<cPrintPreview>(printer, parent);

    // From here on a step that fails is skipped and the job goes on with what it has.
    const PrintLayout values = PrintLayout::fromContainer(layout);
    printer->setPageOrientation(values.landscape ? QPageLayout::Landscape
                                                 : QPageLayout::Portrait);
    QFont font = fontFromString(values.font);

    const QRectF printable = printer->pageRect(QPrinter::DevicePixel);
    PrintPage page;
    page.width = qint32(std::nearbyint(printable.width()));
    page.height = qint32(std::nearbyint(printable.height()));
    page.fontPointSize = font.pointSizeF();
    if (preview) {
        page = previewPage(page.width, page.height, page.fontPointSize);
        try {
            previewWindow->SetPageSize(page.width, page.height);
        } catch (const Error &) {
            warnCaught(lcPrint(), QStringLiteral("preview page size not set"));
        }
    }
    if (page.fontPointSize > 0)
        font.setPointSizeF(page.fontPointSize);

    // Millimetres are converted at the printer's full resolution, then scaled with the page.
    const PrintGrid grid(values, page, printer->logicalDpiX(), printer->logicalDpiY());
    if (!grid.isValid()) {
        cTools::Message(uiText("Dayplex::cCommonCalendar", kInvalidPrintLayout), Prompt::Kind::Information,
                        uiText("Dayplex::cCommonCalendar", "Kalender"));
        return QVariant();
    }

    cTools tools;
    tools.WaitCursor(true);
    QPainter printerPainter;
    QPainter *target = nullptr;
    if (preview) {
        target = previewWindow->hDC();
    } else if (printerPainter.begin(printer)) {
        target = &printerPainter;
    }
    if (!target) {
        throw Error(InvalidArgument,
                    QStringLiteral("Der Druck konnte nicht beginnen: %1")
                        .arg(printer->outputFileName().isEmpty() ? printer->printerName()
                                                                 : printer->outputFileName()));
    }
    target->setFont(font);

    JobPage job;
    job.printer = printer;
    job.target = target;
    job.nextPage = [&]() -> QPainter * {
        if (!preview) {
            printer->newPage();
            return target;
        }
        QPainter *next = previewWindow->NewPage() ? previewWindow->hDC() : nullptr;
        if (next)
            next->setFont(font);
        return next;
    };
    job.grid = &grid;
    job.pages = pages;
    job.preview = preview;
    body(job);
    tools.WaitCursor(false);

    printMode.end();
    if (preview) {
        previewWindow->Show();
    } else {
        // Ending the document spools it (or writes the file).
        printerPainter.end();
    }
    return QVariant();
}


} // namespace

/*!
    Runs one print job of \a control with the print layout \a layout: asks for printer,
    page count and preview in the print dialog, sets up the page from the layout (orientation,
    font, margins and gaps in millimetres), divides each page into the layout's grid of views
    and lets the view draw one view per cell through its PrintAnsicht, calling Scroll(999)
    after each. With \a blnPrintPreview, or when the dialog asks for it, one page is drawn into
    the preview window instead of the printer.

    The view is called by name only: ForPrinting is true for the whole job and false again at
    its end, also after a cancel, a refused layout or an error. Returns an empty variant.

    A layout whose views would be narrower or lower than 50 pixels shows the message
    "Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen." and prints
    nothing. Throws Dayplex::Error for a missing view or when the printer cannot start the
    document; errors of the print dialog handler reach the caller unchanged.
*/
QVariant cCommonCalendar::PrintCalendar(QObject *control, bool blnPrintPreview,
                                        const cContainer &layout)
{
    return runPrintJob(control, blnPrintPreview, layout, [control](const JobPage &job) {
        const QVector<QRect> views = job.grid->viewRects();
        const QPointer<QObject> view(control);
        for (qint32 pageNumber = 1; pageNumber <= job.pages && view; ++pageNumber) {
            for (const QRect &rect : views) {
                if (!view)
                    break; // the host deleted the view from one of its handlers
                printView(view, job.target, rect);
                if (view)
                    scrollOnePage(view);
            }
            if (!job.preview && pageNumber < job.pages)
                job.printer->newPage();
        }
    });
}

/*!
    Runs one print job of \a control whose pages the view lays out itself: the dialog, the
    printer and the page are set up as for PrintCalendar, then \a document counts the pages for
    the area inside the layout's margins and draws each of them, "Seite n von m". A preview
    shows them all, up to cPrintPreview::MaxPages. The view is in print mode throughout.
    Returns an empty variant.
*/
QVariant cCommonCalendar::PrintDocument(QObject *control, bool blnPrintPreview,
                                        const cContainer &layout, const PrintedDocument &document)
{
    return runPrintJob(control, blnPrintPreview, layout, [&document](const JobPage &job) {
        QRect area;
        for (const QRect &view : job.grid->viewRects())
            area = area.united(view);
        const qint32 count = std::max(document.pageCount(*job.target, area, job.pages), 1);
        QPainter *target = job.target;
        for (qint32 page = 1; page <= count && target; ++page) {
            target->save();
            try {
                document.paintPage(*target, area, page, count);
            } catch (...) {
                warnCaught(lcPrint(), QStringLiteral("page not printed"));
            }
            target->restore();
            if (page < count)
                target = job.nextPage();
        }
    });
}

} // namespace Dayplex
