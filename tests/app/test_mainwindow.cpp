// The planner window's answers to the views' events, with its dialogs driven through the seam.
#include "appointmentdialog.h"
#include "filterdialog.h"
#include "mainwindow.h"

#include <dayplex/dayplex.h>

#include <QLineEdit>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

int countKeys(const QString &joined, const QString &key)
{
    return joined.split(QLatin1Char('|'), Qt::SkipEmptyParts).count(key);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.filePath(QStringLiteral("window-%1.sqlite").arg(++m_counter)));
        m_window = std::make_unique<MainWindow>(*m_db);
        m_messages.clear();
        m_dialogs = 0;
        m_window->setMessageSink([this](const QString &title, const QString &text) {
            m_messages.append(title + QStringLiteral(": ") + text);
        });
        m_window->setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
    }

    void cleanup()
    {
        m_window.reset();
        m_db.reset();
    }

    // Catches a window without the menus a user looks for.
    void menus()
    {
        QStringList titles;
        for (QAction *a : m_window->menuBar()->actions())
            titles.append(a->text().remove(QLatin1Char('&')));
        QVERIFY(titles.contains(QStringLiteral("Datei")));
        QVERIFY(titles.contains(QStringLiteral("Ansicht")));
        QVERIFY(titles.contains(QStringLiteral("Extras")));
    }

    void newDateFromCalendar_data()
    {
        QTest::addColumn<int>("startMinute");
        QTest::addColumn<int>("endMinute");
        QTest::addColumn<bool>("allDay");
        QTest::newRow("time-grid selection") << 10 * 60 << 11 * 60 + 30 << false;
        QTest::newRow("all-day band selection") << 0 << 0 << true;
    }

    // Catches a NewDate that is not saved for every chosen participant or not shown afterwards.
    void newDateFromCalendar()
    {
        QFETCH(int, startMinute);
        QFETCH(int, endMinute);
        QFETCH(bool, allDay);
        const double day = m_window->calendar()->FirstDay() + 1;
        m_window->setDialogRunner([this](QDialog &dialog) {
            ++m_dialogs;
            auto &form = static_cast<AppointmentDialog &>(dialog);
            form.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->setText(QStringLiteral("Schulung Excel"));
            form.setParticipantIds({2, 4});
            form.accept();
            return form.result();
        });
        const int before = m_db->appointmentCount();
        emit m_window->calendar()->NewDate(day + startMinute / 1440.0, day + endMinute / 1440.0, false);
        QCOMPARE(m_dialogs, 1);
        QCOMPARE(m_db->appointmentCount(), before + 2);
        const QVector<Appointment> saved = m_db->appointmentsInDays(day, day, {2, 4});
        int found = 0;
        for (const Appointment &a : saved) {
            if (a.text != QLatin1String("Schulung Excel"))
                continue;
            ++found;
            QCOMPARE(a.allDay, allDay);
            QCOMPARE(Database::toSqlDateTime(a.start), Database::toSqlDateTime(day + startMinute / 1440.0));
            QVERIFY(countKeys(m_window->calendar()->TerminDSN(), HostBridge::appointmentKey(a.id)) == 1);
        }
        QCOMPARE(found, 2);
        QVERIFY(m_messages.isEmpty());
    }

    // Catches the Gantt's participant list not reaching the form, or a cancelled form saving.
    void ganttNewDatePreselectsItsParticipants()
    {
        QList<int> preselected;
        m_window->setDialogRunner([&](QDialog &dialog) {
            preselected = static_cast<AppointmentDialog &>(dialog).participantIds();
            return int(AppointmentDialog::Cancelled);
        });
        const int before = m_db->appointmentCount();
        const double day = Dayplex::currentDate();
        emit m_window->gantt()->NewDate(day + 0.4, day + 0.45, QStringLiteral("P3|P5"));
        QCOMPARE(preselected, (QList<int>{3, 5}));
        QCOMPARE(m_db->appointmentCount(), before);
    }

    // Catches ShowDate opening the wrong record or "Löschen" leaving it in the database.
    void showDateDeletes()
    {
        const Appointment target = firstWritableShown();
        QString shownSubject;
        m_window->setDialogRunner([&](QDialog &dialog) {
            shownSubject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->text();
            return int(AppointmentDialog::Deleted);
        });
        emit m_window->calendar()->ShowDate(HostBridge::appointmentKey(target.id));
        QCOMPARE(shownSubject, target.text);
        QVERIFY(!m_db->appointment(target.id));
        QCOMPARE(countKeys(m_window->calendar()->TerminDSN(), HostBridge::appointmentKey(target.id)), 0);
    }

    // Catches a DateChanged that is not written or not reloaded into the view.
    void dateChangedIsWrittenAndReloaded()
    {
        const Appointment target = firstWritableShown();
        int asked = 0;
        connect(m_window->calendar(), &Dayplex::ucAgenda::NeedDates, this, [&] { ++asked; });
        const double start = std::floor(target.start) + 7.0 / 24;
        emit m_window->calendar()->DateChanged(HostBridge::appointmentKey(target.id), start, start + 0.5 / 24);
        QCOMPARE(Database::toSqlDateTime(m_db->appointment(target.id)->start), Database::toSqlDateTime(start));
        QVERIFY(asked >= 1);
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a failed write that goes unreported or leaves the new times half-written.
    void failedDateChangeIsReportedAndKeepsTheOldTimes()
    {
        const Appointment target = firstWritableShown();
        QSqlQuery trigger(QSqlDatabase::database(m_db->connectionName()));
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER full_journal BEFORE INSERT ON appointment_changes"
                                            " BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END")));
        const double start = std::floor(target.start) + 7.0 / 24;
        emit m_window->calendar()->DateChanged(HostBridge::appointmentKey(target.id), start, start + 0.5 / 24);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("Datenträger voll")), qPrintable(m_messages.first()));
        QCOMPARE(Database::toSqlDateTime(m_db->appointment(target.id)->start), Database::toSqlDateTime(target.start));
        QCOMPARE(countKeys(m_window->calendar()->TerminDSN(), HostBridge::appointmentKey(target.id)), 1);
    }

    // Catches a view switch that loses the displayed date.
    void switchingViewsKeepsTheDate()
    {
        m_window->setDayCount(5);
        const double first = m_window->calendar()->FirstDay();
        emit m_window->calendar()->ShowImGantt(0);
        QCOMPARE(m_window->currentView(), MainWindow::View::Gantt);
        QCOMPARE(m_window->gantt()->FirstDay(), first);
        QCOMPARE(m_window->gantt()->LastDay(), first + 4);
        m_window->page(1);
        const double ganttFirst = m_window->gantt()->FirstDay();
        emit m_window->gantt()->ShowImCalendar();
        QCOMPARE(m_window->currentView(), MainWindow::View::Calendar);
        QCOMPARE(m_window->calendar()->FirstDay(), ganttFirst);
    }

    // Catches a filter choice that is not stored or not applied to the views.
    void changeFilterStoresTheChoice()
    {
        m_window->setDialogRunner([](QDialog &dialog) {
            auto &filter = static_cast<FilterDialog &>(dialog);
            filter.setChosen({7});
            filter.accept();
            return filter.result();
        });
        emit m_window->gantt()->ChangeFilter();
        QCOMPARE(m_window->bridge().participantFilter(), QList<int>{7});
        for (const QString &key : m_window->calendar()->TerminDSN().split(QLatin1Char('|'), Qt::SkipEmptyParts))
            QCOMPARE(m_db->appointment(HostBridge::appointmentId(key))->participantId, 7);
    }

    void wheel_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("delta");
        QTest::addColumn<double>("rowShift");
        QTest::addColumn<int>("dayShift");
        QTest::newRow("one notch down") << 0 << -120 << 3.0 << 0;
        QTest::newRow("two notches up") << 0 << 240 << -6.0 << 0;
        QTest::newRow("Ctrl and one notch down") << 8 << -120 << 0.0 << 1;
    }

    // Catches wheel turns that scroll the wrong way, by the wrong amount or not at all.
    void wheel()
    {
        QFETCH(int, key);
        QFETCH(int, delta);
        QFETCH(double, rowShift);
        QFETCH(int, dayShift);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        Dayplex::ucAgenda *calendar = m_window->calendar();
        calendar->setFirstTime(10.0 / 24);
        const double firstTime = calendar->FirstTime();
        const double firstDay = calendar->FirstDay();
        auto *wheel = m_window->findChild<Dayplex::ctlIntellimouse *>();
        QVERIFY(wheel);
        const QPoint inside = calendar->mapToGlobal(calendar->rect().center());
        emit wheel->Wheel(key, delta, inside.x(), inside.y());
        QCOMPARE(calendar->FirstTime(), firstTime + rowShift * calendar->TimeRaster());
        QCOMPARE(calendar->FirstDay(), firstDay + dayShift);
        // Over the toolbar the wheel is not the views' business.
        const QPoint outside = m_window->mapToGlobal(QPoint(5, 5));
        emit wheel->Wheel(key, delta, outside.x(), outside.y());
        QCOMPARE(calendar->FirstTime(), firstTime + rowShift * calendar->TimeRaster());
    }

    // Catches an options change that is lost at the next start.
    void optionsChangedIsStored()
    {
        emit m_window->calendar()->OptionsChanged();
        QCOMPARE(m_window->bridge().calendarOptions(), m_window->calendar()->Options());
        emit m_window->gantt()->OptionsChanged();
        QCOMPARE(m_window->bridge().ganttOptions(), m_window->gantt()->Options());
    }

private:
    Appointment firstWritableShown() const
    {
        const QVector<Appointment> shown =
            m_db->appointmentsInDays(m_window->calendar()->FirstDay(), m_window->calendar()->LastDay());
        for (const Appointment &a : shown)
            if (!a.readOnly && !a.allDay)
                return a;
        qFatal("no writable appointment in the displayed days");
    }

    QTemporaryDir m_dir;
    int m_counter = 0;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_messages;
    int m_dialogs = 0;
};

QTEST_MAIN(tst_MainWindow)
#include "test_mainwindow.moc"
