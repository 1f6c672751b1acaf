// An office day in the planner's real window, offscreen on a database file: boxes as long as
// their appointments, a new appointment by double click and Strg+N, Entf and the context menu,
// and undo and redo of every kind of change, compared row by row in the database. The form,
// the questions and the messages are answered through their seams.
#include "../support/testing.h"
#include "appointmentdialog.h"
#include "printlayouts.h"
#include "windowfixture.h"

#include <dayplex/dayplex.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QPushButton>
#include <QtTest>

using namespace Terminplaner;
using namespace Terminplaner::Testing;

namespace {

const Dayplex::Date kMonday = Dayplex::toDate(QDate(2031, 6, 2));
const QString kMeeting = QStringLiteral("Abstimmung Angebot");
const QString kNext = QStringLiteral("Rückruf Lindner");
const QString kSeries = QStringLiteral("Jour fixe");
const auto sql = &Database::toSqlDateTime;

Dayplex::Date at(int day, double hour)
{
    return kMonday + day + hour / 24.0;
}

QString screenLayoutHeight(const QString &options, const QString &layout)
{
    return entryValue(entryValue(options, layout), QStringLiteral("lngHoeheTerminzelle"));
}

QString withLayoutHeight(const QString &options, const QString &layout, const QString &rows)
{
    return setEntry(options, layout, QLatin1Char('s'),
                    setEntry(entryValue(options, layout), QStringLiteral("lngHoeheTerminzelle"), QLatin1Char('i'), rows));
}

} // namespace

class tst_OfficeDay : public QObject, WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init() { nextFile("buero"); }
    void cleanup() { closeWindow(); }

    void trueLengths_data()
    {
        QTest::addColumn<QString>("screen"); // the stored screen layout's rows, "" for no stored options
        QTest::addColumn<QString>("print");
        QTest::addColumn<bool>("repairedBefore");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("printAfter");
        QTest::newRow("first start") << "" << "" << false << 1 << "1";
        QTest::newRow("stored as once shipped") << "4" << "2" << false << 1 << "1";
        QTest::newRow("the user's own heights") << "3" << "5" << false << 3 << "5";
        QTest::newRow("four again after the repair") << "4" << "2" << true << 4 << "2";
    }

    // Catches a half-hour meeting drawn taller than its half hour or beside its successor,
    // stored options that keep the old minimum height, and a repair that overrides what a
    // user chose.
    void trueLengths()
    {
        QFETCH(QString, screen);
        QFETCH(QString, print);
        QFETCH(bool, repairedBefore);
        QFETCH(int, rows);
        QFETCH(QString, printAfter);
        Appointment first = appointment(kMeeting, at(0, 15), 0.5);
        Appointment second = appointment(kNext, at(0, 15.5), 0.5);
        {
            Database db;
            db.open(m_path, QDate(2040, 1, 2));
            db.insertAppointment(first);
            db.insertAppointment(second);
            if (!screen.isEmpty()) {
                QString options = Dayplex::ucAgenda().Options();
                options = withLayoutHeight(options, QStringLiteral("strLayoutScreenCalendar"), screen);
                for (const char *layout : {"strLayoutDruckTag", "strLayoutDruckWoche"})
                    options = withLayoutHeight(options, QLatin1String(layout), print);
                db.setSetting(QStringLiteral("options_calendar"), options);
            }
            if (repairedBefore)
                db.setSetting(QStringLiteral("options_true_lengths"), QStringLiteral("1"));
        }
        openWindow();
        QCOMPARE(m_window->calendar()->MinDateHeight(), rows);
        const QString stored = m_db->setting(QStringLiteral("options_calendar"));
        if (!screen.isEmpty())
            QCOMPARE(screenLayoutHeight(stored, QStringLiteral("strLayoutScreenCalendar")), QString::number(rows));
        const QString options = m_window->calendar()->Options();
        for (const char *layout : {"strLayoutDruckTag", "strLayoutDruckWoche"})
            QCOMPARE(screenLayoutHeight(options, QLatin1String(layout)), printAfter);
        if (rows != 1)
            return;
        const auto [top, bottom] = boxSpan(kMeeting);
        const auto [nextTop, nextBottom] = boxSpan(kNext);
        QVERIFY(top > 0 && nextTop > 0);
        // One row each, one below the other, and each as wide as the day.
        QVERIFY2(std::abs((bottom - top) - (nextBottom - nextTop)) <= 1 && nextTop - bottom <= 2 && nextTop > bottom,
                 qPrintable(QStringLiteral("%1-%2 %3-%4").arg(top).arg(bottom).arg(nextTop).arg(nextBottom)));
        const int column = columnWidth();
        QVERIFY2(boxWidth(kMeeting, (top + bottom) / 2) > column * 3 / 4, qPrintable(QString::number(column)));
        QVERIFY(boxWidth(kNext, (nextTop + nextBottom) / 2) > column * 3 / 4);
    }

    void newAppointment_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<double>("start"); // hours after Monday midnight; -1 the next full hour
        QTest::addColumn<double>("hours");
        QTest::newRow("double click on free time") << "double click" << 15.0 << 0.5;
        QTest::newRow("Strg+N on a clicked slot") << "click, Strg+N" << 15.0 << 0.5;
        QTest::newRow("Strg+N in the Gantt view") << "gantt, Strg+N" << -1.0 << 1.0;
        QTest::newRow("double click in the Gantt view") << "gantt signal" << 33.0 << 3.0;
    }

    // Catches a double click or Strg+N that opens nothing, opens the form at another time or
    // for another participant, or a saved form that is not stored or not undoable.
    void newAppointment()
    {
        QFETCH(QString, how);
        QFETCH(double, start);
        QFETCH(double, hours);
        openWithMeeting();
        const auto [top, bottom] = boxSpan(kMeeting); // two half-hour rows
        const QPoint slot(boxOf(kMeeting).x(), top + 1 + 10 * ((bottom - top + 1) / 2)); // 15:00, free
        Appointment shown;
        QList<int> participants;
        m_window->setDialogRunner([&](QDialog &dialog) {
            auto *form = qobject_cast<AppointmentDialog *>(&dialog);
            if (!form)
                return int(QDialog::Rejected);
            form->findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->setText(kNext);
            shown = form->appointment();
            participants = form->participantIds();
            return int(AppointmentDialog::Saved);
        });
        const Dayplex::Date nextHour = std::ceil(Dayplex::currentDateTime() * 24.0 - 1e-6) / 24.0;
        if (how == QLatin1String("double click")) {
            QTest::mouseDClick(surface(), Qt::LeftButton, {}, slot);
        } else if (how.startsWith(QLatin1String("click"))) {
            QTest::mouseClick(surface(), Qt::LeftButton, {}, slot);
            QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
        } else {
            m_window->showGantt(kMonday, 7);
            if (how.endsWith(QLatin1String("Strg+N")))
                QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
            else
                emit m_window->gantt()->newAppointmentRequested(at(1, 9), at(1, 12), QStringLiteral("P3|P5"));
        }
        const Dayplex::Date from = start < 0 ? nextHour : kMonday + start / 24.0;
        QCOMPARE(sql(shown.start), sql(from));
        QCOMPARE(sql(shown.end), sql(from + hours / 24.0));
        if (how == QLatin1String("gantt signal"))
            QCOMPARE(participants, QList<int>({3, 5}));
        QCOMPARE(rowsNamed(kNext), 1);
        QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("mnuRueckgaengig"))->text(),
                 QStringLiteral("Rückgängig: Termin anlegen"));
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowsNamed(kNext), 0);
    }

    void deleteKey_data()
    {
        QTest::addColumn<bool>("occurrence");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("meetingsLeft");
        QTest::newRow("confirmed") << false << true << 0;
        QTest::newRow("refused") << false << false << 1;
        QTest::newRow("occurrence, only this one") << true << true << 3;
        QTest::newRow("occurrence, cancelled") << true << false << 4;
    }

    // Catches an Entf that deletes without asking, deletes although refused, asks a yes/no
    // question for an occurrence of a series, or takes more of the series than chosen.
    void deleteKey()
    {
        QFETCH(bool, occurrence);
        QFETCH(bool, yes);
        QFETCH(int, meetingsLeft);
        openWithMeeting(occurrence);
        m_yes = yes;
        const QString subject = occurrence ? kSeries : kMeeting;
        QTest::mouseClick(surface(), Qt::LeftButton, {}, boxPoint(subject));
        QVERIFY(!m_window->calendar()->SelectedDate().isEmpty());
        QTest::keyClick(surface(), Qt::Key_Delete);
        QCOMPARE(m_questions.size(), occurrence ? 0 : 1);
        QCOMPARE(m_scopes.size(), occurrence ? 1 : 0);
        QVERIFY((occurrence ? m_scopes : m_questions).first().contains(subject));
        QCOMPARE(occurrence ? int(seriesRows().size()) : rowsNamed(kMeeting), meetingsLeft);
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a context menu without the host's entries, a "Erledigt" that does not show or
    // toggle the stored state, one that marks the whole series, and a "Löschen" that does not ask.
    void contextMenu()
    {
        openWithMeeting(true);
        QStringList checked;
        const auto choose = [&](const QString &subject, const char *entry) {
            QMenu *opened = nullptr;
            const auto connection = connect(m_window->calendar(), &Dayplex::ucAgenda::contextMenuAboutToShow, this,
                                            [&opened](QMenu *menu, const QString &) { opened = menu; });
            QTest::mouseClick(surface(), Qt::RightButton, {}, boxPoint(subject));
            disconnect(connection);
            const QList<QAction *> shown = opened ? opened->actions() : QList<QAction *>();
            const auto found = std::find_if(shown.begin(), shown.end(),
                                            [entry](const QAction *a) { return a->objectName() == QLatin1String(entry); });
            if (found == shown.end())
                return false;
            QAction *action = *found;
            checked.append(action->isChecked() ? subject : QString());
            opened->close();
            action->trigger();
            return true;
        };
        QVERIFY(choose(kMeeting, "mnuTerminErledigt"));
        QVERIFY(m_db->appointment(m_meeting)->done);
        QVERIFY(choose(kMeeting, "mnuTerminErledigt"));
        QVERIFY(!m_db->appointment(m_meeting)->done);
        QVERIFY(choose(kSeries, "mnuTerminErledigt"));
        QCOMPARE(checked, QStringList({QString(), kMeeting, QString()}));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(!m_db->appointment(m_series)->done);
        int done = 0;
        for (const Appointment &a : m_db->appointmentsInDays(kMonday, kMonday + 6))
            done += a.seriesId == m_series && a.done ? 1 : 0;
        QCOMPARE(done, 1);
        QVERIFY(choose(kMeeting, "mnuTerminLoeschen"));
        QCOMPARE(m_questions.size(), 1);
        QCOMPARE(rowsNamed(kMeeting), 0);
    }

    void undoAndRedo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("create") << "create" << "Termin anlegen";
        QTest::newRow("edit") << "edit" << "Termin bearbeiten";
        QTest::newRow("move") << "move" << "Termin verschieben";
        QTest::newRow("resize") << "resize" << "Terminlänge ändern";
        QTest::newRow("delete a meeting") << "delete" << "Termin löschen";
        QTest::newRow("done") << "done" << "Als erledigt markieren";
        QTest::newRow("occurrence moved") << "move occurrence" << "Termin verschieben";
        QTest::newRow("series changed from an occurrence on") << "series following" << "Serientermin ändern";
        QTest::newRow("series deleted with its changes") << "delete series" << "Serientermin löschen";
    }

    // Catches an undo or redo that leaves any row, participant, override or exception date of
    // the database otherwise than before and after the step, a menu entry that does not name
    // the step, and a deleted appointment that comes back without its participants.
    void undoAndRedo()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        openWithMeeting(true);
        // A changed occurrence and a taken-out one, so that the series carries both.
        m_db->changeOccurrence(m_series, at(7, 9), appointment(kSeries, at(8, 14), 1, 2), Dayplex::SeriesScope::OnlyThis);
        m_db->deleteOccurrence(m_series, at(14, 9), Dayplex::SeriesScope::OnlyThis);
        // Participant 3 away on the meeting's day, a warning the user once accepted.
        Appointment away = appointment(QStringLiteral("Urlaub"), at(0, 0), 0, 3);
        away.allDay = true;
        m_db->saveAppointment(away, {3});
        m_window->reloadViews();
        const QList<qint64> rows = seriesRows();
        const qint64 changedOccurrence = *std::find_if(rows.begin(), rows.end(), [this](qint64 id) { return id != m_series; });
        const QString before = dump();
        const QString occurrence = QStringLiteral("T%1@20310602T090000").arg(m_series);
        m_window->setDialogRunner([](QDialog &dialog) {
            auto *subject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"));
            if (subject)
                subject->setText(QStringLiteral("Angebot, zweite Runde"));
            return subject ? int(AppointmentDialog::Saved) : int(QDialog::Rejected);
        });
        m_scope = kind == QLatin1String("delete series") ? Dayplex::SeriesScope::AllOfSeries
                                                         : Dayplex::SeriesScope::ThisAndFollowing;
        if (kind == QLatin1String("create"))
            m_window->newAppointment(at(2, 8), at(2, 9), false, {2, 4});
        else if (kind == QLatin1String("edit"))
            m_window->openAppointment(HostBridge::appointmentKey(m_meeting));
        else if (kind == QLatin1String("move"))
            m_window->moveAppointment(HostBridge::appointmentKey(m_meeting), at(1, 12), at(1, 13));
        else if (kind == QLatin1String("resize")) {
            m_window->moveAppointment(HostBridge::appointmentKey(m_meeting), at(0, 10), at(0, 12.5));
            QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("Terminlänge geändert: Mo., 02.06.2031 10:00–12:30."));
        }
        else if (kind == QLatin1String("delete"))
            m_window->deleteAppointment(HostBridge::appointmentKey(m_meeting));
        else if (kind == QLatin1String("done"))
            m_window->toggleDone(HostBridge::appointmentKey(m_meeting));
        else if (kind == QLatin1String("move occurrence"))
            m_window->moveAppointment(occurrence, at(0, 16), at(0, 16.5));
        else if (kind == QLatin1String("series following"))
            m_window->openAppointment(HostBridge::appointmentKey(changedOccurrence));
        else
            m_window->deleteAppointment(occurrence);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY2(kind != QLatin1String("edit") || m_overlaps.isEmpty(), qPrintable(m_overlaps.join('\n')));
        const QString after = dump();
        QVERIFY(after != before);
        auto *undo = m_window->findChild<QAction *>(QStringLiteral("mnuRueckgaengig"));
        auto *redo = m_window->findChild<QAction *>(QStringLiteral("mnuWiederholen"));
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig: ") + text);
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(dump(), before);
        QCOMPARE(redo->text(), QStringLiteral("Wiederholen: ") + text);
        QTest::keyClick(m_window.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(dump(), after);
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(dump(), after);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    }

    void undoAfterAnotherDesk_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("the other desk's time stays") << false;
        QTest::newRow("undone over it") << true;
    }

    // Catches an undo that silently overwrites what another desk saved after this desk's step,
    // or that does not follow the answer.
    void undoAfterAnotherDesk()
    {
        QFETCH(bool, overwrite);
        openWithMeeting();
        m_window->moveAppointment(HostBridge::appointmentKey(m_meeting), at(1, 12), at(1, 13));
        {
            Database otherDesk;
            otherDesk.open(m_path);
            otherDesk.moveAppointment(m_meeting, at(3, 8), at(3, 9), m_db->appointment(m_meeting)->version);
        }
        m_yes = overwrite;
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_questions.size(), 1);
        QVERIFY2(m_questions.first().contains(QStringLiteral("anderen Arbeitsplatz geändert")), qPrintable(m_questions.first()));
        QCOMPARE(sql(m_db->appointment(m_meeting)->start), sql(overwrite ? at(0, 10) : at(3, 8)));
        QCOMPARE(m_window->history().stack().canUndo(), false);
    }

    void overlapWarning_data()
    {
        QTest::addColumn<bool>("check");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("moved");
        QTest::newRow("saved anyway") << true << int(MainWindow::OverlapAnswer::SaveAnyway) << true;
        QTest::newRow("cancelled") << true << int(MainWindow::OverlapAnswer::Cancel) << false;
        QTest::newRow("a free slot searched") << true << int(MainWindow::OverlapAnswer::FindFreeSlot) << false;
        QTest::newRow("check off in the options") << false << int(MainWindow::OverlapAnswer::Cancel) << true;
    }

    // Catches a move into a participant's absence that is saved without a word, a warning
    // that does not name the absence, an answer not followed, a check the options turned off,
    // window shortcuts that take Alt with the arrows from the calendar, and paging keys that
    // no longer page.
    void overlapWarning()
    {
        QFETCH(bool, check);
        QFETCH(int, answer);
        QFETCH(bool, moved);
        const bool search = answer == int(MainWindow::OverlapAnswer::FindFreeSlot);
        openWithMeeting();
        Appointment away = appointment(QStringLiteral("Urlaub"), at(1, 0), 0, 3);
        away.allDay = true;
        m_db->saveAppointment(away, {3});
        Dayplex::ucAgenda *calendar = m_window->calendar();
        if (!check)
            calendar->setOptions(setEntry(calendar->Options(), QStringLiteral("blnUeberschneidenCalendar"),
                                          QLatin1Char('b'), QStringLiteral("0")));
        m_overlapAnswer = MainWindow::OverlapAnswer(answer);
        Dayplex::Testing::PromptAnswers yes;
        QTest::mouseClick(surface(), Qt::LeftButton, {}, boxPoint(kMeeting));
        QTest::keyClick(surface(), Qt::Key_Right, Qt::AltModifier);
        QTest::keyClick(surface(), Qt::Key_Return);
        QCOMPARE(yes.texts().size(), 1);
        QCOMPARE(m_overlaps.size(), check ? 1 : 0);
        if (check)
            for (const QString &part : {kMeeting, QStringLiteral("„Urlaub“, Di., 03.06.2031, ganztägig")})
                QVERIFY2(m_overlaps.first().contains(part), qPrintable(m_overlaps.first()));
        QCOMPARE(sql(m_db->appointment(m_meeting)->start), sql(moved ? at(1, 10) : at(0, 10)));
        QCOMPARE(m_window->currentView() == MainWindow::View::Gantt, search);
        if (!search) {
            QCOMPARE(m_window->calendar()->FirstDay(), kMonday);
            QTest::keyClick(m_window.get(), Qt::Key_PageDown, Qt::ControlModifier);
            QCOMPARE(m_window->calendar()->FirstDay(), kMonday + 7);
        } else {
            // The search is for the meeting's participants and its length, not for everybody.
            Dayplex::ctlGantt *gantt = m_window->gantt();
            QSignalSpy created(gantt, &Dayplex::ctlGantt::NewDate);
            QTest::mouseClick(gantt->findChild<QPushButton *>(QStringLiteral("cmdAuto_1")), Qt::LeftButton);
            QTest::mouseClick(gantt->findChild<QPushButton *>(QStringLiteral("cmdNeu")), Qt::LeftButton);
            QCOMPARE(created.size(), 1);
            const Appointment meeting = *m_db->appointment(m_meeting);
            QStringList keys;
            for (int id : meeting.allParticipants())
                keys.append(HostBridge::participantKey(id));
            QStringList proposed = created.first().at(2).toString().split(QLatin1Char('|'), Qt::SkipEmptyParts);
            proposed.sort();
            keys.sort();
            QCOMPARE(proposed.join(QLatin1Char(',')), keys.join(QLatin1Char(',')));
            QCOMPARE(sql(created.first().at(1).toDouble() - created.first().at(0).toDouble() + at(0, 0)),
                     sql(meeting.end - meeting.start + at(0, 0)));
        }
        QVERIFY(m_messages.isEmpty());
    }

    void importOverlap_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("added");
        QTest::newRow("saved anyway") << int(MainWindow::OverlapAnswer::SaveAnyway) << 1;
        QTest::newRow("cancelled") << int(MainWindow::OverlapAnswer::Cancel) << 0;
    }

    // Catches an import into a participant's booked time that is written without a word, and
    // an import the user stopped at the warning that writes anything.
    void importOverlap()
    {
        QFETCH(int, answer);
        QFETCH(int, added);
        openWithMeeting();
        const QString file = m_dir.filePath(QStringLiteral("kunde.ics"));
        QFile ics(file);
        QVERIFY(ics.open(QIODevice::WriteOnly));
        ics.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kunde//DE\r\nBEGIN:VEVENT\r\nUID:k1\r\n"
                  "DTSTART;TZID=Europe/Berlin:20310602T103000\r\nDTEND;TZID=Europe/Berlin:20310602T113000\r\n"
                  "SUMMARY:Rückruf Kunde\r\nATTENDEE;CN=Anna Becker:mailto:a@example.org\r\nEND:VEVENT\r\n"
                  "END:VCALENDAR\r\n");
        ics.close();
        chooseFile(file);
        m_overlapAnswer = MainWindow::OverlapAnswer(answer);
        const int before = m_db->appointmentCount();
        m_window->importCalendar();
        QCOMPARE(m_overlaps.size(), 1);
        QVERIFY2(m_overlaps.first().contains(kMeeting), qPrintable(m_overlaps.first()));
        QCOMPARE(m_db->appointmentCount(), before + added);
        QVERIFY(m_messages.isEmpty());
    }

private:
    void openWindow()
    {
        openDatabase(m_path, QDate(2040, 1, 2));
        m_window->bridge().setParticipantFilter({1});
        m_window->showCalendar(kMonday);
        m_window->calendar()->setFirstTime(8.0 / 24);
        m_window->reloadViews();
    }

    // Monday 10:00-11:00 a meeting of participants 1 and 3; with series, a weekly jour fixe
    // Mondays 09:00-09:30 for participant 1, four times.
    void openWithMeeting(bool series = false)
    {
        {
            Database db;
            db.open(m_path, QDate(2040, 1, 2));
            m_meeting = db.saveAppointment(appointment(kMeeting, at(0, 10), 1), {1, 3}).first();
            Appointment jour = appointment(kSeries, at(0, 9), 0.5);
            jour.rrule = QStringLiteral("FREQ=WEEKLY;COUNT=4");
            m_series = series ? db.saveAppointment(jour, {1}).first() : 0;
        }
        openWindow();
    }

    int rowsNamed(const QString &text) const
    {
        int n = 0;
        for (const Appointment &a : m_db->appointmentsInDays(std::floor(Dayplex::currentDate()) - 1, kMonday + 60))
            n += a.text == text ? 1 : 0;
        return n;
    }

    // The series' rows: all of them, or the id of its changed occurrence (9 June, moved to the 10th).
    QList<qint64> seriesRows() const
    {
        QList<qint64> ids;
        for (const Appointment &a : m_db->appointmentsInDays(kMonday, kMonday + 60))
            if (a.seriesId == m_series)
                ids.append(a.id);
        return ids;
    }

    // How many pixels of the row y name subject.
    int boxWidth(const QString &subject, int y) const
    {
        int width = 0;
        for (int x = 0; x < surface()->width(); ++x)
            width += tipAt(QPoint(x, y)).contains(subject) ? 1 : 0;
        return width;
    }

    QPoint boxPoint(const QString &subject) const
    {
        const auto [top, bottom] = boxSpan(subject);
        return QPoint(boxOf(subject).x(), (top + bottom) / 2);
    }

    qint64 m_meeting = 0;
    qint64 m_series = 0;
};

QTEST_MAIN(tst_OfficeDay)
#include "test_officeday.moc"
