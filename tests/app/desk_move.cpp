// Another desk for the team tests: a separate host process that moves, saves or deletes one
// appointment on the server as the window does, and prints when its write was committed.
//   desk_move URL move ID START_ISO END_ISO | delete ID
#include "database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

using namespace Terminplaner;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 4) {
        err << "usage: desk_move URL move ID START END | delete ID" << Qt::endl;
        return 2;
    }
    try {
        Database db;
        db.open(args.at(1));
        const qint64 id = args.at(3).toLongLong();
        if (args.at(2) == QLatin1String("move") && args.size() == 6) {
            const std::optional<Appointment> shown = db.appointment(id);
            if (!shown)
                throw DatabaseError(QStringLiteral("no appointment %1").arg(id));
            db.moveAppointment(id, Dayplex::toDate(QDateTime::fromString(args.at(4), Qt::ISODate)),
                               Dayplex::toDate(QDateTime::fromString(args.at(5), Qt::ISODate)), shown->version);
        } else if (args.at(2) == QLatin1String("delete")) {
            db.deleteAppointment(id);
        } else {
            err << "unknown command" << Qt::endl;
            return 2;
        }
        out << QDateTime::currentMSecsSinceEpoch() << Qt::endl;
    } catch (const DatabaseError &error) {
        err << error.message() << Qt::endl;
        return 1;
    }
    return 0;
}
