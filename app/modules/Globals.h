#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// globals: exists only to export the shared enumerations to the documents.
class Globals : public QObject
{
    Q_OBJECT
    QML_ELEMENT
public:
    using QObject::QObject;

    enum Operations {
        Login_Operation = 0,
        LiveTracking_Operation = 1,
        Debriefing_Operation = 2,
        GeoFence_Operation = 3,
        Settings_Operation = 4,
        CarControl_Operation = 5,
        NewLoginSetting_Operation = 6,
        Account_Operation = 7,
        ShareLocation_Operation = 8,
    };
    Q_ENUM(Operations)

    // Values start at 1: the device reads them as they are sent.
    enum GeofenceInOutMode {
        GeofenceIn = 1,
        GeofenceOut = 2,
        GeofenceInOut = 3,
    };
    Q_ENUM(GeofenceInOutMode)
};
