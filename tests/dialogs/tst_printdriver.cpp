// The print job driver over a view it reaches by name: pages, views, print mode and the
// windows it shows, printed into PDF files on an 8 x 10 inch page without printer margins.
#include "dialogs/ccommoncalendar.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/modalrunner.h"

#include <dayplex/error.h>

#include <QtTest>
#include <QtWidgets>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <stdexcept>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;

namespace {

// The three members the driver calls, with a log of the calls.
class FakeView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ForPrinting MEMBER ForPrinting)

public:
    bool ForPrinting = false;
    bool throwInPrintAnsicht = false;
    bool printedOutsidePrintMode = false;
    QVector<QRect> printed;
    QStringList calls; // of Scroll

    Q_INVOKABLE void PrintAnsicht(QPainter *, qint32 offsetx, qint32 offsety, qint32 breite, qint32 hoehe)
    {
        printedOutsidePrintMode |= !ForPrinting;
        printed.append(QRect(offsetx, offsety, breite, hoehe));
        if (throwInPrintAnsicht)
            throw std::runtime_error("the view failed to draw");
    }
    Q_INVOKABLE void Scroll(const QVariant &lngDirection)
    {
        calls << QStringLiteral("scroll %1 %2").arg(lngDirection.toInt()).arg(lngDirection.typeName());
    }
};

// 8 x 10 inches: at the PDF resolution of 1200 dpi exactly 9600 x 12000 pixels.
void setUpTestPage(QPrinter *printer)
{
    printer->setPageSize(QPageSize(QSizeF(8, 10), QPageSize::Inch));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

cContainer layoutWith(const QVariantMap &values)
{
    cContainer layout;
    layout.setContainerString(defaultLayoutString());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        layout.setValue(it.key(), it.value());
    return layout;
}

int pdfPageCount(const QString &file)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(pdf.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

} // namespace

class tst_PrintDriver : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath(QStringLiteral("%1-%2.pdf").arg(QTest::currentTestFunction())
                                   .arg(QTest::currentDataTag() ? QTest::currentDataTag() : ""));
        m_view = new FakeView;
        m_messages.clear();
        cTools::setPromptHandler([this](const Prompt &prompt) {
            m_messages.append(prompt.title + QStringLiteral(": ") + prompt.text);
            return true;
        });
    }
    void cleanup()
    {
        cPrintDialog::setHandler({});
        cPrintPreview::setHandler({});
        cTools::setPromptHandler({});
        setModalRunner({});
        delete m_view;
    }

    // Catches views placed off the page grid (margins and gaps converted at the wrong
    // resolution), a wrong number of views or pages, Scroll missing or with a wrong argument
    // between views, a view left in print mode after a cancel, a refused layout or a failing
    // view, a failing view stopping the whole job, and a layout without room reaching the
    // printer instead of the message.
    void jobs_data()
    {
        QTest::addColumn<QString>("scenario");   // how the dialog answers and the view draws
        QTest::addColumn<QVariantMap>("layout"); // values over the default layout
        QTest::addColumn<qint32>("pageCount");
        QTest::addColumn<QVector<QRect>>("page"); // the views of each page printed
        QTest::addColumn<QString>("told");

        // 10 mm = 472, 20 mm = 945 pixels; (9600 - 1890) / 2 = 3855 wide.
        const QVector<QRect> two{QRect(945, 472, 3855, 12000 - 945),
                                 QRect(945 + 3855 + 472, 472, 3855, 12000 - 945)};
        const QVariantMap twoAcross{{"lngAnzahlAnsichtenNebeneinander", 2}};
        const QString refused = QStringLiteral(
            "Kalender: Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen.");
        QTest::newRow("three pages of two views across") << "print" << twoAcross << 3 << two << "";
        QTest::newRow("cancelled in the dialog")
            << "cancel" << QVariantMap() << 1 << QVector<QRect>() << "";
        QTest::newRow("views across that are no number")
            << "print" << QVariantMap{{"lngAnzahlAnsichtenNebeneinander", "zwei"}} << 1
            << QVector<QRect>() << refused;
        QTest::newRow("every view fails to draw") << "viewThrows" << twoAcross << 2 << two << "";
        QTest::newRow("dialog fails")
            << "dialogThrows" << QVariantMap() << 1 << QVector<QRect>() << "";
    }
    void jobs()
    {
        QFETCH(QString, scenario);
        QFETCH(QVariantMap, layout);
        QFETCH(qint32, pageCount);
        QFETCH(QVector<QRect>, page);
        QFETCH(QString, told);
        bool printingDuringDialog = false;
        cPrintDialog::setHandler([&](cPrintDialog &dialog) {
            printingDuringDialog = m_view->ForPrinting;
            if (scenario == QLatin1String("dialogThrows"))
                throw Error(InvalidArgument, QStringLiteral("no printer"));
            if (scenario == QLatin1String("cancel"))
                return cPrintDialog::cancel()(dialog);
            cPrintDialog::printToFile(m_pdf, pageCount)(dialog);
            setUpTestPage(dialog.printer());
            return true;
        });
        m_view->throwInPrintAnsicht = scenario == QLatin1String("viewThrows");
        QVariant result;
        const int error = Testing::errorNumber(
            [&] { result = cCommonCalendar().PrintCalendar(m_view, false, layoutWith(layout)); });
        QCOMPARE(error != 0, scenario == QLatin1String("dialogThrows"));
        QVERIFY(!result.isValid());
        QVERIFY(printingDuringDialog);
        QCOMPARE(m_view->ForPrinting, false);
        QVERIFY(!m_view->printedOutsidePrintMode);
        QVERIFY(!QGuiApplication::overrideCursor());
        // Every page has the same grid; each view shows the period after the last.
        const int views = int(page.size()) * pageCount;
        QCOMPARE(m_view->printed.size(), views);
        for (int i = 0; i < views; ++i)
            QCOMPARE(m_view->printed.at(i), page.at(i % page.size()));
        QCOMPARE(m_view->calls.count(QStringLiteral("scroll 999 short")), views);
        QCOMPARE(pdfPageCount(m_pdf), views ? pageCount : -1);
        QCOMPARE(m_messages, told.isEmpty() ? QStringList() : QStringList{told});
    }
    // Catches a print dialog or preview window that bypasses the modal runner, and a runner's
    // answer that does not reach the job.
    void windowsThroughTheRunner()
    {
        QStringList windows;
        int previewPages = -1;
        setModalRunner([&](QDialog &dialog) {
            windows << dialog.objectName();
            if (auto *print = qobject_cast<QPrintDialog *>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(m_pdf);
                setUpTestPage(print->printer());
                print->findChild<QSpinBox *>("txtPageCount")->setValue(2);
                print->findChild<QCheckBox *>("chkPreview")->setChecked(true);
                print->accept();
            } else if (auto *widget = dialog.findChild<QPrintPreviewWidget *>()) {
                widget->updatePreview();
                previewPages = widget->pageCount();
                dialog.reject();
            }
        });
        cCommonCalendar().PrintCalendar(m_view, false, layoutWith({}));
        QCOMPARE(windows, (QStringList{"dlgPrint", "dlgPrintPreview"}));
        QCOMPARE(previewPages, 1);
        QCOMPARE(m_view->printed.size(), 1);
        QVERIFY(!QFile::exists(m_pdf));
    }

private:
    QTemporaryDir m_dir;
    QString m_pdf;
    FakeView *m_view = nullptr;
    QStringList m_messages;
};

DAYPLEX_TEST_MAIN(tst_PrintDriver)
#include "tst_printdriver.moc"
