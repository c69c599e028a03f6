#pragma once

#include "Clock.h"
#include "FaultPlan.h"
#include "Store.h"
#include "WatchedListener.h"

#include <QHttpServer>
#include <QObject>
#include <QSslServer>
#include <QTcpServer>

#include <memory>

namespace devserver {

class AppInterface;
class DataChannel;
class DeviceSimulator;
class FaultGate;
class MapService;
class SmsGateway;

struct DevServerOptions
{
    QString dataDir;
    quint16 httpsPort = 8443; // 0: any free port
    quint16 httpPort = 8080;
    quint32 seed = 1;
    bool simulate = true;  // drive the cars
    int smsDelayMs = 3000; // how long a device takes to act on an SMS
    bool notice = false;   // greet every app start with the server's notice
    FaultPlan faults;      // none by default
};

// The development tracking server: the app interface and the data channel over HTTPS, the map
// and the SMS gateway over plain HTTP, one store behind them all.
class DevServer : public QObject
{
    Q_OBJECT

public:
    explicit DevServer(const DevServerOptions &options, Clock clock = systemClock(),
                       QObject *parent = nullptr);
    ~DevServer() override;

    // Opens the store (seeding a new one), makes or loads the certificate, starts listening.
    bool start(QString *error);

    quint16 httpsPort() const;
    quint16 httpPort() const;
    QString certificatePath() const;

    Store &store() { return m_store; }
    SmsGateway &smsGateway() { return *m_smsGateway; }
    FaultGate &faultGate() { return *m_faultGate; }

private:
    void addSecureRoutes();
    void addPlainRoutes();
    void addControlRoutes();
    void watchConnection(QTcpSocket *socket);

    DevServerOptions m_options;
    Clock m_clock;
    Store m_store;
    std::unique_ptr<AppInterface> m_appInterface;
    std::unique_ptr<DataChannel> m_dataChannel;
    std::unique_ptr<SmsGateway> m_smsGateway;
    std::unique_ptr<MapService> m_mapService;
    std::unique_ptr<DeviceSimulator> m_simulator;
    QHttpServer m_secure;
    QHttpServer m_plain;
    // Children of the HTTP servers from the start, as binding one to a server reparents it.
    QSslServer *m_tlsListener = new WatchedListener<QSslServer>(
        [this](QTcpSocket *socket) { watchConnection(socket); }, &m_secure);
    QTcpServer *m_plainListener = new WatchedListener<QTcpServer>(
        [this](QTcpSocket *socket) { watchConnection(socket); }, &m_plain);
    // Last, so requests it holds let go before the HTTP servers end their connections.
    std::unique_ptr<FaultGate> m_faultGate;
};

} // namespace devserver
