#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace devserver {

// What --faults asks of the server: per kind of request, the share of requests that get each
// fault, and a whole-server outage schedule. The text form is a comma-separated list of
// "KIND:FAULT=SHARE", "seed=N", "outage=DURATION", "outage-after=DURATION" and
// "outage-every=DURATION"; anything else is refused with a message naming the item.
struct FaultPlan
{
    enum class Kind { App, Data, Probe, Map, Route, Sms };
    enum class Fault { None, Stall, Reset, Slow, Status500, Status404, Truncate, Garbage };

    static constexpr int kindCount = 6;
    // The order draws walk the faults in; None is never configured.
    static constexpr Fault faults[] = {Fault::Stall,     Fault::Reset,     Fault::Slow,
                                       Fault::Status500, Fault::Status404, Fault::Truncate,
                                       Fault::Garbage};

    // Share of requests per kind and fault, 0..1, summing to at most 1 for a kind.
    QHash<Kind, QHash<Fault, double>> shares;
    std::optional<quint32> seed;
    qint64 outageMs = 0; // 0: no scheduled outage
    qint64 outageAfterMs = 0;
    qint64 outageEveryMs = 0; // 0: once

    double share(Kind kind, Fault fault) const { return shares.value(kind).value(fault); }

    // The plan, or nothing with the reason in `error`.
    static std::optional<FaultPlan> parse(const QString &text, QString *error);
    // "35s", "500ms", "2m": milliseconds, or nothing for anything else.
    static std::optional<qint64> parseDuration(const QString &text);

    static QString kindName(Kind kind);
    static QString faultName(Fault fault);
};

} // namespace devserver
