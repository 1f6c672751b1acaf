#include "dialogs/ccommoncalendar.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/modalrunner.h"

#include <dayplex/error.h>
#include <dayplex/printing.h>

#include <QtTest>
#include <QtWidgets>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <functional>
#include <stdexcept>

using namespace Dayplex;

namespace {

// A view as the driver sees it: the three members it calls by name, with a log of the calls.
class FakeView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ForPrinting MEMBER ForPrinting)

public:
    struct Call
    {
        QString member;
        QRect rect;          // PrintAnsicht only
        int period = 0;      // how often Scroll had been called before
        bool forPrinting = false;
        QVariant direction;  // Scroll only
    };

    bool ForPrinting = false;
    bool throwInPrintAnsicht = false;
    QVector<Call> calls;
    int period = 0;

    Q_INVOKABLE void PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                                  qint32 hoehe)
    {
        Call call;
        call.member = QStringLiteral("PrintAnsicht");
        call.rect = QRect(offsetx, offsety, breite, hoehe);
        call.period = period;
        call.forPrinting = ForPrinting;
        calls.append(call);
        if (throwInPrintAnsicht)
            throw std::runtime_error("the view failed to draw");
        // A filled box with a frame, so that the rectangles can be seen on the page.
        hdc->fillRect(call.rect, QColor(200, 220, 255));
        hdc->setPen(QPen(Qt::black, 0));
        hdc->drawRect(call.rect.adjusted(0, 0, -1, -1));
        hdc->drawText(call.rect, Qt::AlignCenter, QString::number(period + 1));
    }

    Q_INVOKABLE void Scroll(const QVariant &lngDirection)
    {
        Call call;
        call.member = QStringLiteral("Scroll");
        call.period = period;
        call.forPrinting = ForPrinting;
        call.direction = lngDirection;
        calls.append(call);
        ++period;
    }

    QVector<QRect> printedRects() const
    {
        QVector<QRect> rects;
        for (const Call &c : calls)
            if (c.member == QLatin1String("PrintAnsicht"))
                rects.append(c.rect);
        return rects;
    }
};

// The test page: 8 x 10 inches without printer margins, so that at the PDF resolution of
// 1200 dpi it is exactly 9600 x 12000 pixels.
void setUpTestPage(QPrinter *printer)
{
    printer->setPageSize(QPageSize(QSizeF(8, 10), QPageSize::Inch));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

cPrintDialog::Handler printToTestFile(const QString &file, qint32 pageCount, bool preview = false)
{
    return [=](cPrintDialog &dialog) {
        cPrintDialog::printToFile(file, pageCount)(dialog);
        setUpTestPage(dialog.printer());
        dialog.setPreview(preview);
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
    const QString content = QString::fromLatin1(pdf.readAll());
    return int(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// 10 mm at 1200 dpi.
constexpr int kGap = 472;

} // namespace

class tst_PrintDriver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Catches views placed off the page grid: margins and gaps converted at the wrong
    // resolution, the horizontal gap counted with one view across, a lost landscape setting.
    void viewsOnThePage_data();
    void viewsOnThePage();
    // Catches a wrong number of views or pages, Scroll missing between views, a wrong scroll
    // argument, and a preview that honours the page count.
    void pagesAndViews_data();
    void pagesAndViews();
    // Catches a view left in print mode after a cancel, a refused layout or a failing view,
    // and a failing view stopping the whole job.
    void forPrintingEndsFalse_data();
    void forPrintingEndsFalse();
    // Catches layouts without room for the views reaching the printer instead of the message.
    void invalidLayout_data();
    void invalidLayout();
    // Catches a print dialog or preview window that bypasses the modal runner, and a runner's
    // answer (printer, page count, preview, cancel) that does not reach the job.
    void windowsThroughTheRunner_data();
    void windowsThroughTheRunner();

private:
    QVariant run(const cContainer &layout, bool preview = false);

    QTemporaryDir m_dir;
    QString m_pdf;
    FakeView *m_view = nullptr;
    QStringList m_messages;
    int m_previewWidgetPages = -1;
};

void tst_PrintDriver::init()
{
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()
                                                           ? QTest::currentDataTag()
                                                           : QTest::currentTestFunction()));
    QFile::remove(m_pdf);
    m_view = new FakeView;
    m_messages.clear();
    m_previewWidgetPages = -1;
    cTools::setPromptHandler([this](const Prompt &prompt) {
        m_messages.append(prompt.title + QStringLiteral(": ") + prompt.text);
        return true;
    });
    cPrintDialog::setHandler(printToTestFile(m_pdf, 1));
    // The preview is answered without a window: its page runs through the preview widget the
    // window uses.
    cPrintPreview::setHandler([this](cPrintPreview &preview) {
        QPrintPreviewWidget widget(preview.printer());
        QObject::connect(&widget, &QPrintPreviewWidget::paintRequested, &widget,
                         [&preview](QPrinter *target) { preview.renderPages(target); });
        widget.updatePreview();
        m_previewWidgetPages = widget.pageCount();
    });
}

void tst_PrintDriver::cleanup()
{
    cPrintDialog::setHandler({});
    cPrintPreview::setHandler({});
    cTools::setPromptHandler({});
    setModalRunner({});
    delete m_view;
    m_view = nullptr;
}

QVariant tst_PrintDriver::run(const cContainer &layout, bool preview)
{
    cCommonCalendar service;
    return service.PrintCalendar(m_view, preview, layout);
}

void tst_PrintDriver::viewsOnThePage_data()
{
    QTest::addColumn<QVariantMap>("layout");
    QTest::addColumn<QVector<QRect>>("expected");

    // 8 x 10 inches at 1200 dpi: 9600 x 12000. 10 mm = 472, 20 mm = 945, 30 mm = 1417,
    // 40 mm = 1890 pixels.
    QTest::newRow("one view with the default layout")
        << QVariantMap{} << QVector<QRect>{QRect(945, 472, 9600 - 1417, 12000 - 945)};
    // (9600 - 1890) / 2 = 3855 wide; (12000 - 1890) / 3 = 3370 high.
    const int x2 = 945 + 3855 + kGap;
    const int y2 = 472 + 3370 + kGap;
    const int y3 = y2 + 3370 + kGap;
    QTest::newRow("two across and three down")
        << QVariantMap{{"lngAnzahlAnsichtenNebeneinander", 2},
                       {"lngAnzahlAnsichtenUebereinander", 3}}
        << QVector<QRect>{QRect(945, 472, 3855, 3370), QRect(x2, 472, 3855, 3370),
                          QRect(945, y2, 3855, 3370), QRect(x2, y2, 3855, 3370),
                          QRect(945, y3, 3855, 3370), QRect(x2, y3, 3855, 3370)};
}

void tst_PrintDriver::viewsOnThePage()
{
    QFETCH(QVariantMap, layout);
    QFETCH(QVector<QRect>, expected);

    const QVariant result = run(layoutWith(layout));

    QVERIFY(!result.isValid());
    QCOMPARE(m_view->printedRects(), expected);
    QCOMPARE(pdfPageCount(m_pdf), 1);
    QVERIFY(m_messages.isEmpty());
}

void tst_PrintDriver::pagesAndViews_data()
{
    QTest::addColumn<qint32>("pageCount");
    QTest::addColumn<qint32>("across");
    QTest::addColumn<qint32>("down");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<int>("views");
    QTest::addColumn<int>("pdfPages");

    QTest::newRow("three pages of two views across") << 3 << 2 << 1 << false << 6 << 3;
    QTest::newRow("page count 0 still prints one page") << 0 << 1 << 1 << false << 1 << 1;
    QTest::newRow("preview of three pages shows one page of six views")
        << 3 << 2 << 3 << true << 6 << 0;
}

void tst_PrintDriver::pagesAndViews()
{
    QFETCH(qint32, pageCount);
    QFETCH(qint32, across);
    QFETCH(qint32, down);
    QFETCH(bool, preview);
    QFETCH(int, views);
    QFETCH(int, pdfPages);

    cPrintDialog::setHandler(printToTestFile(m_pdf, pageCount, preview));
    run(layoutWith({{"lngAnzahlAnsichtenNebeneinander", across},
                    {"lngAnzahlAnsichtenUebereinander", down}}));

    // PrintAnsicht and Scroll(999) take turns, each view showing the period after the last.
    QCOMPARE(m_view->calls.size(), 2 * views);
    for (int i = 0; i < m_view->calls.size(); ++i) {
        const FakeView::Call &call = m_view->calls.at(i);
        QCOMPARE(call.member, QString::fromLatin1(i % 2 ? "Scroll" : "PrintAnsicht"));
        QCOMPARE(call.period, i / 2);
        if (call.member == QLatin1String("Scroll")) {
            QCOMPARE(call.direction.toInt(), 999);
            QCOMPARE(call.direction.metaType(), QMetaType::fromType<qint16>());
        }
    }
    if (preview) {
        QVERIFY(!QFile::exists(m_pdf));
        QCOMPARE(m_previewWidgetPages, 1);
    } else {
        QCOMPARE(pdfPageCount(m_pdf), pdfPages);
        // Every page has the same grid.
        const QVector<QRect> rects = m_view->printedRects();
        for (int i = across * down; i < rects.size(); ++i)
            QCOMPARE(rects.at(i), rects.at(i % (across * down)));
    }
}

void tst_PrintDriver::forPrintingEndsFalse_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("views");
    QTest::addColumn<bool>("throws");

    QTest::newRow("printed") << "print" << 1 << false;
    QTest::newRow("preview") << "preview" << 1 << false;
    QTest::newRow("cancelled in the dialog") << "cancel" << 0 << false;
    QTest::newRow("layout refused") << "refused" << 0 << false;
    QTest::newRow("every view fails to draw") << "viewThrows" << 4 << false;
    QTest::newRow("dialog fails") << "dialogThrows" << 0 << true;
}

void tst_PrintDriver::forPrintingEndsFalse()
{
    QFETCH(QString, scenario);
    QFETCH(int, views);
    QFETCH(bool, throws);

    bool printingDuringDialog = false;
    const cPrintDialog::Handler answer =
        scenario == QLatin1String("cancel") ? cPrintDialog::cancel()
                                            : printToTestFile(m_pdf, 1);
    cPrintDialog::setHandler([&](cPrintDialog &dialog) {
        printingDuringDialog = m_view->ForPrinting;
        if (scenario == QLatin1String("dialogThrows"))
            throw Error(InvalidArgument, QStringLiteral("no printer"));
        return answer(dialog);
    });
    cContainer layout = layoutWith({});
    if (scenario == QLatin1String("refused"))
        layout.setValue(QStringLiteral("lngRandLinks"), QStringLiteral("500"));
    if (scenario == QLatin1String("viewThrows")) {
        m_view->throwInPrintAnsicht = true;
        layout.setValue(QStringLiteral("lngAnzahlAnsichtenNebeneinander"), 2);
        layout.setValue(QStringLiteral("lngAnzahlAnsichtenUebereinander"), 2);
    }

    bool threw = false;
    try {
        run(layout, scenario == QLatin1String("preview"));
    } catch (const Error &) {
        threw = true;
    }

    QCOMPARE(threw, throws);
    QVERIFY(printingDuringDialog);
    QCOMPARE(m_view->ForPrinting, false);
    QCOMPARE(m_view->printedRects().size(), views);
    for (const FakeView::Call &call : std::as_const(m_view->calls))
        QVERIFY(call.forPrinting);
    QVERIFY(!QGuiApplication::overrideCursor());
    // A failing view leaves its view out and the job goes on to the end.
    if (scenario == QLatin1String("viewThrows"))
        QCOMPARE(m_view->calls.size(), 2 * views);
    QCOMPARE(QFile::exists(m_pdf),
             scenario == QLatin1String("print") || scenario == QLatin1String("viewThrows"));
}

void tst_PrintDriver::invalidLayout_data()
{
    QTest::addColumn<QVariantMap>("layout");

    QTest::newRow("margins larger than the page")
        << QVariantMap{{"lngRandLinks", 150}, {"lngRandRechts", 150}};
    QTest::newRow("negative views down")
        << QVariantMap{{"lngAnzahlAnsichtenUebereinander", -3}};
    QTest::newRow("negative gap")
        << QVariantMap{{"lngAnzahlAnsichtenNebeneinander", 2}, {"lngAbstandHorizontal", -5}};
}

void tst_PrintDriver::invalidLayout()
{
    QFETCH(QVariantMap, layout);

    const QVariant result = run(layoutWith(layout));

    QVERIFY(!result.isValid());
    QCOMPARE(m_messages,
             QStringList{QStringLiteral(
                 "Kalender: Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen.")});
    QVERIFY(m_view->calls.isEmpty());
    QVERIFY(!QFile::exists(m_pdf));
    QCOMPARE(m_view->ForPrinting, false);
}

void tst_PrintDriver::windowsThroughTheRunner_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<int>("views");
    QTest::addColumn<int>("pdfPages"); // -1: no file

    const QStringList print{"dlgPrint"};
    QTest::newRow("two pages confirmed") << true << 2 << false << print << 2 << 2;
    QTest::newRow("cancelled") << false << 1 << false << print << 0 << -1;
}

void tst_PrintDriver::windowsThroughTheRunner()
{
    QFETCH(bool, confirm);
    QFETCH(int, pages);
    QFETCH(bool, preview);

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
            print->findChild<QSpinBox *>("txtPageCount")->setValue(pages);
            print->findChild<QCheckBox *>("chkPreview")->setChecked(preview);
            print->done(confirm ? QDialog::Accepted : QDialog::Rejected);
        } else if (auto *widget = dialog.findChild<QPrintPreviewWidget *>()) {
            widget->updatePreview();
            previewPages = widget->pageCount();
            dialog.reject();
        }
    });
    run(layoutWith({}));

    QTEST(windows, "windows");
    QTEST(int(m_view->printedRects().size()), "views");
    QTEST(pdfPageCount(m_pdf), "pdfPages");
    QCOMPARE(previewPages, preview ? 1 : -1);
}

QTEST_MAIN(tst_PrintDriver)
#include "tst_printdriver.moc"
