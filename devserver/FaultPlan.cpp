#include "FaultPlan.h"

#include <QRegularExpression>

namespace devserver {

namespace {

const QStringList kindNames{QStringLiteral("app"), QStringLiteral("data"),  QStringLiteral("probe"),
                            QStringLiteral("map"), QStringLiteral("route"), QStringLiteral("sms")};

std::optional<FaultPlan::Fault> faultNamed(const QString &name)
{
    for (const FaultPlan::Fault fault : FaultPlan::faults) {
        if (FaultPlan::faultName(fault) == name)
            return fault;
    }
    return std::nullopt;
}

// The kinds a name covers: one, or every kind for "all".
QList<FaultPlan::Kind> kindsNamed(const QString &name)
{
    if (name == QLatin1String("all")) {
        QList<FaultPlan::Kind> kinds;
        for (int i = 0; i < FaultPlan::kindCount; ++i)
            kinds.append(FaultPlan::Kind(i));
        return kinds;
    }
    const qsizetype index = kindNames.indexOf(name);
    return index < 0 ? QList<FaultPlan::Kind>{} : QList<FaultPlan::Kind>{FaultPlan::Kind(index)};
}

// A decimal share from 0 to 1, digits only: no exponent, sign or blank slips through.
std::optional<double> parseShare(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(0|1)(\\.[0-9]+)?$|^\\.[0-9]+$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const double share = text.toDouble();
    return share <= 1 ? std::optional<double>(share) : std::nullopt;
}

} // namespace

QString FaultPlan::kindName(Kind kind)
{
    return kindNames.value(int(kind));
}

QString FaultPlan::faultName(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QStringLiteral("none");
    case Fault::Stall:
        return QStringLiteral("stall");
    case Fault::Reset:
        return QStringLiteral("reset");
    case Fault::Slow:
        return QStringLiteral("slow");
    case Fault::Status500:
        return QStringLiteral("500");
    case Fault::Status404:
        return QStringLiteral("404");
    case Fault::Truncate:
        return QStringLiteral("truncate");
    case Fault::Garbage:
        return QStringLiteral("garbage");
    }
    return {};
}

std::optional<qint64> FaultPlan::parseDuration(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,9})(ms|s|m)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 amount = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    return unit == QLatin1String("ms")  ? amount
           : unit == QLatin1String("s") ? amount * 1000
                                        : amount * 60000;
}

std::optional<FaultPlan> FaultPlan::parse(const QString &text, QString *error)
{
    FaultPlan plan;
    // Shares named for one kind replace those given for "all", whatever the order.
    QHash<Kind, QHash<Fault, double>> fromAll;
    QStringList seen;
    const auto refuse = [error](const QString &reason) {
        *error = reason;
        return std::nullopt;
    };

    for (const QString &rawItem : text.split(QLatin1Char(','))) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            return refuse(QStringLiteral("empty item"));
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return refuse(QStringLiteral("\"%1\" is not NAME=VALUE").arg(item));
        const QString name = item.left(equals);
        const QString value = item.mid(equals + 1);
        if (seen.contains(name))
            return refuse(QStringLiteral("\"%1\" given twice").arg(name));
        seen.append(name);

        if (name == QLatin1String("seed")) {
            bool ok = false;
            const quint32 seed = value.toUInt(&ok);
            if (!ok || value.startsWith(QLatin1Char('+')))
                return refuse(QStringLiteral("seed \"%1\" is not a whole number").arg(value));
            plan.seed = seed;
            continue;
        }
        if (name.startsWith(QLatin1String("outage"))) {
            const std::optional<qint64> duration = parseDuration(value);
            if (!duration)
                return refuse(
                    QStringLiteral("\"%1\" is not a duration like 500ms, 35s or 2m").arg(value));
            if (name == QLatin1String("outage") && *duration == 0)
                return refuse(QStringLiteral("an outage lasts longer than 0"));
            if (name == QLatin1String("outage"))
                plan.outageMs = *duration;
            else if (name == QLatin1String("outage-after"))
                plan.outageAfterMs = *duration;
            else if (name == QLatin1String("outage-every"))
                plan.outageEveryMs = *duration;
            else
                return refuse(QStringLiteral("unknown setting \"%1\"").arg(name));
            continue;
        }

        const QStringList kindAndFault = name.split(QLatin1Char(':'));
        const QList<Kind> kinds = kindsNamed(kindAndFault.value(0));
        const std::optional<Fault> fault = faultNamed(kindAndFault.value(1));
        if (kindAndFault.size() != 2 || kinds.isEmpty() || !fault)
            return refuse(QStringLiteral("\"%1\" is not KIND:FAULT (kinds: app, data, probe, map, "
                                         "route, sms, all; faults: stall, reset, slow, 500, 404, "
                                         "truncate, garbage)")
                              .arg(name));
        const std::optional<double> share = parseShare(value);
        if (!share)
            return refuse(QStringLiteral("share \"%1\" is not a number from 0 to 1").arg(value));
        auto &target = kinds.size() > 1 ? fromAll : plan.shares;
        for (const Kind kind : kinds)
            target[kind][*fault] = *share;
    }

    for (auto kind = fromAll.cbegin(); kind != fromAll.cend(); ++kind) {
        for (auto fault = kind->cbegin(); fault != kind->cend(); ++fault) {
            if (!plan.shares.value(kind.key()).contains(fault.key()))
                plan.shares[kind.key()][fault.key()] = fault.value();
        }
    }
    for (auto kind = plan.shares.cbegin(); kind != plan.shares.cend(); ++kind) {
        double total = 0;
        for (const double share : *kind)
            total += share;
        if (total > 1 + 1e-9)
            return refuse(
                QStringLiteral("the shares of %1 add up to more than 1").arg(kindName(kind.key())));
    }
    if (plan.outageMs == 0 && (plan.outageAfterMs > 0 || plan.outageEveryMs > 0))
        return refuse(QStringLiteral("outage-after and outage-every need outage=DURATION"));
    if (plan.outageEveryMs > 0 && plan.outageEveryMs <= plan.outageMs)
        return refuse(QStringLiteral("outage-every must be longer than the outage"));
    return plan;
}

} // namespace devserver
