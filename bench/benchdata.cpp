#include "benchdata.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>

namespace {

Dayplex::Date parseLocal(const QString &text)
{
    return Dayplex::toDate(QDateTime::fromString(text, Qt::ISODate));
}

qint32 parseColour(const QString &hex)
{
    const uint rgb = hex.mid(1).toUInt(nullptr, 16);
    const uint r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return qint32(r | (g << 8) | (b << 16));
}

} // namespace

BenchDataSet loadBenchData(const QString &fileName)
{
    QString dir = qEnvironmentVariable("DAYPLEX_BENCH_DATA");
    if (dir.isEmpty())
        dir = QStringLiteral("../shared/bench-data");
    QFile file(dir + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Cannot read benchmark data %s (set DAYPLEX_BENCH_DATA)\n",
                     qPrintable(file.fileName()));
        std::exit(2);
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    BenchDataSet set;
    set.firstDay = Dayplex::toDate(QDate::fromString(root.value(QStringLiteral("start")).toString(), Qt::ISODate));
    set.days = root.value(QStringLiteral("days")).toInt();
    for (const QJsonValue &value : root.value(QStringLiteral("resources")).toArray()) {
        const QJsonObject r = value.toObject();
        set.resources.append({r.value(QStringLiteral("id")).toString(), r.value(QStringLiteral("name")).toString()});
    }
    for (const QJsonValue &value : root.value(QStringLiteral("appointments")).toArray()) {
        const QJsonObject a = value.toObject();
        BenchAppointment appointment;
        appointment.id = a.value(QStringLiteral("id")).toString();
        appointment.text = a.value(QStringLiteral("text")).toString();
        appointment.resource = a.value(QStringLiteral("resource")).toString();
        appointment.start = parseLocal(a.value(QStringLiteral("start")).toString());
        appointment.end = parseLocal(a.value(QStringLiteral("end")).toString());
        appointment.allDay = a.value(QStringLiteral("allDay")).toBool();
        appointment.colour = parseColour(a.value(QStringLiteral("color")).toString());
        set.appointments.append(appointment);
    }
    return set;
}
