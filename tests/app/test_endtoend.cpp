// The planner end to end: the real window offscreen on a database file, driven with the mouse
// as a user drives it. The question before a change, the option dialogs, the appointment form
// and the messages are answered through their seams, so nothing waits for a hand.
#include "mainwindow.h"

#include <dayplex/dayplex.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <chrono>
#include <future>
#include <thread>

using namespace Terminplaner;

namespace {

const QString kSubject = QStringLiteral("Abnahme Lindner AG");
const QString kNewSubject = QStringLiteral("Schulung Zeiterfassung");

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

// Another program that writes for a moment, on its own thread, while the window goes on.
class BriefWriter
{
public:
    BriefWriter(const QString &path, int milliseconds)
    {
        std::future<void> locked = m_locked.get_future();
        m_thread = std::thread([this, path, milliseconds] {
            const QString name = QStringLiteral("brief-writer");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(path);
                db.open();
                QSqlQuery query(db);
                query.exec(QStringLiteral("BEGIN IMMEDIATE"));
                m_locked.set_value();
                std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
                query.exec(QStringLiteral("COMMIT"));
            }
            QSqlDatabase::removeDatabase(name);
        });
        locked.wait();
    }
    ~BriefWriter() { m_thread.join(); }

private:
    std::promise<void> m_locked;
    std::thread m_thread;
};

void click(QWidget &parent, const QString &name)
{
    auto *button = parent.findChild<QAbstractButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
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

    // Catches a first paint that misses or adds appointments of the shown days, or puts them out of reach.
    void firstPaintShowsTheSeededWeek()
    {
        openDatabase(QDate::currentDate());
        QVERIFY(m_db->seededOnOpen());
        openWindow();
        Dayplex::ucAgenda *calendar = m_window->calendar();
        const QVector<Appointment> shown = m_db->appointmentsInDays(calendar->FirstDay(), calendar->LastDay());
        QVERIFY(!shown.isEmpty());
        QStringList expected;
        for (const Appointment &a : shown)
            expected.append(HostBridge::appointmentKey(a.id));
        expected.sort();
        QCOMPARE(appointmentKeys(calendar->TerminDSN()), expected);

        // Every timed appointment of the morning has a box under the mouse that names it.
        QSet<QString> tips;
        for (int y = calendar->GetYErsteZeile() + 1; y < surface()->height(); y += 7)
            for (int x = 0; x < surface()->width(); x += 5)
                tips.insert(tipAt(QPoint(x, y)));
        const QString fields = QStringLiteral("AKT_Merkmale, AKT_Notiz");
        for (const Appointment &a : shown) {
            const double time = a.start - std::floor(a.start);
            if (a.allDay || time < calendar->FirstTime() || time > 11.0 / 24)
                continue;
            const QString memo = HostBridge::composeMemo(fields, a, m_db->participant(a.participantId)->name);
            const bool found = std::any_of(tips.cbegin(), tips.cend(),
                                           [&](const QString &tip) { return tip.endsWith(memo); });
            QVERIFY2(found, qPrintable(memo));
        }
    }

    void dragAppointment_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("otherWriterMs");
        QTest::newRow("confirmed") << true << 0;
        QTest::newRow("refused") << false << 0;
        QTest::newRow("confirmed while another program writes for a moment") << true << 1000;
    }

    // Catches a drag that is not stored, stored although refused, shown elsewhere or lost to a short lock.
    void dragAppointment()
    {
        QFETCH(bool, yes);
        QFETCH(int, otherWriterMs);
        openWithFixture();
        const QPoint from = findBox(kSubject);
        QVERIFY(from.x() >= 0);
        const QPoint to = from + QPoint(columnWidth(), 0);
        const QString keys = m_window->calendar()->TerminDSN();
        m_answer = yes;
        {
            std::unique_ptr<BriefWriter> other;
            if (otherWriterMs > 0)
                other = std::make_unique<BriefWriter>(m_path, otherWriterMs);
            drag(from, to);
        }
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

    void newAppointmentFromSelection_data()
    {
        QTest::addColumn<bool>("band");
        QTest::newRow("time cells, several slots") << false;
        QTest::newRow("all-day band, two days") << true;
    }

    // Catches a selection lost on its way to the form, to each participant's record or back to the view.
    void newAppointmentFromSelection()
    {
        QFETCH(bool, band);
        openWithFixture();
        const QPoint from = band ? freeBandCell() : findBox(kSubject) + QPoint(2 * columnWidth(), 0);
        QVERIFY(from.x() >= 0);
        const QPoint to = from + (band ? QPoint(columnWidth(), 0) : QPoint(0, 45));
        QTest::mousePress(surface(), Qt::LeftButton, {}, from);
        QTest::mouseMove(surface(), (from + to) / 2);
        QTest::mouseMove(surface(), to);
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, to);
        Dayplex::ucAgenda *calendar = m_window->calendar();
        const double first = calendar->SelectionStart();
        const double day = std::floor(first);
        // The selection the user sees: two whole days, or several slots from the fixture's time.
        if (band) {
            QCOMPARE(first, day);
            QCOMPARE(sql(calendar->SelectionEnd()), sql(day + 2));
        } else {
            QCOMPARE(sql(first), sql(m_fixture.start + 2));
            QVERIFY(calendar->SelectionEnd() > first + 2 * calendar->TimeRaster());
        }
        const double last = band ? day + 1 : calendar->SelectionEnd();

        QDateTime shownStart;
        m_window->setDialogRunner([&](QDialog &dialog) { return fillInForm(dialog, shownStart); });
        chooseFromContextMenu(from, QStringLiteral("mnuNeu"));
        QCOMPARE(shownStart, Dayplex::toQDateTime(first));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

        QList<int> participants;
        for (const Appointment &a : m_db->appointmentsInDays(day, day + 1)) {
            if (a.text != kNewSubject)
                continue;
            participants.append(a.participantId);
            QCOMPARE(a.allDay, band);
            QCOMPARE(sql(a.start), sql(first));
            QCOMPARE(sql(a.end), sql(last));
            QVERIFY(appointmentKeys(calendar->TerminDSN()).contains(HostBridge::appointmentKey(a.id)));
        }
        std::sort(participants.begin(), participants.end());
        QCOMPARE(participants, (QList<int>{2, 4}));
        // Shown where it was selected: two boxes side by side in the time cells, a bar in the band.
        const QPoint shown = band ? from : findBox(kNewSubject);
        QVERIFY2(std::abs(shown.x() - from.x()) < columnWidth() / 2 && std::abs(shown.y() - from.y()) <= 6,
                 qPrintable(QStringLiteral("(%1, %2)").arg(shown.x()).arg(shown.y())));
        QVERIFY2(tipAt(shown).contains(kNewSubject), qPrintable(tipAt(shown)));
    }

    void optionsSurviveARestart_data()
    {
        QTest::addColumn<bool>("gantt");
        QTest::newRow("calendar, through its context menu") << false;
        QTest::newRow("Gantt view, through Extras") << true;
    }

    // Catches confirmed options that are not stored, not given back or not applied at the next start.
    void optionsSurviveARestart()
    {
        QFETCH(bool, gantt);
        openDatabase(QDate::currentDate().addYears(1));
        openWindow();
        Dayplex::setModalRunner([gantt](QDialog &dialog) {
            dialog.show();
            if (dialog.objectName() == QLatin1String("cfrmConfigLayout")) {
                auto *raster = dialog.findChild<QComboBox *>(QStringLiteral("cboAufloesung"));
                raster->setCurrentIndex(raster->findText(QStringLiteral("15 Minuten")));
                auto *days = dialog.findChild<QLineEdit *>(QStringLiteral("txtAnzahlTage"));
                days->selectAll();
                QTest::keyClicks(days, QStringLiteral("5"));
            } else {
                QTest::mouseClick(dialog.findChild<QCheckBox *>(QStringLiteral("chkConfirmChanges")), Qt::LeftButton);
                click(dialog, gantt ? QStringLiteral("cmdAnsicht_1") : QStringLiteral("cmdAnsicht_0"));
            }
            click(dialog, QStringLiteral("cmdOK"));
        });
        auto options = [this, gantt] {
            return gantt ? m_window->gantt()->Options() : m_window->calendar()->Options();
        };
        const QString before = options();
        if (gantt) {
            QToolBar *bar = m_window->findChild<QToolBar *>(QStringLiteral("tbHaupt"));
            QTest::mouseClick(bar->widgetForAction(action(QStringLiteral("Gantt-Ansicht"))), Qt::LeftButton);
            QCOMPARE(m_window->currentView(), MainWindow::View::Gantt);
            chooseFromMenuBar(QStringLiteral("Extras"), QStringLiteral("Optionen…"));
        } else {
            chooseFromContextMenu(surface()->rect().center(), QStringLiteral("mnuOptions"));
        }
        const QString changed = options();
        QVERIFY(changed != before);

        m_window.reset();
        m_db.reset();
        openDatabase(QDate::currentDate());
        QVERIFY(!m_db->seededOnOpen());
        openWindow();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        QCOMPARE(options(), changed);
        if (gantt) {
            QCOMPARE(m_window->gantt()->ConfirmChanges(), false);
            QCOMPARE(m_window->gantt()->LastDay() - m_window->gantt()->FirstDay(), 4.0);
        } else {
            QCOMPARE(m_window->calendar()->ConfirmChanges(), false);
            QCOMPARE(m_window->calendar()->GetAnzahlTage(), 5);
            QCOMPARE(qRound(m_window->calendar()->TimeRaster() * 1440), 15);
        }
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("consequence");
        const QString readOnly = QStringLiteral("schreibgeschützt");
        const QString locked = QStringLiteral("anderes Programm");
        const QString refused = QStringLiteral("Datenträger voll");
        const QString oldTime = QStringLiteral("die alte Zeit bleibt bestehen");
        const QString notSaved = QStringLiteral("nicht gespeichert");
        QTest::newRow("drag, read-only database") << "drag" << "read-only" << readOnly << oldTime;
        QTest::newRow("drag, another program holds the lock") << "drag" << "locked" << locked << oldTime;
        QTest::newRow("drag, journal refused after the move") << "drag" << "second write" << refused << oldTime;
        QTest::newRow("new, read-only database") << "new" << "read-only" << readOnly << notSaved;
        QTest::newRow("new, another program holds the lock") << "new" << "locked" << locked << notSaved;
        QTest::newRow("new, second participant refused") << "new" << "second write" << refused << notSaved;
        QTest::newRow("edit, another program holds the lock") << "edit" << "locked" << locked << notSaved;
        QTest::newRow("edit, added participant refused") << "edit" << "second write" << refused << notSaved;
        QTest::newRow("participant choice, read-only database") << "filter" << "read-only" << readOnly << notSaved;
    }

    // Catches a failed write reported without its reason or what was not saved, left
    // half-written, shown as done, losing what was typed into a form, or dropping the
    // participants the user chose.
    void failedWriteChangesNothing()
    {
        QFETCH(QString, action);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(QString, consequence);
        openWithFixture();
        const QPoint box = findBox(kSubject);
        QVERIFY(box.x() >= 0);
        const QPoint to = box + QPoint((action == QLatin1String("drag") ? 1 : 2) * columnWidth(), 0);
        QSqlQuery app(QSqlDatabase::database(m_db->connectionName()));
        if (fault == QLatin1String("read-only"))
            QVERIFY(app.exec(QStringLiteral("PRAGMA query_only = ON")));
        if (fault == QLatin1String("second write"))
            QVERIFY(app.exec(action == QLatin1String("drag")
                                 ? QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON appointment_changes"
                                                  " BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END")
                                 : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON appointments"
                                                  " WHEN NEW.participant_id = 4"
                                                  " BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END")));
        const QString contents = fileContents(m_path);
        const QString keys = m_window->calendar()->TerminDSN();
        {
            std::unique_ptr<OtherWriter> other;
            if (fault == QLatin1String("locked"))
                other = std::make_unique<OtherWriter>(m_path);
            if (action == QLatin1String("drag")) {
                this->drag(box, to);
            } else if (action == QLatin1String("filter")) {
                // Everybody but the fixture's participant.
                m_window->setDialogRunner([](QDialog &dialog) {
                    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstTeilnehmer"));
                    for (int i = 0; i < list->count(); ++i)
                        if (list->item(i)->data(Qt::UserRole).toInt() == 1)
                            list->item(i)->setCheckState(Qt::Unchecked);
                    dialog.accept();
                    return dialog.result();
                });
                chooseFromMenuBar(QStringLiteral("Extras"), QStringLiteral("Teilnehmer auswählen…"));
                QVERIFY(!m_window->bridge().participantFilter().contains(1));
            } else {
                // The form comes back after the failure with the input kept; then Abbrechen.
                QDateTime shownStart;
                QString typed, reopenedWith;
                int runs = 0;
                m_window->setDialogRunner([&](QDialog &dialog) {
                    auto *subject = dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff"));
                    if (++runs > 1) {
                        reopenedWith = subject->text();
                        return int(QDialog::Rejected);
                    }
                    const int outcome = fillInForm(dialog, shownStart);
                    typed = subject->text();
                    return outcome;
                });
                if (action == QLatin1String("new")) {
                    QTest::mouseClick(surface(), Qt::LeftButton, {}, to);
                    chooseFromContextMenu(to, QStringLiteral("mnuNeu"));
                } else {
                    QTest::mouseClick(surface(), Qt::LeftButton, {}, box);
                    QTest::mouseDClick(surface(), Qt::LeftButton, {}, box);
                }
                QCOMPARE(runs, 2);
                QVERIFY(typed.endsWith(kNewSubject));
                QCOMPARE(reopenedWith, typed);
            }
        }
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(reason), qPrintable(m_messages.first()));
        QVERIFY2(m_messages.first().contains(consequence), qPrintable(m_messages.first()));
        QCOMPARE(fileContents(m_path), contents);
        if (action == QLatin1String("filter")) {
            // The choice applies for the session although it was not stored.
            QCOMPARE(findBox(kSubject), QPoint(-1, -1));
            return;
        }
        // The window reloaded after the failure: it shows what the file holds.
        QCOMPARE(appointmentKeys(m_window->calendar()->TerminDSN()), appointmentKeys(keys));
        verifyNear(findBox(kSubject), box);
        QVERIFY(!tipAt(to).contains(kNewSubject));
    }

private:
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

    // A day from Wednesday on whose band cell holds no holiday, just below the day headers.
    QPoint freeBandCell() const
    {
        const QPoint box = findBox(kSubject);
        int y = 1;
        while (y < m_window->calendar()->GetYErsteZeile() && tipAt(QPoint(box.x(), y)).contains(QLatin1String("Woche")))
            ++y;
        for (int day = 2; day <= 4; ++day) {
            const QPoint cell(box.x() + day * columnWidth(), y + 2);
            if (tipAt(cell).isEmpty())
                return cell;
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

    // Opens the calendar's context menu with the right button and clicks one of its entries.
    void chooseFromContextMenu(QPoint at, const QString &entry)
    {
        QTest::mousePress(surface(), Qt::RightButton, {}, at);
        QTest::mouseRelease(surface(), Qt::RightButton, {}, at);
        auto *menu = m_window->calendar()->findChild<QMenu *>(QStringLiteral("mnuPopUp"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QAction *item = menu->findChild<QAction *>(entry);
        QVERIFY(item && item->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QTRY_VERIFY(!menu->isVisible());
    }

    QAction *action(const QString &text) const
    {
        for (QAction *a : m_window->findChildren<QAction *>())
            if (a->text().remove(QLatin1Char('&')) == text)
                return a;
        return nullptr;
    }

    void chooseFromMenuBar(const QString &title, const QString &entry)
    {
        QMenuBar *bar = m_window->menuBar();
        QAction *top = action(title);
        QVERIFY(top && top->menu());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        QMenu *menu = top->menu();
        QTRY_VERIFY(menu->isVisible());
        QAction *item = action(entry);
        QVERIFY(item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    // The appointment form as a user fills it in: a subject, two participants, "Speichern".
    static int fillInForm(QDialog &dialog, QDateTime &shownStart)
    {
        dialog.show();
        shownStart = dialog.findChild<QDateTimeEdit *>(QStringLiteral("dtpBeginn"))->dateTime();
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtBetreff")), kNewSubject);
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstTeilnehmer"));
        for (int i = 0; i < list->count(); ++i) {
            const int id = list->item(i)->data(Qt::UserRole).toInt();
            if (id == 2 || id == 4)
                list->item(i)->setCheckState(Qt::Checked);
        }
        click(dialog, QStringLiteral("cmdSpeichern"));
        return dialog.result();
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
