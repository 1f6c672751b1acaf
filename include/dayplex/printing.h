#ifndef DAYPLEX_PRINTING_H
#define DAYPLEX_PRINTING_H

#include <dayplex/dayplex_export.h>

#include <QString>

namespace Dayplex {

/// For hosts that print without a user, for example a night job or a command-line export:
/// the print dialog of the next print job (PrintCalendar, PrintGantt, the menu entry) is not
/// shown; the job goes to this PDF file with the given number of pages, as if the user had
/// chosen so. Later jobs show the dialog again.
DAYPLEX_EXPORT void printNextJobToPdf(const QString &pdfFile, int pageCount = 1);

/// For a host's own "print preview" command: the print dialog of the next print job is not
/// shown; the job goes straight to the preview window, on the page of the default printer (or
/// an A4 page when there is none), as if the user had asked for the preview in the dialog.
/// Later jobs show the dialog again.
DAYPLEX_EXPORT void previewNextJob();

} // namespace Dayplex

#endif
