#pragma once

#include "RoadGrid.h"
#include "Store.h"

#include <QDate>
#include <QRandomGenerator>

namespace devserver {

// A day of plausible driving: several trips on the road grid with stops of more than 20 minutes
// between them and a point every 10 s while driving.
namespace TripHistory {

inline constexpr int pointInterval = 10; // seconds between points while driving

// The day's trips in time order, the first leaving `from`, each next one from where the last
// ended; all between 06:00 and 22:00 UTC of the date.
QList<QList<Position>> trips(const QDate &date, QRandomGenerator &random,
                             const RoadGrid::Crossing &from);

// The day's trips as one list of points, starting from the town centre.
QList<Position> day(const QDate &date, QRandomGenerator &random);

} // namespace TripHistory

} // namespace devserver
