// The host side of the views' protocol, on real views and a seeded database.
#include "hostbridge.h"
#include "printlayouts.h"

#include <dayplex/dayplex.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QDate kAnchor(2026, 12, 7);

// The seeded appointments of the days, computed from the seed itself rather than by SQL:
// a fresh database numbers them 1, 2, ... in seed order.
QSet<QString> seededKeys(QDate first, QDate last, const QList<int> &participants = {})
{
    QSet<QString> keys;
    const SeedData seed = makeSeedData(kAnchor);
    for (int i = 0; i < seed.appointments.size(); ++i) {
        const Appointment &a = seed.appointments.at(i);
        const QDate startDay = Dayplex::toQDate(a.start);
        const QDate endDay = Dayplex::toQDate(a.end);
        if (startDay <= last && endDay >= first
            && (participants.isEmpty() || participants.contains(a.participantId)))
            keys.insert(HostBridge::appointmentKey(i + 1));
    }
    return keys;
}

// The printed view of a one-view layout on the job's A4 page, in printer pixels: top and
// height of the view between the margins of the layout.
struct PrintedView
{
    double top = 0;
    double height = 0;
};
PrintedView a4View(const QString &layout)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(entryValue(layout, QStringLiteral("blnQuerformat")) == QLatin1String("-1")
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    const auto millimetres = [&layout](const char *key) {
        return entryValue(layout, QLatin1String(key)).toDouble();
    };
    const double dpmm = printer.logicalDpiY() / 25.4;
    const double margins = std::nearbyint((millimetres("lngRandOben") + millimetres("lngRandUnten")) * dpmm);
    return {std::nearbyint(millimetres("lngRandOben") * dpmm),
            std::nearbyint(printer.pageRect(QPrinter::DevicePixel).height() - margins)};
}

// Width and height of the first page of a PDF file, in points.
QSizeF pdfPageSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSizeF();
    const QRegularExpressionMatch box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                                            .match(QString::fromLatin1(file.readAll()));
    return box.hasMatch() ? QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble()) : QSizeF();
}

QSet<QString> keySet(const QString &joined)
{
    const QStringList keys = joined.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    return QSet<QString>(keys.begin(), keys.end());
}

} // namespace

class tst_HostBridge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.filePath(QStringLiteral("bridge-%1.sqlite").arg(++m_counter)), kAnchor);
        m_bridge = std::make_unique<HostBridge>(*m_db);
    }

    void cleanup()
    {
        m_bridge.reset();
        m_db.reset();
    }

    void calendarGetsExactlyTheAskedDays_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<int>("days");
        QTest::newRow("one Wednesday") << QDate(2026, 12, 9) << 1;
        QTest::newRow("work week") << QDate(2026, 12, 7) << 5;
        QTest::newRow("week over a month end") << QDate(2026, 11, 26) << 7;
        QTest::newRow("two weeks in the past") << QDate(2026, 11, 2) << 14;
    }

    // Catches a NeedDates answer that misses or adds appointments, or fills the wrong range.
    void calendarGetsExactlyTheAskedDays()
    {
        QFETCH(QDate, first);
        QFETCH(int, days);
        Dayplex::ucAgenda view;
        QList<QPair<double, double>> asked;
        FillResult filled;
        connect(&view, &Dayplex::ucAgenda::NeedDates, &view,
                [&](double from, double to, const QString &fields) {
                    asked.append({from, to});
                    filled = m_bridge->fillCalendar(view, from, to, fields);
                });
        view.Enabled = true;
        double last = Dayplex::toDate(kAnchor.addDays(30));
        view.SetDisplayedRange(Dayplex::toDate(kAnchor.addDays(28)), &last, false, false);

        last = Dayplex::toDate(first.addDays(days - 1));
        view.SetDisplayedRange(Dayplex::toDate(first), &last, false, false);
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.last().first, Dayplex::toDate(first));
        QCOMPARE(asked.last().second, Dayplex::toDate(first.addDays(days - 1)));
        const QSet<QString> expected = seededKeys(first, first.addDays(days - 1));
        QCOMPARE(filled.delivered, expected.size());
        QCOMPARE(filled.skipped, 0);
        const QString listed = view.TerminDSN();
        QCOMPARE(keySet(listed), expected);
        QCOMPARE(listed.count(QLatin1Char('|')), keySet(listed).size());
    }

    // Catches Gantt rows outside the filter, appointments in the wrong row, and notes that block.
    void ganttGetsFilteredRowsAndNotes()
    {
        const SeedData seed = makeSeedData(kAnchor);
        auto timedOn = [&seed](double day, int participant) {
            for (const Appointment &a : seed.appointments)
                if (!a.allDay && std::floor(a.start) == day && a.participantId == participant)
                    return std::optional<Appointment>(a);
            return std::optional<Appointment>();
        };
        // A day with a home-office note of someone who also has a timed appointment, and a
        // timed appointment of someone else.
        std::optional<Appointment> note, own, other;
        for (const Appointment &a : seed.appointments) {
            if (!a.note)
                continue;
            own = timedOn(std::floor(a.start), a.participantId);
            for (int p = 1; p <= 8 && !other; ++p)
                if (p != a.participantId)
                    other = timedOn(std::floor(a.start), p);
            if (own && other) {
                note = a;
                break;
            }
            other.reset();
        }
        QVERIFY(note);
        const QString shownKey = HostBridge::participantKey(note->participantId);
        const QString hiddenKey = HostBridge::participantKey(other->participantId);
        m_bridge->setParticipantFilter({note->participantId});

        Dayplex::ctlGantt view;
        connect(&view, &Dayplex::ctlGantt::NeedDates, &view,
                [&](double from, double to, const QString &fields) { m_bridge->fillGantt(view, from, to, fields); });
        view.Enabled = true;
        const double day = std::floor(note->start);
        double last = day;
        view.SetDisplayedRange(day, &last, false, false);

        QVERIFY(!view.isTerminFreiMerkmal(own->start, own->end, shownKey));
        QVERIFY(view.isTerminFreiMerkmal(other->start, other->end, hiddenKey));
        // The note covers the whole day and still leaves the early morning free.
        QVERIFY(view.isTerminFreiMerkmal(day + 6.0 / 24, day + 7.0 / 24, shownKey));
    }

    // Catches an all-day absence that the free-slot search reads otherwise than both views draw
    // it: a search for one whole day through the real Gantt view finds each day of the absence
    // taken, and every other day as free as it is without the absence.
    void ganttSearchFindsAnAbsenceOnEachOfItsDays()
    {
        const SeedData seed = makeSeedData(kAnchor);
        qsizetype index = 0;
        while (!(seed.appointments.at(index).allDay && seed.appointments.at(index).text == "Urlaub"))
            ++index;
        const Appointment absence = seed.appointments.at(index);
        const double firstDay = std::floor(absence.start), lastDay = std::floor(absence.end);
        QVERIFY(lastDay > firstDay);
        m_bridge->setParticipantFilter({absence.participantId});

        Dayplex::ctlGantt view;
        connect(&view, &Dayplex::ctlGantt::NeedDates, &view,
                [&](double from, double to, const QString &fields) { m_bridge->fillGantt(view, from, to, fields); });
        view.Enabled = true;
        view.resize(900, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy created(&view, &Dayplex::ctlGantt::NewDate);
        // The day that a search for one day, weekends and holidays allowed, proposes from `day`.
        const auto proposedFrom = [&](double day) {
            view.FreienTerminSuchen(day);
            view.findChild<QLineEdit *>("txtTage")->setText(QStringLiteral("1"));
            view.findChild<QCheckBox *>("chkWochenende")->setChecked(true);
            QTest::mouseClick(view.findChild<QPushButton *>("cmdAuto_1"), Qt::LeftButton);
            QTest::mouseClick(view.findChild<QPushButton *>("cmdNeu"), Qt::LeftButton);
            return created.isEmpty() ? 0.0 : created.takeLast().at(0).toDouble();
        };
        QVector<bool> freeWith;
        for (double day = firstDay - 3; day <= lastDay + 3; ++day)
            freeWith.append(proposedFrom(day) == day);
        m_db->deleteAppointment(index + 1);
        view.Refresh();
        for (qsizetype i = 0; i < freeWith.size(); ++i) {
            const double day = firstDay - 3 + double(i);
            const bool freeWithout = proposedFrom(day) == day;
            const bool away = day >= firstDay && day <= lastDay;
            // Nothing else is planned on the days of an absence.
            QVERIFY(!away || freeWithout);
            QVERIFY2(freeWith.at(i) == (freeWithout && !away),
                     qPrintable(Dayplex::toQDate(day).toString(Qt::ISODate)));
        }
    }

private:
    // A view with the options a new database gives it, showing the days from the week after
    // the seed's anchor, filled from the database.
    template <typename View, typename Fill>
    void showShipped(View &view, int days, Fill fill)
    {
        QCOMPARE(HostBridge::restoreOptions(view, QString()), QString());
        connect(&view, &View::NeedDates, &view, [this, &view, fill](double from, double to, const QString &fields) {
            (m_bridge.get()->*fill)(view, from, to, fields);
        });
        view.setAlignOnWeekday(2);
        view.Enabled = true;
        const double first = Dayplex::toDate(kAnchor.addDays(7));
        double last = first + days - 1;
        view.SetDisplayedRange(first, &last, false, true);
    }

    QTemporaryDir m_dir;
    int m_counter = 0;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<HostBridge> m_bridge;
};

QTEST_MAIN(tst_HostBridge)
#include "test_hostbridge.moc"
