// The example host "Terminplaner": the window, or a headless screenshot or PDF export.
#include "calendarexchange.h"
#include "commandline.h"
#include "database.h"
#include "headless.h"
#include "mainwindow.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTextStream>
#include <QTranslator>

using namespace Terminplaner;

int main(int argc, char *argv[])
{
    QApplication::setOrganizationName(QStringLiteral("Dayplex"));
    QApplication::setApplicationName(QStringLiteral("Terminplaner"));
    QApplication::setApplicationVersion(QStringLiteral(TERMINPLANER_VERSION));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ParseResult parsed = parseCommandLine(arguments);
    const bool window = parsed.ok && parsed.commandLine.mode == RunMode::Window;
    // Exports, help and errors must work on a machine without a display.
    if (!window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !choosesPlatform(arguments))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // On the command line stderr is the user's: the exchange's log of what it left out or
    // repaired (the reader's own words) stays out of it, as its summary says it in German.
    // QT_LOGGING_RULES brings the log back for whoever looks into a file.
    if (!window && qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("terminplaner.icalendar.warning=false"));

    QApplication app(argc, argv);
    // A German program whatever the machine's locale: Dayplex takes the language of its own
    // texts from the default locale, before the first view is made.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own buttons, dialogs and shortcut names in German ("Ja", "Drucker", "Strg+P").
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    else
        qWarning("Qt's German translations (qtbase_de.qm) are not installed; Qt's dialogs stay English.");
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (!parsed.ok) {
        err << "terminplaner: " << parsed.error << "\n"
            << "Aufruf mit --help zeigt alle Optionen." << Qt::endl;
        return 2;
    }
    const CommandLine &cl = parsed.commandLine;
    if (cl.mode == RunMode::Help) {
        out << helpText() << Qt::flush;
        return 0;
    }
    if (cl.mode == RunMode::Version) {
        out << "Terminplaner " << QApplication::applicationVersion() << Qt::endl;
        return 0;
    }

    Database db;
    try {
        // Only the program's own data folder is made; a folder given with --db must exist.
        if (cl.databasePath.isEmpty())
            QDir().mkpath(QFileInfo(defaultDatabasePath()).absolutePath());
        db.open(cl.databasePath.isEmpty() ? defaultDatabasePath() : cl.databasePath);
    } catch (const DatabaseError &error) {
        if (window)
            QMessageBox::critical(nullptr, QStringLiteral("Terminplaner"), error.message());
        else
            err << "terminplaner: " << error.message() << Qt::endl;
        return 2;
    }
    if (cl.mode == RunMode::ExportICalendar || cl.mode == RunMode::ImportICalendar)
        return runICalendar(cl, db, out, err);
    if (!window)
        return runHeadless(cl, db, err);

    MainWindow mainWindow(db);
    if (cl.classicLook) {
        mainWindow.calendar()->setPresentation(Dayplex::Presentation::Classic);
        mainWindow.gantt()->setPresentation(Dayplex::Presentation::Classic);
    }
    mainWindow.show();
    return app.exec();
}
