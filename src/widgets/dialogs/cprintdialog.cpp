#include "dialogs/cprintdialog.h"

#include "shared/modalrunner.h"
#include "shared/uitext.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpinBox>

namespace Dayplex {

namespace {

cPrintDialog::Handler &handlerSlot()
{
    static cPrintDialog::Handler handler;
    return handler;
}

} // namespace

cPrintDialog::cPrintDialog(QWidget *parent)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_parent(parent)
{
}

cPrintDialog::~cPrintDialog() = default;

void cPrintDialog::setPageCount(qint32 count)
{
    m_pageCount = count < MaxPageCount ? count : MaxPageCount;
}

/*!
    Shows the dialog modally and returns true when the user confirmed. A handler set with
    setHandler answers instead of the window; its exceptions reach the caller.
*/
bool cPrintDialog::Show()
{
    // A copy, so that a handler may replace itself while it runs.
    const Handler handler = handlerSlot();
    if (handler)
        return handler(*this);
    return exec();
}

bool cPrintDialog::exec()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;

    QPrintDialog dialog(m_printer.get(), m_parent);
    dialog.setObjectName(QLatin1String(ModalWindow::PrintDialog));
    dialog.setWindowTitle(uiText("Dayplex::cCommonCalendar", "Drucken"));
    QSpinBox *pages = nullptr;
    QCheckBox *preview = nullptr;
    // Owned here, since dialogs that ignore option tabs (the native ones) never adopt it;
    // declared after the dialog so that it goes first.
    std::unique_ptr<QWidget> tab;
    if (m_mode == 1) {
        tab = std::make_unique<QWidget>();
        tab->setWindowTitle(uiText("Dayplex::cCommonCalendar", "Kalender"));
        auto *form = new QFormLayout(tab.get());
        pages = new QSpinBox(tab.get());
        pages->setObjectName(QStringLiteral("txtPageCount"));
        pages->setRange(1, MaxPageCount);
        pages->setValue(qBound(1, m_pageCount, MaxPageCount));
        form->addRow(uiText("Dayplex::cCommonCalendar", "Anzahl Seiten:"), pages);
        preview = new QCheckBox(uiText("Dayplex::cCommonCalendar", "Seitenansicht statt Drucken"), tab.get());
        preview->setObjectName(QStringLiteral("chkPreview"));
        preview->setChecked(m_preview);
        form->addRow(preview);
        dialog.setOptionTabs({tab.get()});
    }
    runModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    if (pages)
        setPageCount(pages->value());
    if (preview)
        m_preview = preview->isChecked();
    return true;
}

qint32 cPrintDialog::PrinterIndex() const
{
    if (m_printer->outputFormat() != QPrinter::NativeFormat)
        return -1;
    return qint32(QPrinterInfo::availablePrinterNames().indexOf(m_printer->printerName()));
}

cPrintDialog::Handler cPrintDialog::setHandler(Handler handler)
{
    Handler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

cPrintDialog::Handler cPrintDialog::printToFile(const QString &pdfFile, qint32 pageCount)
{
    return [pdfFile, pageCount](cPrintDialog &dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(pdfFile);
        dialog.setPageCount(pageCount);
        dialog.setPreview(false);
        return true;
    };
}

cPrintDialog::Handler cPrintDialog::preview()
{
    return [](cPrintDialog &dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.setPreview(true);
        return true;
    };
}

cPrintDialog::Handler cPrintDialog::cancel()
{
    return [](cPrintDialog &) { return false; };
}

} // namespace Dayplex
