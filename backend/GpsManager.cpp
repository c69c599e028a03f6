#include "GpsManager.h"

#include "LocationServiceCheck.h"
#include "NmeaSource.h"
#include "PhoneServices.h"

#include <QGeoPositionInfoSource>

namespace {

GpsManager *sharedInstance = nullptr;

const QString platformPlugin = QStringLiteral("geoclue2");

} // namespace

GpsManager::GpsManager(QObject *parent) : QObject(parent)
{
    if (!sharedInstance) {
        sharedInstance = this;
        takeSharedState();
        return;
    }
    m_nmeaSource = sharedInstance->m_nmeaSource;
    m_pluginName = sharedInstance->m_pluginName;
    // Bindings on this instance must follow the shared state it reports.
    connect(sharedInstance, &GpsManager::gpsIsOnChanged, this, &GpsManager::gpsIsOnChanged);
}

void GpsManager::takeSharedState()
{
    m_nmeaSource = NmeaSource::fromEnvironment();
    if (!m_nmeaSource.isEmpty()) {
        m_pluginName = QStringLiteral("nmea");
        m_gpsIsOn = true;
        return;
    }
    if (!PhoneServices::enabled() ||
        !QGeoPositionInfoSource::availableSources().contains(platformPlugin))
        return;
    m_pluginName = platformPlugin;
    m_locationCheck = new LocationServiceCheck(platformPlugin,
                                               {{QStringLiteral("desktopId"), desktopId()}}, this);
    connect(m_locationCheck, &LocationServiceCheck::answered, this, &GpsManager::setGpsIsOn);
    m_locationCheck->check();
}

GpsManager::~GpsManager()
{
    // The next instance constructed (or turnOnGps) takes over instead of a dangling reference.
    if (sharedInstance == this)
        sharedInstance = nullptr;
}

GpsManager *GpsManager::shared()
{
    if (!sharedInstance)
        new GpsManager;
    return sharedInstance;
}

bool GpsManager::gpsIsOn() const
{
    return sharedInstance ? sharedInstance->m_gpsIsOn : m_gpsIsOn;
}

QString GpsManager::desktopId() const
{
    return PhoneServices::desktopId();
}

void GpsManager::setGpsIsOn(bool gpsIsOn)
{
    GpsManager *state = sharedInstance ? sharedInstance : this;
    if (state->m_gpsIsOn == gpsIsOn)
        return;
    state->m_gpsIsOn = gpsIsOn;
    emit state->gpsIsOnChanged();
}

void GpsManager::turnOnGps()
{
    // An NMEA source is always there to read; the platform's service is asked again while it
    // gives nothing (it gives a process one client: a check while the map's source runs would
    // stop that source too); without either there is nothing to ask, only the shared state.
    GpsManager *state = shared();
    if (!state->m_nmeaSource.isEmpty())
        state->setGpsIsOn(true);
    else if (state->m_locationCheck && !state->m_gpsIsOn)
        state->m_locationCheck->check();
}

void GpsManager::setLocationCheckBound(int ms)
{
    if (m_locationCheck)
        m_locationCheck->setBound(ms);
}
