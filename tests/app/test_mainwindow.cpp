// The planner window's answers to the views' events, with its dialogs driven through the seam.
#include "appointmentdialog.h"
#include "filterdialog.h"
#include "mainwindow.h"

#include <dayplex/dayplex.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

int countKeys(const QString &joined, const QString &key)
{
    return joined.split(QLatin1Char('|'), Qt::SkipEmptyParts).count(key);
}

// The appointments among the keys a view shows, without its holidays.
QStringList appointmentKeys(const QString &joined)
{
    QStringList keys;
    for (const QString &key : joined.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        if (HostBridge::appointmentId(key) > 0)
            keys.append(key);
    return keys;
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
        openWindow();
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
        QVERIFY(m_messages.isEmpty());
    }

    // Catches a write-protected database that cannot be looked at, lets appointments be
    // dragged or created, offers "Speichern", or writes the options into the file.
    void readOnlyDatabaseIsShownNotChanged()
    {
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
        QVERIFY(countKeys(m_window->calendar()->TerminDSN(), dsn) == 1);
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
    void openWindow()
    {
        m_window = std::make_unique<MainWindow>(*m_db);
        m_messages.clear();
        m_window->setMessageSink([this](const QString &title, const QString &text) {
            m_messages.append(title + QStringLiteral(": ") + text);
        });
        m_window->setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
    }

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
};

QTEST_MAIN(tst_MainWindow)
#include "test_mainwindow.moc"
