#include "TilePainter.h"

#include "RoadGrid.h"

#include <QLineF>
#include <QList>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace devserver {

namespace TilePainter {

namespace {

constexpr double earthRadius = 6378137.0;
constexpr double roadMetres = 11.0; // a two-lane town street

// Web Mercator, in tile pixels of the whole world at zoom `z`.
double worldX(double lon, int z)
{
    return (lon + 180.0) / 360.0 * tileSize * std::ldexp(1.0, z);
}

double worldY(double lat, int z)
{
    const double phi = lat * std::numbers::pi / 180.0;
    return (1.0 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2.0 * tileSize *
           std::ldexp(1.0, z);
}

double metresPerPixel(int z)
{
    const double phi = RoadGrid::centreLat * std::numbers::pi / 180.0;
    return 2.0 * std::numbers::pi * earthRadius * std::cos(phi) / (tileSize * std::ldexp(1.0, z));
}

// The grid's extent in degrees, from its outermost streets.
constexpr double gridLatSpan = RoadGrid::halfSpan * RoadGrid::latStep;
constexpr double gridLonSpan = RoadGrid::halfSpan * RoadGrid::lonStep;

quint64 mix(quint64 h)
{
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    h ^= h >> 31;
    return h;
}

double hashUnit(quint64 seed, quint64 a, quint64 b)
{
    const quint64 h = mix(mix(mix(seed + 0x9e3779b97f4a7c15ULL) ^ a) ^ b);
    return double(h >> 11) / double(1ULL << 53);
}

// Smooth noise in 0..1 over a lattice of unit cells; `fx`, `fy` are never negative here.
double valueNoise(quint64 seed, double fx, double fy)
{
    const double cx = std::floor(fx);
    const double cy = std::floor(fy);
    const auto ix = quint64(cx);
    const auto iy = quint64(cy);
    const auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
    const double tx = smooth(fx - cx);
    const double ty = smooth(fy - cy);
    const double top = std::lerp(hashUnit(seed, ix, iy), hashUnit(seed, ix + 1, iy), tx);
    const double bottom = std::lerp(hashUnit(seed, ix, iy + 1), hashUnit(seed, ix + 1, iy + 1), tx);
    return std::lerp(top, bottom, ty);
}

int channel(double value)
{
    return std::clamp(int(std::lround(value)), 0, 255);
}

// Fields and scrub seen from above: the noise follows world pixels, so neighbouring tiles meet
// without a seam and a tile is painted the same every time.
void paintTerrain(QImage &image, int z, int x, int y, int scale)
{
    const QColor green(0x34, 0x46, 0x2a);
    const QColor brown(0x5e, 0x4e, 0x34);
    const auto seed = quint64(z) * 3;
    for (int row = 0; row < image.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        const double ty = double(y) * tileSize + (row + 0.5) / scale;
        for (int column = 0; column < image.width(); ++column) {
            const double tx = double(x) * tileSize + (column + 0.5) / scale;
            const double patch = valueNoise(seed, tx / 40.0, ty / 40.0);
            const double shade = 0.8 + 0.4 * valueNoise(seed + 1, tx / 9.0, ty / 9.0);
            const double grain =
                (hashUnit(seed + 2, quint64(tx * scale), quint64(ty * scale)) - 0.5) * 16.0;
            const auto tone = [&](int from, int to) {
                return channel(std::lerp(double(from), double(to), patch) * shade + grain);
            };
            line[column] = qRgb(tone(green.red(), brown.red()), tone(green.green(), brown.green()),
                                tone(green.blue(), brown.blue()));
        }
    }
}

// The streets crossing the tile, in tile pixels, clipped to the tile plus `margin`.
QList<QLineF> streets(int z, int x, int y, double margin)
{
    const double left = double(x) * tileSize;
    const double top = double(y) * tileSize;
    const double low = -margin;
    const double high = tileSize + margin;
    const double west = worldX(RoadGrid::centreLon - gridLonSpan, z) - left;
    const double east = worldX(RoadGrid::centreLon + gridLonSpan, z) - left;
    const double north = worldY(RoadGrid::centreLat + gridLatSpan, z) - top;
    const double south = worldY(RoadGrid::centreLat - gridLatSpan, z) - top;

    QList<QLineF> lines;
    if (east < low || west > high || south < low || north > high)
        return lines;
    for (int k = -RoadGrid::halfSpan; k <= RoadGrid::halfSpan; ++k) {
        const double rowY = worldY(RoadGrid::centreLat + k * RoadGrid::latStep, z) - top;
        if (rowY >= low && rowY <= high)
            lines.append(QLineF(std::max(west, low), rowY, std::min(east, high), rowY));
        const double columnX = worldX(RoadGrid::centreLon + k * RoadGrid::lonStep, z) - left;
        if (columnX >= low && columnX <= high)
            lines.append(QLineF(columnX, std::max(north, low), columnX, std::min(south, high)));
    }
    return lines;
}

// The built-up area: the grid and half a block around it.
QRectF townArea(int z, int x, int y)
{
    const double latMargin = gridLatSpan + RoadGrid::latStep / 2;
    const double lonMargin = gridLonSpan + RoadGrid::lonStep / 2;
    const QPointF origin(double(x) * tileSize, double(y) * tileSize);
    const QRectF town(QPointF(worldX(RoadGrid::centreLon - lonMargin, z),
                              worldY(RoadGrid::centreLat + latMargin, z)) -
                          origin,
                      QPointF(worldX(RoadGrid::centreLon + lonMargin, z),
                              worldY(RoadGrid::centreLat - latMargin, z)) -
                          origin);
    return town.intersected(QRectF(-1, -1, tileSize + 2, tileSize + 2));
}

} // namespace

Palette palette(Style style)
{
    if (style == Style::Satellite)
        return {QColor(0x46, 0x4a, 0x30), QColor(0x70, 0x68, 0x58, 120), QColor(0x3a, 0x3a, 0x36),
                QColor(0xa0, 0x9e, 0x96)};
    return {QColor(0xf1, 0xee, 0xe8), QColor(0xe6, 0xe0, 0xd4), QColor(0xc0, 0xb8, 0xac),
            QColor(0xff, 0xff, 0xff)};
}

QImage paint(Style style, int z, int x, int y, int scale)
{
    const Palette colours = palette(style);
    QImage image(tileSize * scale, tileSize * scale, QImage::Format_RGB32);
    if (style == Style::Satellite)
        paintTerrain(image, z, x, y, scale);
    else
        image.fill(colours.land);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    const QRectF town = townArea(z, x, y);
    if (!town.isEmpty())
        painter.fillRect(town, colours.town);
    if (z >= roadZoom) {
        const double road = std::max(1.5, roadMetres / metresPerPixel(z));
        const double casing = road + 2.0 * std::max(0.75, road * 0.15);
        const QList<QLineF> lines = streets(z, x, y, casing);
        painter.setPen(QPen(colours.casing, casing, Qt::SolidLine, Qt::SquareCap));
        painter.drawLines(lines);
        painter.setPen(QPen(colours.road, road, Qt::SolidLine, Qt::SquareCap));
        painter.drawLines(lines);
    }
    painter.end();
    return image;
}

} // namespace TilePainter

} // namespace devserver
