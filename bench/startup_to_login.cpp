// Start-up to the login page: from loading the main document to the first frame of the window,
// with the documents compiled ahead of time, set against the same start with the engine made to
// compile them from source (the documents as plain resources would be), in the same run. Each
// start is a fresh process, so no engine cache carries over.
#include "ProcessSetup.h"
#include "Registration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

// One start in this process; prints the milliseconds to the first frame.
int measureOneStart(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    setUpProcess();
    registerKovaTypes();
    QQmlApplicationEngine engine;
    QElapsedTimer clock;
    clock.start();
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    auto *window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window)
        return 1;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, &app,
        [&] {
            QTextStream(stdout) << clock.nsecsElapsed() / 1e6 << '\n';
            app.exit(0);
        },
        Qt::SingleShotConnection);
    return app.exec();
}

// One start of this program with the given environment, in milliseconds; -1 when it failed.
double oneStart(const QString &program, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(program, {});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
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
    // The two kinds of start take turns, so a machine that slows down hurts both alike.
    QList<double> aheadTimes;
    QList<double> fromSourceTimes;
    for (int i = 0; i < samples; ++i) {
        aheadTimes.append(oneStart(app.applicationFilePath(), environment));
        fromSourceTimes.append(oneStart(app.applicationFilePath(), fromSourceEnvironment));
    }
    const double ahead = median(aheadTimes);
    const double fromSource = median(fromSourceTimes);
    if (aheadTimes.contains(-1) || fromSourceTimes.contains(-1)) {
        QTextStream(stderr) << "a start failed\n";
        return 1;
    }
    QTextStream(stdout) << "start-up to the login page, documents compiled from source: "
                        << QString::number(fromSource, 'f', 1) << " ms (baseline, median of "
                        << samples << ")\n"
                        << "start-up to the login page, documents compiled ahead of time: "
                        << QString::number(ahead, 'f', 1) << " ms ("
                        << QString::number(ahead / fromSource, 'f', 2) << " of the baseline)\n";
    return 0;
}
