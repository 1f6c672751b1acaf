// Another desk for the team tests: a separate host process that moves one appointment on the
// server as the window does, and prints when its write was committed.
//   desk_move URL ID START_ISO END_ISO
#include "database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

using namespace Terminplaner;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fputs("usage: desk_move URL ID START END\n", stderr);
        return 2;
    }
    try {
        Database db;
        db.open(args.at(1));
        const qint64 id = args.at(2).toLongLong();
        const std::optional<Appointment> shown = db.appointment(id);
        if (!shown)
            throw DatabaseError(QStringLiteral("no appointment %1").arg(id));
        db.moveAppointment(id, Dayplex::toDate(QDateTime::fromString(args.at(3), Qt::ISODate)),
                           Dayplex::toDate(QDateTime::fromString(args.at(4), Qt::ISODate)),
                           shown->version);
    } catch (const DatabaseError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("%lld\n", QDateTime::currentMSecsSinceEpoch());
    return 0;
}
