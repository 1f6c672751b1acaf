// The planner end to end: the real window and views offscreen on a database file, driven with
// the mouse as a user drives it, and the host's answers to the views' events; and the window as
// one desk of a team on a PostgreSQL server of the test's own, beside another desk on a
// connection of its own. The question before a change, the appointment form and the messages
// are answered through their seams, so nothing waits for a hand.
#include "../support/seriesanswers.h"
#include "../support/testing.h"
#include "appointmentdialog.h"
#include "calendarexchange.h"
#include "icalendar.h"
#include "pgserver.h"
#include "recurrenceeditor.h"
#include "windowfixture.h"

#include <dayplex/dayplex.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using namespace Terminplaner;
using namespace Terminplaner::Testing;

namespace {

const QString kSubject = QStringLiteral("Abnahme Lindner AG");
const QString kOtherProgram = QStringLiteral("other-program");
const QDate kTeamWeek(2026, 12, 7); // a Monday

const auto sql = &Database::toSqlDateTime;

// The full hour on a day of the team's week.
Dayplex::Date at(int weekday, int hour)
{
    return Dayplex::toDate(kTeamWeek.addDays(weekday)) + hour / 24.0;
}

} // namespace

class tst_EndToEnd : public QObject, WindowFixture
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
        nextFile("termine");
        m_prompts.emplace();
    }

    void cleanup()
    {
        closeWindow();
        m_prompts.reset();
        QSqlDatabase::removeDatabase(kOtherProgram);
    }

    void dropOfAnAppointment_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("confirmed") << true << "" << "";
        QTest::newRow("refused") << false << "" << "";
        QTest::newRow("read-only database") << true << "read-only" << "schreibgeschützt";
        QTest::newRow("another program holds the lock") << true << "locked" << "anderes Programm";
        QTest::newRow("journal refused after the move") << true << "second write" << "Datenträger voll";
    }

    // Catches a drop that is not stored, stored although refused, shown elsewhere or lost to
    // a short lock, and a failed drop reported without its reason or what was not saved, left
    // half-written, or shown as done.
    void dropOfAnAppointment()
    {
        QFETCH(bool, yes);
        QFETCH(QString, fault);
        QFETCH(QString, told);
        openWithFixture();
        const QPoint from = boxOf(kSubject);
        QVERIFY(from.x() >= 0);
        const QPoint to = from + QPoint(columnWidth(), 0);
        QSqlQuery app(QSqlDatabase::database(m_db->connectionName()));
        if (fault == QLatin1String("read-only"))
            QVERIFY(app.exec(QStringLiteral("PRAGMA query_only = ON")));
        if (fault == QLatin1String("second write"))
            QVERIFY(app.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON appointment_changes"
                                            " BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END")));
        const QString keys = m_window->calendar()->TerminDSN();
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kOtherProgram);
        other.setDatabaseName(m_path);
        if (fault == QLatin1String("locked"))
            QVERIFY(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        m_prompts->yes = m_yes = yes;
        drag(from, to);
        other.close(); // and with it the other program's transaction
        const QStringList asked = m_prompts->texts();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().contains(kSubject), qPrintable(asked.first()));
        QCOMPARE(m_messages.size(), told.isEmpty() ? 0 : 1);
        for (const QString &part : {told, QStringLiteral("die alte Zeit bleibt bestehen")})
            QVERIFY2(told.isEmpty() || m_messages.first().contains(part), qPrintable(m_messages.value(0)));
        const bool moved = yes && fault.isEmpty();
        const double start = moved ? m_fixture.start + 1 : m_fixture.start;
        const Appointment stored = *m_db->appointment(m_fixture.id);
        QCOMPARE(sql(stored.start), sql(start));
        QCOMPARE(sql(stored.end), sql(start + 1.0 / 24));
        QCOMPARE(m_db->journalCount(), moved ? 1 : 0);
        // After a failure the window reloaded by itself: it shows what the file holds.
        QCOMPARE(appointmentKeys(m_window->calendar()->TerminDSN()), appointmentKeys(keys));
        QVERIFY(tipAt(moved ? to : from).contains(kSubject));
        QVERIFY(!tipAt(moved ? from : to).contains(kSubject));
    }

    void seriesForm_data()
    {
        QTest::addColumn<QString>("repeat");  // the Wiederholung entry
        QTest::addColumn<int>("every");
        QTest::addColumn<QString>("days");    // weekday boxes ticked besides the start's, or "-" for none
        QTest::addColumn<QString>("monthly"); // "" the day of the month, else "ordinal weekday"
        QTest::addColumn<QString>("ends");    // "", "until yyyy-MM-dd" or "count n"
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("error");
        // The start is Monday 4 January 2027, the first Monday of its month.
        QTest::newRow("none") << "Keine" << 1 << "" << "" << "" << "" << "";
        QTest::newRow("every other Monday and Thursday, 10 times")
            << "Wöchentlich" << 2 << "4" << "" << "count 10" << "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;COUNT=10" << "";
        QTest::newRow("every third day until the year's end")
            << "Täglich" << 3 << "" << "" << "until 2027-12-31" << "FREQ=DAILY;INTERVAL=3;UNTIL=20271231" << "";
        QTest::newRow("monthly on the 4th") << "Monatlich" << 1 << "" << "" << "" << "FREQ=MONTHLY;BYMONTHDAY=4" << "";
        QTest::newRow("monthly on the last Friday")
            << "Monatlich" << 1 << "" << "-1 5" << "" << "FREQ=MONTHLY;BYDAY=-1FR" << "";
        QTest::newRow("yearly on the first Monday of January")
            << "Jährlich" << 1 << "" << "1 1" << "" << "FREQ=YEARLY;BYMONTH=1;BYDAY=1MO" << "";
        QTest::newRow("yearly on the start's date") << "Jährlich" << 1 << "" << "" << "" << "FREQ=YEARLY" << "";
        QTest::newRow("weekly without a weekday") << "Wöchentlich" << 1 << "-" << "" << "" << "" << "Wochentag";
        QTest::newRow("ends before it starts")
            << "Wöchentlich" << 1 << "" << "" << "until 2026-12-31" << "" << "vor ihrem ersten Termin";
    }

    // Catches a form that writes another rule than the one shown, loses a rule on the way back
    // into the form, or lets a series without a day or with an end before its start be saved.
    void seriesForm()
    {
        QFETCH(QString, repeat);
        QFETCH(int, every);
        QFETCH(QString, days);
        QFETCH(QString, monthly);
        QFETCH(QString, ends);
        QFETCH(QString, rule);
        QFETCH(QString, error);
        const QDate start(2027, 1, 4);
        RecurrenceEditor form;
        form.setRule(QString(), start);
        auto *frequency = form.findChild<QComboBox *>(QStringLiteral("cboWiederholung"));
        frequency->setCurrentIndex(frequency->findText(repeat));
        form.findChild<QSpinBox *>(QStringLiteral("spnIntervall"))->setValue(every);
        if (days == QLatin1String("-"))
            form.findChild<QCheckBox *>(QStringLiteral("chkTag1"))->setChecked(false);
        else if (!days.isEmpty())
            form.findChild<QCheckBox *>(QStringLiteral("chkTag") + days)->setChecked(true);
        if (!monthly.isEmpty()) {
            const QStringList parts = monthly.split(QLatin1Char(' '));
            form.findChild<QRadioButton *>(QStringLiteral("optWochentag"))->setChecked(true);
            auto *ordinal = form.findChild<QComboBox *>(QStringLiteral("cboOrdinal"));
            ordinal->setCurrentIndex(ordinal->findData(parts.at(0).toInt()));
            form.findChild<QComboBox *>(QStringLiteral("cboWochentag"))->setCurrentIndex(parts.at(1).toInt() - 1);
        }
        if (ends.startsWith(QLatin1String("until"))) {
            form.findChild<QRadioButton *>(QStringLiteral("optEndeAm"))->setChecked(true);
            form.findChild<QDateEdit *>(QStringLiteral("dtpEndeAm"))->setDate(QDate::fromString(ends.mid(6), Qt::ISODate));
        } else if (ends.startsWith(QLatin1String("count"))) {
            form.findChild<QRadioButton *>(QStringLiteral("optEndeNach"))->setChecked(true);
            form.findChild<QSpinBox *>(QStringLiteral("spnAnzahl"))->setValue(ends.mid(6).toInt());
        }
        QVERIFY2(error.isEmpty() ? form.validationError().isEmpty() : form.validationError().contains(error),
                 qPrintable(form.validationError()));
        if (!error.isEmpty())
            return;
        QCOMPARE(form.rrule(), rule);
        RecurrenceEditor again;
        again.setRule(rule, start);
        QCOMPARE(again.rrule(), rule);
        const QString summary = again.findChild<QLabel *>(QStringLiteral("lblSerie"))->text();
        QVERIFY2(rule.isEmpty() ? summary.isEmpty() : summary.startsWith(QLatin1String("Serie: ")), qPrintable(summary));
    }

    // Catches a weekly series that keeps the old weekday when the first occurrence moves in the
    // form, and a rule from elsewhere that the form rewrites although nobody touched it.
    void seriesFormFollowsTheStart()
    {
        RecurrenceEditor form;
        form.setRule(QStringLiteral("FREQ=WEEKLY;BYDAY=MO"), QDate(2027, 1, 4));
        form.setStart(QDate(2027, 1, 6));
        QCOMPARE(form.rrule(), QStringLiteral("FREQ=WEEKLY;BYDAY=WE"));
        const QString foreign = QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=1,15");
        form.setRule(foreign, QDate(2027, 1, 1));
        form.setStart(QDate(2027, 1, 2));
        QCOMPARE(form.rrule(), foreign);
        QVERIFY(form.validationError().isEmpty());
    }

    // Catches ShowDate opening the wrong record or "Löschen" leaving it in the database.
    void showDateDeletes()
    {
        openWithFixture();
        QString shownSubject;
        m_window->setDialogRunner([&](QDialog &dialog) {
            shownSubject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->text();
            return int(AppointmentDialog::Deleted);
        });
        const QString dsn = HostBridge::appointmentKey(m_fixture.id);
        emit m_window->calendar()->ShowDate(dsn);
        QCOMPARE(shownSubject, kSubject);
        QVERIFY(!m_db->appointment(m_fixture.id));
        QVERIFY(!appointmentKeys(m_window->calendar()->TerminDSN()).contains(dsn));
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a meeting that reaches the calendar once per participant or misses a shown row
    // of the resource view, an occurrence without a key of its own, and a drag of an
    // occurrence that moves the whole series.
    void meetingsAndOccurrencesInTheViews()
    {
        Database db;
        db.open(m_path, kTeamWeek);
        HostBridge bridge(db);
        bridge.setParticipantFilter({1, 2, 8});
        const Dayplex::Date monday = Dayplex::toDate(QDate(2031, 5, 5));
        Appointment meeting = appointment(QStringLiteral("Angebot Lindner AG"), monday + 11.0 / 24, 1, 1);
        const qint64 meetingId = db.saveAppointment(meeting, {1, 2}).first();
        Appointment series = appointment(QStringLiteral("Jour fixe"), monday + 9.0 / 24, 1, 8);
        series.rrule = QStringLiteral("FREQ=WEEKLY;COUNT=3");
        const qint64 seriesId = db.saveAppointment(series, {8}).first();
        const QString occurrence = QStringLiteral("T%1@20310512T090000").arg(seriesId);

        Dayplex::ucAgenda calendar;
        calendar.SetDisplayedRange(monday, nullptr, false, true);
        Dayplex::ctlGantt gantt;
        QCOMPARE(bridge.fillCalendar(calendar, monday + 7, monday + 13, QStringLiteral("AKT_Notiz")).delivered, 1);
        QCOMPARE(bridge.fillCalendar(calendar, monday, monday + 13, QStringLiteral("AKT_Notiz")).delivered, 3);
        QCOMPARE(appointmentKeys(calendar.TerminDSN()),
                 appointmentKeys(QStringLiteral("T%1|T%2@20310505T090000").arg(meetingId).arg(seriesId)));
        QCOMPARE(bridge.fillGantt(gantt, monday, monday + 6, QStringLiteral("AKT_Notiz")).delivered, 3);

        bridge.applyDateChange(&calendar, occurrence, monday + 8 + 14.0 / 24, monday + 8 + 15.0 / 24);
        QStringList starts;
        for (const Appointment &a : db.appointmentsInDays(monday, monday + 20, {8}))
            starts.append(sql(a.start));
        QCOMPARE(starts, QStringList({"2031-05-05T09:00:00", "2031-05-13T14:00:00", "2031-05-19T09:00:00"}));
        // The view's version of the series is gone: the next drag of it is a conflict.
        QVERIFY_THROWS_EXCEPTION(ConflictError, bridge.applyDateChange(&calendar, QStringLiteral("T%1@20310519T090000").arg(seriesId),
                                                                       monday + 14 + 10.0 / 24, monday + 14 + 11.0 / 24));
    }

    // The office's jour fixe: made in the form as a weekly series of three colleagues, one box
    // per Monday naming them, one Monday dragged to Tuesday for that week alone, and the week
    // exported as one series with one changed occurrence. Catches a series stored or exported
    // as single appointments, a meeting drawn once per participant, and a drag of an occurrence
    // that asks nothing or moves the whole series.
    void jourFixeFromFormToFile()
    {
        const Dayplex::Date monday = Dayplex::toDate(QDate(2031, 6, 2));
        const QString title = QStringLiteral("Jour fixe");
        openDatabase(m_path, QDate(2040, 1, 2)); // the demo team's own series begin later
        m_window->showCalendar(monday);
        const int before = m_db->appointmentCount();
        int forms = 0;
        m_window->setDialogRunner([&](QDialog &dialog) {
            if (++forms > 1)
                return int(QDialog::Rejected);
            dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->setText(title);
            auto *repeat = dialog.findChild<QComboBox *>(QStringLiteral("cboWiederholung"));
            repeat->setCurrentIndex(repeat->findText(QStringLiteral("Wöchentlich")));
            auto *people = dialog.findChild<QListWidget *>(QStringLiteral("lstTeilnehmer"));
            for (int row : {1, 2, 3})
                people->item(row)->setCheckState(Qt::Checked);
            return int(AppointmentDialog::Saved);
        });
        m_window->newAppointment(monday + 9.0 / 24, monday + 10.0 / 24, false, {2});
        QCOMPARE(forms, 1);
        QCOMPARE(m_db->appointmentCount(), before + 1);

        const QStringList keys = appointmentKeys(m_window->calendar()->TerminDSN());
        QCOMPARE(keys.size(), 1);
        const Dayplex::AppointmentDetails details = m_window->calendar()->appointmentDetails(keys.first());
        QVERIFY(details.seriesOccurrence);
        QCOMPARE(details.participants,
                 QStringList({"Thomas Müller", "Julia Schneider", "Michael Fischer"}));

        const QPoint from = boxOf(title);
        QVERIFY(from.x() >= 0);
        {
            Dayplex::Testing::SeriesAnswers answers(QStringLiteral("Nur diesen Termin"));
            drag(from, from + QPoint(columnWidth(), 0));
            QCOMPARE(answers.texts.size(), 1);
        }
        QStringList starts;
        for (const Appointment &a : m_db->appointmentsInDays(monday, monday + 13, {3}))
            starts.append(sql(a.start));
        QCOMPARE(starts, QStringList({"2031-06-03T09:00:00", "2031-06-09T09:00:00"}));

        const QString file = m_dir.filePath(QStringLiteral("jourfixe-%1.ics").arg(m_counter));
        exportICalendar(*m_db, file, monday, monday + 6, {});
        const ICalendarImport back = readICalendar(fileBytes(file), m_db->participants(), 1);
        QCOMPARE(back.appointments.size(), 1);
        QCOMPARE(back.appointments.first().rrule, QStringLiteral("FREQ=WEEKLY;BYDAY=MO"));
        QCOMPARE(back.appointments.first().allParticipants(), QList<int>({2, 3, 4}));
        QCOMPARE(back.overrides.size(), 1);
        QCOMPARE(sql(back.overrides.first().recurrenceStart), QStringLiteral("2031-06-02T09:00:00"));
        QCOMPARE(sql(back.overrides.first().start), QStringLiteral("2031-06-03T09:00:00"));
    }

    void occurrenceForm_data()
    {
        QTest::addColumn<QString>("edit");   // what the user does in the form of the second Monday
        QTest::addColumn<int>("answer");     // the scope chosen, -1 for "Abbrechen"
        QTest::addColumn<bool>("offered");   // whether "Nur diesen Termin" was offered
        QTest::addColumn<QString>("after");  // the three weeks' occurrences: "day hour title"
        const int only = int(Dayplex::SeriesScope::OnlyThis);
        const int following = int(Dayplex::SeriesScope::ThisAndFollowing);
        const int all = int(Dayplex::SeriesScope::AllOfSeries);
        QTest::newRow("new title, only this") << "title" << only << true << "02 9 J, 09 9 Neu, 16 9 J";
        QTest::newRow("an hour later, this and following") << "hour" << following << true << "02 9 J, 09 10 J, 16 10 J";
        QTest::newRow("an hour later, all") << "hour" << all << true << "02 10 J, 09 10 J, 16 10 J";
        QTest::newRow("Tuesdays instead, all") << "tuesday" << all << false << "03 9 J, 10 9 J, 17 9 J";
        QTest::newRow("Tuesdays instead, this and following") << "tuesday" << following << false << "02 9 J, 10 9 J, 17 9 J";
        QTest::newRow("delete only this") << "delete" << only << true << "02 9 J, 16 9 J";
        QTest::newRow("delete this and following") << "delete" << following << true << "02 9 J";
        QTest::newRow("delete all") << "delete" << all << true << "";
        QTest::newRow("cancelled") << "hour" << -1 << true << "02 9 J, 09 9 J, 16 9 J";
    }

    // Catches an occurrence's form that changes more or less of the series than the user
    // chose, offers "Nur diesen Termin" for a new rule, or loses the input after "Abbrechen".
    void occurrenceForm()
    {
        QFETCH(QString, edit);
        QFETCH(int, answer);
        QFETCH(bool, offered);
        QFETCH(QString, after);
        openDatabase(m_path, QDate(2040, 1, 2));
        Appointment series = appointment(QStringLiteral("J"), Dayplex::toDate(QDate(2031, 6, 2)) + 9.0 / 24, 1, 5);
        series.rrule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
        const qint64 id = m_db->saveAppointment(series, {5}).first();
        std::optional<bool> offeredOnlyThis;
        m_window->setScopeHandler([&](const QString &, const QString &text, bool onlyThis) {
            offeredOnlyThis = onlyThis;
            return answer < 0 || !text.contains(QStringLiteral("„J“")) ? std::nullopt
                                                                       : std::optional(Dayplex::SeriesScope(answer));
        });
        int forms = 0;
        QDateTime shown;
        m_window->setDialogRunner([&](QDialog &dialog) {
            if (++forms > 1)
                return int(QDialog::Rejected);
            auto *start = dialog.findChild<QDateTimeEdit *>(QStringLiteral("dtpBeginn"));
            shown = start->dateTime();
            if (edit == QLatin1String("title"))
                dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->setText(QStringLiteral("Neu"));
            if (edit == QLatin1String("hour"))
                start->setDateTime(start->dateTime().addSecs(3600));
            if (edit == QLatin1String("tuesday")) {
                dialog.findChild<QCheckBox *>(QStringLiteral("chkTag1"))->setChecked(false);
                dialog.findChild<QCheckBox *>(QStringLiteral("chkTag2"))->setChecked(true);
            }
            return int(edit == QLatin1String("delete") ? AppointmentDialog::Deleted : AppointmentDialog::Saved);
        });
        m_window->openAppointment(QStringLiteral("T%1@20310609T090000").arg(id));
        QCOMPARE(shown, QDateTime(QDate(2031, 6, 9), QTime(9, 0)));
        QCOMPARE(offeredOnlyThis, std::optional(offered));
        QCOMPARE(forms, answer < 0 ? 2 : 1); // "Abbrechen" goes back to the form
        QStringList occurrences;
        for (const Appointment &a : m_db->appointmentsInDays(Dayplex::toDate(QDate(2031, 6, 2)),
                                                             Dayplex::toDate(QDate(2031, 6, 20)), {5}))
            occurrences.append(QStringLiteral("%1 %2 %3").arg(Dayplex::toQDate(a.start).toString(QStringLiteral("dd")))
                                   .arg(Dayplex::toQTime(a.start).hour()).arg(a.text));
        QCOMPARE(occurrences.join(QStringLiteral(", ")), after);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    }

    void importInTheWindow_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("added");
        QTest::addColumn<QString>("told");
        QTest::newRow("read to the end") << false << 10000 << "10\\.?000 (Termine )?neu";
        QTest::newRow("cancelled") << true << 0 << "^Import abgebrochen; es wurde nichts gespeichert\\.$";
    }

    // Catches an import of ten thousand events that freezes the window, cannot be stopped, or
    // writes part of the file when it is stopped.
    void importInTheWindow()
    {
        QFETCH(bool, cancel);
        QFETCH(int, added);
        QFETCH(QString, told);
        const QString file = QStringLiteral(TERMINPLANER_ICAL_CORPUS "/gen_huge_10000.ics");
        if (!QFile::exists(file))
            QSKIP("the calendar files of other programs are not beside this checkout");
        openDatabase(m_path, QDate(2040, 1, 2));
        const int before = m_db->appointmentCount();
        chooseFile(file);
        // The window answers while it reads: a timer of its own keeps running.
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            ++ticks;
            if (auto *progress = m_window->findChild<QProgressDialog *>(QStringLiteral("dlgImportFortschritt"));
                progress && cancel)
                progress->cancel();
        });
        ticker.start(20);
        m_window->importCalendar();
        QCOMPARE(m_db->appointmentCount(), before + added);
        QVERIFY2(m_window->statusBar()->currentMessage().contains(QRegularExpression(told)),
                 qPrintable(m_window->statusBar()->currentMessage()));
        QVERIFY(ticks > 0);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    }

    // Catches a write-protected database that cannot be looked at, lets appointments be
    // dragged or created, offers "Speichern", or writes the options into the file.
    void readOnlyDatabaseIsShownNotChanged()
    {
        openWithFixture();
        const QString dsn = HostBridge::appointmentKey(m_fixture.id);
        m_window.reset();
        m_db.reset();
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup));
        const QByteArray before = fileBytes();
        openDatabase(m_path, QDate::currentDate());
        QVERIFY(m_messages.isEmpty());

        QStringList labels;
        for (const QLabel *label : m_window->statusBar()->findChildren<QLabel *>())
            labels.append(label->text());
        QVERIFY2(labels.join(QLatin1Char('|')).contains(QStringLiteral("schreibgeschützt")),
                 qPrintable(labels.join(QLatin1Char('|'))));
        QCOMPARE(appointmentKeys(m_window->calendar()->TerminDSN()).count(dsn), 1);
        // Read-only records cannot be selected, dragged or resized.
        m_window->calendar()->setSelectedDate(dsn);
        QCOMPARE(m_window->calendar()->SelectedDate(), QString());

        int forms = 0;
        bool saveOffered = true;
        m_window->setDialogRunner([&](QDialog &dialog) {
            ++forms;
            saveOffered = !dialog.findChild<QPushButton *>(QStringLiteral("cmdSpeichern"))->isHidden();
            return int(QDialog::Rejected);
        });
        const double day = Dayplex::currentDate();
        emit m_window->calendar()->NewDate(day + 0.4, day + 0.45, false);
        QCOMPARE(forms, 0);
        emit m_window->calendar()->ShowDate(dsn);
        QCOMPARE(forms, 1);
        QVERIFY(!saveOffered);
        m_window->calendar()->setOptions(QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n"));
        emit m_window->calendar()->OptionsChanged();
        QCOMPARE(m_window->bridge().calendarOptions(), m_window->calendar()->Options());
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

        m_window.reset();
        m_db.reset();
        QCOMPARE(fileBytes(), before);
    }

    // Catches an all-day absence that the free-slot search reads otherwise than both views draw
    // it: a search for one whole day through the window's Gantt view finds each day of the
    // absence taken, and every other day as free as it is without the absence.
    void ganttSearchFindsAnAbsenceOnEachOfItsDays()
    {
        const QDate anchor(2026, 12, 7);
        const SeedData seed = makeSeedData(anchor);
        qsizetype index = 0;
        while (!(seed.appointments.at(index).allDay && seed.appointments.at(index).text == "Urlaub"))
            ++index;
        const Appointment absence = seed.appointments.at(index);
        const double firstDay = std::floor(absence.start), lastDay = std::floor(absence.end);
        QVERIFY(lastDay > firstDay);
        openDatabase(m_path, anchor);
        m_window->bridge().setParticipantFilter({absence.participantId});
        m_window->showGantt(firstDay, 7);
        Dayplex::ctlGantt &view = *m_window->gantt();
        const auto proposedFrom = [&view](double day) { return proposedDay(view, day); };
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

    // Catches a free-slot search blind to the occurrences of a series, which no row holds.
    void ganttSearchSeesOccurrences()
    {
        openDatabase(m_path, QDate(2040, 1, 2));
        const Dayplex::Date monday = Dayplex::toDate(QDate(2031, 6, 2));
        Appointment course = appointment(QStringLiteral("Schulung"), monday, 1, 5);
        course.allDay = true;
        course.end = monday;
        course.rrule = QStringLiteral("FREQ=DAILY;COUNT=3");
        m_db->saveAppointment(course, {5});
        m_window->bridge().setParticipantFilter({5});
        m_window->showGantt(monday, 7);
        QCOMPARE(proposedDay(*m_window->gantt(), monday), monday + 3);
    }

    // Catches a change of another desk that reaches this desk late or not at all, and a
    // refresh that drops the selection, the scroll position or an open form.
    void moveAtTheOtherDeskShowsWithinOneSecond()
    {
        openTeamDesk();
        qint64 refreshedAt = 0;
        m_window->setRefreshObserver(
            [&](const ChangeNotice &) { refreshedAt = QDateTime::currentMSecsSinceEpoch(); });
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
        QVERIFY2(refreshedAt - savedAt < 1000,
                 qPrintable(QStringLiteral("%1 ms").arg(refreshedAt - savedAt)));
        QCOMPARE(formTextAfterRefresh, typed);
        QCOMPARE(m_db->appointment(m_other)->text, typed);
        QVERIFY(shown(m_moved));
        QCOMPARE(sql(m_db->appointment(m_moved)->start), sql(at(3, 8)));
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
        openTeamDesk();
        m_yes = answer;
        // The other desk saves first; this desk has not seen it yet when its drag ends.
        QVERIFY(otherDeskMoves(m_moved, 2, 11) > 0);
        const int journal = m_db->journalCount();
        m_window->moveAppointment(HostBridge::appointmentKey(m_moved), at(2, 14), at(2, 15));
        QCOMPARE(m_questions.size(), 1);
        const QString &question = m_questions.first();
        for (const QString &part :
             {QStringLiteral("anderen Arbeitsplatz geändert"),
              QStringLiteral("Dort gespeichert: „Abnahme Lindner AG“, Mi., 09.12.2026 11:00–12:00"),
              QStringLiteral("Ihre Verschiebung: „Abnahme Lindner AG“, Mi., 09.12.2026 14:00–15:00")})
            QVERIFY2(question.contains(part), qPrintable(question));
        QCOMPARE(sql(m_db->appointment(m_moved)->start), sql(at(2, expectedHour)));
        QCOMPARE(m_db->journalCount(), journal + (answer ? 1 : 0));
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a server that goes away mid-session: more than one message, the typed form
    // lost, no reconnection when the server is back, or no live refresh afterwards.
    void serverStoppedAndStartedMidSession()
    {
        openTeamDesk();
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
            const QStatusBar *status = m_window->statusBar();
            const QString back = QStringLiteral("wiederhergestellt");
            [&] { QTRY_VERIFY_WITH_TIMEOUT(status->currentMessage().contains(back), 10000); }();
            return int(AppointmentDialog::Saved);
        });
        const int before = m_db->appointmentCount();
        m_window->newAppointment(at(1, 13), at(1, 14), false, {3});
        QVERIFY2(formTexts.size() == 2, qPrintable(m_messages.join(QLatin1Char('\n'))));
        QCOMPARE(formTexts.at(1), typed);
        QCOMPARE(m_messages.size(), 1);
        for (const char *part : {"Verbindung zum Datenbankserver ist unterbrochen", "Der Termin wurde nicht gespeichert"})
            QVERIFY2(m_messages.first().contains(QLatin1String(part)), qPrintable(m_messages.first()));
        QCOMPARE(m_db->appointmentCount(), before + 1);

        // Changes of the other desk show again after the reconnection.
        bool refreshed = false;
        m_window->setRefreshObserver([&](const ChangeNotice &) { refreshed = true; });
        QVERIFY(otherDeskMoves(m_moved, 3, 8) > 0);
        QTRY_VERIFY_WITH_TIMEOUT(refreshed, 2000);
        QCOMPARE(m_messages.size(), 1);
    }

private:
    QByteArray fileBytes(const QString &path = QString()) const
    {
        QFile file(path.isEmpty() ? m_path : path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // This desk on a new database of the server, the team's week shown, with two appointments
    // of its own on a quiet day, apart from the demo data.
    void openTeamDesk()
    {
        m_url = m_server.createDatabase(QStringLiteral("team%1").arg(m_counter));
        QVERIFY2(!m_url.isEmpty(), qPrintable(m_server.error()));
        Appointment moved = appointment(QStringLiteral("Abnahme Lindner AG"), at(2, 6), 1, 1);
        Appointment other = appointment(QStringLiteral("Rückruf Herr Krämer"), at(2, 7), 1, 2);
        openDatabase(m_url, kTeamWeek, {&moved, &other});
        m_moved = moved.id;
        m_other = other.id;
        m_window->showCalendar(Dayplex::toDate(kTeamWeek));
        QVERIFY(shown(m_moved));
    }

    // The seed a year ahead leaves the shown week to what a test puts there, whatever today
    // is; the fixture is Monday 10:00 to 11:00, alone in its column.
    void openWithFixture()
    {
        const QDate today = QDate::currentDate();
        const Dayplex::Date monday = Dayplex::toDate(today.addDays(1 - today.dayOfWeek()));
        m_fixture = appointment(kSubject, monday + 10.0 / 24, 1, 1);
        m_fixture.backColor = 0x00FFE0C6;
        openDatabase(m_path, today.addYears(1), {&m_fixture});
    }

    // The day that the Gantt view's search for one day, weekends and holidays allowed,
    // proposes from `day`; 0 when it proposes none.
    static double proposedDay(Dayplex::ctlGantt &view, double day)
    {
        QSignalSpy created(&view, &Dayplex::ctlGantt::NewDate);
        view.FreienTerminSuchen(day);
        view.findChild<QLineEdit *>("txtTage")->setText(QStringLiteral("1"));
        view.findChild<QCheckBox *>("chkWochenende")->setChecked(true);
        QTest::mouseClick(view.findChild<QPushButton *>("cmdAuto_1"), Qt::LeftButton);
        QTest::mouseClick(view.findChild<QPushButton *>("cmdNeu"), Qt::LeftButton);
        return created.isEmpty() ? 0.0 : created.takeLast().at(0).toDouble();
    }

    // The other desk, on a connection of its own, moves the appointment to the hour from `hour`
    // on the week's `weekday` as the window does; returns the moment its write was committed,
    // 0 when it failed.
    qint64 otherDeskMoves(qint64 id, int weekday, int hour) const
    {
        try {
            Database desk;
            desk.open(m_url);
            const qint64 version = desk.appointment(id).value().version;
            desk.moveAppointment(id, at(weekday, hour), at(weekday, hour + 1), version);
        } catch (const std::exception &error) {
            qWarning("the other desk failed: %s", error.what());
            return 0;
        }
        return QDateTime::currentMSecsSinceEpoch();
    }

    bool shown(qint64 id) const
    {
        const QString key = HostBridge::appointmentKey(id);
        return appointmentKeys(m_window->calendar()->TerminDSN()).contains(key);
    }

    PgServer m_server;
    QString m_url;
    qint64 m_moved = 0;
    qint64 m_other = 0;
    Appointment m_fixture;
    std::optional<Dayplex::Testing::PromptAnswers> m_prompts; // the views' questions
};

QTEST_MAIN(tst_EndToEnd)
#include "test_endtoend.moc"
