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
