// Start-up to the login page: from loading the main document to the first frame of the window,
// with the documents compiled ahead of time, set against two starts of the same run: the engine
// made to compile the documents from source (as plain resources would be), and a bare window
// that imports the same modules (what any window of this app costs). The bare window is also
// the baseline of the memory at the first frame. Each start is a fresh process, so no engine
// cache carries over.
#include "ProcessSetup.h"
#include "Registration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int samples = 9;
const char *const childMode = "KOVA_BENCH_STARTUP_CHILD";

// An empty window with the imports of the main one.
const char *const bareWindow = R"(
import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import QtQuick.Shapes
import QtQuick.Effects
import Qt.labs.platform as Platform
import QtCore
import QtLocation
import QtPositioning
import globals
import kova.tools
import kova.services
import call
import smsManager
import notification
import mySettings

ApplicationWindow {
    visible: true
    width: 640
    height: 480
}
)";

// The process's highest resident memory so far, in KiB; -1 when /proc cannot be read.
qint64 peakKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}

// One start in this process; prints the milliseconds to the first frame and the peak memory.
int measureOneStart(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    setUpProcess();
    registerKovaTypes();
    QQmlApplicationEngine engine;
    setUpEngine(&engine);
    QElapsedTimer clock;
    clock.start();
    if (qEnvironmentVariable(childMode) == QLatin1String("bare"))
        engine.loadData(bareWindow, QUrl(QStringLiteral("qrc:/bench_bare_window.qml")));
    else
        engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    auto *window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window)
        return 1;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, &app,
        [&] {
            QTextStream(stdout) << clock.nsecsElapsed() / 1e6 << ' ' << peakKib() << '\n';
            app.exit(0);
        },
        Qt::SingleShotConnection);
    return app.exec();
}

struct Start
{
    double ms = -1;
    double peakKib = -1;
};

// One start of this program with the given environment; -1 figures when it failed.
Start oneStart(const QString &program, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(program, {});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return {};
    const QList<QByteArray> words = child.readAllStandardOutput().simplified().split(' ');
    return {words.value(0).toDouble(), words.value(1).toDouble()};
}

double median(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(childMode))
        return measureOneStart(argc, argv);

    QCoreApplication app(argc, argv);
    // The starts write their settings and caches here, not into the user's folders.
    const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childMode), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    QProcessEnvironment fromSourceEnvironment = environment;
    fromSourceEnvironment.insert(QStringLiteral("QML_DISABLE_DISK_CACHE"), QStringLiteral("1"));
    QProcessEnvironment bareEnvironment = environment;
    bareEnvironment.insert(QString::fromLatin1(childMode), QStringLiteral("bare"));
    // The kinds of start take turns, so a machine that slows down hurts all alike.
    QList<double> aheadTimes, fromSourceTimes, bareTimes, aheadPeaks, barePeaks;
    bool failed = false;
    for (int i = 0; i < samples; ++i) {
        const Start ahead = oneStart(app.applicationFilePath(), environment);
        const Start fromSource = oneStart(app.applicationFilePath(), fromSourceEnvironment);
        const Start bare = oneStart(app.applicationFilePath(), bareEnvironment);
        failed = failed || ahead.ms < 0 || fromSource.ms < 0 || bare.ms < 0;
        aheadTimes.append(ahead.ms);
        fromSourceTimes.append(fromSource.ms);
        bareTimes.append(bare.ms);
        aheadPeaks.append(ahead.peakKib);
        barePeaks.append(bare.peakKib);
    }
    if (failed) {
        QTextStream(stderr) << "a start failed\n";
        return 1;
    }
    const double ahead = median(aheadTimes);
    const double fromSource = median(fromSourceTimes);
    const double bare = median(bareTimes);
    const double aheadPeak = median(aheadPeaks) / 1024;
    const double barePeak = median(barePeaks) / 1024;
    QTextStream out(stdout);
    out << "start-up to the login page, documents compiled ahead of time: "
        << QString::number(ahead, 'f', 1) << " ms (median of " << samples << ")\n"
        << "  baseline: the documents compiled from source: " << QString::number(fromSource, 'f', 1)
        << " ms; ahead of time takes " << QString::number(ahead / fromSource, 'f', 2) << " of it\n"
        << "  baseline: a bare window with the same imports: " << QString::number(bare, 'f', 1)
        << " ms; the login page takes " << QString::number(ahead / bare, 'f', 2)
        << " times as long (goal: at most 1.5)\n"
        << "peak memory at the first frame of the login page: "
        << QString::number(aheadPeak, 'f', 1) << " MiB; the bare window's "
        << QString::number(barePeak, 'f', 1) << " MiB, "
        << QString::number(aheadPeak / barePeak, 'f', 2) << " times it (goal: at most 1.5)\n";
    return 0;
}
