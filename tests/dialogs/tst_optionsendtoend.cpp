// ShowOptionsDialog of both views, from the dialogs to the picture: in the options dialog the
// user opens the view's screen layout and changes the picture's geometry, and through the modal
// runner's colour and font choosers the appointment colour and the font; the view shows them
// after OK, and nothing changes after Abbrechen.
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ccontainer.h"
#include "shared/cdc.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QtTest>
#include <QtWidgets>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace Dayplex;

using Edit = std::function<void(cfrmConfigLayout &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const Date kMonday = toDate(QDate(2024, 3, 4)); // a week without holidays
const Date kFrom = kMonday + 1 + 9.0 / 24;       // Tuesday 09:00 to 13:00
const Date kTo = kMonday + 1 + 13.0 / 24;
const QSize kSize(700, 450);
const qint32 kOwnColour = 0x40C020;     // the appointment's own, shown with individual colours
const QColor kChosen(0xA0, 0x30, 0xC0); // what the colour chooser answers

void click(QWidget &dialog, const QString &name)
{
    QAbstractButton *button = dialog.findChild<QAbstractButton *>(name);
    QVERIFY2(button && button->isEnabled(), qPrintable(name));
    button->click();
}

// The bounding box of the pixels of one colour; empty when there are none.
QRect boxOf(const QImage &image, const QColor &colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// One of the two views on the same week, with a host that delivers one appointment (the
// Gantt view: in "Raum A", below the holiday row) whenever NeedDates asks. It notes what the
// host saw when OptionsChanged arrived.
struct HostedView
{
    std::unique_ptr<ucAgenda> agenda;
    std::unique_ptr<ctlGantt> gantt;
    bool dialogClosed = false;
    int requestsAfterDialog = 0;
    int optionsChanged = 0;
    int requestsAtSignal = -1;
    QString optionsAtSignal;
    QImage pictureAtSignal;

    explicit HostedView(bool calendar)
    {
        const auto told = [this] {
            ++optionsChanged;
            requestsAtSignal = requestsAfterDialog;
            optionsAtSignal = options();
            pictureAtSignal = picture();
        };
        double last = kMonday + 4;
        if (calendar) {
            agenda = std::make_unique<ucAgenda>();
            QObject::connect(agenda.get(), &ucAgenda::NeedDates, agenda.get(),
                             [this](double from, double to, const QString &) {
                                 requestsAfterDialog += dialogClosed;
                                 agenda->SetFilledRange(from, to);
                                 agenda->AddDate("T1", "Besprechung", kFrom, kTo, false, 0, false,
                                                 kOwnColour, false);
                             });
            QObject::connect(agenda.get(), &ucAgenda::OptionsChanged, agenda.get(), told);
            agenda->Enabled = true;
            agenda->SetDisplayedRange(kMonday, &last, false, false);
        } else {
            gantt = std::make_unique<ctlGantt>();
            QObject::connect(gantt.get(), &ctlGantt::NeedDates, gantt.get(),
                             [this](double from, double to, const QString &) {
                                 requestsAfterDialog += dialogClosed;
                                 gantt->SetFilledRange(from, to);
                                 gantt->AddMerkmal("Raum A", "M1");
                                 gantt->AddMerkmal("Raum B", "M2");
                                 gantt->AddDate("T1", "Besprechung", kFrom, kTo, false, 0, false,
                                                kOwnColour, false, "M1", false);
                             });
            QObject::connect(gantt.get(), &ctlGantt::OptionsChanged, gantt.get(), told);
            gantt->Enabled = true;
            gantt->SetDisplayedRange(kMonday, &last, false, false);
        }
    }

    QString options() const
    {
        return agenda ? agenda->Options() : gantt->Options();
    }
    QImage picture()
    {
        return agenda ? agenda->paintToImage(kSize) : gantt->paintToImage(kSize);
    }
    bool confirmChanges() const
    {
        return agenda ? agenda->ConfirmChanges() : gantt->ConfirmChanges();
    }
    QString showOptionsDialog()
    {
        return agenda ? agenda->ShowOptionsDialog() : gantt->ShowOptionsDialog();
    }
};

// The top of the Gantt view's first row and the row height of the last paint, read back
// through hit-testing: rows 2 and 3 begin one row height apart.
struct GanttRows
{
    int top = 0;
    int height = 0;
};

GanttRows ganttRows(ctlGantt &gantt)
{
    int second = 0;
    while (second < kSize.height() && gantt.GetMerkmalIndex(second) != 2)
        ++second;
    int third = second;
    while (third < kSize.height() && gantt.GetMerkmalIndex(third) != 3)
        ++third;
    return {second - (third - second), third - second};
}

} // namespace

class tst_OptionsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // Catches a confirmed dialog whose layout does not reach the picture or the options
    // string, OptionsChanged raised twice, before the refresh or after Abbrechen, and a
    // cancelled dialog that still changes the view or asks the host again.
    void showOptionsDialog_data();
    void showOptionsDialog();
};

void tst_OptionsEndToEnd::cleanup()
{
    setModalRunner({});
}

void tst_OptionsEndToEnd::showOptionsDialog_data()
{
    QTest::addColumn<bool>("calendar");
    QTest::addColumn<QString>("layoutButton");
    QTest::addColumn<QString>("layoutKey");
    QTest::addColumn<Edit>("shape"); // the edit that changes the picture's geometry
    QTest::addColumn<QString>("shapeKey");
    QTest::addColumn<QVariant>("shapeValue");
    QTest::addColumn<QString>("leaveWith");

    const Edit hourRaster = [](cfrmConfigLayout &d) {
        d.findChild<QComboBox *>("cboAufloesung")->setCurrentText("60 Minuten");
    };
    // The Gantt view's raster steers only its free-slot search; its row height shows.
    const Edit optimalRows = [](cfrmConfigLayout &d) { click(d, "chkOptimierteZeilenhoehe"); };

    for (const char *leave : {"cmdOK", "cmdCancel"}) {
        QTest::addRow("Kalender, 60 Minuten, %s", leave)
            << true << "cmdAnsicht_0" << "strLayoutScreenCalendar" << hourRaster
            << "strAufloesung" << QVariant("60 Minuten") << leave;
        QTest::addRow("Gantt, optimierte Zeilenhöhe, %s", leave)
            << false << "cmdAnsicht_1" << "strLayoutScreenGantt" << optimalRows
            << "blnOptimierteZeilenhoehe" << QVariant(true) << leave;
    }
}

void tst_OptionsEndToEnd::showOptionsDialog()
{
    QFETCH(bool, calendar);
    QFETCH(QString, layoutButton);
    QFETCH(QString, layoutKey);
    QFETCH(Edit, shape);
    QFETCH(QString, shapeKey);
    QFETCH(QString, leaveWith);

    HostedView view(calendar);
    const QString optionsBefore = view.options();
    const QImage before = view.picture();
    const QRect boxBefore = boxOf(before, cDC::toQColor(kOwnColour));
    QVERIFY(!boxBefore.isEmpty());
    const int gridTopBefore = calendar ? view.agenda->GetYErsteZeile() : 0;
    const GanttRows rowsBefore = calendar ? GanttRows() : ganttRows(*view.gantt);

    QStringList windows;
    setModalRunner([&](QDialog &dialog) {
        windows << dialog.objectName();
        if (auto *chooser = qobject_cast<QColorDialog *>(&dialog)) {
            chooser->setCurrentColor(kChosen);
            chooser->accept();
            return;
        }
        if (auto *chooser = qobject_cast<QFontDialog *>(&dialog)) {
            chooser->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 8));
            chooser->accept();
            return;
        }
        if (auto *layout = qobject_cast<cfrmConfigLayout *>(&dialog)) {
            shape(*layout);
            // Individual colours off, so that the colour of timed appointments shows.
            click(*layout, "Check2");
            QTest::mouseClick(layout->findChild<QWidget *>("lblColor_7"), Qt::LeftButton);
            click(*layout, "cmdFont");
            click(*layout, "cmdOK");
            return;
        }
        // A switch of the options dialog itself rides along.
        dialog.findChild<QCheckBox *>("chkConfirmChanges")->setChecked(false);
        click(dialog, layoutButton);
        click(dialog, leaveWith);
        view.dialogClosed = true;
    });
    QCOMPARE(view.showOptionsDialog(), QString());
    QCOMPARE(windows, (QStringList{"cfrmConfigCalendar", "cfrmConfigLayout", "dlgColor",
                                   "dlgFont"}));
    const QImage after = view.picture();

    if (leaveWith == QLatin1String("cmdCancel")) {
        QCOMPARE(view.options(), optionsBefore);
        QCOMPARE(after, before);
        QCOMPARE(view.optionsChanged, 0);
        QCOMPARE(view.requestsAfterDialog, 0);
        return;
    }

    // Told once, after the refresh: the host had been asked again, the options and the
    // picture were already the new ones.
    QCOMPARE(view.optionsChanged, 1);
    QVERIFY(view.requestsAtSignal > 0);
    QCOMPARE(view.optionsAtSignal, view.options());
    QCOMPARE(view.pictureAtSignal, after);
    QVERIFY(!view.confirmChanges());

    cContainer options, layout;
    options.setContainerString(view.options());
    layout.setContainerString(options.textValue(layoutKey));
    QTEST(layout.Value(shapeKey), "shapeValue");
    QCOMPARE(layout.boolValue("blnIndividuelleTerminfarben"), false);
    QCOMPARE(cDC::toQColor(layout.longValue("rgbBackTermine")), kChosen);
    QCOMPARE(layout.textValue("strFont"), "DejaVu Serif, 8 Punkt");

    // The appointment now shows in the chosen colour, in its own place across.
    QVERIFY(boxOf(after, cDC::toQColor(kOwnColour)).isEmpty());
    const QRect boxAfter = boxOf(after, kChosen);
    QVERIFY(!boxAfter.isEmpty());
    QCOMPARE(boxAfter.left(), boxBefore.left());
    QCOMPARE(boxAfter.width(), boxBefore.width());
    if (calendar) {
        // Four hours were eight half-hour rows and are four hour rows: the box (filled inside
        // a one-pixel frame) halves, and 09:00 moves up from the grid's third row to its second.
        const int row = (boxAfter.height() + 2) / 4;
        QCOMPARE(boxAfter.height() + 2, 4 * row);
        QCOMPARE(boxBefore.height() + 2, 8 * row);
        QCOMPARE(boxBefore.top(), gridTopBefore + 2 * row + 1);
        QCOMPARE(boxAfter.top(), view.agenda->GetYErsteZeile() + row + 1);
    } else {
        // The bar fills its row inside a gap of 2 and a frame of 1 pixels, before and after;
        // the three rows now stretch down to one header height (half the top) above the bottom.
        const GanttRows rows = ganttRows(*view.gantt);
        for (const auto &[box, r] : {std::pair(boxBefore, rowsBefore), std::pair(boxAfter, rows)}) {
            QCOMPARE(box.top(), r.top + r.height + 3);
            QCOMPARE(box.height(), r.height - 6);
        }
        QVERIFY(rows.height > rowsBefore.height);
        QVERIFY(std::abs(rows.top + 3 * rows.height - (kSize.height() - rows.top / 2)) <= 2);
    }
}

QTEST_MAIN(tst_OptionsEndToEnd)
#include "tst_optionsendtoend.moc"
