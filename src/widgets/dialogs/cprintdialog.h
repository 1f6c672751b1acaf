#ifndef DAYPLEX_CPRINTDIALOG_H
#define DAYPLEX_CPRINTDIALOG_H

#include "print/printchoice.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace Dayplex {

// The print dialog of one job: Qt's print dialog for printer and page setup, plus (in mode 1)
// a tab "Kalender" with the number of pages and the choice of a preview. The printer it
// configures is the printer of the job.
//
// Show goes through a replaceable handler, so that tests and hosts answer the dialog without
// a window: the handler gets the dialog, may set up printer(), PageCount and Preview, and
// returns whether the user confirmed. Without a handler, Qt's dialog runs through the modal
// runner (<dayplex/modal.h>).
class cPrintDialog
{
public:
    using Handler = std::function<bool(cPrintDialog &dialog)>;

    // The dialog offers no more pages than this; larger counts are cut to it.
    static constexpr qint32 MaxPageCount = 999;

    explicit cPrintDialog(QWidget *parent = nullptr);
    ~cPrintDialog();
    cPrintDialog(const cPrintDialog &) = delete;
    cPrintDialog &operator=(const cPrintDialog &) = delete;

    // 1: the dialog offers the page count and the preview; 0: the plain printer dialog.
    qint32 Mode() const { return m_mode; }
    void setMode(qint32 mode) { m_mode = mode; }
    qint32 PageCount() const { return m_pageCount; }
    void setPageCount(qint32 count);
    bool Preview() const { return m_preview; }
    void setPreview(bool preview) { m_preview = preview; }

    // The choice of sheet and period on the "Kalender" tab, offered when set before Show:
    // "cboSheet" (Tagesplan, Wochenplan and, with resourceView, Ressourcenansicht), "dtpFrom"
    // and "dtpTo"; the period decides the pages, so the tab asks for no page count. Without
    // it the tab is as it always was.
    void offerChoice(const PrintChoice &preset, bool resourceView);
    const std::optional<PrintChoice> &choice() const { return m_choice; }
    void setChoice(const PrintChoice &choice);
    bool offersResourceView() const { return m_resourceView; }

    // Shows the dialog modally; true when the user confirmed. Without a QApplication and
    // without a handler it answers false, as a cancel.
    bool Show();
    // The position of the chosen printer in QPrinterInfo::availablePrinterNames(), or -1
    // when the job goes to a file.
    qint32 PrinterIndex() const;
    // The printer the dialog set up; it lives as long as the dialog.
    QPrinter *printer() const { return m_printer.get(); }

    // Replaces the handler that answers Show; an empty handler restores the window. Returns
    // the handler in force before.
    static Handler setHandler(Handler handler);
    // Answers: confirm with output to this PDF file and the given number of pages.
    static Handler printToFile(const QString &pdfFile, qint32 pageCount = 1);
    // Answers: confirm and ask for the preview, with the page set up as for a PDF file.
    static Handler preview();
    // Answers: cancel.
    static Handler cancel();
    // Answers with what an answered dialog holds: its printer (which it hands over), page
    // count and preview. The answered dialog must outlive the answer.
    static Handler takeOver(cPrintDialog &answered);

private:
    bool exec();

    std::unique_ptr<QPrinter> m_printer;
    QWidget *m_parent = nullptr;
    qint32 m_mode = 0;
    qint32 m_pageCount = 1;
    bool m_preview = false;
    std::optional<PrintChoice> m_choice;
    bool m_resourceView = false;
};

} // namespace Dayplex

#endif
