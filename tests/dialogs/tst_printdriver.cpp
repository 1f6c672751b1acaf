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
    QStringList calls;

    Q_INVOKABLE void PrintAnsicht(QPainter *, qint32 offsetx, qint32 offsety, qint32 breite, qint32 hoehe)
    {
        calls << QStringLiteral("print");
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

cPrintDialog::Handler printToTestFile(const QString &file, qint32 pageCount)
{
    return [=](cPrintDialog &dialog) {
        cPrintDialog::printToFile(file, pageCount)(dialog);
        setUpTestPage(dialog.printer());
        return true;
    };
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
    void init();
    void cleanup();

    // Catches views placed off the page grid (margins and gaps converted at the wrong
    // resolution), a wrong number of views or pages, and Scroll missing or with a wrong argument
    // between views.
    void pagesAndViews_data();
    void pagesAndViews();
    // Catches a view left in print mode after a cancel, a refused layout or a failing view,
    // a failing view stopping the whole job, and a layout without room reaching the printer
    // instead of the message.
    void printModeEnds_data();
    void printModeEnds();
    // Catches a print dialog or preview window that bypasses the modal runner, and a runner's
    // answer that does not reach the job.
    void windowsThroughTheRunner();

private:
    QVariant run(const cContainer &layout)
    {
        return cCommonCalendar().PrintCalendar(m_view, false, layout);
    }

    QTemporaryDir m_dir;
    QString m_pdf;
    FakeView *m_view = nullptr;
    QStringList m_messages;
};

void tst_PrintDriver::init()
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
    cPrintDialog::setHandler(printToTestFile(m_pdf, 1));
}

void tst_PrintDriver::cleanup()
{
    cPrintDialog::setHandler({});
    cPrintPreview::setHandler({});
    cTools::setPromptHandler({});
    setModalRunner({});
    delete m_view;
}

void tst_PrintDriver::pagesAndViews_data()
{
    QTest::addColumn<qint32>("pageCount");
    QTest::addColumn<qint32>("across");
    QTest::addColumn<QVector<QRect>>("page"); // the views of one page

    // 10 mm = 472, 20 mm = 945, 30 mm = 1417 pixels; (9600 - 1890) / 2 = 3855 wide.
    QTest::newRow("one view with the default layout")
        << 1 << 1 << QVector<QRect>{QRect(945, 472, 9600 - 1417, 12000 - 945)};
    QTest::newRow("three pages of two views across")
        << 3 << 2
        << QVector<QRect>{QRect(945, 472, 3855, 12000 - 945),
                          QRect(945 + 3855 + 472, 472, 3855, 12000 - 945)};
}

void tst_PrintDriver::pagesAndViews()
{
    QFETCH(qint32, pageCount);
    QFETCH(qint32, across);
    QFETCH(QVector<QRect>, page);
    cPrintDialog::setHandler(printToTestFile(m_pdf, pageCount));
    QVERIFY(!run(layoutWith({{"lngAnzahlAnsichtenNebeneinander", across}})).isValid());

    // Every page has the same grid; each view shows the period after the last.
    const int views = int(page.size()) * pageCount;
    QCOMPARE(m_view->printed.size(), views);
    for (int i = 0; i < views; ++i)
        QCOMPARE(m_view->printed.at(i), page.at(i % page.size()));
    QCOMPARE(m_view->calls.count(QStringLiteral("scroll 999 short")), views);
    QCOMPARE(pdfPageCount(m_pdf), pageCount);
    QVERIFY(m_messages.isEmpty());
}

void tst_PrintDriver::printModeEnds_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("views");
    QTest::addColumn<bool>("throws");
    QTest::addColumn<bool>("refused"); // the layout has no room: the message, no job
    QTest::newRow("printed") << "print" << 1 << false << false;
    QTest::newRow("cancelled in the dialog") << "cancel" << 0 << false << false;
    QTest::newRow("margins larger than the page") << "margins" << 0 << false << true;
    QTest::newRow("views across that are no number") << "across" << 0 << false << true;
    QTest::newRow("every view fails to draw") << "viewThrows" << 4 << false << false;
    QTest::newRow("dialog fails") << "dialogThrows" << 0 << true << false;
}

void tst_PrintDriver::printModeEnds()
{
    QFETCH(QString, scenario);
    QFETCH(int, views);
    QFETCH(bool, throws);
    QFETCH(bool, refused);
    const cPrintDialog::Handler answer =
        scenario == QLatin1String("cancel") ? cPrintDialog::cancel() : printToTestFile(m_pdf, 1);
    bool dialogShown = false;
    bool printingDuringDialog = false;
    cPrintDialog::setHandler([&](cPrintDialog &dialog) {
        dialogShown = true;
        printingDuringDialog = m_view->ForPrinting;
        if (scenario == QLatin1String("dialogThrows"))
            throw Error(InvalidArgument, QStringLiteral("no printer"));
        return answer(dialog);
    });
    QVariantMap values;
    if (scenario == QLatin1String("margins"))
        values = {{"lngRandLinks", 150}, {"lngRandRechts", 150}};
    if (scenario == QLatin1String("across"))
        values = {{"lngAnzahlAnsichtenNebeneinander", QStringLiteral("zwei")}};
    if (scenario == QLatin1String("viewThrows")) {
        m_view->throwInPrintAnsicht = true;
        values = {{"lngAnzahlAnsichtenNebeneinander", 2}, {"lngAnzahlAnsichtenUebereinander", 2}};
    }
    bool threw = false;
    try {
        run(layoutWith(values));
    } catch (const Error &) {
        threw = true;
    }
    QCOMPARE(threw, throws);
    QCOMPARE(m_view->ForPrinting, false);
    QVERIFY(!m_view->printedOutsidePrintMode);
    QCOMPARE(m_view->printed.size(), views);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(dialogShown);
    QVERIFY(printingDuringDialog);
    QCOMPARE(m_messages, refused ? QStringList{QStringLiteral(
                                       "Kalender: Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen.")}
                                 : QStringList());
    QCOMPARE(QFile::exists(m_pdf), scenario == QLatin1String("print") || scenario == QLatin1String("viewThrows"));
}

void tst_PrintDriver::windowsThroughTheRunner()
{
    cPrintDialog::setHandler({});
    cPrintPreview::setHandler({});
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
    run(layoutWith({}));
    QCOMPARE(windows, (QStringList{"dlgPrint", "dlgPrintPreview"}));
    QCOMPARE(previewPages, 1);
    QCOMPARE(m_view->printed.size(), 1);
    QVERIFY(!QFile::exists(m_pdf));
}

DAYPLEX_TEST_MAIN(tst_PrintDriver)
#include "tst_printdriver.moc"
