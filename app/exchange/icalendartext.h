#ifndef TERMINPLANER_ICALENDARTEXT_H
#define TERMINPLANER_ICALENDARTEXT_H

#include <QByteArray>

namespace Terminplaner::ICal {

// The bytes of a calendar file as libical can read them without losing a character.
struct PreparedText
{
    QByteArray utf8;
    bool windows1252 = false; // the file was no valid UTF-8 and was read as Windows-1252
};

// The property after each BEGIN:VEVENT that names the line of the file it stood on.
extern const char kLineProperty[];
// The property that follows a time of an event that is no time, with the value as written.
extern const char kBadTimeProperty[];

// Takes the BOM off, joins folded lines byte by byte (a fold may split a character), reads
// text that is not UTF-8 as Windows-1252, leaves out what another program's libical noted
// on its own reading (X-LIC-ERROR), marks times that are none, puts a bare VEVENT into a calendar and marks each event
// with its line. Throws ICalendarError for a file that is empty, no calendar or cut off.
PreparedText prepareText(const QByteArray &data);

} // namespace Terminplaner::ICal

#endif
