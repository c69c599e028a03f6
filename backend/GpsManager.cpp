#include "GpsManager.h"

namespace {
GpsManager *sharedInstance = nullptr;
}

GpsManager::GpsManager(QObject *parent) : QObject(parent)
{
    if (!sharedInstance) {
        sharedInstance = this;
        return;
    }
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
    // No platform switch to ask on the desktop; only make sure the shared state exists.
    shared();
}
