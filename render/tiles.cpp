#include "render/tiles.h"

#include <cmath>

#include "render/quads.h"

namespace {

constexpr double Grid = 1000.0;
constexpr int Rows = 30;     // x from base - 25000 up to base + 4000
constexpr int Columns = 40;  // z from base - 20000 up to base + 19000
constexpr float TileAltitude = -300.0f;
constexpr float LastGround = 40000.0f;

// The largest multiple of 1000 below c when c > 0, else 1000 less than the largest one at or
// below c. Computed directly rather than by stepping 1000 at a time, which never ends once a
// float is too large for a step of 1000 to change it.
double GridBase(float c) {
    double q = c / Grid;
    return c > 0.0f ? (std::ceil(q) - 1.0) * Grid : (std::floor(q) - 1.0) * Grid;
}

}  // namespace

void DrawSurfaceTiles(const GameObject& player) {
    double baseX = GridBase(player.x);
    double baseZ = GridBase(player.z);
    if (!std::isfinite(baseX) || !std::isfinite(baseZ)) return;
    // Rows far to near as the camera sees them, columns along the course.
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            GameObject tile;
            tile.x = static_cast<float>(baseX - 25000.0 + Grid * row);
            tile.y = TileAltitude;
            tile.z = static_cast<float>(baseZ - 20000.0 + Grid * column);
            tile.model = tile.z <= LastGround ? ModelGround : ModelSea;
            DrawObject(tile);
        }
    }
}
