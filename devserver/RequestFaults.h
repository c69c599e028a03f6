#pragma once

#include "FaultPlan.h"

#include <QJsonObject>
#include <QRandomGenerator>

#include <array>

namespace devserver {

// The decisions of --faults: which fault a request gets and whether the server is in an outage.
// Each kind of request draws from a generator of its own, so the faults one kind sees repeat for
// a seed however many requests of other kinds come in between. Times are milliseconds since the
// server started.
class RequestFaults
{
public:
    RequestFaults(const FaultPlan &plan, quint32 defaultSeed);

    FaultPlan::Fault draw(FaultPlan::Kind kind);
    // Random bytes of a size a reply could have, from the kind's generator.
    QByteArray garbage(FaultPlan::Kind kind);

    bool inOutage(qint64 now) const;
    // Whether outages can still begin without being asked for.
    bool hasSchedule() const { return m_plan.outageMs > 0; }
    // An outage from `now` for `durationMs`, on top of any scheduled one; one already asked for
    // lasts to the later of the two ends.
    void startOutage(qint64 now, qint64 durationMs);

    // One applied fault (or "outage" for a request held by one) counted.
    void count(FaultPlan::Kind kind, const QString &fault);
    // {"total": {FAULT: N}, "app": {FAULT: N}, …}, kinds and faults seen only.
    QJsonObject counts() const;

private:
    FaultPlan m_plan;
    std::array<QRandomGenerator, FaultPlan::kindCount> m_random;
    qint64 m_requestedOutageStart = 0;
    qint64 m_requestedOutageEnd = 0;
    QHash<FaultPlan::Kind, QHash<QString, int>> m_counts;
};

} // namespace devserver
