#include <dayplex/printing.h>

#include "dialogs/cprintdialog.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace Dayplex {

namespace {

// Answers the next print dialog once; the handler in force before comes back at once, so
// that the next job asks the user again.
void answerNextJob(cPrintDialog::Handler answer)
{
    auto previous = std::make_shared<cPrintDialog::Handler>();
    *previous = cPrintDialog::setHandler([answer, previous](cPrintDialog &dialog) {
        cPrintDialog::setHandler(*previous);
        return answer(dialog);
    });
}

} // namespace

void printNextJobToPdf(const QString &pdfFile, int pageCount)
{
    answerNextJob(cPrintDialog::printToFile(pdfFile, pageCount));
}

void previewNextJob()
{
    answerNextJob([](cPrintDialog &dialog) {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull()) {
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setPageSize(QPageSize(QPageSize::A4));
        } else {
            dialog.printer()->setPrinterName(printer.printerName());
        }
        dialog.setPreview(true);
        return true;
    });
}

} // namespace Dayplex
