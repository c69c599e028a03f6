#pragma once

#include <QGeoCoordinate>
#include <QList>
#include <QVariantList>

namespace GeoCoordinates {

// Coordinates from a list handed over by the documents, in order. An element holding a
// coordinate is taken as it is, anything else through QVariant's conversion. Elements that give
// no valid coordinate (unset, NaN, out of range, not convertible) are left out: they have no
// position to contribute, and their scaled values would have no integer form.
QList<QGeoCoordinate> fromVariantList(const QVariantList &values);

} // namespace GeoCoordinates
