// The planner end to end: the real window and views offscreen on a database file, driven with
// the mouse as a user drives it, and the host's answers to the views' events. The question
// before a change, the appointment form and the messages are answered through their seams, so
// nothing waits for a hand.
#include "appointmentdialog.h"
#include "mainwindow.h"

#include <dayplex/dayplex.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QString kSubject = QStringLiteral("Abnahme Lindner AG");
const QString kOtherProgram = QStringLiteral("other-program");

QString sql(Dayplex::Date value)
{
    return Database::toSqlDateTime(value);
}

QStringList appointmentKeys(const QString &joined)
{
    QStringList keys;
    for (const QString &key : joined.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        if (HostBridge::appointmentId(key) > 0)
            keys.append(key);
    keys.sort();
    return keys;
}

} // namespace

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("termine-%1.sqlite").arg(++m_counter));
        m_prompts.clear();
        m_messages.clear();
        Dayplex::setPromptHandler([this](const Dayplex::Prompt &prompt) {
            m_prompts.append(prompt.text);
            return m_answer;
        });
    }

    void cleanup()
    {
        m_window.reset();
        m_db.reset();
        Dayplex::setPromptHandler({});
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
        const QPoint from = fixtureBox();
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
        m_answer = yes;
        drag(from, to);
        other.close(); // and with it the other program's transaction
        QCOMPARE(m_prompts.size(), 1);
        QVERIFY2(m_prompts.first().contains(kSubject), qPrintable(m_prompts.first()));
        QCOMPARE(m_messages.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty()) {
            QVERIFY2(m_messages.first().contains(told), qPrintable(m_messages.first()));
            QVERIFY2(m_messages.first().contains(QStringLiteral("die alte Zeit bleibt bestehen")),
                     qPrintable(m_messages.first()));
        }
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
        openDatabase(QDate::currentDate());
        QVERIFY(m_db->isReadOnly());
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
    // it: a search for one whole day through the real Gantt view finds each day of the absence
    // taken, and every other day as free as it is without the absence.
    void ganttSearchFindsAnAbsenceOnEachOfItsDays()
    {
        const QDate anchor(2026, 12, 7);
        m_db = std::make_unique<Database>();
        m_db->open(m_path, anchor);
        HostBridge bridge(*m_db);
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
    QByteArray fileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens the file, seeded around seedAnchor when it is new, in the window.
    void openDatabase(QDate seedAnchor, bool withFixture = false)
    {
        m_db = std::make_unique<Database>();
        m_db->open(m_path, seedAnchor);
        if (withFixture)
            m_fixture.id = m_db->insertAppointment(m_fixture);
        m_window = std::make_unique<MainWindow>(*m_db);
        m_window->setMessageSink([this](const QString &title, const QString &text) {
            m_messages.append(title + QStringLiteral(": ") + text);
        });
        m_window->setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // The seed a year ahead leaves the shown week to what a test puts there, whatever today
    // is; the fixture is Monday 10:00 to 11:00, alone in its column.
    void openWithFixture()
    {
        const QDate today = QDate::currentDate();
        m_fixture.text = kSubject;
        m_fixture.start = Dayplex::toDate(today.addDays(1 - today.dayOfWeek())) + 10.0 / 24;
        m_fixture.end = m_fixture.start + 1.0 / 24;
        m_fixture.backColor = 0x00FFE0C6;
        m_fixture.participantId = 1;
        openDatabase(today.addYears(1), true);
        QCOMPARE(m_window->calendar()->FirstDay(), std::floor(m_fixture.start));
    }

    QWidget *surface() const { return m_window->calendar()->findChild<QWidget *>(QStringLiteral("pic")); }

    int columnWidth() const
    {
        Dayplex::ucAgenda *calendar = m_window->calendar();
        return calendar->GetXTagesTermin(calendar->FirstDay() + 1) - calendar->GetXTagesTermin(calendar->FirstDay());
    }

    // The tooltip the calendar gives the point when the mouse rests there; empty over cells.
    QString tipAt(QPoint at) const
    {
        QWidget *pic = surface();
        // Over nothing at all the view leaves the last tooltip standing.
        pic->setToolTip(QString());
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(pic->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pic, &move);
        return pic->toolTip();
    }

    // A point in the first row of the fixture's box, in the middle of its day's column, which
    // it has to itself; (-1, -1) when no tooltip there names it.
    QPoint fixtureBox() const
    {
        Dayplex::ucAgenda *calendar = m_window->calendar();
        const int x = calendar->GetXTagesTermin(calendar->FirstDay()) + columnWidth() / 2;
        for (int y = calendar->GetYErsteZeile() + 1; y < surface()->height(); y += 3)
            if (tipAt(QPoint(x, y)).contains(kSubject))
                return QPoint(x, y + 1);
        return QPoint(-1, -1);
    }

    // Presses on the box, moves past the drag threshold while still on it, goes on to the
    // target in steps as a hand does, and lets go.
    void drag(QPoint from, QPoint to)
    {
        QWidget *pic = surface();
        QTest::mousePress(pic, Qt::LeftButton, {}, from);
        QTest::mouseMove(pic, from + QPoint(12, 0));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(pic, from + (to - from) * step / 4);
        QTest::mouseRelease(pic, Qt::LeftButton, {}, to);
    }

    QTemporaryDir m_dir;
    int m_counter = 0;
    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<MainWindow> m_window;
    Appointment m_fixture;
    bool m_answer = true;
    QStringList m_prompts;
    QStringList m_messages;
};

QTEST_MAIN(tst_EndToEnd)
#include "test_endtoend.moc"
