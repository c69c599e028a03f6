#include "GpsManager.h"

#include "NmeaSource.h"

namespace {
GpsManager *sharedInstance = nullptr;
}

GpsManager::GpsManager(QObject *parent) : QObject(parent)
{
    if (!sharedInstance) {
        sharedInstance = this;
        m_nmeaSource = NmeaSource::fromEnvironment();
        m_gpsIsOn = !m_nmeaSource.isEmpty();
        return;
    }
    m_nmeaSource = sharedInstance->m_nmeaSource;
    // Bindings on this instance must follow the shared state it reports.
    connect(sharedInstance, &GpsManager::gpsIsOnChanged, this, &GpsManager::gpsIsOnChanged);
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

QString GpsManager::positionPluginName() const
{
    return m_nmeaSource.isEmpty() ? QString() : QStringLiteral("nmea");
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
    // With a position source the desktop's "location service" can be switched on; without
    // one there is nothing to ask, only the shared state to make sure of.
    GpsManager *state = shared();
    if (!state->m_nmeaSource.isEmpty())
        state->setGpsIsOn(true);
}
