// The load run of the Terminplaner for a team (scripts/load): a PostgreSQL server of its own,
// desks as separate processes, each a real window offscreen that moves its own appointment
// through the path of a drag. The office (default): 50 desks for five minutes, each saving every
// 2 s on average, the desks spread over four weeks. --stress: 32 desks all on one week, each
// saving every 100 ms. Every desk measures, for each change of another desk to the days it
// shows, the time from the save to its refreshed view. At the end the run checks that no update
// was lost and that every desk shows what is stored, and prints the median and the 95th
// percentile.
//   team_load [--stress] [SECONDS [DESKS]]
#include "mainwindow.h"
#include "../tests/app/pgserver.h"

#include <dayplex/dayplex.h>

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

using namespace Terminplaner;

namespace {

const QDate kWeek(2026, 12, 7); // a Monday
const QString kLoadText = QStringLiteral("Lasttest Arbeitsplatz %1");

// How the desks work: how many weeks they are spread over and how often each saves.
struct Profile
{
    int weeks = 4;
    int meanIntervalMs = 2000;
    bool random = true; // intervals spread evenly up to twice the mean, else fixed
};

QDate weekOf(int desk, const Profile &profile)
{
    return kWeek.addDays(7 * (desk % profile.weeks));
}

Dayplex::Date slot(int desk, int step, const Profile &profile)
{
    // Through the five working days of the desk's week, one half hour per desk of that week.
    return Dayplex::toDate(weekOf(desk, profile).addDays(step % 5))
           + (8 * 60 + desk / profile.weeks * 30 + (step % 4) * 5) / 1440.0;
}

// What a desk's calendar shows of the load appointments: the version of each row it was last
// filled with. Versions count every write, so equal versions are equal data.
QString shownDigest(MainWindow &window, const QList<qint64> &ids)
{
    QStringList parts;
    for (qint64 id : ids)
        parts.append(QStringLiteral("%1=%2").arg(id).arg(window.bridge().shownVersion(window.calendar(), id)));
    return parts.join(QLatin1Char(' '));
}

QString storedDigest(Database &db, const QList<qint64> &ids)
{
    QStringList parts;
    for (qint64 id : ids)
        parts.append(QStringLiteral("%1=%2").arg(id).arg(db.appointment(id)->version));
    return parts.join(QLatin1Char(' '));
}

// One desk: moves its appointment until the deadline (seconds since the epoch), then reports.
int runDesk(const QString &url, int desk, qint64 deadlineSeconds, const QList<qint64> &allIds, const Profile &profile)
{
    // The desk shows, and checks, the load appointments of its own week.
    QList<qint64> ids;
    for (int other = 0; other < allIds.size(); ++other)
        if (weekOf(other, profile) == weekOf(desk, profile))
            ids.append(allIds.at(other));
    QTextStream out(stdout);
    Database db;
    db.open(url);
    MainWindow window(db);
    QStringList messages;
    int conflicts = 0;
    window.setMessageSink([&](const QString &title, const QString &text) { messages.append(title + QStringLiteral(": ") + text); });
    window.setQuestionHandler([&](const QString &, const QString &) {
        ++conflicts;
        return false;
    });
    // The demo week's appointments lie under the load slots; a desk saves anyway, as a user who
    // knows the overlap would, instead of waiting on the question forever.
    window.setOverlapHandler([](const QString &, const QString &) { return MainWindow::OverlapAnswer::SaveAnyway; });
    QVector<qint64> latencies;
    const Dayplex::Date monday = Dayplex::toDate(weekOf(desk, profile));
    window.setRefreshObserver([&](const ChangeNotice &notice) {
        // Only the changes to the days this desk shows are waited for.
        if (notice.firstDay <= monday + 6 && notice.lastDay >= monday)
            latencies.append(QDateTime::currentMSecsSinceEpoch() - notice.savedAt);
    });
    window.show();
    window.showCalendar(monday);

    const qint64 mine = allIds.at(desk);
    const QString key = HostBridge::appointmentKey(mine);
    int step = 0;
    int saved = 0;
    QString lastSaved;
    QTimer mover;
    const auto nextInterval = [&] {
        return profile.random ? int(QRandomGenerator::global()->bounded(2 * profile.meanIntervalMs + 1))
                              : profile.meanIntervalMs;
    };
    mover.setSingleShot(true);
    mover.setInterval(nextInterval());
    QObject::connect(&mover, &QTimer::timeout, [&] {
        mover.start(nextInterval());
        const Dayplex::Date start = slot(desk, ++step, profile);
        window.moveAppointment(key, start, start + 0.5 / 24);
        // The window says nothing on success; what the database holds tells.
        if (const std::optional<Appointment> a = db.appointment(mine); a && std::abs(a->start - start) < Dayplex::kOneSecond) {
            ++saved;
            lastSaved = Database::toSqlDateTime(start);
        }
    });
    // One deadline for all desks, however late each started, so that the quiet time below
    // follows the last save of every desk.
    const qint64 deadline = deadlineSeconds * 1000;
    // Waiting in the event loop as a desk does: a loop of processEvents would spin and take
    // the processor from the desks it measures.
    const auto wait = [](qint64 ms) {
        QEventLoop loop;
        QTimer::singleShot(int(std::max<qint64>(0, ms)), &loop, &QEventLoop::quit);
        loop.exec();
    };
    mover.start();
    wait(deadline - QDateTime::currentMSecsSinceEpoch());
    mover.stop();
    // The last changes of the others still arrive.
    wait(2000);
    window.reloadViews();

    const QStringList shown = window.calendar()->TerminDSN().split(QLatin1Char('|'));
    int visible = 0;
    for (qint64 id : ids)
        visible += shown.contains(HostBridge::appointmentKey(id)) ? 1 : 0;
    out << "SAVED " << saved << " " << lastSaved << "\n";
    out << "CONFLICTS " << conflicts << "\n";
    out << "MESSAGES " << messages.size() << "\n";
    for (const QString &m : messages)
        out << "MESSAGE " << QString(m).replace(QLatin1Char('\n'), QLatin1Char(' ')) << "\n";
    out << "VISIBLE " << visible << " " << ids.size() << "\n";
    out << "DIGEST " << shownDigest(window, ids) << "\n";
    for (qint64 ms : latencies)
        out << "L " << ms << "\n";
    out.flush();
    return 0;
}

qint64 percentile(QVector<qint64> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int index = std::clamp(int(std::ceil(p * values.size())) - 1, 0, int(values.size()) - 1);
    return values.at(index);
}

int runAll(int seconds, int desks, const Profile &profile, const QString &self)
{
    QTextStream out(stdout);
    PgServer server;
    if (!server.start()) {
        out << "Server: " << server.error() << Qt::endl;
        return 1;
    }
    const QString url = server.createDatabase(QStringLiteral("last"));
    QList<qint64> ids;
    int journalBefore = 0;
    {
        Database db;
        db.open(url, kWeek);
        for (int desk = 0; desk < desks; ++desk) {
            Appointment a;
            a.text = kLoadText.arg(desk + 1);
            a.start = slot(desk, 0, profile);
            a.end = a.start + 0.5 / 24;
            a.participantId = desk % 8 + 1;
            ids.append(db.insertAppointment(a));
        }
        journalBefore = db.journalCount();
    }
    QStringList idText;
    for (qint64 id : ids)
        idText.append(QString::number(id));

    // The saves end at one moment for all desks; starting them all takes its time.
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + (seconds + 10) * 1000;
    QList<QProcess *> processes;
    for (int desk = 0; desk < desks; ++desk) {
        auto *p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(self, {QStringLiteral("--desk"), url, QString::number(desk), QString::number(deadline / 1000),
                        idText.join(QLatin1Char(',')), QString::number(profile.weeks),
                        QString::number(profile.meanIntervalMs), QString::number(profile.random)});
        processes.append(p);
    }
    QVector<qint64> latencies;
    QStringList digests;
    int saves = 0, conflicts = 0, messages = 0, visibleShort = 0;
    QStringList lastSaved;
    bool ok = true;
    for (QProcess *p : processes) {
        if (!p->waitForFinished((seconds + 90) * 1000) || p->exitCode() != 0) {
            out << "Ein Arbeitsplatz ist nicht sauber beendet worden." << Qt::endl;
            ok = false;
        }
        for (const QString &line : QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("L ")))
                latencies.append(line.mid(2).toLongLong());
            else if (line.startsWith(QLatin1String("SAVED "))) {
                saves += line.section(QLatin1Char(' '), 1, 1).toInt();
                lastSaved.append(line.section(QLatin1Char(' '), 2, 2));
            } else if (line.startsWith(QLatin1String("CONFLICTS ")))
                conflicts += line.mid(10).toInt();
            else if (line.startsWith(QLatin1String("MESSAGES ")))
                messages += line.mid(9).toInt();
            else if (line.startsWith(QLatin1String("MESSAGE ")))
                out << "  " << line << "\n";
            else if (line.startsWith(QLatin1String("VISIBLE ")))
                visibleShort += line.section(QLatin1Char(' '), 1, 1) == line.section(QLatin1Char(' '), 2, 2) ? 0 : 1;
            else if (line.startsWith(QLatin1String("DIGEST ")))
                digests.append(line.mid(7));
        }
        delete p;
    }

    Database db;
    db.open(url, kWeek);
    int lost = 0;
    for (int desk = 0; desk < desks && desk < lastSaved.size(); ++desk)
        if (Database::toSqlDateTime(db.appointment(ids.at(desk))->start) != lastSaved.at(desk))
            ++lost;
    const int journal = db.journalCount() - journalBefore;
    // Each desk against what is stored of the rows of its week.
    const bool agree = digests.size() == desks && std::all_of(digests.cbegin(), digests.cend(), [&](const QString &d) {
                           QList<qint64> shownIds;
                           for (const QString &pair : d.split(QLatin1Char(' ')))
                               shownIds.append(pair.section(QLatin1Char('='), 0, 0).toLongLong());
                           return d == storedDigest(db, shownIds);
                       });
    out << "Arbeitsplätze: " << desks << ", Laufzeit: " << seconds << " s, Verschiebungen gespeichert: " << saves
        << " (Journal: " << journal << "), Konflikte: " << conflicts << ", Meldungen: " << messages << "\n";
    out << "Verlorene Änderungen: " << lost << ", alle Arbeitsplätze zeigen dasselbe: " << (agree ? "ja" : "nein")
        << ", Arbeitsplätze ohne alle Lasttermine: " << visibleShort << "\n";
    out << "Speichern bis aufgefrischte Ansicht: n=" << latencies.size() << ", Median " << percentile(latencies, 0.5)
        << " ms, 95. Perzentil " << percentile(latencies, 0.95) << " ms, Maximum " << percentile(latencies, 1.0)
        << " ms" << Qt::endl;
    const bool passed = ok && lost == 0 && agree && journal == saves && visibleShort == 0
                        && percentile(latencies, 0.95) < 500;
    out << (passed ? "Ergebnis: bestanden" : "Ergebnis: NICHT bestanden") << Qt::endl;
    return passed ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = app.arguments();
    if (args.size() == 9 && args.at(1) == QLatin1String("--desk")) {
        QList<qint64> ids;
        for (const QString &id : args.at(5).split(QLatin1Char(',')))
            ids.append(id.toLongLong());
        const Profile profile{args.at(6).toInt(), args.at(7).toInt(), args.at(8) == QLatin1String("1")};
        try {
            return runDesk(args.at(2), args.at(3).toInt(), args.at(4).toLongLong(), ids, profile);
        } catch (const DatabaseError &error) {
            QTextStream(stderr) << "Arbeitsplatz " << args.at(3) << ": " << error.message() << Qt::endl;
            return 1;
        }
    }
    QStringList rest = args.mid(1);
    const bool stress = rest.removeAll(QStringLiteral("--stress")) > 0;
    // The old team profile under stress: everyone on one week, a save every 100 ms.
    const Profile profile = stress ? Profile{1, 100, false} : Profile{};
    const int seconds = rest.size() > 0 ? rest.at(0).toInt() : 300;
    const int desks = rest.size() > 1 ? rest.at(1).toInt() : (stress ? 32 : 50);
    if (seconds < 1 || desks < 2 || desks > 50 || desks / profile.weeks > 30) {
        QTextStream(stderr) << "Aufruf: team_load [--stress] [SEKUNDEN [ARBEITSPLÄTZE (2 bis 50)]]" << Qt::endl;
        return 2;
    }
    return runAll(seconds, desks, profile, QApplication::applicationFilePath());
}
