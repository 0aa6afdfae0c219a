#include "aircraft_parts.h"

#include <algorithm>
#include <cmath>

Body make_body(const std::vector<Vec2>& top, const std::vector<Vec2>& bottom) {
    Body b;
    b.top.points = smooth_open(top);
    b.bottom.points = smooth_open(bottom);
    b.outline = joined(b.top.points, reversed(b.bottom.points));
    return b;
}

float across(const Body& body, Vec2 p) {
    const float t = at(body.top, p.x), u = at(body.bottom, p.x);
    return u > t ? clamp01((p.y - t) / (u - t)) : 0.5f;
}

Rgba lit(Rgba base, float t, float gloss) {
    const float ny = 2 * t - 1;  // -1 facing up, +1 facing down
    const float nz = std::sqrt(std::max(0.0f, 1 - ny * ny));
    const float diffuse = std::max(0.0f, -0.6f * ny + 0.8f * nz);
    const float k = 0.5f + 0.62f * diffuse;
    const float sheen = gloss * std::exp(-((t - 0.22f) / 0.08f) * ((t - 0.22f) / 0.08f));
    return {base.r * k + sheen, base.g * k + sheen, base.b * k + sheen, base.a};
}

Paint body_paint(const Body& body, std::function<Rgba(Vec2, float)> scheme, float gloss) {
    return [body, scheme, gloss](Vec2 p) {
        const float t = across(body, p);
        return lit(scheme(p, t), t, gloss);
    };
}

Paint panel_paint(Rgba near, Rgba far, Vec2 from, Vec2 to) {
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float len2 = std::max(1e-6f, dx * dx + dy * dy);
    return [=](Vec2 p) {
        return mix(near, far, clamp01(((p.x - from.x) * dx + (p.y - from.y) * dy) / len2));
    };
}

void stroke(Canvas& canvas, const Polygon& line, float width, Rgba colour, Blend blend) {
    for (size_t i = 0; i + 1 < line.size(); ++i)
        fill(canvas, capsule(line[i], line[i + 1], width), colour, blend);
}

void propeller(Canvas& canvas, Vec2 hub, float radius, float half_width, Rgba tint) {
    // The disc is lighter toward the tips, where the blades sweep fastest.
    fill(canvas, ellipse(hub, half_width, radius, 64), [=](Vec2 p) {
        const float r = std::abs(p.y - hub.y) / radius;
        Rgba c = mix(tint, rgb(215, 215, 210), 0.25f + 0.35f * r);
        c.a = 0.62f;
        return c;
    });
    // A blurred blade pair gives the disc a hint of rotation.
    fill(canvas, ellipse({hub.x, hub.y - radius * 0.45f}, half_width * 0.7f, radius * 0.42f, 32),
         with_alpha(scaled(tint, 0.8f), 0.7f));
    fill(canvas, ellipse({hub.x, hub.y + radius * 0.45f}, half_width * 0.7f, radius * 0.42f, 32),
         with_alpha(scaled(tint, 0.8f), 0.7f));
}

void hinomaru(Canvas& canvas, Vec2 c, float r, bool border, Blend blend) {
    if (border) fill(canvas, ellipse(c, r, r), rgb(245, 245, 240), blend);
    const float inner = border ? r * 0.8f : r;
    fill(
        canvas, ellipse(c, inner, inner),
        [c, inner](Vec2 p) {
            // Slightly darker toward the bottom, as the fuselage curves away.
            return mix(rgb(215, 35, 30), rgb(165, 20, 20),
                       clamp01((p.y - c.y + inner) / (2 * inner)));
        },
        blend);
}

void star_and_bars(Canvas& canvas, Vec2 c, float r, bool bars, Blend blend) {
    const Rgba blue = rgb(28, 45, 105), white = rgb(240, 240, 240);
    if (bars) {
        fill(canvas, rect(c.x - r * 2.0f, c.y - r * 0.45f, c.x + r * 2.0f, c.y + r * 0.45f), blue,
             blend);
        fill(canvas, rect(c.x - r * 1.85f, c.y - r * 0.3f, c.x + r * 1.85f, c.y + r * 0.3f), white,
             blend);
    }
    fill(canvas, ellipse(c, r, r), blue, blend);
    fill(canvas, star(c, r * 0.95f, r * 0.38f), white, blend);
}

Paint glass_paint(float top_y, float bottom_y) {
    return [=](Vec2 p) {
        const float t = clamp01((p.y - top_y) / std::max(1e-3f, bottom_y - top_y));
        Rgba c = mix(rgb(200, 228, 240), rgb(60, 90, 110), t);
        const float streak = std::exp(-((t - 0.3f) / 0.12f) * ((t - 0.3f) / 0.12f));
        return mix(c, rgb(250, 252, 255), 0.55f * streak);
    };
}
