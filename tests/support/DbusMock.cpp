#include "DbusMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTest>

namespace {

constexpr int callTimeoutMs = 5000;
const QString mockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

// A variant the bus delivered inside `av` or `v`: plain values pass, containers stay arguments.
QVariant unwrap(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return unwrap(value.value<QDBusVariant>().variant());
    return value;
}

} // namespace

DbusMock::DbusMock(const QString &templatePath, const QJsonObject &parameters, Bus bus)
    : m_template(templatePath), m_parameters(parameters), m_bus(bus)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

DbusMock::~DbusMock()
{
    stop();
}

QString DbusMock::templateFile(const QString &name)
{
    return QStringLiteral(KOVA_DBUS_TEMPLATES "/") + name;
}

bool DbusMock::start(const QString &busName)
{
    m_busName = busName;
    QStringList arguments{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                          m_bus == Bus::System ? QStringLiteral("--system")
                                               : QStringLiteral("--session"),
                          QStringLiteral("-t"), m_template};
    if (!m_parameters.isEmpty())
        arguments << QStringLiteral("-p")
                  << QString::fromUtf8(QJsonDocument(m_parameters).toJson(QJsonDocument::Compact));
    m_process.start(QStringLiteral("python3"), arguments);
    if (!m_process.waitForStarted(5000)) {
        qWarning("dbusmock did not start: %s", qPrintable(m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (connection().interface()->isServiceRegistered(busName))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        QTest::qWait(50);
    }
    qWarning("dbusmock %s did not take %s:\n%s", qPrintable(m_template), qPrintable(busName),
             qPrintable(log()));
    return false;
}

void DbusMock::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(2000);
    // The name is gone only once the bus has noticed; the next double may want it at once.
    const QDeadlineTimer deadline(5000);
    while (!m_busName.isEmpty() && !deadline.hasExpired() &&
           connection().interface()->isServiceRegistered(m_busName))
        QTest::qWait(20);
}

QDBusConnection DbusMock::connection() const
{
    return m_bus == Bus::System ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
}

QDBusMessage DbusMock::call(const QString &path, const QString &interface, const QString &method,
                            const QVariantList &arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_busName, path, interface, method);
    message.setArguments(arguments);
    return connection().call(message, QDBus::Block, callTimeoutMs);
}

QDBusMessage DbusMock::control(const QString &path, const QString &method,
                               const QVariantList &arguments) const
{
    return call(path, mockInterface, method, arguments);
}

QList<QVariantList> DbusMock::methodCalls(const QString &path, const QString &method) const
{
    const QDBusMessage reply = control(path, QStringLiteral("GetMethodCalls"), {method});
    QList<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qWarning("GetMethodCalls(%s) on %s failed: %s", qPrintable(method), qPrintable(path),
                 qPrintable(reply.errorMessage()));
        return calls;
    }
    // a(tav): a time stamp and the call's arguments.
    const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        quint64 timestamp = 0;
        QVariantList arguments;
        list.beginStructure();
        list >> timestamp;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusVariant argument;
            list >> argument;
            arguments.append(unwrap(argument.variant()));
        }
        list.endArray();
        list.endStructure();
        calls.append(arguments);
    }
    list.endArray();
    return calls;
}

QString DbusMock::log() const
{
    return QString::fromUtf8(const_cast<QProcess &>(m_process).readAll());
}
