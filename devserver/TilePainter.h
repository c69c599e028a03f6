#pragma once

#include <QColor>
#include <QImage>

namespace devserver {

// Paints the map's tiles in Web Mercator: land, the town's area and the road grid's streets,
// each street exactly on its latitude or longitude so that a car on a street is seen on a road.
namespace TilePainter {

enum class Style { Street, Satellite };

inline constexpr int tileSize = 256; // tile pixels; high-dpi tiles have `scale` pixels for each
inline constexpr int maxZoom = 19;
inline constexpr int roadZoom = 12; // streets are drawn from this zoom on

struct Palette
{
    QColor land; // the street style's background; the satellite style's is textured instead
    QColor town;
    QColor casing;
    QColor road;
};

Palette palette(Style style);

// The tile `x`, `y` at zoom `z` (all in range), `scale` pixels per tile pixel (1 or 2).
QImage paint(Style style, int z, int x, int y, int scale = 1);

} // namespace TilePainter

} // namespace devserver
