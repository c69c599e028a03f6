#include "StreetRouter.h"

#include "RoadGrid.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace devserver {

namespace StreetRouter {

namespace {

using RoadGrid::Crossing;
using RoadGrid::halfSpan;

constexpr double sameSpotMetres = 0.01;
constexpr double sameLineDegrees = 1e-9;
// Lengths closer than this are one length: the walk with fewer turns wins.
constexpr double tieMetres = 0.5;

// Where a point joins the streets: the point on the nearest street and the crossings at the
// ends of its block (one when it is at a crossing).
struct Access
{
    QGeoCoordinate point;
    bool onRow = false;
    int street = 0;
    QList<Crossing> blockEnds;
};

double rowLatitude(double row)
{
    return RoadGrid::centreLat + row * RoadGrid::latStep;
}

double colLongitude(double col)
{
    return RoadGrid::centreLon + col * RoadGrid::lonStep;
}

int nearestStreet(double stepsFromCentre)
{
    return int(std::clamp(std::round(stepsFromCentre), double(-halfSpan), double(halfSpan)));
}

// The streets crossing a street at both ends of the block `stepsFromCentre` lies in.
QList<int> blockEnds(double stepsFromCentre)
{
    double at = std::clamp(stepsFromCentre, double(-halfSpan), double(halfSpan));
    if (std::abs(at - std::round(at)) < 1e-6)
        at = std::round(at);
    const int low = int(std::floor(at));
    const int high = int(std::ceil(at));
    return low == high ? QList<int>{low} : QList<int>{low, high};
}

std::optional<Access> access(const QGeoCoordinate &at)
{
    if (!at.isValid())
        return std::nullopt;
    const double rowSteps = (at.latitude() - RoadGrid::centreLat) / RoadGrid::latStep;
    const double colSteps = (at.longitude() - RoadGrid::centreLon) / RoadGrid::lonStep;
    const int row = nearestStreet(rowSteps);
    const int col = nearestStreet(colSteps);
    const QGeoCoordinate onRow(rowLatitude(row), std::clamp(at.longitude(), colLongitude(-halfSpan),
                                                            colLongitude(halfSpan)));
    const QGeoCoordinate onCol(
        std::clamp(at.latitude(), rowLatitude(-halfSpan), rowLatitude(halfSpan)),
        colLongitude(col));

    Access result;
    result.onRow = at.distanceTo(onRow) <= at.distanceTo(onCol);
    result.point = result.onRow ? onRow : onCol;
    result.street = result.onRow ? row : col;
    if (at.distanceTo(result.point) > reachMetres)
        return std::nullopt;
    for (const int end : blockEnds(result.onRow ? colSteps : rowSteps))
        result.blockEnds.append(result.onRow ? Crossing{row, end} : Crossing{end, col});
    return result;
}

// True when a, b and c lie on one east-west or one north-south line: b is no corner, and
// going straight from a to c stays on that line.
bool inLine(const QGeoCoordinate &a, const QGeoCoordinate &b, const QGeoCoordinate &c)
{
    const auto same = [](double x, double y) { return std::abs(x - y) < sameLineDegrees; };
    return (same(a.latitude(), b.latitude()) && same(b.latitude(), c.latitude())) ||
           (same(a.longitude(), b.longitude()) && same(b.longitude(), c.longitude()));
}

// Drops repeated points and points that are no corner.
QList<QGeoCoordinate> corners(const QList<QGeoCoordinate> &points)
{
    QList<QGeoCoordinate> kept;
    for (const QGeoCoordinate &point : points) {
        if (!kept.isEmpty() && kept.constLast().distanceTo(point) < sameSpotMetres) {
            // The ends stay exact: a repeat replaces an inner point, never the start.
            if (kept.size() > 1)
                kept.last() = point;
            continue;
        }
        while (kept.size() >= 2 && inLine(kept.at(kept.size() - 2), kept.constLast(), point))
            kept.removeLast();
        kept.append(point);
    }
    return kept;
}

// Walks are compared on a flat grid, so that walks of one length along different streets tie
// exactly instead of by the earth's curvature.
double flatLength(const QList<QGeoCoordinate> &walk)
{
    const double metresPerDegree = 111320;
    const double lonShrink = std::cos(qDegreesToRadians(RoadGrid::centreLat));
    double length = 0;
    for (qsizetype i = 1; i < walk.size(); ++i) {
        length += std::abs(walk.at(i).latitude() - walk.at(i - 1).latitude()) * metresPerDegree;
        length += std::abs(walk.at(i).longitude() - walk.at(i - 1).longitude()) * metresPerDegree *
                  lonShrink;
    }
    return length;
}

} // namespace

std::optional<QGeoCoordinate> nearestStreetPoint(const QGeoCoordinate &at)
{
    const std::optional<Access> joined = access(at);
    if (!joined)
        return std::nullopt;
    return joined->point;
}

std::optional<QList<QGeoCoordinate>> walk(const QGeoCoordinate &from, const QGeoCoordinate &to)
{
    const std::optional<Access> start = access(from);
    const std::optional<Access> end = access(to);
    if (!start || !end)
        return std::nullopt;
    if (start->onRow == end->onRow && start->street == end->street)
        return corners({from, start->point, end->point, to});

    // Through either end of each block, turning once between them either way round.
    QList<QGeoCoordinate> best;
    double bestLength = 0;
    for (const Crossing &leave : start->blockEnds) {
        for (const Crossing &join : end->blockEnds) {
            for (const Crossing &turn :
                 {Crossing{leave.row, join.col}, Crossing{join.row, leave.col}}) {
                const QList<QGeoCoordinate> candidate = corners(
                    {from, start->point, RoadGrid::coordinate(leave), RoadGrid::coordinate(turn),
                     RoadGrid::coordinate(join), end->point, to});
                const double length = flatLength(candidate);
                const bool shorter = length < bestLength - tieMetres;
                const bool asLongWithFewerTurns =
                    length < bestLength + tieMetres && candidate.size() < best.size();
                if (best.isEmpty() || shorter || asLongWithFewerTurns) {
                    best = candidate;
                    bestLength = length;
                }
            }
        }
    }
    return best;
}

} // namespace StreetRouter

} // namespace devserver
