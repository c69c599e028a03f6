#pragma once

#include "TripCutter.h"
#include "TripDay.h"

#include <QDateTime>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Client of the tracking server's binary data channel: the car's last location, a past trip cut
// into paths, and the device's stored settings. Any number of requests may be outstanding; each
// has its own time-out and answers by its own signal.
class Server : public QObject
{
    Q_OBJECT
    // Fixed for the life of the object; the change signals fire once, from the constructor.
    Q_PROPERTY(QString serverHostUrl READ serverHostUrl NOTIFY serverHostUrlChanged)
    Q_PROPERTY(QString appInterfaceUrl READ appInterfaceUrl NOTIFY appInterfaceUrlChanged)
    Q_PROPERTY(QString communicationUrl READ communicationUrl NOTIFY communicationUrlChanged)
    // The map plugin's provider repository: KOVA_MAP_URL, else "/map/" on the server's host.
    Q_PROPERTY(QString mapProvidersUrl READ mapProvidersUrl CONSTANT)
    // The map plugin's walking-route service: KOVA_ROUTING_URL, else the route API under
    // "/route/v1/foot/" on the server's host. The plugin appends "lon,lat;lon,lat?options".
    Q_PROPERTY(QString routingUrl READ routingUrl CONSTANT)
    // The last trip reply's paths, ready for the map and the playback bar; a new object for each
    // reply, so that whoever holds the previous one sees it change.
    Q_PROPERTY(TripDay *trips READ trips NOTIFY debriefingReply)

public:
    explicit Server(QObject *parent = nullptr);

    QString serverHostUrl() const { return m_serverHostUrl; }
    QString appInterfaceUrl() const { return m_appInterfaceUrl; }
    QString communicationUrl() const { return m_communicationUrl; }
    QString mapProvidersUrl() const { return m_mapProvidersUrl; }
    QString routingUrl() const { return m_routingUrl; }
    TripDay *trips() const { return m_trips; }

    Q_INVOKABLE void getLastLocation(quint64 imei, bool isFirst = false);
    Q_INVOKABLE void getDebriefingPath(quint64 imei, const QDateTime &startTime,
                                       const QDateTime &endTime);
    Q_INVOKABLE void getSettings(quint64 imei);
    Q_INVOKABLE QVariantList debriefingPath() const { return m_debriefingPath; }
    Q_INVOKABLE QVariantList pathsAdvanceInfo() const { return m_pathsAdvanceInfo; }
    // The server answers again after a stall: the location and settings requests still waiting
    // end now, as their time-outs would, so polling starts afresh instead of waiting up to 40 s
    // on requests the stalled server may never answer.
    Q_INVOKABLE void endWaitingPolls();

    // Lets tests shorten the request time-outs (normally 40 s, and 90 s for trips).
    void setRequestTimeouts(int normalMs, int tripMs);

signals:
    void serverHostUrlChanged(const QString &url);
    void appInterfaceUrlChanged(const QString &url);
    void communicationUrlChanged(const QString &url);

    void lastLocationReply(const QVariantMap &location);
    void lastLocationError(int errorCode);
    void debriefingReply();
    void debriefingError(int errorCode);
    void settingsReply(const QVariantMap &settings);
    void settingsError(int errorCode);

private:
    // One request in flight: its reply and the timer that abandons it.
    struct Exchange
    {
        QPointer<QNetworkReply> reply;
        QPointer<QTimer> timer;
    };

    // A reply longer than `maxBytes` is cut off as it arrives and reported as malformed.
    Exchange post(const QByteArray &body, int timeoutMs, qsizetype maxBytes,
                  std::function<void(const QByteArray &)> onBody, std::function<void(int)> onError);
    void poll(const QByteArray &body, qsizetype maxBytes,
              std::function<void(const QByteArray &)> onBody, std::function<void(int)> onError);
    void abandon(const Exchange &exchange);
    void handleTripReply(const QByteArray &body);
    void takeTrip(quint64 generation, const std::optional<TripCutter::Trip> &trip,
                  const TripDay::Trips &trips);

    QNetworkAccessManager *m_manager;
    QString m_serverHostUrl;
    QString m_appInterfaceUrl;
    QString m_communicationUrl;
    QString m_mapProvidersUrl;
    QString m_routingUrl;
    QNetworkRequest m_request;
    QVariantList m_debriefingPath;
    QVariantList m_pathsAdvanceInfo;
    TripDay *m_trips = nullptr;
    Exchange m_tripExchange;
    QList<Exchange> m_polls;
    int m_timeoutMs = 40000;
    int m_tripTimeoutMs = 90000;
    // Counts trip requests, so that a cut finishing after a newer request is dropped.
    quint64 m_tripGeneration = 0;
    // Cuts trips off the interface thread. Declared last: destroyed first, it waits for a
    // running cut before the rest of the object goes.
    QThreadPool m_cutters;
};
