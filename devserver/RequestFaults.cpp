#include "RequestFaults.h"

namespace devserver {

RequestFaults::RequestFaults(const FaultPlan &plan, quint32 defaultSeed) : m_plan(plan)
{
    const quint32 seed = plan.seed.value_or(defaultSeed);
    for (int kind = 0; kind < FaultPlan::kindCount; ++kind)
        m_random[kind].seed(seed ^ (0x9e3779b9u * quint32(kind + 1)));
}

FaultPlan::Fault RequestFaults::draw(FaultPlan::Kind kind)
{
    // Every request draws, fault or not, so a kind's sequence depends only on its own requests.
    const double roll = m_random[int(kind)].generateDouble();
    double threshold = 0;
    for (const FaultPlan::Fault fault : FaultPlan::faults) {
        threshold += m_plan.share(kind, fault);
        if (roll < threshold)
            return fault;
    }
    return FaultPlan::Fault::None;
}

QByteArray RequestFaults::garbage(FaultPlan::Kind kind)
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
    if (m_plan.outageMs == 0 || now < m_plan.outageAfterMs)
        return false;
    qint64 intoCycle = now - m_plan.outageAfterMs;
    if (m_plan.outageEveryMs > 0)
        intoCycle %= m_plan.outageEveryMs;
    return intoCycle < m_plan.outageMs;
}

void RequestFaults::startOutage(qint64 now, qint64 durationMs)
{
    if (now >= m_requestedOutageEnd)
        m_requestedOutageStart = now;
    m_requestedOutageEnd = qMax(m_requestedOutageEnd, now + durationMs);
}

void RequestFaults::count(FaultPlan::Kind kind, const QString &fault)
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
        all.insert(FaultPlan::kindName(kind.key()), ofKind);
    }
    QJsonObject ofTotal;
    for (auto fault = total.cbegin(); fault != total.cend(); ++fault)
        ofTotal.insert(fault.key(), fault.value());
    all.insert(QStringLiteral("total"), ofTotal);
    return all;
}

} // namespace devserver
