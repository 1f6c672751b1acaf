#ifndef TERMINPLANER_CALENDAREXCHANGE_H
#define TERMINPLANER_CALENDAREXCHANGE_H

#include "database.h"
#include "icalendar.h"

#include <QList>
#include <QString>
#include <functional>

class QTextStream;

namespace Terminplaner {

struct CommandLine;

// .ics files to and from the database, shared by the window and the command line. Both
// throw DatabaseError or ICalendarError with a German message; a failed call leaves the
// database and the target file as they were.
struct ExchangeResult
{
    int appointments = 0; // written to the file, or taken from it
    ImportCount count;
    QString report;       // one German sentence for the status bar or stdout
};

// Writes the appointments of the participants (all when empty) on firstDay..lastDay. A file
// that exists and is no calendar is refused, so that a mistyped name never overwrites it.
ExchangeResult exportICalendar(Database &db, const QString &path, Dayplex::Date firstDay,
                               Dayplex::Date lastDay, const QList<int> &participantIds);

// Reads the file and writes it in one transaction; events that name no participant of the
// team go to defaultParticipant. progress follows the reading and can cancel it, which
// throws ICalendarCancelled before anything is written. The report ends with the reader's
// notes (events left out, the encoding, unknown zones).
// beforeWrite sees what the file brings before anything is written; false stops the import
// with ICalendarCancelled and writes nothing.
using ImportCheck = std::function<bool(const ICalendarImport &read)>;
ExchangeResult importICalendar(Database &db, const QString &path, int defaultParticipant,
                               const ICalendarProgress &progress = {}, const ImportCheck &beforeWrite = {});

// The participant a command line names by number or name; 0 when there is none such.
int findParticipant(const Database &db, const QString &nameOrId);

// Runs --export-ics or --import-ics; an import that takes longer than a second reports its
// progress on err. Returns the exit code: 0 done, 2 for an unknown
// participant or a file that cannot be used, 1 any other failure, with the reason on err.
int runICalendar(const CommandLine &commandLine, Database &db, QTextStream &out, QTextStream &err);

} // namespace Terminplaner

#endif
