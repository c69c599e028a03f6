#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QGeoPositionInfoSource;

// Asks the platform's location service, through a positioning plugin, whether it gives this app
// positions: the first position says yes, a refusal or a missing service says no. A check that
// hears neither within its bound ends without an answer, and the service is released either way.
class LocationServiceCheck : public QObject
{
    Q_OBJECT

public:
    LocationServiceCheck(const QString &pluginName, const QVariantMap &parameters,
                         QObject *parent = nullptr);

    // Starts a check unless one is running.
    void check();
    bool isChecking() const { return m_bound.isActive(); }

    // A first fix from satellites may take a minute outdoors.
    static constexpr int defaultBoundMs = 90000;
    void setBound(int ms) { m_bound.setInterval(ms); }

signals:
    void answered(bool givesPositions);

private:
    void finish(bool givesPositions);

    QGeoPositionInfoSource *m_source = nullptr;
    QTimer m_bound;
};
