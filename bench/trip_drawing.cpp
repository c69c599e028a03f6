// A day of a car's trips, from the bytes of the server's reply to paths on the screen: the reply
// checked and cut into paths on a worker thread as the server client does, handed to the map and
// the playback bar as the main window does, until the frame that shows them is rendered. Two
// figures: the whole time, and the longest stretch in it that the window could not draw (a timer
// asking to tick every 2 ms on the interface thread finds the gaps). Set against baselines of the
// same run: one map line given the same points at once, and 86,400 great-circle distances (the
// cutter's own unavoidable work for a day of one point a second). Three sizes, a tenth of a day,
// a day and the three days a reply may hold, show how the time grows.
#include "DataChannelRecords.h"
#include "ProcessSetup.h"
#include "Registration.h"
#include "TripCutter.h"
#include "TripDay.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGeoCoordinate>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTextStream>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

constexpr int daySeconds = 86400;
// 2024-03-20 00:00 UTC: a past day, as every trip asked for is.
constexpr quint32 firstTime = 1710892800;
// The longest the window may stand still while a day of trips arrives.
constexpr double stallGoalMs = 100;

// The map and the playback bar as the main window holds them; the map draws on an empty
// background so that no tile is fetched.
const char *const harness = R"(
import QtQuick
import QtLocation as QL
import QtPositioning
import kova.tools
import "qrc:/"

Window {
    id: _window

    // What the bench checks was drawn.
    readonly property int layers: _map.debriefingPaths.length
    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function showTrips(trips: var): void {
        _map.createDebriefingPaths(trips);
        _bar.trips = trips;
        _bar.state = "run";
    }

    function showLine(coordinates: var): void {
        _line.path = coordinates;
    }

    function clear(): void {
        _map.clearDebriefingPaths();
        _bar.trips = null;
        _bar.state = "stop";
        _line.path = [];
    }

    width: 800
    height: 600
    visible: true

    Tools {
        id: _tools
    }

    // No tile or route service: the map draws on an empty background.
    QtObject {
        id: _server

        property string mapProvidersUrl
        property string routingUrl
    }

    FontLoader {
        id: _font_lato

        source: "qrc:/fonts/Lato-Light.ttf"
    }

    MapView {
        id: _map

        anchors.fill: parent
        plugin: QL.Plugin {
            name: "itemsoverlay"
        }
        pathColors: ["#BBF44336", "#BB9C27B0", "#BB2196F3", "#BB009688", "#BBFF9800", "#BBFF5722", "#BB795548"]
        center: QtPositioning.coordinate(36.5, 59.8)
        zoomLevel: 9
        Component.onCompleted: addMapItem(_line)
    }

    QL.MapPolyline {
        id: _line

        line.width: 5
        line.color: "blue"
    }

    DebriefingPlaybackDialog {
        id: _bar

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 50
        map: _map
    }
}
)";

void putUnsigned(char *at, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = char((value >> (8 * i)) & 0xff);
}

// The car drives ten minutes at 8 m/s and stands five, one point a second, day after day.
QList<QGeoCoordinate> syntheticTrack(int points)
{
    QList<QGeoCoordinate> track;
    track.reserve(points);
    double lat = 36.3;
    double lon = 59.6;
    for (int i = 0; i < points; ++i) {
        if (i % 900 < 600) {
            lat += 0.00005;
            lon += 0.00004 * ((i / 900) % 2 ? -1 : 1);
        }
        track.append(QGeoCoordinate(lat, lon));
    }
    return track;
}

bool movingAt(int i)
{
    return i % 900 < 600;
}

// The trip reply as the server sends it: type 2, the point count, 21 bytes a point.
QByteArray tripReply(const QList<QGeoCoordinate> &track)
{
    QByteArray reply(5 + 21 * track.size(), '\0');
    reply[0] = 2;
    putUnsigned(reply.data() + 1, quint32(track.size()), 4);
    for (qsizetype i = 0; i < track.size(); ++i) {
        char *point = reply.data() + 5 + 21 * i;
        putUnsigned(point, firstTime + quint32(i), 4);
        putUnsigned(point + 4, quint32(qRound64(track[i].latitude() * 1e7)), 4);
        putUnsigned(point + 8, quint32(qRound64(track[i].longitude() * 1e7)), 4);
        putUnsigned(point + 12, 1000 * 1000 + 950 * 1000, 3); // 950 m
        putUnsigned(point + 15, 9000, 2);                     // 90 degrees
        putUnsigned(point + 17, movingAt(int(i)) ? 80000 : 0, 3);
        point[20] = 5;
    }
    return reply;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

class Bench
{
public:
    bool start()
    {
        m_component = std::make_unique<QQmlComponent>(&m_engine);
        m_component->setData(harness, QUrl(QStringLiteral("qrc:/bench_trip_drawing.qml")));
        m_window = qobject_cast<QQuickWindow *>(m_component->create());
        if (!m_window) {
            QTextStream(stderr) << m_component->errorString();
            return false;
        }
        render();
        return true;
    }

    ~Bench() { delete m_window; }

    struct Timing
    {
        double total = -1;   // ms from the reply's bytes to the rendered frame with its paths
        double longest = -1; // ms of the longest stretch the interface thread did not turn
    };

    // The reply cut on a worker thread, its trips shown on the interface thread once cut.
    Timing tripsDrawn(const QByteArray &reply)
    {
        clear();
        return timed([this, reply](const std::function<void()> &shown) {
            QThreadPool::globalInstance()->start([this, reply, shown] {
                std::optional<TripCutter::Trip> trip;
                if (!DataChannelRecords::tripReplyError(reply))
                    trip = TripCutter::cut(reply);
                TripDay::Trips trips = trip ? TripDay::fromPaths(trip->paths) : TripDay::Trips();
                QMetaObject::invokeMethod(
                    m_window,
                    [this, trips = std::move(trips), shown] {
                        if (trips.isEmpty()) {
                            m_refused = true;
                        } else {
                            m_trips = std::make_unique<TripDay>();
                            m_trips->setTrips(trips);
                            QMetaObject::invokeMethod(
                                m_window, "showTrips",
                                Q_ARG(QVariant, QVariant::fromValue(m_trips.get())));
                            m_refused = m_window->property("layers").toInt() != trips.size();
                        }
                        shown();
                    },
                    Qt::QueuedConnection);
            });
        });
    }

    // One line set to the same points at once.
    Timing lineDrawn(const QVariantList &coordinates)
    {
        clear();
        return timed([this, coordinates](const std::function<void()> &shown) {
            QMetaObject::invokeMethod(m_window, "showLine", Q_ARG(QVariant, QVariant(coordinates)));
            shown();
        });
    }

    bool refused() const { return m_refused; }

private:
    void clear()
    {
        QMetaObject::invokeMethod(m_window, "clear");
        render();
        m_engine.collectGarbage();
    }

    // Starts `work`, which calls its argument once its change is made; times it until the next
    // rendered frame, watching the gaps between the ticks of a 2 ms timer meanwhile.
    Timing timed(const std::function<void(const std::function<void()> &)> &work)
    {
        QEventLoop loop;
        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 longest = 0;
        const auto tick = [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - lastTick);
            lastTick = now;
        };
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(2);
        QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
        bool changed = false;
        const QMetaObject::Connection swapped =
            QObject::connect(m_window, &QQuickWindow::frameSwapped, &loop, [&] {
                if (changed)
                    loop.quit();
            });
        clock.start();
        ticker.start();
        work([&] {
            changed = true;
            m_window->requestUpdate();
        });
        loop.exec();
        tick();
        QObject::disconnect(swapped);
        return {clock.nsecsElapsed() / 1e6, longest / 1e6};
    }

    void render()
    {
        QEventLoop loop;
        QObject::connect(m_window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
        m_window->requestUpdate();
        loop.exec();
    }

    QQmlEngine m_engine;
    std::unique_ptr<QQmlComponent> m_component;
    QQuickWindow *m_window = nullptr;
    bool m_refused = false;
    // The day the window shows, as the server client keeps its last reply's.
    std::unique_ptr<TripDay> m_trips;
};

// Milliseconds for a day's worth of great-circle distances between neighbouring points.
double distances(const QList<QGeoCoordinate> &track)
{
    QElapsedTimer clock;
    clock.start();
    double metres = 0;
    for (int i = 1; i <= daySeconds; ++i)
        metres += track[(i - 1) % track.size()].distanceTo(track[i % track.size()]);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (metres < 0) // keeps the loop from being optimised away
        QTextStream(stderr) << metres;
    return ms;
}

QString figure(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    setUpProcess();
    registerKovaTypes();
    Bench bench;
    if (!bench.start())
        return 1;

    struct Size
    {
        int points;
        int samples;
    };
    // The largest is the most a trip reply may carry: the map's line itself fails at ten days of
    // points, and the client refuses a reply that long anyway.
    const QList<Size> sizes{
        {daySeconds / 10, 7}, {daySeconds, 5}, {int(DataChannelRecords::TripMaxPoints), 3}};
    QTextStream out(stdout);
    double perPointAtOneDay = 0;
    QList<double> perPoint;
    for (const Size &size : sizes) {
        const QList<QGeoCoordinate> track = syntheticTrack(size.points);
        const QByteArray reply = tripReply(track);
        QVariantList coordinates;
        coordinates.reserve(track.size());
        for (const QGeoCoordinate &coordinate : track)
            coordinates.append(QVariant::fromValue(coordinate));

        // The kinds of work take turns, so a machine that slows down hurts all alike.
        QList<double> trips, tripStalls, lines, lineStalls, distanceTimes;
        for (int i = 0; i < size.samples; ++i) {
            const Bench::Timing tripTiming = bench.tripsDrawn(reply);
            trips.append(tripTiming.total);
            tripStalls.append(tripTiming.longest);
            const Bench::Timing lineTiming = bench.lineDrawn(coordinates);
            lines.append(lineTiming.total);
            lineStalls.append(lineTiming.longest);
            distanceTimes.append(distances(track));
        }
        if (bench.refused()) {
            QTextStream(stderr) << "the synthetic reply was refused\n";
            return 1;
        }
        const double trip = median(trips);
        const double line = median(lines);
        const double distance = median(distanceTimes);
        const double tripStall = median(tripStalls);
        const double lineStall = median(lineStalls);
        perPoint.append(trip / size.points);
        if (size.points == daySeconds)
            perPointAtOneDay = perPoint.last();
        out << "trips of " << size.points << " points, reply bytes to drawn paths: " << figure(trip)
            << " ms (median of " << size.samples << ")\n"
            << "  baseline: one map line set at once with the same points: " << figure(line)
            << " ms; the trips take " << QString::number(trip / line, 'f', 2) << " times as long\n"
            << "  baseline: " << daySeconds << " great-circle distances: " << figure(distance)
            << " ms; the trips take " << QString::number(trip / distance, 'f', 1)
            << " times as long\n"
            << "  longest stretch the window cannot draw: " << figure(tripStall)
            << " ms (goal for a day: at most " << figure(stallGoalMs) << " ms, "
            << QString::number(tripStall / stallGoalMs, 'f', 2) << " of it)\n"
            << "  baseline: the longest stretch with one map line set at once: "
            << figure(lineStall) << " ms; the trips' is "
            << QString::number(tripStall / lineStall, 'f', 2) << " times as long\n";
        out.flush();
    }
    out << "time per point against a day of points (1.00 is linear growth):";
    for (int i = 0; i < sizes.size(); ++i)
        out << ' ' << sizes[i].points << " points "
            << QString::number(perPoint[i] / perPointAtOneDay, 'f', 2);
    out << '\n';
    return 0;
}
