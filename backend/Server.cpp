#include "Server.h"

#include "BuildConfig.h"
#include "DataChannelRecords.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int timedOutErrorCode = 0;

QString baseAddress()
{
    QString base = qEnvironmentVariable("KOVA_SERVER_URL");
    if (base.isEmpty())
        base = QString::fromUtf8(BuildConfig::serverUrl);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

// A service the map plugin reaches on the tracking server's host: like the tiles, over plain
// HTTP, unless the environment names another address.
QString mapPluginAddress(const char *variable, const QString &base, const QString &path)
{
    const QString configured = qEnvironmentVariable(variable);
    if (!configured.isEmpty())
        return configured;
    // Built as a URL, so that an IPv6 host keeps its brackets.
    QUrl address;
    address.setScheme(QStringLiteral("http"));
    address.setHost(QUrl(base).host());
    address.setPath(path);
    return address.toString();
}

} // namespace

Server::Server(QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_serverHostUrl(baseAddress()),
      m_appInterfaceUrl(m_serverHostUrl + QStringLiteral("/kova/appInterface.php")),
      m_communicationUrl(m_serverHostUrl + QStringLiteral("/kova/appCommunication.php")),
      m_mapProvidersUrl(mapPluginAddress("KOVA_MAP_URL", m_serverHostUrl, QStringLiteral("/map/"))),
      m_routingUrl(
          mapPluginAddress("KOVA_ROUTING_URL", m_serverHostUrl, QStringLiteral("/route/v1/foot/")))
{
    // One cut at a time, in the order the replies came: a superseded cut does not compete with
    // the one that replaced it, and its result arrives (to be dropped) before the newer one.
    m_cutters.setMaxThreadCount(1);
    m_request.setUrl(QUrl(m_communicationUrl));
    m_request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("KovaApp"));
    // The process default verifies the peer; this channel carries the car's position, so it
    // must not be any weaker.
    m_request.setSslConfiguration(QSslConfiguration::defaultConfiguration());

    emit serverHostUrlChanged(m_serverHostUrl);
    emit appInterfaceUrlChanged(m_appInterfaceUrl);
    emit communicationUrlChanged(m_communicationUrl);
}

void Server::setRequestTimeouts(int normalMs, int tripMs)
{
    m_timeoutMs = normalMs;
    m_tripTimeoutMs = tripMs;
}

void Server::getLastLocation(quint64 imei, bool isFirst)
{
    poll(
        DataChannelRecords::lastLocationRequest(imei, isFirst),
        DataChannelRecords::LocationReplyMaxSize,
        [this](const QByteArray &body) {
            if (const auto location = DataChannelRecords::readLocationReply(body))
                emit lastLocationReply(*location);
            else
                emit lastLocationError(DataChannelRecords::MalformedErrorCode);
        },
        [this](int errorCode) { emit lastLocationError(errorCode); });
}

void Server::getDebriefingPath(quint64 imei, const QDateTime &startTime, const QDateTime &endTime)
{
    // Only the latest trip asked for may land, or two days' paths would mix in one list.
    abandon(m_tripExchange);
    ++m_tripGeneration;
    m_debriefingPath.clear();
    m_pathsAdvanceInfo.clear();
    m_tripExchange = post(
        DataChannelRecords::tripRequest(imei, startTime, endTime), m_tripTimeoutMs,
        DataChannelRecords::TripReplyMaxSize,
        [this](const QByteArray &body) { handleTripReply(body); },
        [this](int errorCode) { emit debriefingError(errorCode); });
}

void Server::getSettings(quint64 imei)
{
    poll(
        DataChannelRecords::settingsRequest(imei), DataChannelRecords::SettingsReplyMaxSize,
        [this](const QByteArray &body) {
            if (const auto settings = DataChannelRecords::readSettingsReply(body))
                emit settingsReply(*settings);
            else
                emit settingsError(DataChannelRecords::MalformedErrorCode);
        },
        [this](int errorCode) { emit settingsError(errorCode); });
}

Server::Exchange Server::post(const QByteArray &body, int timeoutMs, qsizetype maxBytes,
                              std::function<void(const QByteArray &)> onBody,
                              std::function<void(int)> onError)
{
    QNetworkReply *reply = m_manager->post(m_request, body);
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    const Exchange exchange{reply, timer};

    connect(timer, &QTimer::timeout, this, [this, exchange, onError] {
        abandon(exchange);
        onError(timedOutErrorCode);
    });
    // Stop an oversized reply before it is held in memory, whether it announced its length or not.
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, exchange, maxBytes, onError](qint64 received, qint64 total) {
                if (received <= maxBytes && total <= maxBytes)
                    return;
                abandon(exchange);
                onError(DataChannelRecords::MalformedErrorCode);
            });
    connect(reply, &QNetworkReply::finished, this, [this, reply, timer, onBody, onError] {
        timer->stop();
        timer->deleteLater();
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            // A broken connection must not be reused by the next request.
            m_manager->clearConnectionCache();
            onError(reply->error());
            return;
        }
        onBody(reply->readAll());
    });

    timer->start(timeoutMs);
    return exchange;
}

void Server::poll(const QByteArray &body, qsizetype maxBytes,
                  std::function<void(const QByteArray &)> onBody, std::function<void(int)> onError)
{
    m_polls.removeIf([](const Exchange &exchange) { return !exchange.timer; });
    m_polls.append(post(body, m_timeoutMs, maxBytes, std::move(onBody), std::move(onError)));
}

void Server::endWaitingPolls()
{
    // Each one's time-out fires at once: the same abandon and the same error as at 40 s.
    for (const Exchange &exchange : std::as_const(m_polls)) {
        if (exchange.timer && exchange.timer->isActive())
            exchange.timer->start(0);
    }
    m_polls.clear();
}

void Server::abandon(const Exchange &exchange)
{
    if (exchange.timer) {
        exchange.timer->stop();
        exchange.timer->deleteLater();
    }
    if (exchange.reply) {
        // Disconnect first: abort() finishes the reply at once, and that answer must not be read.
        disconnect(exchange.reply, nullptr, this, nullptr);
        exchange.reply->abort();
        exchange.reply->deleteLater();
    }
}

void Server::handleTripReply(const QByteArray &body)
{
    if (const auto errorCode = DataChannelRecords::tripReplyError(body)) {
        emit debriefingError(*errorCode);
        return;
    }
    // Cutting takes time in proportion to the points, close to a second for a day of them: the
    // interface must not stand still meanwhile.
    const quint64 generation = m_tripGeneration;
    m_cutters.start([this, body, generation] {
        std::optional<TripCutter::Trip> trip = TripCutter::cut(body);
        // The lines and the points by the second are read on the interface thread; building
        // them is as long as the cut.
        TripDay::Trips trips = trip ? TripDay::fromPaths(trip->paths) : TripDay::Trips();
        QMetaObject::invokeMethod(
            this,
            [this, generation, trip = std::move(trip), trips = std::move(trips)] {
                takeTrip(generation, trip, trips);
            },
            Qt::QueuedConnection);
    });
}

void Server::takeTrip(quint64 generation, const std::optional<TripCutter::Trip> &trip,
                      const TripDay::Trips &trips)
{
    if (generation != m_tripGeneration)
        return;
    if (!trip) {
        emit debriefingError(DataChannelRecords::MalformedErrorCode);
        return;
    }
    m_debriefingPath = trip->paths;
    m_pathsAdvanceInfo = trip->figures;
    if (m_trips)
        m_trips->deleteLater();
    m_trips = new TripDay(this);
    m_trips->setTrips(trips);
    emit debriefingReply();
}
