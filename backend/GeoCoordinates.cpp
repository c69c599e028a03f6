#include "GeoCoordinates.h"

namespace GeoCoordinates {

QList<QGeoCoordinate> fromVariantList(const QVariantList &values)
{
    QList<QGeoCoordinate> coordinates;
    coordinates.reserve(values.size());
    for (const QVariant &value : values) {
        const QGeoCoordinate coordinate = value.value<QGeoCoordinate>();
        if (coordinate.isValid())
            coordinates.append(coordinate);
    }
    return coordinates;
}

} // namespace GeoCoordinates
