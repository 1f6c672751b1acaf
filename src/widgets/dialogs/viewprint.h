#ifndef DAYPLEX_VIEWPRINT_H
#define DAYPLEX_VIEWPRINT_H

// The print job both views run: the print layout put in force, the classic job (which calls the
// view back by name) or the modern document the view lays out itself, and the screen state put
// back afterwards, also when the job fails.
#include "dialogs/ccommoncalendar.h"

#include <dayplex/presentation.h>

#include <functional>

namespace Dayplex {

struct ViewPrintJob
{
    ViewPrintJob(QObject *view, bool preview, Presentation presentation)
        : view(view), preview(preview), presentation(presentation)
    {
    }

    QObject *view;
    bool preview;
    Presentation presentation; // the paper's
    // Puts the print layout in force and returns it.
    std::function<const cContainer &()> applyPrintLayout;
    // The pages of the modern presentation; unused by the classic one.
    cCommonCalendar::PrintedDocument modern;
    // Puts the screen layout and the days shown before back.
    std::function<void()> restoreScreen;
};

// Runs the job through the print dialog (or the preview) and restores the screen; the job's
// error goes on after the restore. Returns what the print driver returns.
QVariant printAndRestore(cCommonCalendar &common, const ViewPrintJob &job);

} // namespace Dayplex

#endif
