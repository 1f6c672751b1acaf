#ifndef TERMINPLANER_COMMANDLINE_H
#define TERMINPLANER_COMMANDLINE_H

#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>

namespace Terminplaner {

enum class RunMode { Window, Screenshot, Print, ExportICalendar, ImportICalendar, Help, Version };
enum class ViewKind { Calendar, Gantt };

struct CommandLine
{
    RunMode mode = RunMode::Window;
    QString databasePath; // empty: the default under the application data folder
    ViewKind view = ViewKind::Calendar;
    QDate from;           // invalid: today
    int days = 7;
    QString outputFile;   // PNG of --screenshot, PDF of --print, .ics of --export-ics
    QString inputFile;    // .ics of --import-ics
    QString participant;  // --participant: a name or number; empty: the team
    QSize imageSize{1280, 800};
    qreal scale = 1; // device pixel ratio of --screenshot
    int pages = 1;
    bool classicLook = false; // --presentation classic: the views' classic screen look
};

struct ParseResult
{
    bool ok = false;
    QString error; // German, for stderr
    CommandLine commandLine;
};

// Parses the program's arguments (the first is the program itself). Qt's own options such
// as -platform are accepted and ignored.
ParseResult parseCommandLine(const QStringList &arguments);

// The German help text; needs an application object for the program name.
QString helpText();

// True when the arguments already choose a Qt platform plugin.
bool choosesPlatform(const QStringList &arguments);

// The database file used without --db.
QString defaultDatabasePath();

// The day of a --from value relative to today: "today" or "heute", "monday" or "montag" (of
// this week), a signed count of days or weeks such as "+1w" or "-3d", or a date YYYY-MM-DD.
// Invalid when the text is none of these.
QDate dayFromText(const QString &text, QDate today);

} // namespace Terminplaner

#endif
