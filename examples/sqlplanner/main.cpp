// A team planner on SQLite: a QSqlTableModel of appointments feeds the calendar and the resource
// view, a second one the resource view's rows. A drag in either view is written to the database
// at once (OnFieldChange); the file keeps the appointments for the next start.
#include <dayplex/dayplex.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QStandardPaths>
#include <QTabWidget>

namespace {

// Creates the two tables and a week of examples in an empty database.
bool prepare(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec("CREATE TABLE IF NOT EXISTS teilnehmer (kuerzel TEXT PRIMARY KEY, name TEXT)")
        || !query.exec("CREATE TABLE IF NOT EXISTS termine (id INTEGER PRIMARY KEY, betreff TEXT,"
                       " beginn TEXT, ende TEXT, ganztags INTEGER DEFAULT 0, farbe TEXT,"
                       " teilnehmer TEXT)"))
        return false;
    if (query.exec("SELECT COUNT(*) FROM teilnehmer") && query.next() && query.value(0).toInt() > 0)
        return true;
    const QDate monday = QDate::currentDate().addDays(1 - QDate::currentDate().dayOfWeek());
    const auto at = [&](int day, int hour) {
        return QDateTime(monday.addDays(day), QTime(hour, 0)).toString(Qt::ISODate);
    };
    query.exec("INSERT INTO teilnehmer VALUES ('ak', 'Anna König'), ('bw', 'Bernd Weber'),"
               " ('cs', 'Clara Schmidt')");
    query.prepare("INSERT INTO termine (betreff, beginn, ende, ganztags, farbe, teilnehmer)"
                  " VALUES (?, ?, ?, ?, ?, ?)");
    const QVariantList rows[] = {
        {"Teambesprechung", at(0, 9), at(0, 10), 0, "#a0d0f0", "ak|bw|cs"},
        {"Kundentermin Müller", at(1, 14), at(1, 16), 0, "#c0e0c0", "bw"},
        {"Angebot schreiben", at(2, 8), at(2, 12), 0, "", "ak"},
        {"Messe Hannover", at(3, 0), at(4, 0), 1, "#ffe080", "cs"},
    };
    for (const QVariantList &row : rows) {
        for (int i = 0; i < row.size(); ++i)
            query.bindValue(i, row.at(i));
        if (!query.exec())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SQL-Planer"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(folder + QStringLiteral("/planer.sqlite"));
    if (!db.open() || !prepare(db)) {
        QMessageBox::critical(nullptr, QStringLiteral("SQL-Planer"),
                              QStringLiteral("Die Datenbank ist nicht zu öffnen: ")
                                  + db.lastError().text());
        return 1;
    }

    QSqlTableModel appointments(nullptr, db);
    appointments.setTable(QStringLiteral("termine"));
    appointments.setEditStrategy(QSqlTableModel::OnFieldChange);
    appointments.select();
    QSqlTableModel people(nullptr, db);
    people.setTable(QStringLiteral("teilnehmer"));
    people.select();

    // The table's columns by name; the fields it does not have are left out.
    const auto column = [&](const char *name) { return Dayplex::ModelField{appointments.fieldIndex(name)}; };
    Dayplex::AppointmentRoles roles;
    roles.key = column("id");
    roles.subject = column("betreff");
    roles.start = column("beginn");
    roles.end = column("ende");
    roles.allDay = column("ganztags");
    roles.backgroundColour = column("farbe");
    roles.participant = column("teilnehmer");
    roles.done = roles.readOnly = roles.seriesOccurrence = roles.textColour = Dayplex::ModelField{};
    const Dayplex::ParticipantRoles participantRoles{Dayplex::ModelField{people.fieldIndex("kuerzel")},
                                                     Dayplex::ModelField{people.fieldIndex("name")}};

    QTabWidget window;
    window.setWindowTitle(QStringLiteral("SQL-Planer"));
    auto *agenda = new Dayplex::ucAgenda;
    auto *gantt = new Dayplex::ctlGantt;
    window.addTab(agenda, QStringLiteral("Woche"));
    window.addTab(gantt, QStringLiteral("Team"));
    Dayplex::ModelBinding calendarBinding(agenda);
    Dayplex::ModelBinding teamBinding(gantt);
    for (Dayplex::ModelBinding *binding : {&calendarBinding, &teamBinding}) {
        binding->setParticipantModel(&people, participantRoles);
        binding->setModel(&appointments, roles);
    }
    const QDate monday = QDate::currentDate().addDays(1 - QDate::currentDate().dayOfWeek());
    double lastDay = Dayplex::toDate(monday) + 6;
    agenda->setAlignOnWeekday(2);
    agenda->SetDisplayedRange(Dayplex::toDate(monday), &lastDay);
    gantt->SetDisplayedRange(Dayplex::toDate(monday), &lastDay);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
