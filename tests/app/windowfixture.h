#ifndef TERMINPLANER_TESTS_WINDOWFIXTURE_H
#define TERMINPLANER_TESTS_WINDOWFIXTURE_H

// The planner's real window offscreen on a database, its questions, forms and messages answered
// through its seams, and what a hand does on the calendar: find a box by its tooltip, drag it.
#include "mainwindow.h"

#include <dayplex/dayplex.h>

#include <QFileDialog>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace Terminplaner::Testing {

inline Appointment appointment(const QString &text, Dayplex::Date start, double hours = 1, int participant = 1)
{
    Appointment a;
    a.text = text;
    a.start = start;
    a.end = start + hours / 24.0;
    a.participantId = participant;
    a.participantIds = {participant};
    return a;
}

// The appointment keys among joined view keys, sorted.
inline QStringList appointmentKeys(const QString &joined)
{
    QStringList keys;
    for (const QString &key : joined.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        if (HostBridge::appointmentId(key) > 0)
            keys.append(key);
    keys.sort();
    return keys;
}

class WindowFixture
{
protected:
    // A new database file for the next test; every answer back to its default.
    void nextFile(const char *stem)
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("%1-%2.sqlite").arg(QLatin1String(stem)).arg(++m_counter));
        m_messages.clear();
        m_questions.clear();
        m_scopes.clear();
        m_overlaps.clear();
        m_yes = true;
        m_scope = Dayplex::SeriesScope::OnlyThis;
        m_overlapAnswer = MainWindow::OverlapAnswer::SaveAnyway;
    }

    void closeWindow()
    {
        m_window.reset();
        m_db.reset();
    }

    // Opens the database, seeded around seedAnchor when it is new, with `own` appointments added
    // (their ids set), in the window.
    void openDatabase(const QString &location, QDate seedAnchor, QList<Appointment *> own = {})
    {
        m_db = std::make_unique<Database>();
        m_db->open(location, seedAnchor);
        for (Appointment *appointment : own)
            appointment->id = m_db->insertAppointment(*appointment);
        m_window = std::make_unique<MainWindow>(*m_db);
        m_window->setMessageSink([this](const QString &title, const QString &text) { m_messages.append(title + ": " + text); });
        m_window->setQuestionHandler([this](const QString &, const QString &text) {
            m_questions.append(text);
            return m_yes;
        });
        m_window->setScopeHandler([this](const QString &, const QString &text, bool) {
            m_scopes.append(text);
            return m_yes ? std::optional<Dayplex::SeriesScope>(m_scope) : std::nullopt;
        });
        m_window->setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
        m_window->setOverlapHandler([this](const QString &, const QString &text) {
            m_overlaps.append(text);
            return m_overlapAnswer;
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // The window's forms answered: the file chooser with file, any other dialog rejected.
    void chooseFile(const QString &file)
    {
        m_window->setDialogRunner([file](QDialog &dialog) {
            auto *chooser = qobject_cast<QFileDialog *>(&dialog);
            if (chooser)
                chooser->selectFile(file);
            return int(chooser ? QDialog::Accepted : QDialog::Rejected);
        });
    }

    // Every row and seat of the database but the versions, which count writes.
    QString dump() const
    {
        QStringList lines;
        QSqlQuery q(QSqlDatabase::database(m_db->connectionName()));
        q.exec(QStringLiteral("SELECT id, text, start, \"end\", all_day, done, participant_id, rrule, rdates, exdates,"
                              " series_id, recurrence_start, uid, note, read_only FROM appointments ORDER BY id"));
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < 15; ++i)
                fields.append(q.value(i).toString());
            lines.append(fields.join(';'));
        }
        q.exec(QStringLiteral("SELECT appointment_id, participant_id, seq FROM appointment_participants ORDER BY 1, 3"));
        while (q.next())
            lines.append(QStringLiteral("%1:%2:%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString()));
        return lines.join('\n');
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
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(pic->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(pic, &move);
        return pic->toolTip();
    }

    // The first and last pixel row in the middle of the first day's column whose tooltip names
    // subject; -1 when none does.
    std::pair<int, int> boxSpan(const QString &subject) const
    {
        Dayplex::ucAgenda *calendar = m_window->calendar();
        const int x = calendar->GetXTagesTermin(calendar->FirstDay()) + columnWidth() / 2;
        int top = -1, bottom = -1;
        for (int y = calendar->GetYErsteZeile() + 1; y < surface()->height(); ++y) {
            if (tipAt(QPoint(x, y)).contains(subject)) {
                top = top < 0 ? y : top;
                bottom = y;
            } else if (top >= 0) {
                break;
            }
        }
        return {top, bottom};
    }

    // A point in the box near its first row, which a drop puts on the target's row, below the
    // edge that resizes it in the modern look; (-1, -1) when no tooltip names subject.
    QPoint boxOf(const QString &subject) const
    {
        const int top = boxSpan(subject).first;
        Dayplex::ucAgenda *calendar = m_window->calendar();
        return top < 0 ? QPoint(-1, -1)
                       : QPoint(calendar->GetXTagesTermin(calendar->FirstDay()) + columnWidth() / 2, top + 7);
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
    QStringList m_messages;
    QStringList m_questions;
    QStringList m_scopes;
    QStringList m_overlaps;
    bool m_yes = true; // to the window's questions and, as m_scope, to its series questions
    Dayplex::SeriesScope m_scope = Dayplex::SeriesScope::OnlyThis;
    MainWindow::OverlapAnswer m_overlapAnswer = MainWindow::OverlapAnswer::SaveAnyway;
};

} // namespace Terminplaner::Testing

#endif
