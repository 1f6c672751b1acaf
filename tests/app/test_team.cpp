// The planner as a team uses it: several desks on one PostgreSQL server of the test's own.
// The window under test is one desk; the other desk is a separate host process (desk_move)
// that writes as the window does.
#include "appointmentdialog.h"
#include "mainwindow.h"
#include "pgserver.h"

#include <dayplex/dayplex.h>

#include <QDateTime>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QDate kWeek(2026, 12, 7); // a Monday

// The full hour on a day of the week under test.
Dayplex::Date at(int weekday, int hour)
{
    return Dayplex::toDate(kWeek.addDays(weekday)) + hour / 24.0;
}

QString iso(Dayplex::Date value)
{
    return Database::toSqlDateTime(value);
}

} // namespace

class tst_Team : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // as the program does
        QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    }

    void init()
    {
        m_url = m_server.createDatabase(QStringLiteral("team%1").arg(++m_counter));
        QVERIFY2(!m_url.isEmpty(), qPrintable(m_server.error()));
        m_db = std::make_unique<Database>();
        m_db->open(m_url, kWeek);
        // Two appointments of their own on a quiet day, apart from the demo data.
        m_moved = m_db->insertAppointment(plain(QStringLiteral("Abnahme Lindner AG"), 6, 1));
        m_other = m_db->insertAppointment(plain(QStringLiteral("Rückruf Herr Krämer"), 7, 2));
        m_window = std::make_unique<MainWindow>(*m_db);
        m_messages.clear();
        m_questions.clear();
        m_window->setMessageSink([this](const QString &title, const QString &text) {
            m_messages.append(title + QStringLiteral(": ") + text);
        });
        m_window->setQuestionHandler([this](const QString &, const QString &text) {
            m_questions.append(text);
            return m_answer;
        });
        m_window->resize(1280, 800);
        m_window->show();
        m_window->showCalendar(Dayplex::toDate(kWeek));
        QVERIFY(shown(m_moved));
    }

    void cleanup()
    {
        m_window.reset();
        m_db.reset();
    }

    // Catches a change of another desk that reaches this desk late or not at all, and a
    // refresh that drops the selection, the scroll position or an open form.
    void moveAtTheOtherDeskShowsWithinOneSecond()
    {
        qint64 refreshedAt = 0;
        m_window->setRefreshObserver([&](const ChangeNotice &) { refreshedAt = QDateTime::currentMSecsSinceEpoch(); });
        Dayplex::ucAgenda *calendar = m_window->calendar();
        calendar->setFirstTime(5.0 / 24);
        calendar->setSelectedDate(HostBridge::appointmentKey(m_other));
        const QString typed = QStringLiteral("Rückruf Herr Krämer, mit Angebot");
        qint64 savedAt = 0;
        QString formTextAfterRefresh;
        m_window->setDialogRunner([&](QDialog &dialog) {
            auto *subject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"));
            subject->setText(typed);
            // While the form is open, the other desk moves an appointment of the shown week.
            savedAt = otherDeskMoves(m_moved, 3, 8);
            [&] { QTRY_VERIFY_WITH_TIMEOUT(refreshedAt > 0, 5000); }();
            formTextAfterRefresh = subject->text();
            return int(AppointmentDialog::Saved);
        });
        m_window->openAppointment(HostBridge::appointmentKey(m_other));

        QVERIFY(savedAt > 0);
        QVERIFY2(refreshedAt - savedAt < 1000, qPrintable(QStringLiteral("%1 ms").arg(refreshedAt - savedAt)));
        QCOMPARE(formTextAfterRefresh, typed);
        QCOMPARE(m_db->appointment(m_other)->text, typed);
        QVERIFY(shown(m_moved));
        QCOMPARE(iso(m_db->appointment(m_moved)->start), iso(at(3, 8)));
        QCOMPARE(calendar->FirstTime(), 5.0 / 24);
        QCOMPARE(calendar->SelectedDate(), HostBridge::appointmentKey(m_other));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    }

    void conflictingMove_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("expectedHour");
        QTest::newRow("the other desk's time stays") << false << 11;
        QTest::newRow("this desk's time is saved") << true << 14;
    }

    // Catches a drag that silently overwrites what another desk saved meanwhile, a question
    // that does not say what the other desk stored, or an answer that is not followed.
    void conflictingMove()
    {
        QFETCH(bool, answer);
        QFETCH(int, expectedHour);
        m_answer = answer;
        // The other desk saves first; this desk has not seen it yet when its drag ends.
        QVERIFY(otherDeskMoves(m_moved, 2, 11) > 0);
        const int journal = m_db->journalCount();
        m_window->moveAppointment(HostBridge::appointmentKey(m_moved), at(2, 14), at(2, 15));
        QCOMPARE(m_questions.size(), 1);
        const QString &question = m_questions.first();
        QVERIFY2(question.contains(QStringLiteral("anderen Arbeitsplatz geändert")), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("Dort gespeichert: „Abnahme Lindner AG“, Mi., 09.12.2026 11:00–12:00")),
                 qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("Ihre Verschiebung: „Abnahme Lindner AG“, Mi., 09.12.2026 14:00–15:00")));
        QCOMPARE(iso(m_db->appointment(m_moved)->start), iso(at(2, expectedHour)));
        QCOMPARE(m_db->journalCount(), journal + (answer ? 1 : 0));
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a server that goes away mid-session: more than one message, the typed form
    // lost, no reconnection when the server is back, or no live refresh afterwards.
    void serverStoppedAndStartedMidSession()
    {
        const QString typed = QStringLiteral("Schulung Zeiterfassung");
        QStringList formTexts;
        m_window->setDialogRunner([&](QDialog &dialog) {
            auto *subject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"));
            formTexts.append(subject->text());
            if (formTexts.size() == 1) {
                subject->setText(typed);
                m_server.stop();
                return int(AppointmentDialog::Saved);
            }
            // The form is back with the input; the server returns while it is open.
            if (!m_server.startAgain())
                return int(QDialog::Rejected);
            [&] { QTRY_VERIFY_WITH_TIMEOUT(m_window->statusBar()->currentMessage().contains(QStringLiteral("wiederhergestellt")), 10000); }();
            return int(AppointmentDialog::Saved);
        });
        const int before = m_db->appointmentCount();
        m_window->newAppointment(at(1, 13), at(1, 14), false, {3});
        QVERIFY2(formTexts.size() == 2, qPrintable(m_messages.join(QLatin1Char('\n'))));
        QCOMPARE(formTexts.at(1), typed);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("Verbindung zum Datenbankserver ist unterbrochen")),
                 qPrintable(m_messages.first()));
        QVERIFY2(m_messages.first().contains(QStringLiteral("Der Termin wurde nicht gespeichert")),
                 qPrintable(m_messages.first()));
        QCOMPARE(m_db->appointmentCount(), before + 1);

        // Changes of the other desk show again after the reconnection.
        bool refreshed = false;
        m_window->setRefreshObserver([&](const ChangeNotice &) { refreshed = true; });
        QVERIFY(otherDeskMoves(m_moved, 3, 8) > 0);
        QTRY_VERIFY_WITH_TIMEOUT(refreshed, 2000);
        QCOMPARE(m_messages.size(), 1);
    }

private:
    static Appointment plain(const QString &text, int hour, int participant)
    {
        Appointment a;
        a.text = text;
        a.start = at(2, hour);
        a.end = at(2, hour + 1);
        a.participantId = participant;
        return a;
    }

    // The other desk moves the appointment to the hour from `hour` on the week's `weekday`;
    // returns the moment its write was committed, 0 when it failed.
    qint64 otherDeskMoves(qint64 id, int weekday, int hour) const
    {
        QProcess process;
        process.start(QStringLiteral(DESK_MOVE_EXE),
                      {m_url, QString::number(id), iso(at(weekday, hour)), iso(at(weekday, hour + 1))});
        if (!process.waitForFinished(20000) || process.exitCode() != 0) {
            qWarning("desk_move failed: %s", process.readAllStandardError().constData());
            return 0;
        }
        return process.readAllStandardOutput().trimmed().toLongLong();
    }

    bool shown(qint64 id) const
    {
        return m_window->calendar()->TerminDSN().split(QLatin1Char('|')).contains(HostBridge::appointmentKey(id));
    }

    PgServer m_server;
    QString m_url;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<MainWindow> m_window;
    qint64 m_moved = 0;
    qint64 m_other = 0;
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = false;
    int m_counter = 0;
};

QTEST_MAIN(tst_Team)
#include "test_team.moc"
