#include "LocationServiceCheck.h"

#include <QGeoPositionInfoSource>

LocationServiceCheck::LocationServiceCheck(const QString &pluginName, const QVariantMap &parameters,
                                           QObject *parent)
    : QObject(parent), m_source(QGeoPositionInfoSource::createSource(pluginName, parameters, this))
{
    m_bound.setSingleShot(true);
    m_bound.setInterval(defaultBoundMs);
    connect(&m_bound, &QTimer::timeout, this, [this] {
        if (m_source)
            m_source->stopUpdates();
    });
    if (!m_source)
        return;
    // The route needs the phone's own position, not the town's.
    m_source->setPreferredPositioningMethods(QGeoPositionInfoSource::AllPositioningMethods);
    connect(m_source, &QGeoPositionInfoSource::positionUpdated, this,
            [this](const QGeoPositionInfo &position) {
                if (position.isValid())
                    finish(true);
            });
    connect(m_source, &QGeoPositionInfoSource::errorOccurred, this,
            [this](QGeoPositionInfoSource::Error error) {
                // Refused by the user or the service, or no service at all; a slow fix is not
                // an answer.
                if (error == QGeoPositionInfoSource::AccessError ||
                    error == QGeoPositionInfoSource::ClosedError ||
                    error == QGeoPositionInfoSource::UnknownSourceError)
                    finish(false);
            });
}

void LocationServiceCheck::check()
{
    if (m_bound.isActive())
        return;
    if (!m_source) {
        emit answered(false);
        return;
    }
    m_bound.start();
    m_source->startUpdates();
}

void LocationServiceCheck::finish(bool givesPositions)
{
    if (!m_bound.isActive())
        return;
    m_bound.stop();
    m_source->stopUpdates();
    emit answered(givesPositions);
}
