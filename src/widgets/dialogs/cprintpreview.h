#ifndef DAYPLEX_CPRINTPREVIEW_H
#define DAYPLEX_CPRINTPREVIEW_H

#include <QImage>
#include <QSize>
#include <QVector>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace Dayplex {

// The preview of one print job: page images drawn through hDC(), shown in Qt's print preview
// dialog, from which the user may still print them. A job that lays out its own pages goes on
// with NewPage; the classic job previews one page.
//
// The page image carries the printer's resolution, so that a font given in points keeps the
// proportions it has on paper; the caller halves the font size along with the page.
//
// Show goes through a replaceable handler, so that tests answer the preview without a window;
// without one, the window runs through the modal runner (<dayplex/modal.h>). renderPages is
// what the window calls for every paint request and can be driven directly.
class cPrintPreview
{
public:
    using Handler = std::function<void(cPrintPreview &preview)>;

    // The largest page side accepted; a preview page is at most 2000 pixels wide.
    static constexpr qint32 MaxPageSide = 20000;

    // printer: the job's printer, for the page layout of the window and for printing from
    // it. It must outlive the preview.
    explicit cPrintPreview(QPrinter *printer, QWidget *parent = nullptr);
    ~cPrintPreview();
    cPrintPreview(const cPrintPreview &) = delete;
    cPrintPreview &operator=(const cPrintPreview &) = delete;

    // Prepares an empty white page of that size. Throws Dayplex::Error for a side below 1 or
    // above MaxPageSide.
    void SetPageSize(qint32 width, qint32 height);
    // The painter of the page, open until the page is finished by Show or page(); nullptr
    // before SetPageSize.
    QPainter *hDC();
    // Finishes the page and starts another of the same size, which hDC() then draws; false
    // (and nothing started) once the preview holds MaxPages pages.
    bool NewPage();
    // Finishes the page and shows the pages modally, or hands them to the handler.
    void Show();

    // The most pages a preview holds: each is an image of up to a few megabytes.
    static constexpr qint32 MaxPages = 40;
    qint32 pageCount() const { return qint32(m_done.size()) + (m_page.isNull() ? 0 : 1); }
    // Page n (from 1) once finished; a null image for another n.
    QImage pageAt(qint32 n);

    QSize pageSize() const { return m_page.size(); }
    // The finished page.
    const QImage &page();
    QPrinter *printer() const { return m_printer; }
    // Draws the pages onto printer pages, each scaled into the printable area with the aspect
    // ratio kept; never throws. Returns the number of pages drawn.
    int renderPages(QPrinter *target);

    // Replaces the handler that answers Show; an empty handler restores the window. Returns
    // the handler in force before.
    static Handler setHandler(Handler handler);

private:
    void finishPage();

    QPrinter *m_printer;
    QWidget *m_parent;
    QVector<QImage> m_done; // the pages before the one drawn now
    QImage m_page;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace Dayplex

#endif
