// The Gantt view's host protocol and public members, through the public API only.
#include <dayplex/dayplex.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <limits>
#include "support/testing.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 25);
const Date kThursday = kMonday + 3;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QString kFields = QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name");

QString textEntry(const QString &key, const QString &text) { return QStringLiteral("%1:s%2=%3\n").arg(key).arg(text.size()).arg(text); }

// An options string whose screen layout is the default with extra layout entries merged in.
QString withScreenLayout(const QString &layoutEntries)
{
    return QStringLiteral("cContainer 1\n")
           + textEntry("strLayoutScreenGantt", QStringLiteral("cContainer 1\n") + layoutEntries);
}

// A host that answers NeedDates with two rows and one appointment each, covering the days asked.
struct Host
{
    ctlGantt &gantt;
    int calls = 0;
    std::function<void()> inside; // runs inside the handler, after the delivery

    explicit Host(ctlGantt &g)
        : gantt(g)
    {
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt, [this](double from, double to, const QString &) {
            ++calls;
            gantt.SetFilledRange(from, to);
            gantt.AddMerkmal("Anna Müller", "R1");
            gantt.AddMerkmal("Ben Weber", "R2");
            gantt.AddDate("A", "Besprechung", kMonday + hm(9, 0), kMonday + hm(11, 0), false, 0, false,
                          0xC0E0C0, false, "R1", false);
            gantt.AddDate("B", "Kundentermin", kMonday + 1 + hm(9, 0), kMonday + 1 + hm(11, 0), false, 0,
                          false, 0xA0E0FF, true, "R2", false);
            if (inside)
                inside();
        });
    }
};

void showWeek(ctlGantt &gantt, Date first = kMonday)
{
    double last = first + 6;
    gantt.SetDisplayedRange(first, &last, false, false);
}

} // namespace

class tst_ctlGanttProtocol : public QObject
{
    Q_OBJECT

private slots:
    // Catches a fresh view that asks the host or starts with wrong defaults, and a first range
    // request that keeps the fresh view's odd span.
    void creationState()
    {
        ctlGantt gantt;
        QSignalSpy need(&gantt, &ctlGantt::NeedDates);
        QCOMPARE(gantt.Enabled, false);
        QCOMPARE(gantt.ForPrinting, false);
        QCOMPARE(gantt.ConfirmChanges(), true);
        QCOMPARE(gantt.SelectedDate(), QString());
        QCOMPARE(gantt.isSelectedReadOnly(), false);
        QCOMPARE(gantt.CurrentDate(), gantt.mStartDate);
        QCOMPARE(gantt.FirstDay(), gantt.mStartDate);
        QCOMPARE(gantt.LastDay(), Dayplex::currentDate());
        QVERIFY(gantt.FirstDay() >= gantt.LastDay());
        QVERIFY(gantt.findChild<QScrollBar *>("HScroll"));
        QVERIFY(gantt.findChild<QScrollBar *>("VScroll"));
        // The first range without a last day shows the layout's 7 days; from then on the span stays.
        gantt.SetDisplayedRange(kThursday);
        QCOMPARE(gantt.LastDay(), kThursday + 6);
        double last = 0;
        gantt.SetDisplayedRange(kMonday + 14, &last);
        QCOMPARE(last, kMonday + 20);
        QCOMPARE(need.count(), 0);
        QCOMPARE(gantt.rundezeit(hm(10, 5)), hm(10, 10));
        QCOMPARE(errorNumber([&] { gantt.rundezeit(kNaN); }), int(InvalidArgument));
        QCOMPARE(errorNumber([&] { gantt.setAlignOnWeekday(8); }), int(InvalidArgument));
    }

    // Catches covered ranges that ask again, uncovered ones that do not, and a Refresh that
    // trusts the old delivery.
    void needDatesProtocol()
    {
        ctlGantt gantt;
        Host host(gantt);
        QSignalSpy need(&gantt, &ctlGantt::NeedDates);
        gantt.Enabled = true;
        showWeek(gantt);
        QCOMPARE(need.count(), 1);
        QCOMPARE(need.at(0), (QVariantList{kMonday, kMonday + 6, kFields}));

        double last = kMonday + 4;
        gantt.SetDisplayedRange(kMonday + 1, &last, false, false);
        QCOMPARE(need.count(), 1);

        gantt.Refresh();
        QCOMPARE(need.count(), 2);
        QCOMPARE(need.at(1), (QVariantList{kMonday + 1, kMonday + 4, kFields}));

        showWeek(gantt, kMonday + 7);
        QCOMPARE(need.count(), 3);
        QCOMPARE(host.calls, 3);
    }

    // Catches NeedDates raised while the view is disabled.
    void needDatesNeverWhileDisabled()
    {
        ctlGantt gantt;
        QSignalSpy need(&gantt, &ctlGantt::NeedDates);
        showWeek(gantt);
        gantt.Refresh();
        showWeek(gantt, kMonday + 30);
        QCOMPARE(need.count(), 0);
    }

    // Catches endless recursion when the host changes the range from inside its handler.
    void reentrantHostDoesNotRecurse_data()
    {
        QTest::addColumn<int>("call");
        QTest::newRow("Refresh inside NeedDates") << 0;
        QTest::newRow("another range inside NeedDates") << 1;
    }
    void reentrantHostDoesNotRecurse()
    {
        QFETCH(int, call);
        ctlGantt gantt;
        Host host(gantt);
        host.inside = [&] {
            if (call == 0) {
                gantt.Refresh();
            } else {
                double last = kMonday + 60;
                gantt.SetDisplayedRange(kMonday + 50, &last, false, false);
            }
        };
        gantt.Enabled = true;
        showWeek(gantt);
        QCOMPARE(host.calls, 1);
        // Once the handler is done, the next request asks again.
        host.inside = nullptr;
        gantt.Refresh();
        QCOMPARE(host.calls, 2);
    }

    // Catches a holiday row that is missing, not first, or whose entries can be selected as movable.
    void holidayRowComesFirst_data()
    {
        QTest::addColumn<bool>("holidays");
        QTest::newRow("holidays on") << true;
        QTest::newRow("holidays off") << false;
    }
    void holidayRowComesFirst()
    {
        QFETCH(bool, holidays);
        ctlGantt gantt;
        if (!holidays)
            gantt.setOptions(QStringLiteral("cContainer 1\nblnGermanLegalHolidays:b=0\n"));
        Host host(gantt);
        gantt.Enabled = true;
        showWeek(gantt); // Good Friday is on the 29th
        QVERIFY(!gantt.paintToImage(QSize(900, 500)).isNull());
        // The row of every bar hit anywhere in the picture.
        QMap<int, int> rowOfIndex;
        for (int y = 0; y < 500; ++y) {
            for (int x = 100; x < 900; x += 3) {
                const QVariant hit = gantt.GetidxGanttEintrag(x, y);
                if (hit.isValid())
                    rowOfIndex.insert(hit.toInt(), gantt.GetMerkmalIndex(y));
            }
        }
        const int holidayCount = holidays ? 9 : 0;
        // A and B arrive after the holidays of 2024.
        QCOMPARE(rowOfIndex.value(holidayCount + 1), holidays ? 2 : 1);
        QCOMPARE(rowOfIndex.value(holidayCount + 2), holidays ? 3 : 2);
        if (holidays) {
            QCOMPARE(rowOfIndex.value(2), 1); // Karfreitag, the second holiday of 2024, in row 1
            gantt.setSelectedDate("2LEGALHOLIDY");
            QCOMPARE(gantt.isSelectedReadOnly(), true);
        } else {
            QCOMPARE(rowOfIndex.size(), 2);
        }
    }

    // Catches options whose screen layout does not reach the range rules and the NeedDates fields.
    void optionsApplyTheScreenLayout()
    {
        ctlGantt gantt;
        QSignalSpy need(&gantt, &ctlGantt::NeedDates);
        gantt.Enabled = true;
        gantt.setOptions(withScreenLayout("lngAnzahlTage:i=14\n" + textEntry("strAusgabefelder", "AKT_Notiz")));
        QVERIFY(gantt.Options().contains("lngAnzahlTage:i=14"));
        gantt.SetDisplayedRange(kMonday, nullptr, true);
        QCOMPARE(gantt.LastDay(), kMonday + 13);
        QCOMPARE(need.count(), 1);
        QCOMPARE(need.at(0).at(2).toString(), QString("AKT_Notiz"));
        // Setting options neither moves the range nor asks the host.
        gantt.setOptions(withScreenLayout("lngAnzahlTage:i=3\n"));
        QCOMPARE(gantt.LastDay(), kMonday + 13);
        QCOMPARE(need.count(), 1);
    }

    // Catches a bad options string that leaves the options or the screen layout half changed.
    void badOptionsChangeNothing_data()
    {
        QTest::addColumn<QString>("options");
        QTest::newRow("not a container string") << "hello";
        QTest::newRow("screen layout is not a container string")
            << "cContainer 1\nblnConfirmChanges:b=0\n" + textEntry("strLayoutScreenGantt", "kaputt");
        QTest::newRow("colour that is no number")
            << "cContainer 1\nblnConfirmChanges:b=0\n"
                   + textEntry("strLayoutScreenGantt", "cContainer 1\nlngAnzahlTage:i=3\n"
                                                       + textEntry("rgbBackTermine", "gelb"));
        QTest::newRow("good screen layout, working time that is no number")
            << withScreenLayout("rgbBackUeberschrift:l=255\n") + textEntry("timeArbeitsZeitVon2", "kaputt");
    }
    void badOptionsChangeNothing()
    {
        QFETCH(QString, options);
        ctlGantt gantt;
        Host host(gantt);
        gantt.Enabled = true;
        showWeek(gantt);
        const QString before = gantt.Options();
        const QImage picture = gantt.paintToImage(QSize(600, 300));
        QVERIFY(errorNumber([&] { gantt.setOptions(options); }) != 0);
        QCOMPARE(gantt.Options(), before);
        QCOMPARE(gantt.ConfirmChanges(), true);
        QCOMPARE(gantt.paintToImage(QSize(600, 300)), picture);
        double last = 0;
        gantt.SetDisplayedRange(kMonday, &last, true);
        QCOMPARE(gantt.LastDay(), kMonday + 6); // the layout's 7 days, not 3
    }

    // Catches Clear or SetFilledRange keeping a stale selection, and a wrong read-only answer.
    void selectionAndClear()
    {
        ctlGantt gantt;
        Host host(gantt);
        gantt.Enabled = true;
        showWeek(gantt);
        gantt.setSelectedDate("B");
        QCOMPARE(gantt.SelectedDate(), QString("B"));
        QCOMPARE(gantt.isSelectedReadOnly(), true);
        gantt.setSelectedDate("A");
        QCOMPARE(gantt.isSelectedReadOnly(), false);
        gantt.Refresh();
        QCOMPARE(gantt.SelectedDate(), QString());
        gantt.setSelectedDate("A");
        gantt.Clear();
        QCOMPARE(gantt.SelectedDate(), QString());
        gantt.paintToImage(QSize(600, 300));
        QCOMPARE(gantt.GetMerkmalIndex(200), 0); // no rows any more
    }

    // Catches a scroll bar whose maximum does not follow the rows.
    void rowScrollBarFollowsRows()
    {
        ctlGantt gantt;
        auto *bar = gantt.findChild<QScrollBar *>("VScroll");
        QCOMPARE(bar->minimum(), 1);
        gantt.SetFilledRange(kMonday, kMonday + 6);
        QCOMPARE(bar->maximum(), 1); // the holiday row
        for (int k = 0; k < 40; ++k)
            gantt.AddMerkmal(QString::number(k), QString::number(k));
        QCOMPARE(bar->maximum(), 41);
        bar->setValue(30);
        gantt.Clear(); // leaves the scroll bar as it is
        QCOMPARE(bar->maximum(), 41);
        QCOMPARE(bar->value(), 30);
        QCOMPARE(gantt.paintToImage(QSize(300, 200)).size(), QSize(300, 200));
    }

    // Catches crashes and giant allocations for unusable picture sizes, and a HiDPI picture
    // that is not twice the pixels; the limit is the calendar's.
    void paintToImageSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels"); // empty: no picture
        QTest::newRow("normal") << QSize(640, 480) << 1.0 << QSize(640, 480);
        QTest::newRow("one pixel") << QSize(1, 1) << 1.0 << QSize(1, 1);
        QTest::newRow("zero width") << QSize(0, 100) << 1.0 << QSize(0, 0);
        QTest::newRow("too large") << QSize(100000, 100000) << 1.0 << QSize(0, 0);
        QTest::newRow("HiDPI") << QSize(400, 300) << 2.0 << QSize(800, 600);
        QTest::newRow("HiDPI beyond the limit") << QSize(5000, 5000) << 2.0 << QSize(0, 0);
    }
    void paintToImageSizes()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        ctlGantt gantt;
        Host host(gantt);
        gantt.Enabled = true;
        showWeek(gantt);
        const QImage image = gantt.paintToImage(size, ratio);
        QCOMPARE(image.size(), pixels);
        if (!image.isNull())
            QCOMPARE(image.devicePixelRatio(), ratio);
    }

    // Catches a view that opens as a sliver: the hint of a top-level Gantt view is a week of rows.
    void opensAtItsSizeHint()
    {
        ctlGantt gantt;
        const QSize hint = gantt.sizeHint();
        const QSize least = gantt.minimumSizeHint();
        QVERIFY2(hint.width() >= 640 && hint.height() >= 300, qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
        QVERIFY(least.width() >= 100 && least.height() >= 80);
        QVERIFY(least.width() < hint.width() && least.height() < hint.height());
    }

    // Catches a screen paint that ignores the scroll bars' room, differs from paintToImage, or
    // draws while the print driver uses the view.
    void screenPaintFillsThePictureArea()
    {
        ctlGantt gantt;
        Host host(gantt);
        gantt.Enabled = true;
        showWeek(gantt);
        gantt.resize(800, 500);
        auto *vertical = gantt.findChild<QScrollBar *>("VScroll");
        auto *horizontal = gantt.findChild<QScrollBar *>("HScroll");
        const QRect picture(0, 0, 800 - vertical->sizeHint().width(), 500 - horizontal->sizeHint().height());
        const QImage expected = gantt.paintToImage(picture.size());
        const QImage screen = gantt.grab(picture).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(vertical->geometry(), QRect(picture.width(), 0, vertical->sizeHint().width(), picture.height()));
        QCOMPARE(horizontal->geometry(), QRect(0, picture.height(), picture.width(), horizontal->sizeHint().height()));
        QCOMPARE(screen, expected);
        gantt.ForPrinting = true;
        const QImage printing = gantt.grab(picture).toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(printing != expected);
    }
};

QTEST_MAIN(tst_ctlGanttProtocol)
#include "tst_ctlgantt_protocol.moc"
