#include <dayplex/printing.h>

#include "dialogs/cprintdialog.h"

#include <memory>

namespace Dayplex {

void printNextJobToPdf(const QString &pdfFile, int pageCount)
{
    // The answer removes itself once used, so that the next job asks the user again.
    auto previous = std::make_shared<cPrintDialog::Handler>();
    *previous = cPrintDialog::setHandler([pdfFile, pageCount, previous](cPrintDialog &dialog) {
        const cPrintDialog::Handler answer = cPrintDialog::printToFile(pdfFile, pageCount);
        cPrintDialog::setHandler(*previous);
        return answer(dialog);
    });
}

} // namespace Dayplex
