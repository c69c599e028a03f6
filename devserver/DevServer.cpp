#include "DevServer.h"

#include "AppInterface.h"
#include "DataChannel.h"
#include "DeviceSimulator.h"
#include "FaultGate.h"
#include "MapService.h"
#include "RouteService.h"
#include "Seed.h"
#include "ServerCertificate.h"
#include "SmsGateway.h"

#include <QDir>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonObject>
#include <QSslConfiguration>

namespace devserver {

namespace {

constexpr int maxControlledOutageSeconds = 86400;

QHttpServerResponse binary(const QByteArray &body)
{
    return QHttpServerResponse(QByteArrayLiteral("application/octet-stream"), body);
}

} // namespace

DevServer::DevServer(const DevServerOptions &options, Clock clock, QObject *parent)
    : QObject(parent), m_options(options), m_clock(std::move(clock)),
      m_faultGate(std::make_unique<FaultGate>(options.faults, options.seed))
{
}

DevServer::~DevServer() = default;

bool DevServer::start(QString *error)
{
    if (!QDir().mkpath(m_options.dataDir)) {
        *error = QStringLiteral("cannot create the data folder %1").arg(m_options.dataDir);
        return false;
    }
    if (!m_store.open(QDir(m_options.dataDir).filePath(QStringLiteral("devserver.sqlite")))) {
        *error = m_store.lastError();
        return false;
    }
    if (m_store.isEmpty())
        Seed::populate(m_store, m_options.seed, m_clock());

    m_appInterface = std::make_unique<AppInterface>(m_store, m_clock);
    m_appInterface->setNoticeShown(m_options.notice);
    m_dataChannel = std::make_unique<DataChannel>(m_store);
    m_smsGateway = std::make_unique<SmsGateway>(m_store, m_clock);
    m_smsGateway->setDeliveryDelay(m_options.smsDelayMs);
    m_simulator = std::make_unique<DeviceSimulator>(m_store, m_clock, m_options.seed);

    const ServerCertificate identity = ServerCertificate::loadOrCreate(m_options.dataDir);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(identity.certificate);
    tls.setPrivateKey(identity.key);
    m_tlsListener->setSslConfiguration(tls);

    if (!m_tlsListener->listen(QHostAddress::LocalHost, m_options.httpsPort) ||
        !m_plainListener->listen(QHostAddress::LocalHost, m_options.httpPort)) {
        *error = QStringLiteral("cannot listen: %1%2")
                     .arg(m_tlsListener->errorString(), m_plainListener->errorString());
        return false;
    }
    m_mapService =
        std::make_unique<MapService>(QDir(m_options.dataDir).filePath(QStringLiteral("tiles")),
                                     QStringLiteral("http://127.0.0.1:%1").arg(httpPort()));

    m_appInterface->setTrackingUrl(QStringLiteral("http://127.0.0.1:%1/tracking/").arg(httpPort()));
    addSecureRoutes();
    addPlainRoutes();
    addControlRoutes();
    if (!m_secure.bind(m_tlsListener) || !m_plain.bind(m_plainListener)) {
        *error = QStringLiteral("cannot attach the HTTP servers to their ports");
        return false;
    }
    if (m_options.simulate)
        m_simulator->start();
    return true;
}

quint16 DevServer::httpsPort() const
{
    return m_tlsListener->serverPort();
}

quint16 DevServer::httpPort() const
{
    return m_plainListener->serverPort();
}

QString DevServer::certificatePath() const
{
    return ServerCertificate::certificatePath(m_options.dataDir);
}

void DevServer::watchConnection(QTcpSocket *socket)
{
    m_faultGate->watch(socket);
}

void DevServer::addSecureRoutes()
{
    m_secure.route(QStringLiteral("/"), QHttpServerRequest::Method::Get,
                   [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                       m_faultGate->serve(FaultPlan::Kind::Probe, request, responder, [] {
                           return QHttpServerResponse(
                               QByteArrayLiteral("text/plain"),
                               QByteArrayLiteral("Kova development tracking server\n"));
                       });
                   });
    m_secure.route(QStringLiteral("/kova/appInterface.php"), QHttpServerRequest::Method::Post,
                   [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                       m_faultGate->serve(FaultPlan::Kind::App, request, responder, [&] {
                           return binary(m_appInterface->handle(request.body()));
                       });
                   });
    m_secure.route(QStringLiteral("/kova/appCommunication.php"), QHttpServerRequest::Method::Post,
                   [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                       m_faultGate->serve(FaultPlan::Kind::Data, request, responder, [&] {
                           return binary(m_dataChannel->handle(request.body()));
                       });
                   });
}

void DevServer::addPlainRoutes()
{
    m_plain.route(QStringLiteral("/sms/send"), QHttpServerRequest::Method::Post,
                  [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                      m_faultGate->serve(FaultPlan::Kind::Sms, request, responder, [&] {
                          return m_smsGateway->send(request.body())
                                     ? QHttpServerResponse(QHttpServerResponse::StatusCode::Ok)
                                     : QHttpServerResponse(
                                           QHttpServerResponse::StatusCode::BadRequest);
                      });
                  });
    m_plain.route(QStringLiteral("/sms/inbox"), QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                      m_faultGate->serve(FaultPlan::Kind::Sms, request, responder, [&] {
                          const qint64 after =
                              request.query().queryItemValue(QStringLiteral("after")).toLongLong();
                          return QHttpServerResponse(m_smsGateway->inbox(after));
                      });
                  });
    // What a device has received, by SMS or through the app interface, oldest first.
    m_plain.route(QStringLiteral("/sms/frames"), QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
                      m_faultGate->serve(FaultPlan::Kind::Sms, request, responder, [&] {
                          const quint64 imei =
                              request.query().queryItemValue(QStringLiteral("imei")).toULongLong();
                          return QHttpServerResponse(QJsonObject{
                              {QStringLiteral("frames"),
                               QJsonArray::fromStringList(m_store.configFrames(imei))}});
                      });
                  });
    // Tile and route paths have several segments, more than a route pattern takes.
    m_plain.setMissingHandler(
        this, [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
            const QString path = request.url().path();
            const QString mapPrefix = QStringLiteral("/map/");
            const QString routePrefix = QStringLiteral("/route/");
            const bool get = request.method() == QHttpServerRequest::Method::Get;
            if (get && path.startsWith(routePrefix)) {
                m_faultGate->serve(FaultPlan::Kind::Route, request, responder, [&] {
                    const RouteService::Reply reply =
                        RouteService::handle(path.mid(routePrefix.size()), request.query());
                    return QHttpServerResponse(QByteArrayLiteral("application/json"), reply.body,
                                               QHttpServerResponse::StatusCode(reply.status));
                });
                return;
            }
            if (get && path.startsWith(mapPrefix)) {
                m_faultGate->serve(FaultPlan::Kind::Map, request, responder, [&] {
                    if (const auto reply = m_mapService->handle(path.mid(mapPrefix.size())))
                        return QHttpServerResponse(reply->contentType, reply->body);
                    return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
                });
                return;
            }
            responder.write(QHttpServerResponder::StatusCode::NotFound);
        });
}

// Test controls, never themselves faulted or held by an outage.
void DevServer::addControlRoutes()
{
    m_plain.route(QStringLiteral("/control/outage"), QHttpServerRequest::Method::Post,
                  [this](const QHttpServerRequest &request) {
                      bool ok = false;
                      const int seconds =
                          request.query().queryItemValue(QStringLiteral("seconds")).toInt(&ok);
                      if (!ok || seconds <= 0 || seconds > maxControlledOutageSeconds)
                          return QHttpServerResponse(
                              QByteArrayLiteral("text/plain"),
                              QByteArrayLiteral("seconds: a whole number from 1 to 86400\n"),
                              QHttpServerResponse::StatusCode::BadRequest);
                      const bool keepHeld = request.query().queryItemValue(
                                                QStringLiteral("held")) == QLatin1String("keep");
                      m_faultGate->startOutage(seconds * qint64(1000), keepHeld);
                      return QHttpServerResponse(QHttpServerResponse::StatusCode::Ok);
                  });
    m_plain.route(
        QStringLiteral("/control/refuse"), QHttpServerRequest::Method::Post,
        [this](const QHttpServerRequest &request) {
            const QString list = request.query().queryItemValue(QStringLiteral("codes"));
            QSet<int> codes;
            for (const QString &item : list.split(u',', Qt::SkipEmptyParts)) {
                bool ok = false;
                const int code = item.toInt(&ok);
                if (!ok || code < 0 || code > 99)
                    return QHttpServerResponse(
                        QByteArrayLiteral("text/plain"),
                        QByteArrayLiteral("codes: frame codes 0 to 99, comma-separated\n"),
                        QHttpServerResponse::StatusCode::BadRequest);
                codes.insert(code);
            }
            m_smsGateway->setRefusedCodes(codes);
            return QHttpServerResponse(QHttpServerResponse::StatusCode::Ok);
        });
    m_plain.route(QStringLiteral("/control/faults"), QHttpServerRequest::Method::Get, [this] {
        QJsonObject state = m_faultGate->counts();
        state.insert(QStringLiteral("outage"), m_faultGate->outageActive());
        return QHttpServerResponse(state);
    });
}

} // namespace devserver
