// Points, colours and the outlines every picture is built from.
#pragma once

#include <vector>

struct Vec2 {
    float x = 0, y = 0;
};

// Straight (not premultiplied) colour, each channel 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

using Polygon = std::vector<Vec2>;

// Affine map: x' = a*x + b*y + c, y' = d*x + e*y + f.
struct Affine {
    float a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
};

Vec2 apply(const Affine& m, Vec2 p);
Affine invert(const Affine& m);
Affine compose(const Affine& outer, const Affine& inner);  // outer after inner
Affine scaling(float sx, float sy);
Affine translation(float dx, float dy);
Affine rotation(float radians);

Rgba rgb(int r, int g, int b);  // from 0..255 channels, opaque
Rgba mix(Rgba a, Rgba b, float t);
Rgba scaled(Rgba c, float k);  // brightness times k, alpha kept
Rgba with_alpha(Rgba c, float a);
float clamp01(float v);
float smoothstep(float e0, float e1, float x);

Polygon rect(float x0, float y0, float x1, float y1);
Polygon ellipse(Vec2 centre, float rx, float ry, int segments = 48);
Polygon rotated_ellipse(Vec2 centre, float rx, float ry, float radians, int segments = 48);
// A thick straight stroke from a to b with round ends.
Polygon capsule(Vec2 a, Vec2 b, float width);
// A regular star with `points` tips, first tip straight up.
Polygon star(Vec2 centre, float outer, float inner, int points = 5);
// Catmull-Rom curve through the points; closed curves join the last point to the first.
Polygon smooth_open(const std::vector<Vec2>& points, int steps_per_span = 8);
Polygon smooth_closed(const std::vector<Vec2>& points, int steps_per_span = 8);
Polygon transformed(const Polygon& poly, const Affine& m);
Polygon reversed(Polygon poly);
Polygon joined(const Polygon& first, const Polygon& second);  // second's points after first's

// A curve read as y(x); points must run in increasing x. Ends extend flat.
struct Profile {
    Polygon points;
};
float at(const Profile& profile, float x);
