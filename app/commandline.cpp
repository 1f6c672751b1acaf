#include "commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace Terminplaner {

namespace {

// Options that QGuiApplication takes itself; they must not count as unknown here.
const char *const kQtOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                  "qwindowgeometry", "qwindowicon", "qwindowtitle", "reverse",
                                  "session", "style", "stylesheet", "widgetcount", "display",
                                  "geometry", "title"};
const char *const kQtFlags[] = {"reverse", "widgetcount"};

void setUp(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Terminplaner – Beispielanwendung der Terminbibliothek Dayplex.\n"
        "Ohne Optionen öffnet sich das Fenster mit Kalender und Gantt-Ansicht."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Zeigt diese Hilfe an.")});
    parser.addOption({QStringLiteral("version"), QStringLiteral("Zeigt die Versionsnummer an.")});
    // The default path is listed below the options: wrapped in a column it would break in
    // the middle of the file name.
    parser.addOption({QStringLiteral("db"),
                      QStringLiteral("Datenbankdatei (SQLite; der Ordner muss existieren) oder ein "
                                     "PostgreSQL-Server als postgresql://benutzer@rechner:port/datenbank; "
                                     "das Passwort kommt aus PGPASSWORD oder ~/.pgpass. Standard: siehe unten."),
                      QStringLiteral("DATEI")});
    parser.addOption({QStringLiteral("screenshot"),
                      QStringLiteral("Speichert ein Bild der Ansicht „calendar“ oder „gantt“ "
                                     "ohne Fenster und beendet sich."),
                      QStringLiteral("ANSICHT")});
    parser.addOption({QStringLiteral("print"),
                      QStringLiteral("Druckt die Ansicht „calendar“ oder „gantt“ ohne Fenster in "
                                     "eine PDF-Datei und beendet sich."),
                      QStringLiteral("ANSICHT")});
    parser.addOption({QStringLiteral("from"),
                      QStringLiteral("Erster angezeigter Tag: JJJJ-MM-TT, today, monday (dieser "
                                     "Woche) oder Tage und Wochen ab heute wie +1w, -3d. "
                                     "Standard: heute."),
                      QStringLiteral("TAG")});
    parser.addOption({QStringLiteral("days"),
                      QStringLiteral("Anzahl der Tage (Kalender 1–14, Gantt 1–101). Standard: 7."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("PNG-Datei für --screenshot."),
                      QStringLiteral("DATEI")});
    parser.addOption({QStringLiteral("size"),
                      QStringLiteral("Bildgröße für --screenshot als BREITExHÖHE. Standard: 1280x800."),
                      QStringLiteral("GRÖSSE")});
    parser.addOption({QStringLiteral("scale"),
                      QStringLiteral("Pixelverhältnis für --screenshot (1 bis 4), 2 für HiDPI-Bilder "
                                     "mit doppelt so vielen Pixeln je Richtung. Standard: 1."),
                      QStringLiteral("FAKTOR")});
    parser.addOption({QStringLiteral("pdf"), QStringLiteral("PDF-Datei für --print."),
                      QStringLiteral("DATEI")});
    parser.addOption({QStringLiteral("pages"),
                      QStringLiteral("Seitenzahl für --print (1–50). Standard: 1."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("export-ics"),
                      QStringLiteral("Exportiert die Termine von --from für --days Tage (1–3660) "
                                     "als iCalendar-Datei und beendet sich."),
                      QStringLiteral("DATEI")});
    parser.addOption({QStringLiteral("import-ics"),
                      QStringLiteral("Importiert eine iCalendar-Datei (Outlook, Thunderbird, ...) "
                                     "und beendet sich. Bekannte Termine werden an ihrer UID "
                                     "erkannt und ersetzt."),
                      QStringLiteral("DATEI")});
    parser.addOption({QStringLiteral("participant"),
                      QStringLiteral("Teilnehmer (Name oder Nummer) für --export-ics; bei "
                                     "--import-ics erhält er die Termine ohne bekannten "
                                     "Teilnehmer. Standard: das ganze Team bzw. der erste."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("presentation"),
                      QStringLiteral("Darstellung der Ansichten am Bildschirm: „modern“ (Auslassungspunkte, "
                                     "„+n“ für verdeckte Tagestermine, lesbare Farben) oder "
                                     "„classic“. Standard: modern."),
                      QStringLiteral("DARSTELLUNG")});
    for (const char *name : kQtOptions) {
        const bool flag = std::find_if(std::begin(kQtFlags), std::end(kQtFlags), [name](const char *f) {
                              return qstrcmp(f, name) == 0;
                          }) != std::end(kQtFlags);
        QCommandLineOption option(QString::fromLatin1(name), QString());
        if (!flag)
            option.setValueName(QStringLiteral("WERT"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

bool parseView(const QString &text, ViewKind *view)
{
    if (text == QLatin1String("calendar"))
        *view = ViewKind::Calendar;
    else if (text == QLatin1String("gantt"))
        *view = ViewKind::Gantt;
    else
        return false;
    return true;
}

bool parseNumber(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < min || n > max)
        return false;
    *value = n;
    return true;
}

ParseResult fail(const QString &message)
{
    ParseResult result;
    result.error = message;
    return result;
}

// --from and --days; returns the German error, empty when they are fine.
QString parseRange(const QCommandLineParser &parser, int maxDays, CommandLine *cl)
{
    if (parser.isSet(QStringLiteral("from"))) {
        const QString text = parser.value(QStringLiteral("from"));
        cl->from = dayFromText(text, QDate::currentDate());
        if (!cl->from.isValid() || cl->from.year() < 1900 || cl->from.year() > 9900)
            return QStringLiteral("Ungültiger Tag „%1“: erwartet wird JJJJ-MM-TT, today, "
                                  "monday oder eine Verschiebung wie +1w oder -3d.")
                .arg(text);
    }
    if (parser.isSet(QStringLiteral("days"))
        && !parseNumber(parser.value(QStringLiteral("days")), 1, maxDays, &cl->days))
        return QStringLiteral("Ungültige Tageszahl „%1“: erlaubt ist 1 bis %2.")
            .arg(parser.value(QStringLiteral("days")))
            .arg(maxDays);
    return QString();
}

ParseResult parseExchange(const QCommandLineParser &parser, bool exportIcs, ParseResult &result)
{
    CommandLine &cl = result.commandLine;
    for (const char *name : {"out", "size", "scale", "pdf", "pages"})
        if (parser.isSet(QString::fromLatin1(name)))
            return fail(QStringLiteral("--%1 gilt nicht für --export-ics und --import-ics.")
                            .arg(QString::fromLatin1(name)));
    if (exportIcs) {
        cl.mode = RunMode::ExportICalendar;
        cl.outputFile = parser.value(QStringLiteral("export-ics"));
        if (QString error = parseRange(parser, 3660, &cl); !error.isEmpty())
            return fail(error);
    } else {
        if (parser.isSet(QStringLiteral("from")) || parser.isSet(QStringLiteral("days")))
            return fail(QStringLiteral("--from und --days gelten nicht für --import-ics."));
        cl.mode = RunMode::ImportICalendar;
        cl.inputFile = parser.value(QStringLiteral("import-ics"));
    }
    if ((exportIcs ? cl.outputFile : cl.inputFile).trimmed().isEmpty())
        return fail(QStringLiteral("--%1 braucht einen Dateinamen.")
                        .arg(exportIcs ? QStringLiteral("export-ics") : QStringLiteral("import-ics")));
    result.ok = true;
    return result;
}

} // namespace

QString defaultDatabasePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.terminplaner");
    return folder + QStringLiteral("/terminplaner.sqlite");
}

QDate dayFromText(const QString &text, QDate today)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("today") || word == QLatin1String("heute"))
        return today;
    if (word == QLatin1String("monday") || word == QLatin1String("montag"))
        return today.addDays(1 - today.dayOfWeek());
    const QRegularExpressionMatch shift =
        QRegularExpression(QStringLiteral("^([+-]\\d{1,5})([dtw])$")).match(word);
    if (shift.hasMatch()) {
        const qint64 count = shift.captured(1).toLongLong();
        return today.addDays(shift.captured(2) == QLatin1String("w") ? count * 7 : count);
    }
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

bool choosesPlatform(const QStringList &arguments)
{
    for (const QString &argument : arguments)
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform")
            || argument.startsWith(QLatin1String("-platform="))
            || argument.startsWith(QLatin1String("--platform=")))
            return true;
    return false;
}

QString helpText()
{
    QCommandLineParser parser;
    setUp(parser);
    QString text = parser.helpText();
    // Qt's own headings are English unless its translations are installed.
    text.replace(QLatin1String("Usage:"), QLatin1String("Aufruf:"));
    text.replace(QLatin1String("[options]"), QLatin1String("[Optionen]"));
    text.replace(QLatin1String("Options:"), QLatin1String("Optionen:"));
    return text
           + QStringLiteral("\nStandard-Datenbank:\n  %1\n").arg(QDir::toNativeSeparators(defaultDatabasePath()))
           + QStringLiteral(
               "\nBeispiele:\n"
               "  terminplaner --db termine.sqlite\n"
               "  terminplaner --screenshot calendar --from monday --days 7 --out kalender.png\n"
               "  terminplaner --screenshot gantt --from +1w --scale 2 --out gantt.png\n"
               "  terminplaner --print gantt --from today --days 14 --pdf gantt.pdf\n"
               "  terminplaner --export-ics team.ics --from monday --days 31\n"
               "  terminplaner --import-ics outlook.ics --participant \"Anna Becker\"\n");
}

ParseResult parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUp(parser);
    if (!parser.parse(arguments.isEmpty() ? QStringList{QStringLiteral("terminplaner")} : arguments)) {
        QString message = parser.errorText();
        // Qt's messages are English unless its translations are installed.
        message.replace(QRegularExpression(QStringLiteral("^Unknown options?:? '?(.*?)'?\\.$")),
                        QStringLiteral("Unbekannte Option „\\1“."));
        message.replace(QRegularExpression(QStringLiteral("^Missing value after '(.*)'\\.$")),
                        QStringLiteral("Wert fehlt nach „\\1“."));
        message.replace(QRegularExpression(QStringLiteral("^Unexpected value after '(.*)'\\.$")),
                        QStringLiteral("Unerwarteter Wert nach „\\1“."));
        return fail(message);
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unerwartetes Argument: „%1“.").arg(parser.positionalArguments().first()));

    ParseResult result;
    CommandLine &cl = result.commandLine;
    if (parser.isSet(QStringLiteral("help"))) {
        cl.mode = RunMode::Help;
        result.ok = true;
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        cl.mode = RunMode::Version;
        result.ok = true;
        return result;
    }

    if (parser.isSet(QStringLiteral("presentation"))) {
        const QString look = parser.value(QStringLiteral("presentation"));
        if (look != QLatin1String("modern") && look != QLatin1String("classic"))
            return fail(QStringLiteral("Unbekannte Darstellung „%1“: erlaubt sind „modern“ und „classic“.")
                            .arg(look));
        cl.classicLook = look == QLatin1String("classic");
    }

    if (parser.isSet(QStringLiteral("db"))) {
        cl.databasePath = parser.value(QStringLiteral("db"));
        if (cl.databasePath.trimmed().isEmpty())
            return fail(QStringLiteral("--db braucht einen Dateinamen."));
    }

    const bool screenshot = parser.isSet(QStringLiteral("screenshot"));
    const bool print = parser.isSet(QStringLiteral("print"));
    const bool exportIcs = parser.isSet(QStringLiteral("export-ics"));
    const bool importIcs = parser.isSet(QStringLiteral("import-ics"));
    if (int(screenshot) + int(print) + int(exportIcs) + int(importIcs) > 1)
        return fail(QStringLiteral("--screenshot, --print, --export-ics und --import-ics schließen "
                                   "sich aus."));
    if (parser.isSet(QStringLiteral("participant")) && !exportIcs && !importIcs)
        return fail(QStringLiteral("--participant gilt nur zusammen mit --export-ics oder --import-ics."));
    cl.participant = parser.value(QStringLiteral("participant"));
    if (exportIcs || importIcs)
        return parseExchange(parser, exportIcs, result);
    const QStringList headlessOnly = {QStringLiteral("from"), QStringLiteral("days"),
                                      QStringLiteral("out"), QStringLiteral("size"),
                                      QStringLiteral("scale"), QStringLiteral("pdf"),
                                      QStringLiteral("pages")};
    if (!screenshot && !print) {
        for (const QString &name : headlessOnly)
            if (parser.isSet(name))
                return fail(QStringLiteral("--%1 gilt nur zusammen mit --screenshot oder --print.").arg(name));
        result.ok = true;
        return result;
    }

    cl.mode = screenshot ? RunMode::Screenshot : RunMode::Print;
    const QString viewText = parser.value(screenshot ? QStringLiteral("screenshot") : QStringLiteral("print"));
    if (!parseView(viewText, &cl.view))
        return fail(QStringLiteral("Unbekannte Ansicht „%1“: erlaubt sind „calendar“ und „gantt“.").arg(viewText));

    if (QString error = parseRange(parser, cl.view == ViewKind::Calendar ? 14 : 101, &cl); !error.isEmpty())
        return fail(error);

    if (screenshot) {
        if (parser.isSet(QStringLiteral("pdf")) || parser.isSet(QStringLiteral("pages")))
            return fail(QStringLiteral("--pdf und --pages gelten nur für --print."));
        if (parser.isSet(QStringLiteral("scale"))) {
            const QString text = parser.value(QStringLiteral("scale"));
            bool ok = false;
            cl.scale = text.toDouble(&ok);
            if (!ok || !(cl.scale >= 1 && cl.scale <= 4))
                return fail(QStringLiteral("Ungültiges Pixelverhältnis „%1“: erlaubt ist 1 bis 4, "
                                           "zum Beispiel 2.")
                                .arg(text));
        }
        cl.outputFile = parser.value(QStringLiteral("out"));
        if (cl.outputFile.isEmpty())
            return fail(QStringLiteral("--screenshot braucht --out DATEI.png."));
        if (parser.isSet(QStringLiteral("size"))) {
            const QString text = parser.value(QStringLiteral("size"));
            const QRegularExpressionMatch match =
                QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(text);
            const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
            const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
            if (width < 100 || height < 100 || width > 10000 || height > 10000)
                return fail(QStringLiteral("Ungültige Bildgröße „%1“: erwartet wird BREITExHÖHE, "
                                           "je 100 bis 10000.").arg(text));
            cl.imageSize = QSize(width, height);
        }
    } else {
        if (parser.isSet(QStringLiteral("out")) || parser.isSet(QStringLiteral("size"))
            || parser.isSet(QStringLiteral("scale")))
            return fail(QStringLiteral("--out, --size und --scale gelten nur für --screenshot."));
        cl.outputFile = parser.value(QStringLiteral("pdf"));
        if (cl.outputFile.isEmpty())
            return fail(QStringLiteral("--print braucht --pdf DATEI.pdf."));
        if (parser.isSet(QStringLiteral("pages"))
            && !parseNumber(parser.value(QStringLiteral("pages")), 1, 50, &cl.pages))
            return fail(QStringLiteral("Ungültige Seitenzahl „%1“: erlaubt ist 1 bis 50.")
                            .arg(parser.value(QStringLiteral("pages"))));
    }
    result.ok = true;
    return result;
}

} // namespace Terminplaner
