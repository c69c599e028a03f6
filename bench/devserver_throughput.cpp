// Request throughput of the development server on loopback, sent as the app sends them: the
// last-location record and the enciphered getStatus request, each set against the bare
// base-address answer measured in the same run. The load is bounded in count and in time.
#include "DataChannelRecords.h"
#include "Server.h"
#include "TlsDefaults.h"
#include "Tools.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

constexpr quint64 ownerImei = 358000000000001ULL;
constexpr int requestCount = 3000;
constexpr int inFlight = 6; // the connections Qt opens to one host
constexpr int timeCapMs = 60000;

struct Outcome
{
    int answered = 0;
    int failed = 0;
    double perSecond = 0;
};

// Keeps `inFlight` requests going until `requestCount` have ended or the time cap passes.
Outcome measure(const std::function<QNetworkReply *()> &send)
{
    Outcome outcome;
    int started = 0;
    int running = 0;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();

    std::function<void()> launch = [&] {
        while (running < inFlight && started < requestCount && clock.elapsed() < timeCapMs) {
            QNetworkReply *reply = send();
            ++started;
            ++running;
            QObject::connect(reply, &QNetworkReply::finished, &loop, [&, reply] {
                --running;
                const bool ok =
                    reply->error() == QNetworkReply::NoError && !reply->readAll().isEmpty();
                ok ? ++outcome.answered : ++outcome.failed;
                reply->deleteLater();
                launch();
                if (running == 0)
                    loop.quit();
            });
        }
    };
    launch();
    loop.exec();
    outcome.perSecond = outcome.answered * 1000.0 / qMax<qint64>(1, clock.elapsed());
    return outcome;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    installVerifyingTlsDefault();

    Server endpoints; // only for the addresses the app uses
    Tools tools;
    QNetworkAccessManager manager;

    QNetworkRequest probe{QUrl(endpoints.serverHostUrl())};
    QNetworkRequest record{QUrl(endpoints.communicationUrl())};
    record.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("KovaApp"));
    QNetworkRequest json{QUrl(endpoints.appInterfaceUrl())};
    json.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json;"));

    const QByteArray recordBody = DataChannelRecords::lastLocationRequest(ownerImei, false);
    const QByteArray statusBody =
        tools.xcrypt(QByteArrayLiteral(R"({"command":"getStatus","imei":358000000000001})"));

    QTextStream out(stdout);
    const Outcome base = measure([&] { return manager.get(probe); });
    const Outcome location = measure([&] { return manager.post(record, recordBody); });
    const Outcome status = measure([&] { return manager.post(json, statusBody); });

    const auto line = [&](const char *name, const Outcome &o) {
        out << name << ": " << qRound(o.perSecond) << " requests/s ("
            << QString::number(o.perSecond / base.perSecond, 'f', 2) << " of the base address), "
            << o.answered << " answered, " << o.failed << " failed\n";
    };
    out << "base address GET: " << qRound(base.perSecond) << " requests/s (baseline), "
        << base.answered << " answered, " << base.failed << " failed\n";
    line("type 1 record", location);
    line("getStatus", status);
    return base.failed + location.failed + status.failed == 0 ? 0 : 1;
}
