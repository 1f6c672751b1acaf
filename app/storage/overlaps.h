#ifndef TERMINPLANER_OVERLAPS_H
#define TERMINPLANER_OVERLAPS_H

#include "database.h"

namespace Terminplaner {

// The nine nationwide German public holidays of a year as all-day entries of nobody (id 0,
// participant 0), in date order.
QVector<Appointment> germanHolidays(int year);

// The appointments of booked that the planned one would run into: those of one of
// participants whose time overlaps the planned time (an all-day one its whole days, an
// absence as well as a meeting), and the holidays among booked (participant 0) that share a
// day with it. Notes never conflict, neither as the planned appointment nor as a booked one;
// the planned appointment itself (its id, or its series' occurrence at the same start) is no
// conflict. In the order of booked.
QVector<Appointment> findOverlaps(const Appointment &planned, const QList<int> &participants,
                                  const QVector<Appointment> &booked);

} // namespace Terminplaner

#endif
