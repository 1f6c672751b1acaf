#ifndef DAYPLEX_BENCHDATA_H
#define DAYPLEX_BENCHDATA_H

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

// One appointment of a shared benchmark data set.
struct BenchAppointment
{
    QString id;
    QString text;
    QString resource;
    Dayplex::Date start = 0;
    Dayplex::Date end = 0;
    bool allDay = false;
    qint32 colour = 0; // Windows colour value 0x00BBGGRR
};

struct BenchDataSet
{
    Dayplex::Date firstDay = 0;
    int days = 0;
    QVector<BenchAppointment> appointments;
    QVector<QPair<QString, QString>> resources; // id, name
};

// Reads a data set from $DAYPLEX_BENCH_DATA (default ../shared/bench-data); exits with a
// message when it is missing.
BenchDataSet loadBenchData(const QString &fileName);

#endif
