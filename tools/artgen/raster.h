// Drawing surface: shapes are filled on a grid finer than the output pixels, then averaged
// down so inner colour edges are smooth while the cut-out edge stays crisp.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "geometry.h"

// The colour of a shape at a point given in drawing units.
using Paint = std::function<Rgba(Vec2)>;

enum class Blend {
    Over,  // normal painting
    Atop,  // only where something is already drawn; keeps that coverage
    Erase  // clears what the shape covers
};

struct Canvas {
    int width = 0, height = 0;  // output pixels
    int ss = 4;                 // fine cells per pixel side
    Affine to_cells;            // drawing units -> fine-cell coordinates
    Affine to_units;            // its inverse
    std::vector<Rgba> cells;    // (width*ss) x (height*ss), alpha 0 = empty
};

// A canvas of width x height pixels showing drawing units [0,units_w] x [0,units_h].
Canvas make_canvas(int width, int height, float units_w, float units_h, int ss = 4);
// Changes how drawing units map onto the canvas: `to_pixels` maps units to output pixels.
void set_view(Canvas& canvas, const Affine& to_pixels);

void fill(Canvas& canvas, const std::vector<Polygon>& shape, const Paint& paint,
          Blend blend = Blend::Over);
void fill(Canvas& canvas, const Polygon& poly, const Paint& paint, Blend blend = Blend::Over);
void fill(Canvas& canvas, const Polygon& poly, Rgba colour, Blend blend = Blend::Over);
// Paints every cell with paint's result (alpha 0 leaves a cell alone).
void fill_all(Canvas& canvas, const Paint& paint, Blend blend = Blend::Over);

// Lays `layer` (same size and fineness) over `canvas`, as if painted Over.
void composite(Canvas& canvas, const Canvas& layer);

// Coverage on the canvas' fine grid, 0..1 per cell.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> v;
};
Mask empty_mask(const Canvas& canvas);
Mask coverage(const Canvas& canvas);  // 1 wherever the canvas has paint
void add_shape(Mask& mask, const Canvas& canvas, const std::vector<Polygon>& shape);
// Euclidean distance, in cells, from each cell to the nearest cell with coverage >= 0.5.
std::vector<float> distance_field(const Mask& mask);
// Cells within `radius` drawing-unit-cells of the mask: an outline grown around it.
Mask grown(const Mask& mask, float radius_cells);
Mask shifted(const Mask& mask, int dx_cells, int dy_cells);
void fill(Canvas& canvas, const Mask& mask, const Paint& paint, Blend blend = Blend::Over);
// How many fine cells make one drawing unit (for sizing outlines in units).
float cells_per_unit(const Canvas& canvas);

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// Averages the fine cells into pixels. A pixel is kept only where at least half of its cells
// are painted; kept pixels take the mean colour and alpha of the painted cells alone, so the
// cut-out edge never darkens. Colour is then bled into empty neighbours.
Image resolve(const Canvas& canvas);
bool write_png(const Image& image, const std::string& path);
