#include "dialogs/cprintdialog.h"

#include "shared/ctools.h"
#include "shared/modalrunner.h"
#include "shared/uitext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
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

// The choice's fields on the tab, read back once the user confirmed.
struct ChoiceFields
{
    QComboBox *sheet = nullptr;
    QDateEdit *from = nullptr;
    QDateEdit *to = nullptr;

    PrintChoice chosen() const
    {
        return {PrintSheet(sheet->currentData().toInt()), toDate(from->date()), toDate(to->date())};
    }
};

QDateEdit *dayField(QWidget *parent, const char *name, Date day)
{
    auto *field = new QDateEdit(toQDate(day), parent);
    field->setObjectName(QLatin1String(name));
    field->setCalendarPopup(true);
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return field;
}

ChoiceFields addChoiceFields(QFormLayout *form, const PrintChoice &preset, bool resourceView)
{
    QWidget *tab = form->parentWidget();
    ChoiceFields fields;
    fields.sheet = new QComboBox(tab);
    fields.sheet->setObjectName(QStringLiteral("cboSheet"));
    fields.sheet->addItem(uiText("Dayplex::cCommonCalendar", "Tagesplan"), int(PrintSheet::Day));
    fields.sheet->addItem(uiText("Dayplex::cCommonCalendar", "Wochenplan"), int(PrintSheet::Week));
    if (resourceView)
        fields.sheet->addItem(uiText("Dayplex::cCommonCalendar", "Ressourcenansicht"),
                              int(PrintSheet::Resource));
    fields.sheet->setCurrentIndex(std::max(fields.sheet->findData(int(preset.sheet)), 0));
    fields.from = dayField(tab, "dtpFrom", preset.firstDay);
    fields.to = dayField(tab, "dtpTo", preset.lastDay);
    form->addRow(uiText("Dayplex::cCommonCalendar", "Drucken:"), fields.sheet);
    form->addRow(uiText("Dayplex::cCommonCalendar", "Von:"), fields.from);
    form->addRow(uiText("Dayplex::cCommonCalendar", "Bis:"), fields.to);
    return fields;
}

// Qt's print dialog that stays open on a period that cannot be printed, with the reason.
class ChoicePrintDialog : public QPrintDialog
{
public:
    using QPrintDialog::QPrintDialog;
    std::function<QString()> refusal;

    void accept() override
    {
        const QString reason = refusal ? refusal() : QString();
        if (!reason.isEmpty()) {
            cTools::Message(reason, Prompt::Kind::Information, uiText("Dayplex::cCommonCalendar", "Drucken"));
            return;
        }
        QPrintDialog::accept();
    }
};

// The choice is what the user came for: Qt's own dialog folds its option tabs away behind a
// button, which is pressed, and the "Kalender" tab comes first.
void showOptionTab(QPrintDialog &dialog, QWidget *tab)
{
    for (auto *box : dialog.findChildren<QDialogButtonBox *>()) {
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == QDialogButtonBox::ResetRole && !tab->isVisibleTo(&dialog))
                button->click();
        }
    }
    for (auto *tabs : dialog.findChildren<QTabWidget *>()) {
        if (tabs->indexOf(tab) >= 0)
            tabs->setCurrentWidget(tab);
    }
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

void cPrintDialog::offerChoice(const PrintChoice &preset, bool resourceView)
{
    m_choice = preset;
    m_resourceView = resourceView;
}

void cPrintDialog::setChoice(const PrintChoice &choice)
{
    m_choice = choice;
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

    ChoicePrintDialog dialog(m_printer.get(), m_parent);
    dialog.setObjectName(QLatin1String(ModalWindow::PrintDialog));
    dialog.setWindowTitle(uiText("Dayplex::cCommonCalendar", "Drucken"));
    QSpinBox *pages = nullptr;
    QCheckBox *preview = nullptr;
    std::optional<ChoiceFields> choice;
    // Owned here, since dialogs that ignore option tabs (the native ones) never adopt it;
    // declared after the dialog so that it goes first.
    std::unique_ptr<QWidget> tab;
    if (m_mode == 1) {
        tab = std::make_unique<QWidget>();
        tab->setWindowTitle(uiText("Dayplex::cCommonCalendar", "Kalender"));
        auto *form = new QFormLayout(tab.get());
        if (m_choice) {
            choice = addChoiceFields(form, *m_choice, m_resourceView);
        } else {
            pages = new QSpinBox(tab.get());
            pages->setObjectName(QStringLiteral("txtPageCount"));
            pages->setRange(1, MaxPageCount);
            pages->setValue(qBound(1, m_pageCount, MaxPageCount));
            form->addRow(uiText("Dayplex::cCommonCalendar", "Anzahl Seiten:"), pages);
        }
        preview = new QCheckBox(uiText("Dayplex::cCommonCalendar", "Seitenansicht statt Drucken"), tab.get());
        preview->setObjectName(QStringLiteral("chkPreview"));
        preview->setChecked(m_preview);
        form->addRow(preview);
        dialog.setOptionTabs({tab.get()});
        if (choice) {
            showOptionTab(dialog, tab.get());
            dialog.refusal = [&choice] { return printPeriodError(choice->chosen()); };
        }
    }
    runModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    if (pages)
        setPageCount(pages->value());
    if (preview)
        m_preview = preview->isChecked();
    if (choice)
        m_choice = choice->chosen();
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

cPrintDialog::Handler cPrintDialog::takeOver(cPrintDialog &answered)
{
    return [&answered](cPrintDialog &dialog) {
        std::swap(dialog.m_printer, answered.m_printer);
        dialog.setPageCount(answered.PageCount());
        dialog.setPreview(answered.Preview());
        return true;
    };
}

} // namespace Dayplex
