// The host side of the views' protocol, on real views and a seeded database.
#include "hostbridge.h"

#include <dayplex/dayplex.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

class tst_HostBridge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches an all-day absence that the free-slot search reads otherwise than both views draw
    // it: a search for one whole day through the real Gantt view finds each day of the absence
    // taken, and every other day as free as it is without the absence.
    void ganttSearchFindsAnAbsenceOnEachOfItsDays()
    {
        const QDate anchor(2026, 12, 7);
        QTemporaryDir dir;
        Database db;
        db.open(dir.filePath(QStringLiteral("bridge.sqlite")), anchor);
        HostBridge bridge(db);
        const SeedData seed = makeSeedData(anchor);
        qsizetype index = 0;
        while (!(seed.appointments.at(index).allDay && seed.appointments.at(index).text == "Urlaub"))
            ++index;
        const Appointment absence = seed.appointments.at(index);
        const double firstDay = std::floor(absence.start), lastDay = std::floor(absence.end);
        QVERIFY(lastDay > firstDay);
        bridge.setParticipantFilter({absence.participantId});

        Dayplex::ctlGantt view;
        connect(&view, &Dayplex::ctlGantt::NeedDates, &view,
                [&](double from, double to, const QString &fields) { bridge.fillGantt(view, from, to, fields); });
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
        db.deleteAppointment(index + 1);
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
};

QTEST_MAIN(tst_HostBridge)
#include "test_hostbridge.moc"
