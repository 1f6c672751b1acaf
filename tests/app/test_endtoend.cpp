// The planner end to end: the real window offscreen on a database file, driven with the mouse
// as a user drives it, and its answers to the views' events. The question before a change, the option dialogs, the appointment form
// and the messages are answered through their seams, so nothing waits for a hand.
#include "appointmentdialog.h"
#include "mainwindow.h"

#include <dayplex/dayplex.h>

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

// What the file holds, read through a connection of its own rather than the window's.
QString fileContents(const QString &path)
{
    const QString name = QStringLiteral("file-contents");
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            return QStringLiteral("cannot be opened");
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT id, text, start, \"end\", all_day, participant_id FROM appointments"
                                  " UNION ALL SELECT appointment_id, '', old_start, new_start, 0, 0"
                                  " FROM appointment_changes ORDER BY 1, 2"));
        while (query.next())
            for (int i = 0; i < 6; ++i)
                text += query.value(i).toString() + QLatin1Char(i == 5 ? '\n' : '|');
    }
    QSqlDatabase::removeDatabase(name);
    return text;
}

// Another program with the same file open that holds the write lock until it is destroyed.
class OtherWriter
{
public:
    explicit OtherWriter(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    ~OtherWriter()
    {
        QSqlQuery(QSqlDatabase::database(name())).exec(QStringLiteral("ROLLBACK"));
        QSqlDatabase::database(name()).close();
        QSqlDatabase::removeDatabase(name());
    }
    static QString name() { return QStringLiteral("other-writer"); }
};


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
        m_answer = true;
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
        Dayplex::setModalRunner({});
    }

    void dragAppointment_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("confirmed") << true;
        QTest::newRow("refused") << false;
    }

    // Catches a drag that is not stored, stored although refused, shown elsewhere or lost to a short lock.
    void dragAppointment()
    {
        QFETCH(bool, yes);
        openWithFixture();
        const QPoint from = findBox(kSubject);
        QVERIFY(from.x() >= 0);
        const QPoint to = from + QPoint(columnWidth(), 0);
        const QString keys = m_window->calendar()->TerminDSN();
        m_answer = yes;
        drag(from, to);
        // The view showed the drop on the same time one day later, and asked once.
        QCOMPARE(sql(m_landing), sql(m_fixture.start + 1));
        QCOMPARE(m_prompts.size(), 1);
        QVERIFY2(m_prompts.first().contains(kSubject), qPrintable(m_prompts.first()));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

        const double start = yes ? m_fixture.start + 1 : m_fixture.start;
        const Appointment stored = *m_db->appointment(m_fixture.id);
        QCOMPARE(sql(stored.start), sql(start));
        QCOMPARE(sql(stored.end), sql(start + 1.0 / 24));
        QCOMPARE(m_db->journalCount(), yes ? 1 : 0);
        for (int reload = 0; reload < 2; ++reload) {
            QCOMPARE(appointmentKeys(m_window->calendar()->TerminDSN()), appointmentKeys(keys));
            verifyNear(findBox(kSubject), yes ? to : from);
            m_window->reloadViews();
        }
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only database") << "read-only" << "schreibgeschützt";
        QTest::newRow("another program holds the lock") << "locked" << "anderes Programm";
        QTest::newRow("journal refused after the move") << "second write" << "Datenträger voll";
    }

    // Catches a failed drop reported without its reason or what was not saved, left
    // half-written, or shown as done.
    void failedWriteChangesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        openWithFixture();
        const QPoint box = findBox(kSubject);
        QVERIFY(box.x() >= 0);
        QSqlQuery app(QSqlDatabase::database(m_db->connectionName()));
        if (fault == QLatin1String("read-only"))
            QVERIFY(app.exec(QStringLiteral("PRAGMA query_only = ON")));
        if (fault == QLatin1String("second write"))
            QVERIFY(app.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON appointment_changes"
                                            " BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END")));
        const QString contents = fileContents(m_path);
        const QString keys = m_window->calendar()->TerminDSN();
        {
            std::unique_ptr<OtherWriter> other;
            if (fault == QLatin1String("locked"))
                other = std::make_unique<OtherWriter>(m_path);
            drag(box, box + QPoint(columnWidth(), 0));
        }
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(reason), qPrintable(m_messages.first()));
        QVERIFY2(m_messages.first().contains(QStringLiteral("die alte Zeit bleibt bestehen")),
                 qPrintable(m_messages.first()));
        QCOMPARE(fileContents(m_path), contents);
        // The window reloaded after the failure: it shows what the file holds.
        QCOMPARE(appointmentKeys(m_window->calendar()->TerminDSN()), appointmentKeys(keys));
        verifyNear(findBox(kSubject), box);
    }

    // Catches ShowDate opening the wrong record or "Löschen" leaving it in the database.
    void showDateDeletes()
    {
        openDatabase(QDate::currentDate());
        openWindow();
        const Appointment target = firstWritableShown();
        QString shownSubject;
        m_window->setDialogRunner([&](QDialog &dialog) {
            shownSubject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"))->text();
            return int(AppointmentDialog::Deleted);
        });
        emit m_window->calendar()->ShowDate(HostBridge::appointmentKey(target.id));
        QCOMPARE(shownSubject, target.text);
        QVERIFY(!m_db->appointment(target.id));
        QVERIFY(!appointmentKeys(m_window->calendar()->TerminDSN()).contains(HostBridge::appointmentKey(target.id)));
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a write-protected database that cannot be looked at, lets appointments be
    // dragged or created, offers "Speichern", or writes the options into the file.
    void readOnlyDatabaseIsShownNotChanged()
    {
        openDatabase(QDate::currentDate());
        openWindow();
        const Appointment shown = firstWritableShown();
        const QString dsn = HostBridge::appointmentKey(shown.id);
        const QString path = m_db->path();
        m_window.reset();
        m_db.reset();
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        m_db = std::make_unique<Database>();
        m_db->open(path);
        QVERIFY(m_db->isReadOnly());
        openWindow();
        QVERIFY(m_messages.isEmpty());

        QStringList labels;
        for (const QLabel *label : m_window->statusBar()->findChildren<QLabel *>())
            labels.append(label->text());
        QVERIFY2(labels.join(QLatin1Char(' ')).contains(QStringLiteral("schreibgeschützt")), qPrintable(labels.join(QLatin1Char('|'))));
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
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
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

    void openDatabase(QDate seedAnchor)
    {
        m_db = std::make_unique<Database>();
        m_db->open(m_path, seedAnchor);
    }

    // The seed a year ahead leaves the shown week to what a test puts there, whatever today
    // is; the fixture is Monday 10:00 to 11:00, alone in its column.
    void openWithFixture()
    {
        openDatabase(QDate::currentDate().addYears(1));
        const QDate today = QDate::currentDate();
        m_fixture = Appointment();
        m_fixture.text = kSubject;
        m_fixture.start = Dayplex::toDate(today.addDays(1 - today.dayOfWeek())) + 10.0 / 24;
        m_fixture.end = m_fixture.start + 1.0 / 24;
        m_fixture.backColor = 0x00FFE0C6;
        m_fixture.participantId = 1;
        m_fixture.id = m_db->insertAppointment(m_fixture);
        openWindow();
        QCOMPARE(m_window->calendar()->FirstDay(), std::floor(m_fixture.start));
    }

    void openWindow()
    {
        m_window = std::make_unique<MainWindow>(*m_db);
        m_window->setMessageSink([this](const QString &title, const QString &text) {
            m_messages.append(title + QStringLiteral(": ") + text);
        });
        m_window->setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
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

    // A point in the first row of the box whose tooltip names the subject, in the middle of
    // the box so that it misses the resize zones; (-1, -1) when the view shows no such box.
    QPoint findBox(const QString &subject) const
    {
        const QSize size = surface()->size();
        for (int y = m_window->calendar()->GetYErsteZeile() + 1; y < size.height(); y += 3) {
            for (int x = 0; x < size.width(); x += 6) {
                if (!tipAt(QPoint(x, y)).contains(subject))
                    continue;
                int right = x;
                while (right + 2 < size.width() && tipAt(QPoint(right + 2, y)).contains(subject))
                    right += 2;
                return QPoint((x + right) / 2, y + 1);
            }
        }
        return QPoint(-1, -1);
    }


    static void verifyNear(QPoint actual, QPoint expected)
    {
        QVERIFY2((actual - expected).manhattanLength() <= 6,
                 qPrintable(QStringLiteral("(%1, %2) instead of (%3, %4)")
                                .arg(actual.x()).arg(actual.y()).arg(expected.x()).arg(expected.y())));
    }

    // Presses on the box, moves past the drag threshold while still on it, goes on to the
    // target in steps as a hand does, and lets go; keeps where the view showed the drop.
    void drag(QPoint from, QPoint to)
    {
        QWidget *pic = surface();
        QTest::mousePress(pic, Qt::LeftButton, {}, from);
        QTest::mouseMove(pic, from + QPoint(12, 0));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(pic, from + (to - from) * step / 4);
        m_landing = m_window->calendar()->SelectionStart();
        QTest::mouseRelease(pic, Qt::LeftButton, {}, to);
    }





    QTemporaryDir m_dir;
    int m_counter = 0;
    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<MainWindow> m_window;
    Appointment m_fixture;
    double m_landing = 0;
    bool m_answer = true;
    QStringList m_prompts;
    QStringList m_messages;
};

QTEST_MAIN(tst_EndToEnd)
#include "test_endtoend.moc"
