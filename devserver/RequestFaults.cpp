#include "RequestFaults.h"

namespace devserver {

RequestFaults::RequestFaults(const FaultSpec &spec, quint32 defaultSeed) : m_spec(spec)
{
    const quint32 seed = spec.seed.value_or(defaultSeed);
    for (int kind = 0; kind < FaultSpec::kindCount; ++kind)
        m_random[kind].seed(seed ^ (0x9e3779b9u * quint32(kind + 1)));
}

FaultSpec::Fault RequestFaults::draw(FaultSpec::Kind kind)
{
    // Every request draws, fault or not, so a kind's sequence depends only on its own requests.
    const double roll = m_random[int(kind)].generateDouble();
    double threshold = 0;
    for (const FaultSpec::Fault fault : FaultSpec::faults) {
        threshold += m_spec.share(kind, fault);
        if (roll < threshold)
            return fault;
    }
    return FaultSpec::Fault::None;
}

QByteArray RequestFaults::garbage(FaultSpec::Kind kind)
{
    QRandomGenerator &random = m_random[int(kind)];
    QByteArray bytes(random.bounded(64, 2048), Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

bool RequestFaults::inOutage(qint64 now) const
{
    if (now >= m_requestedOutageStart && now < m_requestedOutageEnd)
        return true;
    if (m_spec.outageMs == 0 || now < m_spec.outageAfterMs)
        return false;
    qint64 intoCycle = now - m_spec.outageAfterMs;
    if (m_spec.outageEveryMs > 0)
        intoCycle %= m_spec.outageEveryMs;
    return intoCycle < m_spec.outageMs;
}

void RequestFaults::startOutage(qint64 now, qint64 durationMs)
{
    if (now >= m_requestedOutageEnd)
        m_requestedOutageStart = now;
    m_requestedOutageEnd = qMax(m_requestedOutageEnd, now + durationMs);
}

void RequestFaults::count(FaultSpec::Kind kind, const QString &fault)
{
    ++m_counts[kind][fault];
}

QJsonObject RequestFaults::counts() const
{
    QJsonObject all;
    QHash<QString, int> total;
    for (auto kind = m_counts.cbegin(); kind != m_counts.cend(); ++kind) {
        QJsonObject ofKind;
        for (auto fault = kind->cbegin(); fault != kind->cend(); ++fault) {
            ofKind.insert(fault.key(), fault.value());
            total[fault.key()] += fault.value();
        }
        all.insert(FaultSpec::kindName(kind.key()), ofKind);
    }
    QJsonObject ofTotal;
    for (auto fault = total.cbegin(); fault != total.cend(); ++fault)
        ofTotal.insert(fault.key(), fault.value());
    all.insert(QStringLiteral("total"), ofTotal);
    return all;
}

} // namespace devserver
