// Pieces shared by every aircraft: round-body shading, propellers, national markings.
#pragma once

#include <functional>

#include "raster.h"

// A body seen from the side, bounded by a top and a bottom curve running nose to tail.
struct Body {
    Profile top, bottom;
    Polygon outline;
};

Body make_body(const std::vector<Vec2>& top, const std::vector<Vec2>& bottom);
// 0 on the top curve, 1 on the bottom curve.
float across(const Body& body, Vec2 p);

// A colour lit as a cylinder under light from above and a little toward the viewer;
// `t` is 0 at the top edge and 1 at the bottom, `gloss` adds a sharp sheen (bare metal).
Rgba lit(Rgba base, float t, float gloss);
// Paints `body` with the scheme's colour at each point, shaded as a cylinder.
Paint body_paint(const Body& body, std::function<Rgba(Vec2, float t)> scheme, float gloss);

// A flat panel (wing, tailplane) whose colour darkens gently from one edge to the other.
Paint panel_paint(Rgba near, Rgba far, Vec2 from, Vec2 to);

void stroke(Canvas& canvas, const Polygon& line, float width, Rgba colour,
            Blend blend = Blend::Atop);

// A spinning propeller seen edge on: a thin translucent disc with a faint blade smear.
void propeller(Canvas& canvas, Vec2 hub, float radius, float half_width, Rgba tint);

// Red disc with a thin white border.
void hinomaru(Canvas& canvas, Vec2 centre, float radius, bool border, Blend blend = Blend::Atop);
// Blue disc with a white star and white side bars edged in blue, as seen on a fuselage side.
void star_and_bars(Canvas& canvas, Vec2 centre, float radius, bool bars, Blend blend = Blend::Atop);

// Glazing: a sky reflection from a light top to a darker bottom, with a bright streak.
Paint glass_paint(float top_y, float bottom_y);
