#include "calendarexchange.h"

#include "commandline.h"
#include "icalendar.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QLocale>
#include <QTextStream>
#include <memory>

namespace Terminplaner {

namespace {

// Larger files are no calendar a user exchanges by hand; reading them whole would stall.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

QHash<int, QString> namesById(const Database &db)
{
    QHash<int, QString> names;
    for (const Participant &p : db.participants())
        names.insert(p.id, p.name);
    return names;
}

QString appointmentsText(int n)
{
    return n == 1 ? QStringLiteral("1 Termin") : QStringLiteral("%1 Termine").arg(n);
}

// Progress on stderr once a reading has taken a second, then at most once a second.
ICalendarProgress progressOn(QTextStream &err)
{
    auto clock = std::make_shared<QElapsedTimer>();
    auto lastReport = std::make_shared<qint64>(0);
    clock->start();
    return [clock, lastReport, &err](int done, int total) {
        const qint64 now = clock->elapsed();
        if (now < 1000 || (now - *lastReport < 1000 && done < total))
            return true;
        *lastReport = now;
        const QLocale german(QLocale::German, QLocale::Germany);
        if (done < total)
            err << QStringLiteral("Import: %1 von %2 Terminen gelesen …").arg(german.toString(done), german.toString(total));
        else
            err << QStringLiteral("Import: alle %1 Termine gelesen; sie werden gespeichert …").arg(german.toString(total));
        err << Qt::endl;
        return true;
    };
}

} // namespace

ExchangeResult exportICalendar(Database &db, const QString &path, Dayplex::Date firstDay,
                               Dayplex::Date lastDay, const QList<int> &participantIds)
{
    const QVector<Appointment> appointments = appointmentsForExport(
        db.appointmentsInDays(firstDay, lastDay, participantIds), [&db](qint64 id) { return db.appointment(id); });
    const QByteArray ics = writeICalendar(appointments, namesById(db), QDateTime::currentDateTimeUtc());

    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw ICalendarError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden.").arg(path));
        QByteArray head = existing.read(64).trimmed();
        if (head.startsWith("\xEF\xBB\xBF"))
            head = head.mid(3);
        if (!head.toUpper().startsWith("BEGIN:VCALENDAR"))
            throw ICalendarError(QStringLiteral("Die Datei „%1“ gibt es schon, und sie ist keine "
                                               "iCalendar-Datei; sie wird nicht überschrieben.")
                                    .arg(path));
    }
    // Written beside the target and renamed at the end: a failure leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ics) != ics.size() || !file.commit())
        throw DatabaseError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                .arg(path, file.errorString()));
    ExchangeResult result;
    result.appointments = appointments.size();
    result.report = QStringLiteral("%1 nach „%2“ exportiert.")
                        .arg(appointmentsText(result.appointments), QFileInfo(path).fileName());
    return result;
}

ExchangeResult importICalendar(Database &db, const QString &path, int defaultParticipant,
                               const ICalendarProgress &progress, const ImportCheck &beforeWrite)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ICalendarError(QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden: %2")
                                 .arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        throw ICalendarError(QStringLiteral("Die Datei „%1“ ist mit %2 MB zu groß für einen Kalender. "
                                            "Es wurde nichts importiert.")
                                 .arg(path)
                                 .arg(file.size() / (1024 * 1024)));
    const ICalendarImport read = readICalendar(file.readAll(), db.participants(), defaultParticipant, progress);
    if (beforeWrite && !beforeWrite(read))
        throw ICalendarCancelled();
    ExchangeResult result;
    result.appointments = read.appointments.size() + read.overrides.size();
    result.count = db.importCalendar(read);
    result.count.skipped = read.skipped;
    const ImportCount &c = result.count;
    QStringList parts{QStringLiteral("Aus „%1“ importiert: %2 neu, %3 geändert, %4 unverändert, %5 entfernt, "
                                     "%6 übersprungen.")
                          .arg(QFileInfo(path).fileName(), appointmentsText(c.added))
                          .arg(c.updated)
                          .arg(c.unchanged)
                          .arg(c.removed)
                          .arg(c.skipped)};
    parts += read.notes;
    result.report = parts.join(QLatin1Char(' '));
    return result;
}

int findParticipant(const Database &db, const QString &nameOrId)
{
    bool isNumber = false;
    const int id = nameOrId.toInt(&isNumber);
    for (const Participant &p : db.participants())
        if ((isNumber && p.id == id) || p.name.compare(nameOrId.trimmed(), Qt::CaseInsensitive) == 0)
            return p.id;
    return 0;
}

int runICalendar(const CommandLine &cl, Database &db, QTextStream &out, QTextStream &err)
{
    try {
        int participant = 0;
        if (!cl.participant.isEmpty()) {
            participant = findParticipant(db, cl.participant);
            if (participant == 0) {
                err << "terminplaner: " << QStringLiteral("Einen Teilnehmer „%1“ gibt es nicht.").arg(cl.participant)
                    << Qt::endl;
                return 2;
            }
        }
        ExchangeResult result;
        if (cl.mode == RunMode::ExportICalendar) {
            const Dayplex::Date first = Dayplex::toDate(cl.from.isValid() ? cl.from : QDate::currentDate());
            result = exportICalendar(db, cl.outputFile, first, first + cl.days - 1,
                                     participant ? QList<int>{participant} : QList<int>());
        } else {
            if (participant == 0) {
                const QVector<Participant> team = db.participants();
                if (team.isEmpty())
                    throw DatabaseError(QStringLiteral("Die Datenbank hat keine Teilnehmer."));
                participant = team.first().id;
            }
            result = importICalendar(db, cl.inputFile, participant, progressOn(err));
        }
        out << result.report << Qt::endl;
    } catch (const ICalendarError &error) {
        // The file given is the bad argument; nothing was written.
        err << "terminplaner: " << error.message() << Qt::endl;
        return 2;
    } catch (const std::exception &error) {
        err << "terminplaner: " << QString::fromUtf8(error.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace Terminplaner
