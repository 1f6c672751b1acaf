#ifndef DAYPLEX_PRINTING_H
#define DAYPLEX_PRINTING_H

#include <dayplex/dayplex_export.h>

#include <QString>

namespace Dayplex {

// For hosts that print without a user, for example a night job or a command-line export:
// the print dialog of the next print job (PrintCalendar, PrintGantt, the menu entry) is not
// shown; the job goes to this PDF file with the given number of pages, as if the user had
// chosen so. Later jobs show the dialog again.
DAYPLEX_EXPORT void printNextJobToPdf(const QString &pdfFile, int pageCount = 1);

} // namespace Dayplex

#endif
